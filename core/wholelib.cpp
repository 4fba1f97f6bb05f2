#include <algorithm>
#include <ctime>
#include <random>

#include "core/apphelpers.h"
#include "core/gbktext.h"
#include "core/wordlib.h"

TWordLib0::TWordLib0() : Words(kMaxLibraryWords), display_(&NoStudyDisplay::Instance()) {
    GradeWordLastWord.fill("0");
}

void TWordLib0::SetDisplay(StudyDisplay* display) {
    display_ = display ? display : &NoStudyDisplay::Instance();
}

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

void TWordLib0::ShowGroupNo() {
    Screen().WriteGroupNo(IntToStr(GroupIndex + 1) + " / " + IntToStr(GroupCount));
}

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
    if (GroupIndex >= GroupCount || GroupIndex < 0) {
        ShowAppMessage(IntToStr(GroupIndex + GroupCount * 1000));
        return;
    }
    TWordLib& list = *StudyLib;
    static_cast<StudyValues&>(*this) = static_cast<const StudyValues&>(list);
    // Words that were loaded under another grouping or word order would land
    // on other words' places; the library keeps its own then.
    if (loadedLayout_ == layout_ && loadedGroup_ == GroupIndex && loadedGroupCount_ == GroupCount) {
        for (int b = GroupIndex, k = 0; b < Count && k < list.WordCount; b += GroupCount, ++k) Words[b] = list.Words[k];
    }
    list.CountGrades();
}

int TWordLib0::CountGradeZeroWords() const {
    return static_cast<int>(std::count_if(Words.begin(), Words.begin() + Count,
                                          [](const WordList& w) { return w.Grade == 0; }));
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
}

void TWordLib0::LowerAllGrades() {
    // Only meant for a library without grade-0 words; a word already at 0
    // stays there rather than leaving the grade range.
    for (int i = 0; i < Count; ++i)
        if (Words[i].Grade > 0) --Words[i].Grade;
    ++layout_;  // the study list's copies keep the old grades until reloaded
    ++BaseGrade;
    if (StudyLib) StudyLib->ShowGradeCounts();
    ShowBaseGrade();
}

void TWordLib0::ShowBaseGrade() {
    for (int i = 0; i <= 4; ++i) Screen().WriteGradeLabel(5 - i, IntToStr(BaseGrade + i));
}
