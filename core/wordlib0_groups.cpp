// The groups and cycles of TWordLib0: loading a group into the study list
// and storing it back, moving between groups and cycles, shuffling and
// lowering all grades, and closing the library.

#include <algorithm>
#include <ctime>
#include <random>

#include "core/appmessage.h"
#include "core/gbktext.h"
#include "core/numbertext.h"
#include "core/wordlib0.h"

TWordLib0::TWordLib0() : Words(kMaxLibraryWords), display_(&NoStudyDisplay::Instance()) { GradeWordLastWord.fill("0"); }

void TWordLib0::SetDisplay(StudyDisplay* display) { display_ = display ? display : &NoStudyDisplay::Instance(); }

namespace {
void ShowGroupCountRefused() { ShowAppMessageUtf8("分组数超过200或超过单词数！"); }
}  // namespace

bool TWordLib0::SetGroupCount(int n) {
    if (n > kMaxGroupCount || n > Count || n < 1) {
        ShowGroupCountRefused();
        return false;
    }
    GroupCount = n;
    return true;
}

bool TWordLib0::SetGroupIndex(int i) {
    if (i >= GroupCount || i < 0) {
        ShowAppMessageUtf8("分组序列号不正确！");
        return false;
    }
    GroupIndex = i;
    LoadGroup(i);
    if (StudyLib) {
        TWordLib& list = *StudyLib;
        list.CurrentIndex = LastWord;
        list.Step = 0;
        list.AdvanceToIndex(LastWord);
        if (list.HasCurrentWord()) {
            // The group's current word comes back on screen silently; the
            // showing counts the word once more but not the total, which
            // RefreshStudyCount shows one ahead.
            list.TotalDisplays -= 1;
            list.Mute = true;
            list.ShowWord();
            list.ShowGradeCounts();
            list.Mute = Mute;
        }
    }
    ShowGroupNo();
    if (StudyLib) StudyLib->RefreshStudyCount();
    return true;
}

void TWordLib0::ShowGroupNo() { Screen().WriteGroupNo(IntToStr(GroupIndex + 1) + " / " + IntToStr(GroupCount)); }

void TWordLib0::LoadGroup(int g) {
    if (!StudyLib) return;
    TWordLib& list = *StudyLib;
    list.GroupCount = GroupCount;
    list.GroupIndex = g;
    // The colours and switches are the learner's settings, which the window
    // and the settings page keep in the study list; this object's copies
    // follow them rather than undo them.
    FontColor = list.FontColor;
    BackColor = list.BackColor;
    Mute = list.Mute;
    AutoClear = list.AutoClear;
    ShowSentence = list.ShowSentence;
    static_cast<StudyValues&>(list) = static_cast<const StudyValues&>(*this);
    list.WordCount = 0;
    if (g >= 0 && GroupCount >= 1) {
        for (int b = g; b < Count; b += GroupCount) list.Words[list.WordCount++] = Words[b];
    }
    loadedLayout_ = layout_;
    loadedGroup_ = g;
    loadedGroupCount_ = GroupCount;
    list.ForgetShownWord();
    list.CountGrades();
}

void TWordLib0::StoreGroup() {
    if (!StudyLib) return;
    TWordLib& list = *StudyLib;
    static_cast<StudyValues&>(*this) = static_cast<const StudyValues&>(list);
    // The words go back to the group they were loaded from, whatever group
    // the search for the next group has reached meanwhile. Words loaded
    // under another grouping or word order would land on other words'
    // places; the operations that regroup or reorder reload the list, so
    // that does not happen while studying.
    if (loadedGroup_ >= 0 && loadedLayout_ == layout_ && loadedGroupCount_ == GroupCount) {
        for (int b = loadedGroup_, k = 0; b < Count && k < list.WordCount; b += GroupCount, ++k)
            Words[b] = list.Words[k];
    }
    list.CountGrades();
}

std::array<int, kGradeLevels> TWordLib0::CountGradesNow() const {
    std::array<int, kGradeLevels> counts{};
    auto add = [&counts](int grade) {
        if (grade >= 0 && grade < kGradeLevels) ++counts[static_cast<size_t>(grade)];
    };
    const bool listHoldsGroup =
        StudyLib && GroupCount >= 1 && loadedGroup_ >= 0 && loadedLayout_ == layout_ && loadedGroupCount_ == GroupCount;
    for (int i = 0; i < Count; ++i) {
        if (listHoldsGroup && i % GroupCount == loadedGroup_) {
            const int k = i / GroupCount;
            add(k < StudyLib->WordCount ? StudyLib->Words[k].Grade : Words[i].Grade);
        } else {
            add(Words[i].Grade);
        }
    }
    return counts;
}

