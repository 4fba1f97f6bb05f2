#pragma once
// The study window: the screen the learner works in after logging in. It
// shows the words of its study session one at a time and turns every
// button, key and timer into a step of the session's library objects.
//
// Its sources, study/formmain_*.cpp, each take one concern; its controls,
// what it draws on them and how it lays them out are in study/formmain_ui.h,
// which only they include.

#include <QWidget>
#include <functional>
#include <memory>
#include <string>

#include "core/studydisplay.h"
#include "session/studyrecorder.h"
#include "session/studysession.h"

class MediaPlayer;
class QCloseEvent;

class TformMain : public QWidget {
    Q_OBJECT
    // Declared first: the library objects below are its own.
    StudySession study_;
    // What the session leaves in the learner's study journal.
    StudyRecorder recorder_{study_};

public:
    // Reads the study settings from `manage` and publishes the program
    // folder: GetProgramFolder() when it has been set (the window set sets
    // the start window's), else the executable's folder.
    explicit TformMain(TManage& manage, QWidget* parent = nullptr);
    ~TformMain() override;

    // The study session the window shows: its library objects, its clock,
    // the library's name and the word on screen.
    StudySession& Session() { return study_; }
    StudyDisplay& Display();  // what the session's library objects draw on
    // The learner's study journal and what goes into it (opened with the
    // user's libraries, OpenLastWordLib); the statistics page reads it.
    StudyRecorder& Recorder() { return recorder_; }
    void SetHeading(const QString& heading);  // the title strip's text
    // Runs when the system-wide F9 key is pressed (pause and hide); the
    // window set lets it through only while the login window is away.
    std::function<void()> onHotKey;
    void WMHotKey();  // F9: hide and pause, or show and resume

    // What the other windows ask of it; they never read or drive its controls.
    bool IsPaused() const;    // "继续学习" shows: paused by the learner, F9 or the idle limit
    bool IsStudying() const;  // the window is on screen and not paused
    // The focus keeper, which brings the keyboard back to the answer box.
    void HoldInput();
    void GiveBackInput();
    // Another window has the learner: the study window waits disabled, its clock held.
    void WaitForWindow();
    // That window was left: the study window is enabled again and, unless
    // it is hidden or paused meanwhile, its clock (and with
    // `restartFocusKeeper` its focus keeper) runs again.
    void ReturnFromWindow(bool restartFocusKeeper);
    // Where the help guide goes beside this window (window coordinates): x
    // the left of the word panels, y the top of the sentence box.
    QPoint GuideAnchor() const;
    // What the help guide beside this window must not cover (the word, its
    // reading and its meaning) and the column it centres on, in global
    // coordinates.
    QRect WordBoxOnScreen() const;
    QRect SideColumnOnScreen() const;
    // Adds words (GBK) of the library under study to the favourites with their meanings.
    void AddWordsToFavourites(const std::vector<std::string>& gbkWords);

    // What the settings window changes: how long the answer box waits before
    // it prompts, the face of the word and that of the meaning and the
    // sentences (GBK names; the Japanese or Chinese face stays behind each),
    // and the colours.
    void SetPromptDelay(int milliseconds);
    void SetWordFace(const std::string& gbkFamily);
    void SetMeaningFace(const std::string& gbkFamily);
    void ApplyColours();
    // The player of recordings; the window starts with the system's.
    void SetMediaPlayer(std::unique_ptr<MediaPlayer> player);
    MediaPlayer& Player() const;

    // The login opens the learner's last library (without one nothing of the
    // library before stays open; one that is gone is said, and the choice
    // of a library follows), loads their favourites and starts studying:
    // the window shown, the study clock running, a learner logged in until
    // "返  回" (InSession).
    void OpenLastWordLib(const std::string& gbkUserFolder);
    void LoadUserFavourites(const std::string& gbkPath);
    void StartStudying();
    bool InSession() const { return inSession_; }
    // The session studies `gbkName` from now on (ShowLibraryUnderStudy).
    void SetLibraryName(const std::string& gbkName);
    // Draws the name of the session's library and, when one is open, begins
    // a study session of it in the journal.
    void ShowLibraryUnderStudy();
    void ShowClocks();  // those of the library open now (or of none)
    // Stores the group under study and saves the library, so that a sync
    // sends what was studied.
    void SaveForSync();
    // Every change of progress arms a save this long after it, so a crash
    // loses at most those seconds and a burst of keys costs one save.
    static constexpr int kSaveDelayMs = 2500;
    // Writes the library and the configuration at once, when a learner is
    // logged in: the program is asked to end, or the desktop session ends.
    void SaveEverything();

