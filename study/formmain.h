#pragma once
// The study window: the screen the learner works in after logging in. It
// owns the whole library, the study list of the current group and the
// favourites library, shows one word at a time and turns every button, key
// and timer into a step of the library objects, which draw on it through
// the StudyDisplay interface.
//
// The window's own sources are split by concern: formmain_layout.cpp (the
// controls and colours), formmain_flow.cpp (creation and the study flow),
// formmain_answer.cpp (the answer box and its keys) and
// formmain_present.cpp (what is drawn and played for a word).

#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "core/studydisplay.h"
#include "session/studyrecorder.h"
#include "session/studysession.h"

class AnswerEdit;
class HotKeyAdapter;
class MediaPlayer;
class QFrame;
class QGroupBox;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QSpacerItem;
class QTextEdit;
class QCloseEvent;
class QTimer;
class RadioGroup;
struct LeftColumnSizes;
class TManage;

// Title strip text, until the window set gives the login window's heading
// (SetHeading).
inline constexpr const char* kStudyWindowTitleUtf8 = "澜悦日语单词 Lexilark V1.0 ";

class TformMain : public QWidget, public StudyDisplay {
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

    // The title strip's text.
    void SetHeading(const QString& heading);

    // The study session the window shows, and its library objects by the
    // names the dialogs that work on them know.
    StudySession& Session() { return study_; }
    TWordLib0& WordLib0 = study_.WordLib0;
    TWordLib& WordLib = study_.WordLib;
    TMyWordLib& MyWordLib = study_.MyWordLib;
    StudyDataLists& DataLists = study_.DataLists;

    // Runs when the system-wide F9 key is pressed (pause and hide); the
    // window set lets it through only while the login window is away.
    std::function<void()> onHotKey;

    // What the other windows ask of the study window and have it do; they
    // do not read or drive its controls.
    // "继续学习" shows: paused by the learner, by F9 or by the idle limit.
    bool IsPaused() const;
    // The learner is studying: the window is on screen and not paused.
    bool IsStudying() const;
    // The study clock, which another window holds while it has the learner.
    bool ClockRunning() const { return study_.ClockRunning(); }
    void HoldClock() { study_.HoldClock(); }
    void GiveBackClock() { study_.GiveBackClock(); }
    // The focus keeper, which brings the keyboard back to the answer box.
    void HoldInput();
    void GiveBackInput();
    // Another window has the learner: the study window waits disabled, its
    // clock held.
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
    // How long the answer box waits before it prompts, in milliseconds.
    void SetPromptDelay(int milliseconds);
    // The face of the word, and that of the meaning and the sentences (GBK
    // names); the Japanese or Chinese face stays behind each.
    void SetWordFace(const std::string& gbkFamily);
    void SetMeaningFace(const std::string& gbkFamily);

    // The player of recordings; the window starts with the system's.
    void SetMediaPlayer(std::unique_ptr<MediaPlayer> player);
    MediaPlayer& Player() const { return *mpl; }

    // Operations of the study flow.
    void FormCreate();
    void FormActivate();
    // Opens the learner's last library; without one nothing of the library
    // before stays open, and a last library that is gone is said and the
    // choice of a library follows.
    void OpenLastWordLib(const std::string& gbkUserFolder);
    // The counters and clocks of the library open now (or of none).
    void ShowCountersOfLibrary();
    void ShowClocks();
    // Stores the group under study and saves the library, so that a sync
    // sends what was studied.
    void SaveForSync();
    void ApplyColours();
    void ButtonNextWordClick();
    void ButtonPriorWordClick();
    void ButtonUpGradeClick();
    void ButtonDeGradeClick();
    void ButtonPromptClick();
    void ButtonMyNewWordClick();
    void ButtonFullScreenClick();
    void GroupGradeClick(int item);
    void GroupReadModeClick(int item);
    void GroupMemoryModeClick(int item);
    void GroupEndSequence();
    void CycleEndSequence(bool storeGroupFirst);
    void RestartAtGradeZero();
    void ResetAnswerBox();
    void TimerPromptTimer();
    void TimerCommentTimer();
    void TimerSetFocusTimer();
    void GroupBoxMiddleResize();
    void AlignGradeLabels();  // each grade label on the row of its count
    // The word box's texts grow with the box: the word, the reading and the
    // meaning's starting size are their designed sizes in the designed
    // window, and larger in proportion in a larger box.
    void FitWordBoxToPanel();
    // The word and the reading at their sizes for the box where they fit
    // its width, else as much smaller as they need to be seen whole.
    void FitWordToWidth();
    // The meaning on screen fitted again to the box as it is now.
    void FitMeaning();

