// The study session without a window: the settings it studies with, the
// clock other windows hold, the save every 500 words shown, and the state
// of the answer to the word on screen. Runs with Qt Core only, no display.

#include <gtest/gtest.h>
#include <QCoreApplication>

#include "core/manage.h"
#include "session/studysession.h"
#include "support/wordlib_fixture.h"

namespace {

// A session on a library of four words "w0".."w3" written to a temporary
// folder, both library objects drawing on a recording display.
struct SessionFixture {
    TempFolder folder;
    RecordingDisplay display;
    MessageRecorder messages;
    TManage manage;
    StudySession session{manage};
    std::filesystem::path file = folder / "lib.lx";

    SessionFixture() {
        session.WordLib.SetDisplay(&display);
        session.WordLib0.SetDisplay(&display);
    }
    void Open() {
        ASSERT_TRUE(WriteScrambledFile(file, HeaderLine() + "\n" + WordLines({0, 0, 0, 0})));
        ASSERT_TRUE(session.WordLib0.OpenWordLib(GbkPath(file)));
        ASSERT_EQ(session.WordLib.WordCount, 4);
    }
    // The last word the file holds (<lw>), which the study list's position
    // is written as.
    std::string LastWordOnDisk() const {
        const std::string text = PlainTextOf(file);
        const size_t begin = text.find("<lw>") + 4;
        return text.substr(begin, text.find("</lw>") - begin);
    }
};

TEST(StudySession, SavesEveryFiveHundredWordsShown) {
    struct Case {
        const char* what;
        bool afterNextWord;  // "后一个", else Space or a grade command
        int before, after;
        bool saved;
    };
    const Case cases[] = {
        {"后一个 onto the 500th word", true, 499, 500, true},
        {"后一个 onto the 1000th word", true, 999, 1000, true},
        {"后一个 between", true, 500, 501, false},
        {"后一个 that shows nothing new on a multiple", true, 500, 500, true},
        {"后一个 with nothing shown at all", true, 0, 0, true},
        {"Space onto the 500th word", false, 499, 500, true},
        {"a grade command onto the 1500th word", false, 1499, 1500, true},
        {"Space between", false, 498, 499, false},
        {"a command that did not move on, on a multiple", false, 500, 500, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SessionFixture f;
        f.Open();
        ASSERT_EQ(f.LastWordOnDisk(), "0");
        f.session.WordLib.CurrentIndex = 2;
        f.session.WordLib.ShownCount = c.after;
        const bool saved =
            c.afterNextWord ? f.session.SaveIfDueAfterNextWord() : f.session.SaveIfShownReached(c.before);
        EXPECT_EQ(saved, c.saved);
        EXPECT_EQ(f.LastWordOnDisk(), c.saved ? "2" : "0");
        EXPECT_TRUE(f.messages.Texts().empty());
    }
}

TEST(StudySession, SaveLibraryWritesTheGroupUnderStudyOrSaysWhyNot) {
    {
        SCOPED_TRACE("no library open: nothing to write, nothing wrong");
        SessionFixture f;
        EXPECT_TRUE(f.session.SaveLibrary());
        EXPECT_FALSE(std::filesystem::exists(f.file));
        EXPECT_TRUE(f.messages.Texts().empty());
    }
    {
        SCOPED_TRACE("the group's grades go into the file");
        SessionFixture f;
        f.Open();
        f.session.WordLib.Words[1].Grade = 3;
        EXPECT_TRUE(f.session.SaveLibrary());
        TWordLib0 back;
        RecordingDisplay display;
        back.SetDisplay(&display);
        ASSERT_TRUE(back.OpenWordLib(GbkPath(f.file)));
        EXPECT_EQ(back.Words[1].Grade, 3);
    }
    {
        SCOPED_TRACE("a folder that is gone: false, said, the learner's file untouched");
        SessionFixture f;
        f.Open();
        const std::string before = PlainTextOf(f.file);
        f.session.WordLib0.Path = GbkPath(f.folder / "gone" / "lib.lx");
        EXPECT_FALSE(f.session.SaveLibrary());
        EXPECT_FALSE(f.messages.Texts().empty());
        EXPECT_EQ(PlainTextOf(f.file), before);
    }
}

TEST(StudySession, SettingsReachTheStoreAndBothLibraryObjects) {
    SessionFixture f;
    StudySession::Settings s;
    s.autoClear = true;
    s.mute = true;
    s.showSentence = true;
    s.fontColor = 255;
    s.backColor = 65280;
    f.session.ApplySettings(s);
    EXPECT_TRUE(f.manage.autocleareditinput && f.manage.mute && f.manage.showsentence);
    for (const StudyValues* lib :
         {static_cast<const StudyValues*>(&f.session.WordLib), static_cast<const StudyValues*>(&f.session.WordLib0)}) {
        EXPECT_TRUE(lib->AutoClear && lib->Mute && lib->ShowSentence);
        EXPECT_EQ(lib->FontColor, 255);
        EXPECT_EQ(lib->BackColor, 65280);
    }
    // A library opened afterwards keeps them: its group takes them from the
    // whole library.
    f.Open();
    EXPECT_TRUE(f.session.WordLib.Mute);
    EXPECT_EQ(f.session.WordLib.FontColor, 255);

    f.manage.mute = false;
    f.manage.fontcolor = 123;
    const StudySession::Settings stored = f.session.StoredSettings();
    EXPECT_FALSE(stored.mute);
    EXPECT_TRUE(stored.autoClear);
    EXPECT_EQ(stored.fontColor, 123);
}

// While the settings window exists its boxes are where the settings come
// from; without it (or once it is gone) the store's own values are.
TEST(StudySession, ActivationTakesTheSettingsSourceElseTheStore) {
    SessionFixture f;
    f.manage.mute = true;
    f.manage.fontcolor = 123;
    EXPECT_TRUE(f.session.ActivationSettings().mute);
    EXPECT_EQ(f.session.ActivationSettings().fontColor, 123);

    f.session.activationSource = [] {
        StudySession::Settings boxes;
        boxes.mute = false;
        boxes.fontColor = 456;
        return boxes;
    };
    EXPECT_FALSE(f.session.ActivationSettings().mute);
    EXPECT_EQ(f.session.ActivationSettings().fontColor, 456);

    f.session.activationSource = nullptr;
    EXPECT_TRUE(f.session.ActivationSettings().mute);
    EXPECT_EQ(f.session.ActivationSettings().fontColor, 123);
}

TEST(StudySession, AnotherWindowHoldsTheClockAndGivesItBack) {
    SessionFixture f;
    EXPECT_FALSE(f.session.ClockRunning());
    EXPECT_EQ(f.session.RunSeconds(), 1);  // run seconds start at 1
    EXPECT_EQ(f.session.Clock().interval(), 1000);
    f.session.GiveBackClock();
    EXPECT_TRUE(f.session.ClockRunning());
    f.session.SetRunSeconds(42);
    f.session.HoldClock();
    EXPECT_FALSE(f.session.ClockRunning());
    EXPECT_EQ(f.session.RunSeconds(), 42);  // held, not reset
    f.session.GiveBackClock();
    EXPECT_TRUE(f.session.ClockRunning());
}

TEST(StudySession, TheAnswerBelongsToTheWordItWasGivenFor) {
    using Step = StudySession::AnswerStep;
    SessionFixture f;
    StudySession& s = f.session;
    s.WordLib.CurrentIndex = 1;
    s.SetWordOnScreen("w1");
    EXPECT_EQ(s.Step(), Step::Open);
    EXPECT_FALSE(s.AnswerBelongsToWordOnScreen());

    s.BeginAnswer(Step::Right, "w1");
    EXPECT_TRUE(s.AnswerBelongsToWordOnScreen());
    EXPECT_TRUE(s.RightAnswerStands(std::string("w1")));
    EXPECT_FALSE(s.RightAnswerStands(std::string("w")));  // typed again
    EXPECT_FALSE(s.RightAnswerStands(std::nullopt));      // a character GBK cannot hold
    s.MarkRightSeen();
    EXPECT_EQ(s.Step(), Step::RightSeen);
    EXPECT_TRUE(s.RightAnswerStands(std::string("w1")));

    // The same text as the next word, or another word at the same place: not
    // the answer given.
    s.WordLib.CurrentIndex = 2;
    EXPECT_FALSE(s.AnswerBelongsToWordOnScreen());
    EXPECT_FALSE(s.RightAnswerStands(std::string("w1")));
    s.WordLib.CurrentIndex = 1;
    s.SetWordOnScreen("w9");
    EXPECT_FALSE(s.AnswerBelongsToWordOnScreen());

    s.SetWordOnScreen("a b");
    s.BeginAnswer(Step::SpaceInWord);
    EXPECT_TRUE(s.AnswerBelongsToWordOnScreen());
    EXPECT_FALSE(s.RightAnswerStands(std::string()));  // a space inside the word is no right answer
    s.EndAnswer();
    EXPECT_EQ(s.Step(), Step::Open);
    EXPECT_FALSE(s.AnswerBelongsToWordOnScreen());
}

TEST(StudySession, OnlyRightAndWrongAreAVerdict) {
    using Comment = StudySession::Comment;
    const std::pair<Comment, bool> cases[] = {
        {Comment::Right, true}, {Comment::Wrong, true}, {Comment::Next, false}, {Comment::Paused, false}};
    SessionFixture f;
    EXPECT_EQ(f.session.CommentShown(), Comment::Right);  // the panel's caption before any answer
    for (const auto& [comment, verdict] : cases) {
        f.session.SetComment(comment);
        EXPECT_EQ(f.session.CommentShown(), comment);
        EXPECT_EQ(f.session.CommentIsVerdict(), verdict);
    }
}

}  // namespace

int main(int argc, char** argv) {
    // The clock is a Qt timer: an application object without a display.
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