int TWordLib0::CountGradeZeroWords() const {
    return static_cast<int>(
        std::count_if(Words.begin(), Words.begin() + Count, [](const WordList& w) { return w.Grade == 0; }));
}

int TWordLib0::CountGradeZeroWordsInGroup(int g) const {
    int n = 0;
    if (g < 0 || GroupCount < 1) return 0;
    for (int b = g; b < Count; b += GroupCount) n += Words[b].Grade == 0;
    return n;
}

int TWordLib0::NextGroup() {
    if (CountGradeZeroWords() == 0) return kGroupNoGradeZero;
    if (GroupIndex < -1) GroupIndex = -1;
    do {
        ++GroupIndex;
    } while (GroupIndex < GroupCount && CountGradeZeroWordsInGroup(GroupIndex) == 0);
    if (GroupIndex >= GroupCount) {
        GroupIndex = GroupCount;
        return kGroupCycleEnd;
    }
    LoadGroup(GroupIndex);
    if (StudyLib) {
        StudyLib->GroupIndex = GroupIndex;
        StudyLib->CurrentIndex = 0;
        StudyLib->Step = 0;
        StudyLib->ShowFirstWordOfGrade();
    }
    ShowGroupNo();
    return kGroupLoaded;
}

void TWordLib0::ShuffleWords() { ShuffleWords(static_cast<unsigned>(std::time(nullptr))); }

void TWordLib0::ShuffleWords(unsigned seed) {
    ++layout_;
    std::mt19937 random(seed);
    for (int i = 0; i < Count; ++i) {
        int j = i + static_cast<int>(random() % static_cast<unsigned>(Count - i));
        std::swap(Words[i], Words[j]);
    }
    // The study list then holds the words now standing in its group, so
    // that the two never disagree about which words the group holds.
    if (StudyLib && loadedGroup_ >= 0) LoadGroup(loadedGroup_);
}

void TWordLib0::CloseWordLib() {
    Path.clear();
    Lines.clear();
    Date.clear();
    Editor.clear();
    Version.clear();
    LastWord = 0;
    Count = 0;
    GradeWordLastWord.fill("0");
    BaseGrade = 0;
    GroupCount = 1;
    GroupIndex = 0;
    LoopTimes = 1;
    ThisLoopTime = 0;
    TotalDisplays = 0;
    TotalTime = 0;
    LoadGroup(0);
    if (StudyLib) {
        StudyLib->CurrentIndex = -1;
        StudyLib->CurrentGrade = StudyLib->SearchGrade = 0;
        StudyLib->HideAll();
    }
    ShowBaseGrade();
    ShowGroupNo();
}

int TWordLib0::LowerAllGrades() {
    if (Count == 0) return 0;
    // The grades come down as far as the lowest grade in use, so that grade
    // 0 holds words again; a library that still has grade-0 words keeps its
    // grades.
    int lowest = kTopGrade;
    for (int i = 0; i < Count; ++i) lowest = std::min(lowest, Words[i].Grade);
    const int by = std::max(lowest, 0);
    if (by == 0) return 0;
    for (int i = 0; i < Count; ++i) Words[i].Grade -= by;
    // The study list's copies of its group come down with them, so a later
    // StoreGroup puts back what the library now holds.
    if (StudyLib && loadedGroup_ >= 0 && loadedLayout_ == layout_) {
        TWordLib& list = *StudyLib;
        for (int k = 0; k < list.WordCount; ++k) list.Words[k].Grade = std::max(list.Words[k].Grade - by, 0);
        list.CountGrades();
    } else if (StudyLib) {
        StudyLib->ShowGradeCounts();
    }
    BaseGrade += by;
    ShowBaseGrade();
    return by;
}

void TWordLib0::ShowBaseGrade() {
    for (int i = 0; i <= 4; ++i) Screen().WriteGradeLabel(5 - i, IntToStr(BaseGrade + i));
}
