#pragma once
// TWordLib0, the whole library as its file holds it: every word, the groups
// and the cycles; it loads one group at a time into the study list
// (TWordLib, core/wordlib.h) and takes it back. Its code is split by aspect:
// wordlib0_groups.cpp (groups, cycles, word order and grades),
// wordlib0_file.cpp (opening, saving and previewing the library file).

#include <optional>
#include <string>
#include <vector>

#include "core/wordlib.h"

// Results of TWordLib0::NextGroup.
inline constexpr int kGroupNoGradeZero = 0;
inline constexpr int kGroupCycleEnd = 1;
inline constexpr int kGroupLoaded = 2;

// The header texts of a library file, for previews.
struct WordLibHeader {
    std::string Editor, Date, Version;
};

// The whole library: everything its file holds, the groups and the cycles.
class TWordLib0 : public StudyValues {
public:
    TWordLib0();
    TWordLib0(const TWordLib0&) = delete;
    TWordLib0& operator=(const TWordLib0&) = delete;

    // Where LabelGroup, circleno and ListBoxGrade are; nullptr shows nothing.
    void SetDisplay(StudyDisplay* display);
    StudyDisplay& Screen() const { return *display_; }

    std::string Date, Editor, Version;
    ScrambledWriter Writer;
    std::string Path;                // GBK; empty while no library is open
    std::vector<std::string> Lines;  // the file text, one entry per line
    std::vector<WordList> Words;     // kMaxLibraryWords entries; the first Count are valid
    TWordLib* StudyLib = nullptr;
    int LastWord = 0;
    int Count = 0;
    std::array<std::string, kGradeLevels> GradeWordLastWord;
    int BaseGrade = 0;
    int GroupCount = 1;
    int GroupIndex = 0;

    // Reads the library at `gbkPath`, loads and shows its current group.
    // False (after a message) when it is not opened; the library that was
    // open then stays open, words and Path included.
    bool OpenWordLib(const std::string& gbkPath);
    // Leaves no library open: no words, no Path (so nothing is saved), the
    // header values of a fresh object and an empty study list with nothing
    // shown. A learner without a library of their own then never studies,
    // and saves into, the library of the learner before them.
    void CloseWordLib();
    // Writes the whole library to Path; run StoreGroup first. False when
    // nothing was written (no library open, or the write failed after its
    // message).
    bool SaveWordLib();
    // Editor, date and version of another library file; the open library is
    // not touched. Nothing when the file cannot be read.
    std::optional<WordLibHeader> ReadWordLibHeader(const std::string& gbkPath) const;

    bool SetGroupCount(int n);
    bool SetGroupIndex(int i);
    void LoadGroup(int g);
    void StoreGroup();
    int NextGroup();  // kGroupNoGradeZero, kGroupCycleEnd, kGroupLoaded
    int CountGradeZeroWords() const;
    // The words of the whole library at each grade, the words of the study
    // list's group as the list holds them now (before StoreGroup).
    std::array<int, kGradeLevels> CountGradesNow() const;
    // Grade-0 words among the words of group g.
    int CountGradeZeroWordsInGroup(int g) const;
    // A new word order; the study list is reloaded with the words now in
    // its group, so run StoreGroup first.
    void ShuffleWords();               // seeded with the clock
    void ShuffleWords(unsigned seed);  // reproducible order
    // Lowers every grade by the lowest grade in use, so that grade 0 holds
    // words again, and raises BaseGrade by as much, which keeps the grade
    // labels true; the study list's words follow. Answers the amount: 0
    // when grade 0 already holds words (nothing changes) or there are none.
    int LowerAllGrades();
    void ShowBaseGrade();
    void ShowGroupNo();  // LabelGroup := GroupIndex + 1 " / " GroupCount

private:
    StudyDisplay* display_;
    // Which words the study list holds: the group, the group count and the
    // word order (counted up by every reorder) at its last load. StoreGroup
    // puts the words back to that group while these still describe the
    // library.
    int layout_ = 0;
    int loadedLayout_ = -1;
    int loadedGroup_ = -1;
    int loadedGroupCount_ = 0;
};
