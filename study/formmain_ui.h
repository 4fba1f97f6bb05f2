#pragma once
// What the study window's own sources (study/formmain_*.cpp) share and no
// other code sees: its controls by their form names, how they are laid out
// and fitted to the screen, what is drawn on them for the session's library
// objects (the StudyDisplay they draw on), the platform adapters, and what
// the window keeps of its looks between events.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/answercompare.h"
#include "study/formmain.h"

class AnswerEdit;
class HotKeyAdapter;
class QColor;
class QFrame;
class QGroupBox;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QSpacerItem;
class QTextEdit;
class QTimer;
class RadioGroup;
struct LeftColumnSizes;

struct TformMain::Ui : StudyDisplay {
    // Made and ended where the adapters are complete (formmain_flow.cpp).
    explicit Ui(TformMain& window);
    ~Ui() override;
    TformMain& window;

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
    QTimer* TimerSave = nullptr;             // single shot, armed by NoteProgress
    QSpacerItem* gradeLabelsTop_ = nullptr;  // lowers the grade labels to the first count

    // The player of recordings and the system-wide F9 key.
    std::unique_ptr<MediaPlayer> mpl;
    std::unique_ptr<HotKeyAdapter> hotKey_;

    // Layout (formmain_layout.cpp).
    void BuildLeftColumn(QWidget* parent);
    void BuildRightSide(QWidget* parent);
    // The screen the layout rules go by: the window's, unless a test set
    // TformMain::screenWidth or screenHeight.
    int ScreenWidth() const;
    int ScreenHeight() const;
    // Sizes the left column for the screen's height: the designed rows where
    // they fit, else tighter ones, and the large clock as big as the rest
    // leaves room for.
    void FitToScreenHeight();
    void ApplyLeftColumnSizes(const LeftColumnSizes& sizes);
    bool FitClockToHeight(int height, int pixels);
    // The word box's texts grow with the box: the word, the reading and the
    // meaning's starting size are their designed sizes in the designed
    // window, and larger in proportion in a larger box.
    void FitWordBoxToPanel();
    // The word and the reading at their sizes for the box where they fit
    // its width, else as much smaller as they need to be seen whole.
    void FitWordToWidth();
    void GroupBoxMiddleResize();
    void AlignGradeLabels();       // each grade label on the row of its count
    void ButtonFullScreenClick();  // F5: the left column shown or hidden
    // The controls Tab reaches, in the order it reaches them: the answer box
    // first, then the strip below it, then the commands of the left column.
    std::vector<QWidget*> TabRound() const;

    // StudyDisplay (formmain_present.cpp).
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
    // The meaning on screen fitted again to the box as it is now.
    void FitMeaning();
    void ApplySentenceColours();

    // What a judged answer shows besides its verdict (formmain_marks.cpp).
    void ShowAnswerMarks(const AnswerVerdict& verdict, bool right);
    void HideAnswerMarks();
    void PlaceAnswerMarks();

    // The answer box (formmain_answer.cpp).
    std::string AnswerText() const;  // GBK; unconvertible characters as '?'
    std::optional<std::string> TrimmedAnswerGbk() const;
    void SetAnswerColour(int colour);
    void SetAnswerColour(const QColor& colour);

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
};
