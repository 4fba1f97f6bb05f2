#pragma once
// The help guide: a small window beside the study window that pages through
// the help topics of "start.ini" in the program folder. It is created once
// at start-up, loads the file then (and again when "当前向导：" is clicked)
// and keeps its topic and page between showings.

#include <QPoint>
#include <QRect>
#include <QWidget>
#include <functional>
#include <string>

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QScreen;
class TitleBar;

// Where the window the guide stands beside is, as the guide needs it to
// place itself without covering what the learner studies.
struct GuidePlace {
    // The screen of that window; none: the primary screen.
    const QScreen* screen = nullptr;
    // That window is on screen: the guide stands below `keepClear` (global
    // coordinates: the word, its reading and its meaning), centred on
    // `column`. Otherwise it goes by `anchor` (window coordinates).
    bool besideShown = false;
    QRect keepClear;
    QRect column;
    QPoint anchor;
};

class TformHelp : public QWidget {
    Q_OBJECT
public:
    explicit TformHelp(QWidget* parent = nullptr);

    // Selects the topic titled exactly `gbkTitle` and shows its first page,
    // as if the learner had picked it; nothing changes when there is no such
    // topic. Callers show the window first.
    void ShowHelpTopic(const std::string& gbkTitle);
    void ShowHelpTopicUtf8(const char* utf8Title);

    // Reads "start.ini" again and lists its topics.
    void LoadHelpFile();

    // Where the guide is placed from now on, asked each time it is shown;
    // the guide is placed at once. Without a source it stays where it is.
    void SetPlaceSource(std::function<GuidePlace()> source);

    void comboHelpListClick();
    void suiButton1Click();  // 上一页
    void suiButton3Click();  // 下一页
    void suiButton2Click();  // 返 回

    // The page of the selected topic on show, counted from 0.
    int PageNumber() const { return pageNumber_; }

    TitleBar* titleBar = nullptr;
    QLabel* LabelCurrent = nullptr;  // "当前向导："
    QComboBox* comboHelpList = nullptr;
    QPlainTextEdit* memoHelp = nullptr;
    QPushButton* suiButton1 = nullptr;
    QPushButton* suiButton3 = nullptr;
    QPushButton* suiButton2 = nullptr;
    QLabel* LabelPage = nullptr;  // "第 n / m 页"

signals:
    // A topic was picked, by the learner or through ShowHelpTopic; while
    // the demonstration is on show the learner only watches.
    void topicPicked(bool demonstration);
    // Shown again while the demonstration is the topic.
    void shownOnDemonstration();
    // The learner left the guide ("返 回", Esc or its close).
    void left();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    bool ShowPage(const std::string& gbkTopic, const char* tag, int direction);
    std::string SelectedTopic() const;
    bool OnDemonstration() const;
    void PlaceBesideStudyWindow();

    std::function<GuidePlace()> placeSource_;

    std::string helpText_;  // the whole file as last loaded, GBK
    int pageNumber_ = 0;
};