    // The screen's width and height the layout rules go by; tests set them.
    std::function<int()> screenWidth;
    std::function<int()> screenHeight;
    // On a resize: the border and the read-mode panel by the screen's
    // width, the left column by its height.
    void FormResize();
    // The timers' handlers, which tests call rather than wait: the study
    // clock's tick, the end of a right answer's display, the focus keeper.
    void TimerTimer();
    void TimerCommentTimer();
    void TimerSetFocusTimer();
    int MeaningPointSize() const;  // the size in points the meaning was last fitted at

signals:
    // Every answer judged with Enter or Space, right or wrong.
    void answerJudged(const JudgedAnswer& answer);
    // "学习统计": the learner asks for the statistics page.
    void statisticsRequested();
    // "帮助向导": the learner asks for the help guide.
    void helpRequested();
    // "返  回": the learner left the study for the start window.
    void studyLeft();
    // After "返  回": the library and the configuration are saved and the
    // clock stopped, so what was studied may be sent away.
    void studySaved();
    // "选择词库" (also once a login has opened the learner's last library):
    // the learner chooses the library to study.
    void libraryChoiceRequested();
    // "单词分组": the learner divides the library into groups.
    void groupingRequested();
    // "参数设置", "收藏管理" and "软件报错": the learner asks for a page of
    // the settings window.
    void settingsRequested();
    void favouritesRequested();
    void errorReportRequested();

protected:
    bool event(QEvent* event) override;
    // The desktop's close (Alt+F4, the frame's ×) does what "返  回" does.
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    struct Ui;
    std::unique_ptr<Ui> ui_;
    TManage& manage_;
    bool inSession_ = false;
    bool autosaveFailed_ = false;  // told once; later failures wait for a success

    // Creation and the study flow (formmain_flow.cpp).
    void BuildLayout();
    void ConnectControls();
    void FormCreate();
    void ShowCountersOfLibrary();
    void ButtonNextWordClick();
    void ButtonPriorWordClick();
    void ButtonMyNewWordClick();
    void GradeOne(GradeCause cause, bool up);  // the current word one grade up or down
    void GroupGradeClick(int item);
    void GroupReadModeClick(int item);
    void GroupMemoryModeClick(int item);
    void GroupEndSequence();
    void CycleEndSequence(bool storeGroupFirst);
    void RestartAtGradeZero();
    void ShowProgressSaved();
    void SaveProgressIfShownReached(int shownBefore);
    // The window as a whole (formmain_commands.cpp), saving (formmain_save.cpp).
    void ConnectWindowCommands();
    void ButtonPauseClick();   // "暂停学习" / "继续学习", F9 and the idle limit
    void ButtonReturnClick();  // "返  回"; also the desktop's close of the window
    void suiButton3Click();    // "收藏管理", refused while the favourites are studied
    void NoteProgress();       // arms TimerSave
    void TimerSaveTimer();
    // The answer box (formmain_answer.cpp).
    void EditInputKeyDown(int& key);
    void EditInputKeyUp(int& key);
    void HandleAnswerKey(int& key);
    void CheckAnswer();
    void AdvanceAfterAnswer();
    void ButtonPromptClick();
    void TimerPromptTimer();
    void ResetAnswerBox();
    // The judgement of the answer to the word on screen ends: the word
    // changes, the box is emptied or the learner types again.
    void EndAnswer();
    bool RightAnswerStands() const;  // judged right, and the box still holds that answer
    void SetComment(StudySession::Comment comment);
};
