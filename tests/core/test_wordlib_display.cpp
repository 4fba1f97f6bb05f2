// What the study list puts on screen for a word and how showings are
// counted.

#include <gtest/gtest.h>

#include "support/wordlib_fixture.h"

namespace {

TEST(WordShowing, AFreshStudyListHasNoCurrentWord) {
    StudyListFixture f({});
    EXPECT_EQ(f.list.CurrentIndex, -1);
    EXPECT_EQ(f.list.WordCount, 0);
    f.display.ClearLog();
    f.list.ShowWord();
    f.list.RevealAll();
    f.list.FillWord();
    EXPECT_TRUE(f.display.log.empty()) << "nothing is drawn without a current word";
}

TEST(WordShowing, ShowingAWordPutsItsTextsOnScreenAndCountsIt) {
    StudyListFixture f({0, 0, 0});
    f.list.Words[1].StudyTimes = 4;
    f.list.TotalDisplays = 10;
    f.list.ShownCount = 2;
    f.list.CurrentIndex = 1;
    f.list.Step = 1;
    f.list.ShowWord();
    EXPECT_EQ(f.display.word, "w1");
    EXPECT_EQ(f.display.readingOf, "w1");
    EXPECT_EQ(f.display.meaning, "m1");
    EXPECT_EQ(f.display.sentencesOf, "w1");
    EXPECT_EQ(f.list.Words[1].StudyTimes, 5);
    EXPECT_EQ(f.list.TotalDisplays, 11);
    EXPECT_EQ(f.list.ShownCount, 3);
    EXPECT_EQ(f.display.wordStudyCount, "5 / 11");
    EXPECT_EQ(f.display.stepNo, "2 / 3");
    EXPECT_EQ(f.list.GradeLastWord[5], "w1");

    // The same word again (a prompt, a read-mode change) counts nothing.
    f.list.Step = 0;
    f.list.RestoreAfterPrompt();
    f.list.ShowWord();
    EXPECT_EQ(f.list.Words[1].StudyTimes, 5);
    EXPECT_EQ(f.list.TotalDisplays, 11);
    EXPECT_EQ(f.list.ShownCount, 3);
    EXPECT_EQ(f.display.stepNo, "1 / 3") << "the step label is written on every showing";

    f.list.NextWord(true);
    EXPECT_EQ(f.list.ShownCount, 4);
    EXPECT_EQ(f.display.wordStudyCount, "1 / 12");
}

TEST(WordShowing, SentencesAreAskedForOnlyWhenSwitchedOn) {
    StudyListFixture f({0});
    f.list.ShowSentence = false;
    f.list.CurrentIndex = 0;
    f.list.ShowWord();
    EXPECT_EQ(f.display.Calls("WriteSentencesOf"), 1);
    EXPECT_EQ(f.display.sentencesOf, "") << "an empty word leaves the sentence box hidden";
}

TEST(WordShowing, QuestionLayoutFollowsTheReadMode) {
    struct Case {
        int mode;
        bool word, reading, meaning;
    };
    for (Case c : {Case{0, true, false, false}, Case{1, false, false, true}, Case{2, true, true, false},
                   Case{3, true, true, true}}) {
        SCOPED_TRACE(c.mode);
        StudyListFixture f({0});
        f.list.FontColor = 0x00FFFFFF;
        f.list.BackColor = 0x00112233;
        f.list.ReadMode = c.mode;
        f.list.CurrentIndex = 0;
        auto colour = [&](bool shown) { return shown ? f.list.FontColor : f.list.BackColor; };

        f.list.ShowWord();
        EXPECT_EQ(f.display.wordColour, colour(c.word));
        EXPECT_EQ(f.display.readingColour, colour(c.reading));
        EXPECT_EQ(f.display.meaningColour, colour(c.meaning));

        f.list.RevealAll();
        EXPECT_EQ(f.display.wordColour, f.list.FontColor);
        EXPECT_EQ(f.display.readingColour, f.list.FontColor);
        EXPECT_EQ(f.display.meaningColour, f.list.FontColor);

        // After a prompt modes 0 and 1 hide again; 2 and 3 keep all shown.
        f.list.RestoreAfterPrompt();
        bool keepsAll = c.mode >= 2;
        EXPECT_EQ(f.display.wordColour, colour(keepsAll || c.word));
        EXPECT_EQ(f.display.readingColour, colour(keepsAll || c.reading));
        EXPECT_EQ(f.display.meaningColour, colour(keepsAll || c.meaning));

        f.list.ShowTypingLayout();
        EXPECT_EQ(f.display.wordColour, f.list.BackColor);
        EXPECT_EQ(f.display.readingColour, f.list.BackColor);
        EXPECT_EQ(f.display.meaningColour, f.list.FontColor);
    }
}

TEST(WordShowing, PronunciationFollowsMemoryModeAndMute) {
    struct Case {
        int memoryMode;
        bool mute;
        int playsOnShow, playsOnReveal;
    };
    for (Case c : {Case{0, false, 1, 1}, Case{1, false, 0, 1}, Case{0, true, 0, 0}, Case{1, true, 0, 0}}) {
        SCOPED_TRACE(::testing::Message() << "memory mode " << c.memoryMode << " mute " << c.mute);
        StudyListFixture f({0});
        f.list.MemoryMode = c.memoryMode;
        f.list.Mute = c.mute;
        f.list.CurrentIndex = 0;
        f.list.ShowWord();
        EXPECT_EQ(f.display.played.size(), static_cast<size_t>(c.playsOnShow));
        f.display.played.clear();
        f.list.RevealAll();
        EXPECT_EQ(f.display.played.size(), static_cast<size_t>(c.playsOnReveal));
    }
}

TEST(WordShowing, PronouncingKeepsTheRecordingNameAndTrimsTheWord) {
    StudyListFixture f({0});
    f.list.Words[0].Word = " taberu ";
    f.list.Words[0].WavName = "old.wav";
    f.list.CurrentIndex = 0;
    f.display.recordingName = "taberu.wav";
    f.list.Pronounce();
    EXPECT_EQ(f.display.played, (std::vector<std::string>{"taberu"}));
    EXPECT_EQ(f.list.Words[0].Word, "taberu");
    EXPECT_EQ(f.list.Words[0].WavName, "taberu.wav");

    f.display.recordingName = "";
    f.list.Pronounce();
    EXPECT_EQ(f.list.Words[0].WavName, "") << "no recording leaves the name empty";
}

TEST(WordShowing, GradeCountsAndStudyCountLabels) {
    StudyListFixture f({0, 0, 1, 3, 5, 5, 5});
    EXPECT_EQ(f.display.GradeCountsText(), "3,0,1,0,1,2");
    f.list.CurrentIndex = 3;
    f.list.Words[3].StudyTimes = 8;
    f.list.TotalDisplays = 40;
    f.list.RefreshStudyCount();
    EXPECT_EQ(f.display.wordStudyCount, "8 / 41");
}

}  // namespace
