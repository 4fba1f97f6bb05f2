// The study list's order of study and its grading.

#include <gtest/gtest.h>

#include "support/wordlib_fixture.h"

namespace {

TEST(StudyOrder, NextWordVisitsOnlyWordsOfTheCurrentGradeAndEndsThePass) {
    // Grades 0, 1, 0, 0 at grade 0: positions 0, 2, 3, then the end.
    struct Case {
        int groupIndex, groupCount, endResult;
    };
    for (Case c : {Case{0, 2, kNextGroupEnd}, Case{1, 2, kNextCycleEnd}, Case{0, 1, kNextCycleEnd}}) {
        SCOPED_TRACE(c.groupIndex);
        StudyListFixture f({0, 1, 0, 0}, c.groupIndex, c.groupCount);
        f.list.ShowFirstWordOfGrade();
        EXPECT_EQ(f.list.CurrentIndex, 0);
        EXPECT_EQ(f.list.Step, 0);
        EXPECT_EQ(f.display.word, "w0");
        EXPECT_EQ(f.display.stepNo, "1 / 3");

        EXPECT_EQ(f.list.NextWord(true), kNextDone);
        EXPECT_EQ(f.list.CurrentIndex, 2);
        EXPECT_EQ(f.list.Step, 1);
        EXPECT_EQ(f.display.word, "w2");
        EXPECT_EQ(f.display.stepNo, "2 / 3");

        EXPECT_EQ(f.list.NextWord(true), kNextDone);
        EXPECT_EQ(f.list.CurrentIndex, 3);
        EXPECT_EQ(f.display.stepNo, "3 / 3");

        int clears = f.display.answerClears;
        EXPECT_EQ(f.list.NextWord(true), c.endResult);
        EXPECT_EQ(f.list.CurrentIndex, 4) << "the position rests at the end of the list";
        EXPECT_EQ(f.display.word, "w3") << "nothing new is shown at the end";
        EXPECT_EQ(f.display.answerClears, clears + 1) << "every step empties the answer box";
        EXPECT_TRUE(f.messages.shown.empty());
    }
}

TEST(StudyOrder, NextWordResultsOutsideTheNormalPass) {
    {
        SCOPED_TRACE("no words");
        StudyListFixture f({});
        EXPECT_EQ(f.list.NextWord(true), kNextNoWords);
    }
    {
        SCOPED_TRACE("grade 0 without words");
        StudyListFixture f({1, 2});
        f.list.CurrentIndex = 0;
        EXPECT_EQ(f.list.NextWord(true), kNextGroupEnd);
    }
    {
        SCOPED_TRACE("group index beyond the groups");
        StudyListFixture f({0, 0}, 3, 3);
        f.list.CurrentIndex = -1;
        EXPECT_EQ(f.list.NextWord(true), kNextGroupEnd);
    }
    {
        SCOPED_TRACE("past the end of a group that is not the last");
        StudyListFixture f({0, 0, 0}, 0, 2);
        f.list.CurrentIndex = 3;
        EXPECT_EQ(f.list.NextWord(true), kNextNoneLeft);
        EXPECT_EQ(f.list.NextWord(false), kNextDone) << "only a shown step reports that none is left";
    }
    {
        SCOPED_TRACE("silent step finds a word without showing it");
        StudyListFixture f({0, 0});
        f.list.CurrentIndex = 0;
        EXPECT_EQ(f.list.NextWord(false), kNextDone);
        EXPECT_EQ(f.list.CurrentIndex, 1);
        EXPECT_EQ(f.display.Calls("WriteWord"), 0);
    }
}

TEST(StudyOrder, NextWordPastTheEndOfTheLastGroupStartsANewCycle) {
    StudyListFixture f({1, 0, 0}, 2, 3);
    f.list.CurrentIndex = 3;  // the pass has ended
    f.list.LoopTimes = 4;
    EXPECT_EQ(f.list.NextWord(true), kNextCycleEnd);
    EXPECT_EQ(f.list.LoopTimes, 5);
    EXPECT_EQ(f.display.cycleNo, "5");
    EXPECT_EQ(f.list.CurrentIndex, 1) << "the first grade-0 word is shown";
    EXPECT_EQ(f.list.Step, 0);
    EXPECT_EQ(f.display.word, "w1");
}

TEST(StudyOrder, AtAHigherGradeTheEndOfTheListEndsNothing) {
    StudyListFixture f({3, 0, 3, 0});
    f.list.CurrentGrade = 3;
    f.list.ShowFirstWordOfGrade();
    f.list.PriorWord();
    EXPECT_EQ(f.list.CurrentIndex, 0) << "no step back from the first word of a grade";
    EXPECT_EQ(f.list.NextWord(true), kNextDone);
    EXPECT_EQ(f.list.CurrentIndex, 2);
    f.display.ClearLog();
    EXPECT_EQ(f.list.NextWord(true), kNextDone);
    EXPECT_GE(f.list.CurrentIndex, f.list.WordCount);
    EXPECT_EQ(f.display.Calls("WriteWord"), 0) << "nothing is shown past the last word of the grade";

    // Coming back from past the end finds the last word with its own step.
    f.list.PriorWord();
    EXPECT_EQ(f.list.CurrentIndex, 2);
    EXPECT_EQ(f.list.Step, 1);
    EXPECT_EQ(f.display.stepNo, "2 / 2");
    f.list.PriorWord();
    EXPECT_EQ(f.list.CurrentIndex, 0);
    EXPECT_EQ(f.display.stepNo, "1 / 2");
}

TEST(StudyOrder, WithoutWordsTheStepsAskForALibrary) {
    StudyListFixture f({});
    f.list.PriorWord();
    f.list.ShowFirstWordOfGrade();
    EXPECT_EQ(f.messages.Texts(), (std::vector<std::string>{"请先选择词库", "请先选择词库"}));
    EXPECT_EQ(f.list.CurrentIndex, -1);
}

TEST(StudyOrder, ShowFirstWordOfAGradeWithoutWordsHidesEverything) {
    StudyListFixture f({0, 0, 1});
    f.list.CurrentGrade = 4;
    f.list.ShowFirstWordOfGrade();
    EXPECT_EQ(f.list.CurrentIndex, 0);
    EXPECT_EQ(f.display.wordColour, f.list.BackColor);
    EXPECT_EQ(f.display.readingColour, f.list.BackColor);
    EXPECT_EQ(f.display.meaningColour, f.list.BackColor);
    EXPECT_EQ(f.display.Calls("WriteWord"), 0);
}

TEST(StudyOrder, FindWordAtGradeCountsTheWordsOfTheGradeBeforeIt) {
    StudyListFixture f({2, 0, 2, 2, 1, 2});
    f.list.CurrentGrade = f.list.SearchGrade = 2;
    EXPECT_TRUE(f.list.FindWordAtGrade("w3"));
    EXPECT_EQ(f.list.CurrentIndex, 3);
    EXPECT_EQ(f.list.Step, 2);
    f.list.ShowWord();
    EXPECT_EQ(f.display.stepNo, "3 / 4");

    EXPECT_FALSE(f.list.FindWordAtGrade("w1")) << "w1 is not at grade 2";
    EXPECT_EQ(f.list.CurrentIndex, 0);
    EXPECT_FALSE(f.list.FindWordAtGrade("W3")) << "the comparison is case-sensitive";
}

TEST(StudyOrder, AdvanceToIndexLandsOnTheFirstWordOfTheGradeAtOrAfterTheIndex) {
    struct Case {
        std::vector<int> grades;
        int index;
        bool landed;
        int currentIndex, step;
    };
    const Case cases[] = {
        {{0, 0, 0, 0}, 2, true, 2, 2}, {{1, 0, 1, 0, 0}, 2, true, 3, 1},  // word 0 is not at the grade: one word before
        {{1, 0, 0}, 0, true, 0, 0},                                       // index 0 stays on word 0 whatever its grade
        {{0, 0, 0}, -1, true, 0, 0},   {{0, 1, 1}, 1, false, 3, 1},       // no grade-0 word from 1 on: the pass ends
        {{0, 0, 0}, 9, false, 3, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "index " << c.index << " grades " << c.grades.size());
        StudyListFixture f(c.grades, 0, 1);
        f.list.LoopTimes = 1;
        EXPECT_EQ(f.list.AdvanceToIndex(c.index), c.landed);
        EXPECT_EQ(f.list.CurrentIndex, c.currentIndex);
        if (c.landed) {
            EXPECT_EQ(f.list.Step, c.step);
        }
        EXPECT_EQ(f.list.LoopTimes, 1) << "positioning never starts a new cycle";
        EXPECT_EQ(f.display.Calls("WriteWord"), 0) << "positioning is silent";
    }
}

TEST(Grading, PromotingAWordMovesItUpAndShowsTheNextWordOfTheGrade) {
    StudyListFixture f({0, 1, 0, 0});
    f.list.ShowFirstWordOfGrade();
    f.list.NextWord(true);
    ASSERT_EQ(f.display.stepNo, "2 / 3");
    f.list.UpGrade(1);
    EXPECT_EQ(f.list.Words[2].Grade, 1);
    EXPECT_EQ(f.list.CurrentIndex, 3);
    EXPECT_EQ(f.display.word, "w3");
    EXPECT_EQ(f.display.stepNo, "2 / 2");
    EXPECT_EQ(f.display.GradeCountsText(), "0,0,0,0,2,2");
    EXPECT_EQ((f.list.GradeCount), (std::array<int, 6>{2, 2, 0, 0, 0, 0}));
}

TEST(Grading, StraightToTheTopGrade) {
    StudyListFixture f({2, 2, 0});
    f.list.CurrentGrade = 2;
    f.list.ShowFirstWordOfGrade();
    f.list.UpGrade(kStraightToTop);
    EXPECT_EQ(f.list.Words[0].Grade, 5);
    EXPECT_EQ((f.list.GradeCount), (std::array<int, 6>{1, 0, 1, 0, 0, 1}));
    EXPECT_EQ(f.display.GradeCountsText(), "1,0,0,1,0,1");
    EXPECT_EQ(f.display.word, "w1");
    EXPECT_EQ(f.display.stepNo, "1 / 1");
}

TEST(Grading, DemotionMovesAWordDownExceptAtGradeZero) {
    {
        StudyListFixture f({0, 0});
        f.list.ShowFirstWordOfGrade();
        f.list.DeGrade(1);
        EXPECT_EQ(f.list.Words[0].Grade, 0);
        EXPECT_EQ(f.list.CurrentIndex, 0);
        EXPECT_TRUE(f.messages.shown.empty());
    }
    {
        StudyListFixture f({1, 0, 1});
        f.list.CurrentGrade = 1;
        f.list.ShowFirstWordOfGrade();
        f.list.DeGrade(1);
        EXPECT_EQ(f.list.Words[0].Grade, 0);
        EXPECT_EQ((f.list.GradeCount), (std::array<int, 6>{2, 1, 0, 0, 0, 0}));
        EXPECT_EQ(f.list.CurrentIndex, 2);
        EXPECT_EQ(f.display.stepNo, "1 / 1");
    }
}

TEST(Grading, RefusalsAndEmptyGrades) {
    struct Case {
        const char* name;
        std::vector<int> grades;
        int grade;
        bool up;
        std::vector<std::string> messages;
        int nextClicks;
        bool hidden;
    };
    const Case cases[] = {
        {"promote at the top grade", {5, 0}, 5, true, {"当前单词已经是最高级，不能再升级了！"}, 0, false},
        {"promote at an empty grade", {0, 0}, 3, true, {"当前级已经没有单词了！"}, 0, true},
        {"promote at an empty grade 0", {1, 1}, 0, true, {}, 1, false},
        {"demote at an empty grade", {0, 0}, 2, false, {"当前级已经没有单词了！"}, 0, true},
        {"demote at an empty grade 0", {3}, 0, false, {}, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StudyListFixture f(c.grades);
        f.list.CurrentGrade = c.grade;
        f.list.CurrentIndex = 0;
        std::vector<int> before;
        for (int i = 0; i < f.list.WordCount; ++i) before.push_back(f.list.Words[i].Grade);
        if (c.up)
            f.list.UpGrade(1);
        else
            f.list.DeGrade(1);
        EXPECT_EQ(f.messages.Texts(), c.messages);
        EXPECT_EQ(f.display.nextWordClicks, c.nextClicks);
        EXPECT_EQ(f.display.wordColour == f.list.BackColor, c.hidden);
        for (int i = 0; i < f.list.WordCount; ++i) EXPECT_EQ(f.list.Words[i].Grade, before[i]);
    }
}

TEST(Grading, GradeCountsFollowTheWordThatActuallyChanges) {
    // After a group load the position may rest on word 0 of another grade.
    StudyListFixture f({1, 0, 0});
    f.list.AdvanceToIndex(0);
    f.list.UpGrade(1);
    EXPECT_EQ(f.list.Words[0].Grade, 2);
    EXPECT_EQ((f.list.GradeCount), (std::array<int, 6>{2, 0, 1, 0, 0, 0}));
    EXPECT_EQ(f.list.CurrentIndex, 1);

    StudyListFixture top({5, 0});
    top.list.AdvanceToIndex(0);
    top.list.UpGrade(1);
    EXPECT_EQ(top.list.Words[0].Grade, 5) << "no grade above 5";
    EXPECT_EQ(top.messages.Texts(), (std::vector<std::string>{"当前单词已经是最高级，不能再升级了！"}));
}

TEST(Grading, NothingChangesWhenNoWordIsCurrent) {
    StudyListFixture f({1, 1});
    f.list.CurrentGrade = 1;
    f.list.CurrentIndex = 2;  // past the end
    f.list.UpGrade(1);
    f.list.DeGrade(1);
    EXPECT_EQ(f.list.Words[0].Grade, 1);
    EXPECT_EQ(f.list.Words[1].Grade, 1);
    EXPECT_TRUE(f.messages.shown.empty());
}

TEST(PickingAGrade, ReturnsToTheWordLastShownAtThatGrade) {
    StudyListFixture f({0, 1, 0, 1, 1});
    f.list.PickGrade(4);  // grade 1
    EXPECT_EQ(f.list.CurrentGrade, 1);
    EXPECT_EQ(f.list.SearchGrade, 1);
    EXPECT_EQ(f.display.word, "w1");
    f.list.NextWord(true);
    EXPECT_EQ(f.display.word, "w3");
    EXPECT_EQ(f.list.GradeLastWord[4], "w3");

    f.list.PickGrade(5);  // grade 0
    EXPECT_EQ(f.display.word, "w0");
    f.list.PickGrade(4);
    EXPECT_EQ(f.display.word, "w3");
    EXPECT_EQ(f.display.stepNo, "2 / 3");

    f.display.ClearLog();
    f.list.PickGrade(0);  // grade 5 has no words
    EXPECT_EQ(f.list.CurrentIndex, 3) << "the position stays";
    EXPECT_EQ(f.display.wordColour, f.list.BackColor);
    EXPECT_EQ(f.display.meaningColour, f.list.BackColor);
    EXPECT_EQ(f.display.Calls("WriteWord"), 0);
}

}  // namespace
