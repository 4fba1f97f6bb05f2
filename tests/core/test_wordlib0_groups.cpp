// The whole library: groups, moving between groups, cycles, shuffling and
// lowering all grades.

#include <algorithm>

#include <gtest/gtest.h>

#include "support/wordlib_fixture.h"

namespace {

// A whole library of words "w0".. with the given grades, opened from a file.
struct OpenLibrary : LibraryFixture {
    explicit OpenLibrary(const std::vector<int>& grades, int groupcount = 1, int groupindex = 0, int lw = 0) {
        EXPECT_TRUE(Open("lib.lx", HeaderLine(lw, groupcount, groupindex) + "\n" + WordLines(grades)));
    }
};

TEST(WholeLibrary, FreshObjectsHoldTheirDefaults) {
    TWordLib0 lib;
    EXPECT_EQ(lib.GroupCount, 1);
    EXPECT_EQ(lib.GroupIndex, 0);
    EXPECT_EQ(lib.LoopTimes, 1);
    EXPECT_EQ(lib.Count, 0);
    EXPECT_TRUE(lib.Path.empty());
    EXPECT_EQ(lib.GradeWordLastWord, (std::array<std::string, 6>{"0", "0", "0", "0", "0", "0"}));
    EXPECT_EQ(lib.IdleLimit, 300);
    EXPECT_FALSE(lib.SaveWordLib()) << "no library, nothing written";
}

TEST(WholeLibrary, GroupsInterleaveThroughTheLibrary) {
    struct Case {
        int count, groups, group;
        const char* words;
    };
    const Case cases[] = {
        {10, 3, 0, "w0,w3,w6,w9"}, {10, 3, 1, "w1,w4,w7"}, {10, 3, 2, "w2,w5,w8"},
        {4, 4, 2, "w2"},           {3, 1, 0, "w0,w1,w2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.count << " words, group " << c.group << " of " << c.groups);
        OpenLibrary f(std::vector<int>(c.count, 0), c.groups);
        f.lib.LoadGroup(c.group);
        EXPECT_EQ(f.StudyWords(), c.words);
        EXPECT_EQ(f.list.GroupIndex, c.group);
        EXPECT_EQ(f.list.GroupCount, c.groups);
    }
}

TEST(WholeLibrary, OpeningResumesTheSavedGroupAndPosition) {
    // Group 1 of 3 holds w1, w4, w7, w10; lw 2 points at w7, which has left
    // grade 0, so the next grade-0 word w10 becomes current.
    OpenLibrary f({0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0}, 3, 1, 2);
    EXPECT_EQ(f.StudyWords(), "w1,w4,w7,w10");
    EXPECT_EQ(f.list.CurrentIndex, 3);
    EXPECT_EQ(f.list.Step, 2);
    EXPECT_EQ(f.display.word, "w10");
    EXPECT_EQ(f.display.groupNo, "2 / 3");
    EXPECT_EQ(f.display.stepNo, "3 / 3");
    EXPECT_TRUE(f.display.played.empty()) << "the resumed word comes back without sound";
    EXPECT_FALSE(f.list.Mute);
    EXPECT_EQ(f.list.ShownCount, 0);
    EXPECT_EQ(f.list.ActiveSeconds, 0);
    // The showing counts for the word once; the total is shown one ahead.
    EXPECT_EQ(f.list.Words[3].StudyTimes, 1);
    EXPECT_EQ(f.list.TotalDisplays, 0);
    EXPECT_EQ(f.display.wordStudyCount, "1 / 1");
    EXPECT_EQ(f.display.GradeLabelsText(), "10000,4,3,2,1,0");
    EXPECT_TRUE(f.messages.shown.empty());
}

TEST(WholeLibrary, TheStudyListCarriesTheStudyValuesBothWays) {
    OpenLibrary f({0, 0, 0, 0}, 2, 0);
    f.lib.IdleSeconds = 5;
    f.lib.LoadGroup(1);
    EXPECT_EQ(f.list.TotalTime, 99);
    EXPECT_EQ(f.list.ThisLoopTime, 7);
    EXPECT_EQ(f.list.IdleSeconds, 5);

    f.lib.GroupIndex = 1;
    f.list.Words[1].Grade = 3;
    f.list.Words[1].StudyTimes = 9;
    f.list.TotalTime = 500;
    f.list.LoopTimes = 4;
    f.list.TotalDisplays = 77;
    f.lib.StoreGroup();
    EXPECT_EQ(f.lib.Words[3].Grade, 3);
    EXPECT_EQ(f.lib.Words[3].StudyTimes, 9);
    EXPECT_EQ(f.lib.Words[1].Grade, 0);
    EXPECT_EQ(f.lib.TotalTime, 500);
    EXPECT_EQ(f.lib.LoopTimes, 4);
    EXPECT_EQ(f.lib.TotalDisplays, 77);
}

TEST(WholeLibrary, LoadingAGroupKeepsTheLearnersSettings) {
    // The window and the settings page set these on the study list only.
    LibraryFixture f;
    f.list.FontColor = 11;
    f.list.BackColor = 22;
    f.list.Mute = true;
    f.list.AutoClear = true;
    f.list.ShowSentence = false;
    ASSERT_TRUE(f.Open("lib.lx", HeaderLine(0, 2, 0) + "\n" + WordLines({0, 0, 0, 0})));
    f.lib.LoadGroup(1);
    for (const StudyValues* v : {static_cast<const StudyValues*>(&f.list), static_cast<const StudyValues*>(&f.lib)}) {
        EXPECT_EQ(v->FontColor, 11);
        EXPECT_EQ(v->BackColor, 22);
        EXPECT_TRUE(v->Mute);
        EXPECT_TRUE(v->AutoClear);
        EXPECT_FALSE(v->ShowSentence);
    }
    EXPECT_EQ(f.display.wordColour, 11);
    EXPECT_EQ(f.display.sentencesOf, "");
}

TEST(WholeLibrary, OpeningALibraryWithoutWordsLeavesNoWordCurrent) {
    LibraryFixture f;
    ASSERT_TRUE(f.Open("full.lx", HeaderLine(0, 3, 1) + "\n" + WordLines({0, 0, 0})));
    ASSERT_TRUE(f.list.HasCurrentWord());
    ASSERT_TRUE(f.Open("empty.lx", HeaderLine(0, 1, 0, 1, 3) + "\n"));
    EXPECT_EQ(f.list.WordCount, 0);
    EXPECT_EQ(f.display.groupNo, "1 / 1");
    EXPECT_EQ(f.display.GradeLabelsText(), "10000,7,6,5,4,3");
    EXPECT_EQ(f.list.CurrentIndex, -1);
    EXPECT_EQ(f.list.NextWord(true), kNextNoWords);
    EXPECT_TRUE(f.lib.SaveWordLib());
    EXPECT_NE(PlainTextOf(f.folder / "empty.lx").find("<lw>-1</lw>"), std::string::npos);
}

// What the learner before left open is closed for a learner without a
// library: nothing of it is shown, studied or saved.
TEST(WholeLibrary, ClosingLeavesNothingToStudyOrSave) {
    OpenLibrary f({0, 1, 2, 0, 3}, 2, 1, 1);
    f.list.NextWord(true);
    const std::string before = TempFolder::ReadBytes(f.folder / "lib.lx");
    f.lib.CloseWordLib();
    EXPECT_TRUE(f.lib.Path.empty());
    EXPECT_EQ(f.lib.Count, 0);
    EXPECT_EQ(f.lib.BaseGrade, 0);
    EXPECT_EQ(f.list.WordCount, 0);
    EXPECT_EQ(f.list.CurrentIndex, -1);
    EXPECT_EQ(f.display.groupNo, "1 / 1");
    EXPECT_EQ(f.display.GradeLabelsText(), "10000,4,3,2,1,0");
    EXPECT_EQ(f.list.NextWord(true), kNextNoWords);
    f.lib.StoreGroup();
    EXPECT_FALSE(f.lib.SaveWordLib());
    EXPECT_EQ(TempFolder::ReadBytes(f.folder / "lib.lx"), before);
}

TEST(WholeLibrary, StoringNeverPutsWordsOnOtherWordsPlaces) {
    auto libraryWords = [](const TWordLib0& lib) {
        std::vector<std::string> words;
        for (int i = 0; i < lib.Count; ++i)
            words.push_back(lib.Words[i].Word + ":" + std::to_string(lib.Words[i].Grade));
        return words;
    };
    {
        SCOPED_TRACE("the grouping changed without loading a group");
        OpenLibrary f({0, 0, 0, 0, 0, 0}, 3, 1);
        auto before = libraryWords(f.lib);
        f.lib.GroupCount = 1;
        f.lib.GroupIndex = 0;
        f.list.Words[0].Grade = 4;
        f.list.TotalTime = 321;
        f.lib.StoreGroup();
        EXPECT_EQ(libraryWords(f.lib), before);
        EXPECT_EQ(f.lib.TotalTime, 321) << "the study values still come back";
    }
    {
        SCOPED_TRACE("the words were reshuffled");
        OpenLibrary f({0, 0, 0, 0, 0, 0}, 2, 0);
        f.list.Words[1].Grade = 3;  // w2
        f.lib.StoreGroup();
        f.lib.ShuffleWords(7u);
        // The list now holds the words the shuffle put into its group.
        std::string group0;
        for (int b = 0; b < f.lib.Count; b += 2) group0 += (b ? "," : "") + f.lib.Words[b].Word;
        EXPECT_EQ(f.StudyWords(), group0);
        auto w2 = std::find_if(f.lib.Words.begin(), f.lib.Words.begin() + f.lib.Count,
                               [](const WordList& w) { return w.Word == "w2"; });
        EXPECT_EQ(w2->Grade, 3);
        f.list.Words[0].Grade = 4;
        f.lib.StoreGroup();
        EXPECT_EQ(f.lib.Words[0].Word, f.list.Words[0].Word);
        EXPECT_EQ(f.lib.Words[0].Grade, 4);
    }
}

// The search for the next group may pass the last group (and the window
// then starts it again from -1); the study list still holds the group it was
// loaded with, and that is where its grade changes go.
TEST(WholeLibrary, StoringGoesToTheLoadedGroupWhereverTheSearchStands) {
    for (int searchAt : {-1, 2}) {
        SCOPED_TRACE(searchAt);
        OpenLibrary f({0, 0, 0, 0}, 2, 1);
        EXPECT_EQ(f.StudyWords(), "w1,w3");
        f.lib.GroupIndex = searchAt;
        f.list.Words[1].Grade = 2;
        f.lib.StoreGroup();
        EXPECT_TRUE(f.messages.shown.empty());
        EXPECT_EQ(f.lib.Words[3].Grade, 2);
        EXPECT_EQ(f.lib.Words[2].Grade, 0);
    }
}

TEST(WholeLibrary, GroupCountAndIndexAreChecked) {
    OpenLibrary f(std::vector<int>(10, 0), 2, 0);
    for (int bad : {201, 11, 0, -3}) {
        SCOPED_TRACE(bad);
        f.messages.shown.clear();
        EXPECT_FALSE(f.lib.SetGroupCount(bad));
        EXPECT_EQ(f.lib.GroupCount, 2);
        EXPECT_EQ(f.messages.Texts(), (std::vector<std::string>{"分组数超过200或超过单词数！"}));
    }
    EXPECT_TRUE(f.lib.SetGroupCount(10));
    EXPECT_EQ(f.lib.GroupCount, 10);

    f.list.Words[0].Grade = 5;  // in the study list only: a failed set must not reload it
    for (int bad : {10, -1}) {
        SCOPED_TRACE(bad);
        f.messages.shown.clear();
        EXPECT_FALSE(f.lib.SetGroupIndex(bad));
        EXPECT_EQ(f.messages.Texts(), (std::vector<std::string>{"分组序列号不正确！"}));
        EXPECT_EQ(f.lib.GroupIndex, 0);
        EXPECT_EQ(f.list.Words[0].Grade, 5);
    }
    EXPECT_TRUE(f.lib.SetGroupIndex(9));
    EXPECT_EQ(f.StudyWords(), "w9");
    EXPECT_EQ(f.display.groupNo, "10 / 10");
}

TEST(WholeLibrary, AGroupCountAboveTheWordsWarnsAndLeavesEmptyGroups) {
    LibraryFixture f;
    ASSERT_TRUE(f.Open("lib.lx", HeaderLine(0, 250, 0) + "\n" + WordLines(std::vector<int>(10, 0))));
    EXPECT_EQ(f.messages.Texts(), (std::vector<std::string>{"分组数超过200或超过单词数！"}));
    EXPECT_EQ(f.lib.GroupCount, 250);
    EXPECT_EQ(f.StudyWords(), "w0");
    f.lib.LoadGroup(10);
    EXPECT_EQ(f.list.WordCount, 0);
    f.lib.LoadGroup(249);
    EXPECT_EQ(f.list.WordCount, 0);
}

TEST(WholeLibrary, BadGroupValuesInAFileStillGiveAUsableLibrary) {
    struct Case {
        int groupcount, groupindex;
        std::vector<std::string> messages;
        int count, index;
    };
    const Case cases[] = {
        {0, 0, {"分组数超过200或超过单词数！"}, 1, 0},
        {-4, 0, {"分组数超过200或超过单词数！"}, 1, 0},
        {3, 5, {"分组序列号不正确！"}, 3, 0},
        {3, -1, {"分组序列号不正确！"}, 3, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.groupcount << "/" << c.groupindex);
        LibraryFixture f;
        ASSERT_TRUE(f.Open("lib.lx", HeaderLine(0, c.groupcount, c.groupindex) + "\n" + WordLines({0, 0, 0, 0, 0, 0})));
        EXPECT_EQ(f.messages.Texts(), c.messages);
        EXPECT_EQ(f.lib.GroupCount, c.count);
        EXPECT_EQ(f.lib.GroupIndex, c.index);
        EXPECT_EQ(f.list.GroupIndex, c.index);
        EXPECT_TRUE(f.list.HasCurrentWord());
        // Work in that group can be stored back.
        f.messages.shown.clear();
        f.list.Words[0].Grade = 2;
        f.lib.StoreGroup();
        EXPECT_TRUE(f.messages.shown.empty());
        EXPECT_EQ(f.lib.Words[c.index].Grade, 2);
    }
}

TEST(WholeLibrary, NextGroupFindsTheNextGroupWithGradeZeroWords) {
    // Only group 2 of 3 (words 2 and 5) holds grade-0 words.
    OpenLibrary f({1, 1, 0, 1, 1, 1}, 3, 0);
    f.lib.StoreGroup();
    f.lib.GroupIndex = -1;
    EXPECT_EQ(f.lib.NextGroup(), kGroupLoaded);
    EXPECT_EQ(f.lib.GroupIndex, 2);
    EXPECT_EQ(f.list.GroupIndex, 2);
    EXPECT_EQ(f.StudyWords(), "w2,w5");
    EXPECT_EQ(f.list.CurrentIndex, 0);
    EXPECT_EQ(f.display.word, "w2");
    EXPECT_EQ(f.display.groupNo, "3 / 3");

    EXPECT_EQ(f.lib.NextGroup(), kGroupCycleEnd);
    EXPECT_EQ(f.lib.GroupIndex, 3);
    EXPECT_EQ(f.StudyWords(), "w2,w5") << "nothing is loaded at the end of the cycle";
}

TEST(WholeLibrary, NextGroupWithoutGradeZeroWordsChangesNothing) {
    OpenLibrary f({1, 2, 1}, 1, 0);
    f.display.ClearLog();
    EXPECT_EQ(f.lib.NextGroup(), kGroupNoGradeZero);
    EXPECT_EQ(f.lib.GroupIndex, 0);
    EXPECT_TRUE(f.display.log.empty());
    EXPECT_EQ(f.lib.CountGradeZeroWords(), 0);
}

TEST(WholeLibrary, LoweringAllGradesRelabelsTheGrades) {
    OpenLibrary f({1, 2, 5, 1}, 1, 0);
    EXPECT_EQ(f.lib.LowerAllGrades(), 1);
    EXPECT_EQ(f.lib.BaseGrade, 1);
    EXPECT_EQ(f.display.GradeLabelsText(), "10000,5,4,3,2,1");
    std::vector<int> grades;
    for (int i = 0; i < f.lib.Count; ++i) grades.push_back(f.lib.Words[i].Grade);
    EXPECT_EQ(grades, (std::vector<int>{0, 1, 4, 0}));
    EXPECT_EQ(f.lib.CountGradeZeroWords(), 2);
    EXPECT_EQ(f.list.GradeCount[0], 2) << "the study list's words come down with the library's";

    f.lib.StoreGroup();
    EXPECT_EQ(f.lib.Words[2].Grade, 4);

    EXPECT_EQ(f.lib.LowerAllGrades(), 0) << "grade 0 holds words: nothing changes";
    EXPECT_EQ(f.lib.Words[0].Grade, 0);
    EXPECT_EQ(f.lib.Words[1].Grade, 1);
    EXPECT_EQ(f.lib.BaseGrade, 1);
}

// However high the words stand, one lowering brings the lowest of them to
// grade 0, and the base grade rises by as much.
TEST(WholeLibrary, LoweringReachesGradeZeroAtOnce) {
    struct Case {
        std::vector<int> grades;
        int by;
        std::vector<int> lowered;
        const char* labels;
    };
    const Case cases[] = {
        {{5, 5, 5}, 5, {0, 0, 0}, "10000,9,8,7,6,5"},
        {{3, 4, 3, 5}, 3, {0, 1, 0, 2}, "10000,7,6,5,4,3"},
        {{2, 1, 4}, 1, {1, 0, 3}, "10000,5,4,3,2,1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.labels);
        OpenLibrary f(c.grades, 2, 1);
        f.list.Words[0].Grade = 5;  // studied in the list, not stored yet
        EXPECT_EQ(f.lib.LowerAllGrades(), c.by);
        EXPECT_EQ(f.lib.BaseGrade, c.by);
        EXPECT_EQ(f.display.GradeLabelsText(), c.labels);
        f.lib.StoreGroup();
        std::vector<int> grades;
        for (int i = 0; i < f.lib.Count; ++i) grades.push_back(f.lib.Words[i].Grade);
        std::vector<int> expected = c.lowered;
        expected[1] = 5 - c.by;  // list word 0 of group 1 is library word 1
        EXPECT_EQ(grades, expected);
    }
}

TEST(WholeLibrary, ShuffleKeepsEveryWordWhole) {
    LibraryFixture f;
    std::string text = HeaderLine();
    for (int i = 0; i < 40; ++i)
        text += "\n" + WordLine("w" + std::to_string(i), std::to_string(i * 3), "m" + std::to_string(i),
                                std::to_string(i % 6));
    ASSERT_TRUE(f.Open("lib.lx", text));
    std::vector<WordList> before(f.lib.Words.begin(), f.lib.Words.begin() + f.lib.Count);
    f.lib.ShuffleWords(12345u);
    std::vector<WordList> after(f.lib.Words.begin(), f.lib.Words.begin() + f.lib.Count);
    EXPECT_NE(after, before) << "the order changes";
    auto byWord = [](const WordList& a, const WordList& b) { return a.Word < b.Word; };
    std::sort(before.begin(), before.end(), byWord);
    std::sort(after.begin(), after.end(), byWord);
    EXPECT_EQ(after, before);
    EXPECT_TRUE(f.lib.Words[f.lib.Count].Word.empty()) << "nothing beyond the library is touched";

    f.lib.ShuffleWords();  // clock-seeded
    std::vector<WordList> again(f.lib.Words.begin(), f.lib.Words.begin() + f.lib.Count);
    std::sort(again.begin(), again.end(), byWord);
    EXPECT_EQ(again, before);
}

}  // namespace