    // Commands on the window as a whole (formmain_commands.cpp).
    void TimerTimer();
    void ButtonPauseClick();   // "暂停学习" / "继续学习", F9 and the idle limit
    void WMHotKey();           // F9: hide and pause, or show and resume
    void FormResize();         // border and read-mode panel by screen width
    void ButtonReturnClick();  // "返  回"; also the desktop's close of the window
    // "收藏管理": the favourites cannot be managed while they are the
    // library under study; otherwise favouritesRequested.
    void suiButton3Click();
    void suiButton10Click();  // "帮助向导"
    // The login shows the window, starts the study clock and loads the
    // user's favourites.
    void StartStudying();
    void LoadUserFavourites(const std::string& gbkPath);

    // Saving progress (formmain_save.cpp). Every change of progress (a
    // grade, an answer, the group or cycle moving on, the clocks) arms
    // TimerSave, which writes the library a few seconds later, so a crash
    // loses at most those seconds and a burst of keys costs one save.
    void NoteProgress();
    void TimerSaveTimer();
    // Writes the library and the configuration at once, when a learner is
    // logged in: the program is asked to end, or the desktop session ends.
    void SaveEverything();
    // A learner is logged in: from StartStudying to "返  回".
    bool InSession() const { return inSession_; }
    static constexpr int kSaveDelayMs = 2500;
    // The screen width the clock and the layout rules go by; tests set it.
    std::function<int()> screenWidth;
    int ScreenWidth() const;
    // The screen height the layout goes by; tests set it.
    std::function<int()> screenHeight;
    int ScreenHeight() const;
    // Sizes the left column for the screen's height: the designed rows where
    // they fit, else tighter ones, and the large clock as big as the rest
    // leaves room for.
    void FitToScreenHeight();

    // Answer entry: Windows virtual-key codes; `key` is set to 0 when the
    // key is consumed.
    void EditInputKeyDown(int& key);
    void EditInputKeyUp(int& key);
    void CheckAnswer();

    // The learner's study journal, opened with the user's libraries
    // (OpenLastWordLib): every judged answer, grade change and study session
    // of this window goes into it, and the statistics page reads it.
    Journal& StudyJournal() { return recorder_.StudyJournal(); }
    // Writes what the study session has done so far into the journal.
    void RecordStudySession() { recorder_.RecordStudySession(); }
    // The library under study as the statistics page needs it.
    LibraryProgress CurrentLibraryProgress() { return recorder_.CurrentLibraryProgress(); }
    // Adds the words (GBK) of the library under study to the favourites,
    // with their meanings, and saves them.
    void AddWordsToFavourites(const std::vector<std::string>& gbkWords);

    // The library name shown in LabelWordLibName (GBK), the session's.
    const std::string& LibraryName() const { return study_.LibraryName(); }
    // The session studies `gbkName` from now on (ShowLibraryUnderStudy).
    void SetLibraryName(const std::string& gbkName);
    // Draws the name of the session's library and, when one is open, begins
    // a study session of it in the journal.
    void ShowLibraryUnderStudy();
    // The word as PanelE shows it (GBK).
    const std::string& WordOnScreen() const { return study_.WordOnScreen(); }

    // StudyDisplay
    void WriteWord(const std::string& word) override;
    void WriteReadingOf(const std::string& word) override;
    void WriteMeaning(const std::string& meaning) override;
    void WriteSentencesOf(const std::string& word) override;
    void PaintWord(int colour) override;
    void PaintReading(int colour) override;
    void PaintMeaning(int colour) override;
    void PaintSentences(int sentenceColour, int translationColour) override;
    void WriteStepNo(const std::string& text) override;
    void WriteWordStudyCount(const std::string& text) override;
    void WriteCycleNo(const std::string& text) override;
    void WriteGroupNo(const std::string& text) override;
    void WriteGradeCount(int item, const std::string& text) override;
    void WriteGradeLabel(int row, const std::string& text) override;
    void ClearAnswer() override;
    void ClickNextWord() override;
    std::string PlayRecordingOf(const std::string& word) override;

    // The font size in points the meaning was last fitted at.
    int MeaningPointSize() const { return meaningPointSize_; }

