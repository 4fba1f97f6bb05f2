#pragma once
// The library selection and grouping dialog: one window with two pages, the
// choice of a library ("选择词库") and its division into groups ("单词分组").
// It works on the study session it is opened for and says what happened
// as signals; every way out hides the dialog and announces left().

#include <QString>
#include <QWidget>
#include <filesystem>
#include <functional>
#include <string>

#include "core/backups.h"
#include "core/wordlib.h"

class QLabel;
class QListWidget;
class QPushButton;
class QSpinBox;
class QStackedWidget;
class StudySession;
class TitleBar;

inline constexpr int kMaxGroupBoxValue = kMaxGroupCount;

// The learner the dialog works for, as the window that logged them in
// knows them; read when needed, since they may change between openings.
struct SelectionLearner {
    // The learner's folder (GBK, with its trailing separator), which holds
    // their copies of the libraries; empty while nobody is logged in.
    std::function<std::string()> userFolder;
    // Backs up the learner's progress before a library of theirs is
    // deleted; without it nothing is backed up.
    std::function<BackupOutcome()> backUp;
};

class TSelectWordLib : public QWidget {
    Q_OBJECT
public:
    explicit TSelectWordLib(QWidget* parent = nullptr);

    void SetLearner(SelectionLearner learner) { learner_ = std::move(learner); }

    // Filled before the dialog is shown: the file list re-read with the
    // library under study highlighted, or the grouping page with the counts
    // of the library under study. The session must outlive the dialog's
    // work on it, or be let go first (LetGoOfSession).
    void OpenChoicePage(StudySession& study);
    void OpenGroupingPage(StudySession& study);
    void LetGoOfSession() { study_ = nullptr; }

    // The folder the libraries are chosen from.
    const std::filesystem::path& LibraryFolder() const { return libraryFolder_; }
    void RefreshFileList();

    // Handlers.
    void FormCreate();
    void FileListBoxChange();
    void suiButton1Click();  // "确 定" of the choice page
    void suiButton2Click();  // both "取 消"
    void suiButton4Click();  // "初始化"
    // "删除词库": a library of the learner's own leaves the library folder,
    // with the learner's copy, after a backup of their progress.
    void ButtonDeleteWordLibClick();
    void SpinEditGroupCountChange();
    // While a count is typed: "每组单词数约" follows each digit; the count
    // itself is taken when it is finished.
    void SpinEditGroupCountTyping();
    void suiButton7Click();  // "确 定" of the grouping page
    void suiButton5Click();  // "帮助向导"
    bool FormCloseQuery() const { return false; }

    // Controls, by their form names.
    TitleBar* titleBar = nullptr;
    QStackedWidget* Pages = nullptr;
    QWidget* PageChoice = nullptr;
    QWidget* PageGroup = nullptr;
    QListWidget* FileListBox = nullptr;
    QLabel* LabelWordLibName = nullptr;
    QLabel* LabelEditor = nullptr;
    QLabel* LabelDate = nullptr;
    QLabel* LabelVersion = nullptr;
    QPushButton* suiButton4 = nullptr;
    QPushButton* ButtonDeleteWordLib = nullptr;
    QPushButton* suiButton1 = nullptr;
    QPushButton* suiButton2 = nullptr;
    QLabel* LabelWordLibName1 = nullptr;
    QLabel* LabelWordCount = nullptr;
    QLabel* LabeWordCountGrade0 = nullptr;
    QLabel* LabelGroupWordCount = nullptr;
    QSpinBox* SpinEditGroupCount = nullptr;
    QLabel* LabelGroupIndex = nullptr;
    QPushButton* suiButton5 = nullptr;
    QPushButton* suiButton7 = nullptr;
    QPushButton* suiButton6 = nullptr;

signals:
    // A library was opened for study: `gbkFile` with its extension; the
    // session holds it and its study list shows its first word.
    void libraryOpened(const std::string& gbkFile);
    // The learner asks for the help guide at `topic`.
    void helpWanted(const QString& topic);
    // The dialog was put away, whichever way.
    void left();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void BuildChoicePage();
    void BuildGroupingPage();
    void ConnectControls();
    // Opens `file` (GBK, with its extension) for study from the user's copy,
    // making and shuffling the copy when there is none. False after a
    // message when the study stays on the library it was on.
    bool OpenForStudy(const std::string& file);
    // Highlights `file` (GBK, with its extension) and shows its header;
    // nothing is highlighted when the list does not hold it.
    void Highlight(const std::string& file);
    // The highlighted file name (GBK, with its extension); empty when none.
    std::string HighlightedFile() const;
    // The logged-in user's folder (GBK, with its trailing separator).
    std::string UserFolder() const;
    // The study session the dialog was last opened for, if any.
    StudySession* Study() const { return study_; }

    StudySession* study_ = nullptr;
    SelectionLearner learner_;
    std::filesystem::path libraryFolder_;
};
