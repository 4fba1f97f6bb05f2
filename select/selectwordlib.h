#pragma once
// The library selection and grouping dialog: one window with two pages, the
// choice of a library ("选择词库") and its division into groups ("单词分组").
// The study window fills the page it needs and shows the dialog; every way
// out hides the dialog, which gives the study window back.

#include <QPointer>
#include <QWidget>
#include <filesystem>
#include <string>

#include "core/wordlib.h"

class QLabel;
class QListWidget;
class QPushButton;
class QSpinBox;
class QStackedWidget;
class TformMain;
class TitleBar;

inline constexpr int kMaxGroupBoxValue = kMaxGroupCount;

class TSelectWordLib : public QWidget {
    Q_OBJECT
public:
    explicit TSelectWordLib(QWidget* parent = nullptr);

    // Filled by the study window before it shows the dialog: the file list
    // re-read with the library under study highlighted, or the grouping page
    // with the counts of the library under study.
    void OpenChoicePage(TformMain& study);
    void OpenGroupingPage(TformMain& study);

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

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

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
    // The study window the dialog was last opened from, if it still exists.
    TformMain* Study() const { return study_.data(); }

    QPointer<TformMain> study_;
    std::filesystem::path libraryFolder_;
};
