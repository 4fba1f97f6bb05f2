// Study order and grading of the study list: which word comes next and how
// words move between grades.

#include "core/appmessage.h"
#include "core/gbktext.h"
#include "core/wordlib.h"

namespace {
void ShowChooseLibrary() { ShowAppMessageUtf8("请先选择词库"); }
void ShowGradeEmpty() { ShowAppMessageUtf8("当前级已经没有单词了！"); }
}  // namespace

int TWordLib::StepAt(int index) const {
    int step = 0;
    for (int i = 0; i < index && i < WordCount; ++i) step += Words[i].Grade == CurrentGrade;
    return step;
}

int TWordLib::NextWord(bool show) {
    Screen().ClearAnswer();
    if (WordCount < 1) return kNextNoWords;
    bool found = false;
    for (int n = 0; n < WordCount; ++n) {
        ++CurrentIndex;
        if (CurrentGrade == 0 && CurrentIndex == WordCount)
            return GroupIndex == GroupCount - 1 ? kNextCycleEnd : kNextGroupEnd;
        if (GroupIndex >= GroupCount || GradeCount[CurrentGrade] == 0) return kNextGroupEnd;
        if (CurrentIndex > WordCount && CurrentGrade == 0 && GroupIndex == GroupCount - 1) {
            Step = 0;
            ++LoopTimes;
            ShowCycleNo();
            CurrentIndex = -1;
            ShowFirstWordOfGrade();
            return kNextCycleEnd;
        }
        if (CurrentIndex < WordCount && Words[CurrentIndex].Grade == CurrentGrade) {
            ++Step;
            found = true;
            break;
        }
    }
    if (found && show) {
        ShowWord();
        return kNextDone;
    }
    if (!found && CurrentGrade == 0 && show) return kNextNoneLeft;
    return kNextDone;
}

void TWordLib::PriorWord() {
    if (WordCount < 1) {
        ShowChooseLibrary();
        return;
    }
    bool found = false;
    for (int n = 0; n < WordCount && CurrentIndex > 0 && Step > 0; ++n) {
        --CurrentIndex;
        if (CurrentIndex < WordCount && Words[CurrentIndex].Grade == CurrentGrade) {
            found = true;
            break;
        }
    }
    if (!found) return;
    // Counted from the list rather than stepped down: coming back from past
    // the end of the list the step was never raised for the last word.
    Step = StepAt(CurrentIndex);
    ShowWord();
}

void TWordLib::ShowFirstWordOfGrade() {
    if (WordCount < 1) {
        ShowChooseLibrary();
        return;
    }
    CurrentIndex = 0;
    bool found = false;
    for (int n = 0; n < WordCount; ++n) {
        if (Words[CurrentIndex].Grade == CurrentGrade) {
            Step = 0;
            found = true;
            break;
        }
        CurrentIndex = (CurrentIndex + 1) % WordCount;
    }
    if (found)
        ShowWord();
    else
        HideAll();
}

bool TWordLib::FindWordAtGrade(const std::string& text) {
    Step = 0;
    CurrentIndex = 0;
    for (int i = 0; i < WordCount; ++i) {
        if (Words[i].Grade != SearchGrade) continue;
        if (Words[i].Word == text) {
            CurrentIndex = i;
            return true;
        }
        ++Step;
    }
    return false;
}

bool TWordLib::AdvanceToIndex(int index) {
    Step = 0;
    CurrentIndex = 0;
    // The walk ends at the end of the list: going on past it would take the
    // next-word step into its new-cycle branch.
    for (int n = 0; n < WordCount && CurrentIndex < WordCount; ++n) {
        if (CurrentIndex >= index) {
            Step = StepAt(CurrentIndex);
            return true;
        }
        NextWord(false);
    }
    return false;
}

void TWordLib::UpGrade(int n) {
    const int g = CurrentGrade;
    if (GradeCount[g] == 0) {
        if (g == 0) {
            Screen().ClickNextWord();
        } else {
            HideAll();
            ShowGradeEmpty();
        }
        return;
    }
    if (g == kTopGrade) {
        ShowAppMessageUtf8("当前单词已经是最高级，不能再升级了！");
        return;
    }
    if (!HasCurrentWord()) return;
    WordList& word = Words[CurrentIndex];
    if (word.Grade >= kTopGrade) {
        ShowAppMessageUtf8("当前单词已经是最高级，不能再升级了！");
        return;
    }
    word.Grade = n >= kStraightToTop ? kTopGrade : word.Grade + 1;
    --Step;
    CountGrades();
    NextWord(true);
}

void TWordLib::DeGrade(int n) {
    const int g = CurrentGrade;
    if (GradeCount[g] == 0) {
        if (g != 0) ShowGradeEmpty();
        HideAll();
        return;
    }
    if (g == 0 || !HasCurrentWord()) return;
    WordList& word = Words[CurrentIndex];
    if (word.Grade - n < 0) return;
    word.Grade -= n;
    --Step;
    CountGrades();
    NextWord(true);
}

void TWordLib::CountGrades() {
    GradeCount.fill(0);
    for (int i = 0; i < WordCount; ++i) {
        int grade = Words[i].Grade;
        if (grade >= 0 && grade < kGradeLevels) ++GradeCount[grade];
    }
    ShowGradeCounts();
}

void TWordLib::PickGrade(int item) {
    if (item < 0 || item >= kGradeLevels) return;
    CurrentGrade = SearchGrade = kTopGrade - item;
    if (GradeCount[CurrentGrade] == 0) {
        HideAll();
        return;
    }
    if (FindWordAtGrade(GradeLastWord[item]))
        ShowWord();
    else
        ShowFirstWordOfGrade();
}