    // Controls, by their form names.
    QFrame* PanelMain = nullptr;
    QLabel* PanelMainCaption = nullptr;
    QFrame* Panel11 = nullptr;
    QLabel* LabelWordLibName = nullptr;
    QFrame* PanelWordlib = nullptr;
    QLabel* LabelGroup = nullptr;
    QLabel* LabelStepNo = nullptr;
    QLabel* circleno = nullptr;
    QLabel* LabelWordStudyCount = nullptr;
    QFrame* LabelLine = nullptr;
    QFrame* PanelGrade = nullptr;
    QLabel* LabelGradeHeader = nullptr;
    RadioGroup* GroupGrade = nullptr;
    QListWidget* ListBoxGrade = nullptr;
    QLabel* LabelThisTime = nullptr;
    QLabel* LabelSpeed = nullptr;
    QLabel* LabelThisLoopTime = nullptr;
    QLabel* LabelLeftTime = nullptr;
    QLabel* LabelTotalTime = nullptr;
    QFrame* Panel2 = nullptr;
    RadioGroup* GroupReadMode = nullptr;
    RadioGroup* GroupMemoryMode = nullptr;
    QPushButton* ButtonPause = nullptr;
    QFrame* PanelButtons = nullptr;
    QPushButton* suiButton2 = nullptr;
    QPushButton* ButtonSelectWordLib = nullptr;
    QPushButton* suiButton5 = nullptr;
    QPushButton* suiButton3 = nullptr;
    QPushButton* ButtonReturn = nullptr;
    QPushButton* suiButton4 = nullptr;
    QPushButton* suiButton10 = nullptr;
    QPushButton* ButtonStats = nullptr;  // "学习统计"
    QLabel* PanelThisTime = nullptr;
    QLabel* PanelMyWordLibWordCount = nullptr;
    QFrame* Panel1 = nullptr;
    QGroupBox* GroupBoxTop = nullptr;
    QLabel* PanelE = nullptr;
    QLabel* PanelT = nullptr;
    QTextEdit* MemoC = nullptr;
    QGroupBox* GroupBoxMiddle = nullptr;
    QPlainTextEdit* MemoSentence = nullptr;
    QLabel* PanelComment = nullptr;
    QLabel* PanelAnswerMarks = nullptr;  // where a wrong answer went wrong, and hints
    QGroupBox* GroupBoxBottom = nullptr;
    QFrame* pcontrol = nullptr;
    AnswerEdit* EditInput = nullptr;
    QPushButton* ButtonFullScreen = nullptr;
    QPushButton* ButtonDeGrade = nullptr;
    QPushButton* ButtonUpGrade = nullptr;
    QPushButton* ButtonPriorWord = nullptr;
    QPushButton* ButtonNextWord = nullptr;
    QPushButton* ButtonPrompt = nullptr;
    QPushButton* ButtonMyNewWord = nullptr;
    QTimer* Timer = nullptr;  // the session's study clock; its "Tag" property holds the run seconds
    QTimer* TimerPrompt = nullptr;
    QTimer* TimerComment = nullptr;
    QTimer* TimerSetFocus = nullptr;
    QTimer* TimerSave = nullptr;  // single shot, armed by NoteProgress

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
    void BuildLayout();
    void BuildLeftColumn(QWidget* parent);
    void BuildRightSide(QWidget* parent);
    void ConnectControls();
    void ConnectWindowCommands();
    void HandleAnswerKey(int& key);
    void AdvanceAfterAnswer();
    void ShowProgressSaved();  // the journal and the sentence box after a save
    void SaveProgressIfShownReached(int shownBefore);
    // The judgement of the answer to the word on screen ends: the word
    // changes, the box is emptied or the learner types again.
    void EndAnswer();
    bool RightAnswerStands() const;  // judged right, and the box still holds that answer
    void ShowAnswerMarks(const AnswerVerdict& verdict, bool right);
    void HideAnswerMarks();
    void PlaceAnswerMarks();
    static const char* CommentCaption(StudySession::Comment comment);  // UTF-8
    void SetComment(StudySession::Comment comment);
    void SetAnswerColour(int colour);
    void SetAnswerColour(const QColor& colour);
    std::string AnswerText() const;  // GBK; unconvertible characters as '?'
    std::optional<std::string> TrimmedAnswerGbk() const;
    TManage& manage_;
    bool inSession_ = false;
    bool autosaveFailed_ = false;  // told once; later failures wait for a success
    std::unique_ptr<MediaPlayer> mpl;
    std::unique_ptr<HotKeyAdapter> hotKey_;
    // Hints given once a run: how to go on after a wrong answer, and that
    // the input method seems to be off.
    bool goOnHintGiven_ = false;
    bool inputMethodHintGiven_ = false;
    int meaningPointSize_ = 25;
    // Sizes for the word box as large as it is now (FitWordBoxToPanel).
    int wordPixels_ = 0;
    int readingPixels_ = 0;
    int meaningStartPoints_ = 0;
    std::string meaningOnScreen_;  // GBK, as the library gave it
    bool stripInTwoRows_ = false;  // the answer box above the study buttons
    // Colours of the sentence lines and the translation lines of
    // MemoSentence; -1 paints them in the box's own text colour.
    int sentenceColour_ = -1;
    int translationColour_ = -1;
    // The colours the word, reading and meaning were last painted in, and
    // the background the window was painted with: a new scheme keeps
    // hidden what was painted in the old background.
    int wordColour_ = -1;
    int readingColour_ = -1;
    int meaningColour_ = -1;
    int windowBack_ = -1;
    void ApplySentenceColours();
    // Raises (`up`) or lowers the current word one grade.
    void GradeOne(GradeCause cause, bool up);
    void ApplyLeftColumnSizes(const LeftColumnSizes& sizes);
    bool FitClockToHeight(int height, int pixels);
    QSpacerItem* gradeLabelsTop_ = nullptr;  // lowers the grade labels to the first count
};
