#pragma once
// TWordLib, the study list: the words of the one group under study with the
// study position and counters, and what it writes to a StudyDisplay. The
// whole library it is loaded from is TWordLib0 (core/wordlib0.h). Its code
// is split by aspect: wordlib_display.cpp (what is shown), wordlib_order.cpp
// (study order and grading).

#include <array>
#include <string>
#include <vector>

#include "core/scrambledfile.h"
#include "core/studydisplay.h"
#include "core/wordlist.h"

inline constexpr int kStraightToTop = 10000;  // UpGrade amount that means grade 5
inline constexpr int kMaxGroupCount = 200;
inline constexpr int kDefaultFontColor = 16777215;
inline constexpr int kDefaultBackColor = 10045497;

// Results of TWordLib::NextWord.
inline constexpr int kNextNoWords = -1;
inline constexpr int kNextDone = 1;
inline constexpr int kNextGroupEnd = 10;
inline constexpr int kNextCycleEnd = 20;
inline constexpr int kNextNoneLeft = 30;

// The study values the whole library hands to the study list with every
// group it loads and takes back when the group is stored.
struct StudyValues {
    int FontColor = kDefaultFontColor;
    int BackColor = kDefaultBackColor;
    bool Mute = false;
    bool AutoClear = false;
    bool ShowSentence = true;
    int LoopTimes = 1;
    int ThisLoopTime = 0;
    int TotalDisplays = 0;
    int TotalTime = 0;
    int IdleLimit = 300;
    int IdleSeconds = 0;
};

// The study list: the words of one group, the position and the counters.
class TWordLib : public StudyValues {
public:
    TWordLib();
    TWordLib(const TWordLib&) = delete;
    TWordLib& operator=(const TWordLib&) = delete;

    // Where the list shows what it does; nullptr shows nothing.
    void SetDisplay(StudyDisplay* display);
    StudyDisplay& Screen() const { return *display_; }

    std::string Date, Editor, Version;
    int GroupCount = 1;
    int GroupIndex = 1;
    int ActiveSeconds = 1;
    int ShownCount = 0;
    ScrambledWriter Writer;          // used by the import only
    std::string Path;                // target file of the import
    std::vector<std::string> Lines;  // work list of the import and the favourites
    std::string ProgramFolder;
    int ReadMode = 0;             // 0..3
    int MemoryMode = 0;           // 0..1
    std::vector<WordList> Words;  // kMaxLibraryWords entries; the first WordCount are valid
    int CurrentIndex = -1;
    int WordCount = 0;
    int SaveCount = 0;
    std::array<int, kGradeLevels> GradeCount{};
    std::array<std::string, kGradeLevels> GradeLastWord;  // slot 5 - grade
    int CurrentGrade = 0;
    int Step = 0;
    int SearchGrade = 0;
    int SentenceCountPerWord = 1;

    // True when CurrentIndex names one of the first WordCount words.
    bool HasCurrentWord() const { return CurrentIndex >= 0 && CurrentIndex < WordCount; }

    // Study order and grading.
    int NextWord(bool show);  // kNextNoWords, kNextDone, kNextGroupEnd, kNextCycleEnd, kNextNoneLeft
    void PriorWord();
    void ShowFirstWordOfGrade();
    bool FindWordAtGrade(const std::string& text);
    bool AdvanceToIndex(int index);
    void UpGrade(int n);  // 1, or kStraightToTop
    void DeGrade(int n);  // 1
    void CountGrades();
    // The learner picks GroupGrade item `item` (grade 5 - item).
    void PickGrade(int item);

    // What is shown for the current word; all of them do nothing while no
    // word is current.
    void ShowWord();            // FillWord, pronounce in memory mode 0, question layout
    void FillWord();            // texts on screen, counters
    void RevealAll();           // word, reading and meaning shown, pronounced
    void RestoreAfterPrompt();  // back to the question layout after a prompt
    void ShowQuestionLayout();  // the layout of ReadMode
    void ShowTypingLayout();    // meaning shown, word and reading hidden
    void HideAll();             // word, reading and meaning hidden (also without a word)
    void Pronounce();
    void ShowWordText();
    void HideWordText();
    void ShowReadingText();
    void HideReadingText();
    void ShowMeaningText();
    void HideMeaningText();

    // Counters on screen.
    void ShowGradeCounts();    // GroupGrade items and LabelStepNo
    void ShowStepNo();         // LabelStepNo
    void RefreshStudyCount();  // LabelWordStudyCount after a group has been set
    void ShowCycleNo();        // circleno := LoopTimes

    // Forgets which word was shown last, so that the next showing counts:
    // a newly loaded group holds other words at the same positions.
    void ForgetShownWord() { lastShownIndex_ = -1; }

private:
    // Words of the current grade before position `index`.
    int StepAt(int index) const;
    // Word, reading and meaning shown (true) or hidden.
    void PaintTexts(bool word, bool reading, bool meaning);

    StudyDisplay* display_;
    int lastShownIndex_ = -1;
};
