// What a study session leaves in the study journal, without a window: grade
// changes recorded once with what made them (and nothing for a command that
// changed nothing), the study session written with its counts and begun
// again when they go back, answers timed from the word's showing, and the
// words coming down at a cycle's end. Runs with Qt Core only, no display.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>

#include "core/manage.h"
#include "core/programfolder.h"
#include "session/studyrecorder.h"
#include "session/studysession.h"
#include "support/wordlib_fixture.h"

namespace {

// A session on the library "lib" of four words "w0".."w3" at the grades
// given, and a recorder whose journal is open in the same folder, dated by
// a clock the test moves.
struct RecorderFixture {
    TempFolder folder;
    RecordingDisplay display;
    MessageRecorder messages;
    TManage manage;
    StudySession session{manage};
    StudyRecorder recorder{session};
    std::chrono::steady_clock::time_point steady{};

    explicit RecorderFixture(const std::vector<int>& grades = {0, 0, 0, 0}) {
        // The journal's computer id is kept in the program folder.
        SetProgramFolder(GbkPath(folder.path()) + "/");
        session.WordLib.SetDisplay(&display);
        session.WordLib0.SetDisplay(&display);
        const std::filesystem::path file = folder / "lib.lx";
        EXPECT_TRUE(WriteScrambledFile(file, HeaderLine() + "\n" + WordLines(grades)));
        EXPECT_TRUE(session.WordLib0.OpenWordLib(GbkPath(file)));
        session.SetLibraryName("lib");
        recorder.steadyNow = [this] { return steady; };
        recorder.Open(GbkPath(folder.path()) + "/");
        recorder.BeginStudySession();
    }
    Journal& journal() { return recorder.StudyJournal(); }
    // The grade changes in the journal, as "w0 0>1 key".
    std::vector<std::string> Changes() {
        std::vector<std::string> out;
        for (const JournalGradeChange& c : journal().GradeChanges())
            out.push_back(c.word + " " + std::to_string(c.from) + ">" + std::to_string(c.to) + " " +
                          GradeCauseName(c.cause));
        return out;
    }
};

TEST(StudyRecorder, OpensTheJournalOfTheUserFolderOnceAndLetsItGoOnClose) {
    RecorderFixture f;
    ASSERT_TRUE(f.journal().Keeping());
    EXPECT_EQ(f.journal().File(), f.folder / "journal.sqlite");
    f.session.WordLib.ShownCount = 3;
    f.session.WordLib.ActiveSeconds = 40;
    f.recorder.RecordStudySession();
    // The same folder again keeps the journal and its session as they are.
    f.recorder.Open(GbkPath(f.folder.path()) + "/");
    f.session.WordLib.ShownCount = 4;
    f.recorder.RecordStudySession();
    EXPECT_EQ(f.journal().Sessions().size(), size_t(1));

    f.recorder.Close();
    EXPECT_FALSE(f.journal().IsOpen());
    Journal reread;
    reread.Open(f.folder / "journal.sqlite", std::string(32, 'f'));
    ASSERT_EQ(reread.Sessions().size(), size_t(1));
    EXPECT_EQ(reread.Sessions()[0].wordsShown, 4);
    EXPECT_EQ(reread.GradeHistory("lib").size(), size_t(1));  // the words per grade went with it
    EXPECT_TRUE(f.messages.Texts().empty());
}

TEST(StudyRecorder, AGradeChangeIsRecordedOnceWithWhatMadeIt) {
    // Each step works on the study list's word at place 1, as a grade
    // command would.
    struct Case {
        const char* what;
        int currentIndex;
        GradeCause cause;
        std::function<void(TWordLib&)> step;
        const char* recorded;  // "from>to cause" of the word at place 1, or nothing
    };
    const Case cases[] = {
        {"raised by a key", 1, GradeCause::Key, [](TWordLib& l) { l.Words[1].Grade = 1; }, "0>1 key"},
        {"raised to the top by a button", 1, GradeCause::Button, [](TWordLib& l) { l.Words[1].Grade = 5; },
         "0>5 button"},
        {"a command that changed no grade", 1, GradeCause::Key, [](TWordLib&) {}, nullptr},
        {"no current word", -1, GradeCause::Key, [](TWordLib& l) { l.Words[1].Grade = 3; }, nullptr},
        {"another word came to the place", 1, GradeCause::Key,
         [](TWordLib& l) {
             std::swap(l.Words[1], l.Words[2]);
             l.Words[1].Grade = 2;
         },
         nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        RecorderFixture f;
        TWordLib& list = f.session.WordLib;
        list.CurrentIndex = c.currentIndex;
        list.ShownCount = 2;
        const std::string word = list.Words[1].Word;
        f.recorder.StepGrade(c.cause, [&] { c.step(list); });
        const std::vector<std::string> expected =
            c.recorded ? std::vector<std::string>{word + " " + c.recorded} : std::vector<std::string>{};
        EXPECT_EQ(f.Changes(), expected);
        // A change writes the words per grade and the session with it.
        EXPECT_EQ(f.journal().GradeHistory("lib").size(), expected.size());
        EXPECT_EQ(f.journal().Sessions().size(), expected.size());
    }
}

TEST(StudyRecorder, TheStudySessionIsWrittenWithItsCountsAndBegunAgainWhenTheyGoBack) {
    RecorderFixture f;
    TWordLib& list = f.session.WordLib;
    f.recorder.RecordStudySession();
    EXPECT_TRUE(f.journal().Sessions().empty());  // nothing shown, no time: nothing to write

    list.ShownCount = 5;
    list.ActiveSeconds = 120;
    f.recorder.RecordStudySession();
    list.ShownCount = 9;
    list.ActiveSeconds = 200;
    f.recorder.RecordStudySession();
    std::vector<JournalSession> sessions = f.journal().Sessions();
    ASSERT_EQ(sessions.size(), size_t(1));  // one session, written as it goes on
    EXPECT_EQ(sessions[0].library, "lib");
    EXPECT_EQ(sessions[0].wordsShown, 9);
    EXPECT_EQ(sessions[0].activeSeconds, 200);
    EXPECT_GE(sessions[0].end, sessions[0].start);

    // A new login starts the counters again: a session of its own.
    list.ShownCount = 1;
    list.ActiveSeconds = 10;
    f.recorder.RecordStudySession();
    sessions = f.journal().Sessions();
    ASSERT_EQ(sessions.size(), size_t(2));
    EXPECT_NE(sessions[0].id, sessions[1].id);

    // Without a library there is no session to write.
    f.session.WordLib0.Path.clear();
    list.ShownCount = 50;
    f.recorder.RecordStudySession();
    EXPECT_EQ(f.journal().Sessions().size(), size_t(2));
}

TEST(StudyRecorder, AnAnswerIsTimedFromItsWordsShowing) {
    RecorderFixture f;
    TWordLib& list = f.session.WordLib;
    list.ReadMode = 2;
    list.ShownCount = 1;
    f.recorder.NoteWordDrawn();
    f.steady += std::chrono::seconds(3);
    f.recorder.NoteWordDrawn();  // the same showing drawn again: the time runs on
    f.steady += std::chrono::seconds(2);
    f.recorder.RecordJudgedAnswer({"w0  ", "x", false, false});
    list.ShownCount = 2;
    f.recorder.NoteWordDrawn();  // the next word
    f.steady += std::chrono::seconds(4);
    f.recorder.RecordJudgedAnswer({"w1", "w1", true, false});

    const std::vector<JournalAnswer> answers = f.journal().Answers();
    ASSERT_EQ(answers.size(), size_t(2));
    EXPECT_EQ(answers[0].word, "w0");  // trimmed as the library holds it
    EXPECT_EQ(answers[0].library, "lib");
    EXPECT_FALSE(answers[0].right);
    EXPECT_EQ(answers[0].typed, "x");
    EXPECT_EQ(answers[0].readMode, 2);
    EXPECT_DOUBLE_EQ(answers[0].seconds, 5.0);
    EXPECT_TRUE(answers[1].right);
    EXPECT_DOUBLE_EQ(answers[1].seconds, 4.0);
}

TEST(StudyRecorder, ACycleEndRecordsEveryWordComingDown) {
    RecorderFixture f({1, 2, 1, 3});
    const int lowered = f.session.WordLib0.LowerAllGrades();
    ASSERT_EQ(lowered, 1);
    f.recorder.RecordCycleEndGrades(lowered);
    std::vector<std::string> changes = f.Changes();
    std::sort(changes.begin(), changes.end());
    EXPECT_EQ(changes, (std::vector<std::string>{"w0 1>0 cycle", "w1 2>1 cycle", "w2 1>0 cycle", "w3 3>2 cycle"}));
    const std::vector<JournalGradeDay> grades = f.journal().GradeHistory("lib");
    ASSERT_EQ(grades.size(), size_t(1));
    EXPECT_EQ(grades[0].counts, (GradeCounts{2, 1, 1, 0, 0, 0}));

    f.recorder.RecordCycleEndGrades(0);  // nothing came down
    EXPECT_EQ(f.journal().GradeChanges().size(), size_t(4));
}

TEST(StudyRecorder, TheLibraryProgressCountsTheGroupAsItIsNow) {
    RecorderFixture f({0, 1, 0, 2});
    const LibraryProgress progress = f.recorder.CurrentLibraryProgress();
    EXPECT_EQ(progress.name, "lib");
    EXPECT_EQ(progress.words, 4);
    EXPECT_EQ(progress.grades, (GradeCounts{2, 1, 1, 0, 0, 0}));

    f.session.WordLib0.Path.clear();  // no library open
    EXPECT_EQ(f.recorder.CurrentLibraryProgress().words, 0);
}

TEST(StudyRecorder, AJournalThatCannotBeKeptRecordsNothingAndStudyGoesOn) {
    RecorderFixture f;
    f.recorder.Close();
    // Something that is no file stands where the journal of another folder goes.
    const std::filesystem::path other = f.folder / "other";
    std::filesystem::create_directories(other / "journal.sqlite" / "x");
    f.recorder.Open(GbkPath(other) + "/");
    EXPECT_FALSE(f.journal().Keeping());
    EXPECT_EQ(f.messages.Texts().size(), size_t(1));  // said once, by the journal

    TWordLib& list = f.session.WordLib;
    list.CurrentIndex = 0;
    list.ShownCount = 3;
    f.recorder.StepGrade(GradeCause::Key, [&] { list.Words[0].Grade = 1; });
    EXPECT_EQ(list.Words[0].Grade, 1);  // the step itself is taken
    f.recorder.RecordJudgedAnswer({"w1", "w1", true, false});
    f.recorder.RecordCycleEndGrades(1);
    f.recorder.RecordStudySession();
    EXPECT_TRUE(f.journal().Answers().empty());
    EXPECT_EQ(f.messages.Texts().size(), size_t(1));
}

}  // namespace
