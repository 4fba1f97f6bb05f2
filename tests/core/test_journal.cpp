// The study journal on real SQLite files: each kind of event read back,
// the daily figures, streak and forecast on hand-made histories, merging
// two computers' journals, the online copy, the CSV export, and the files
// that cannot be kept (damaged, write-protected, locked, newer, older).

#include <sqlite3.h>
#include <sys/stat.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/gbktext.h"
#include "core/journal.h"
#include "support/file_size_limit.h"
#include "support/local_time.h"
#include "support/message_recorder.h"
#include "support/temp_folder.h"

namespace fs = std::filesystem;

namespace {

constexpr std::time_t kDay = 24 * 60 * 60;
const std::time_t kMonday = LocalTime(2026, 12, 7, 9, 30);

// Runs one SQL text on a file outside the journal; the first column of its
// first row.
std::string Sql(const fs::path& file, const std::string& sql) {
    sqlite3* db = nullptr;
    sqlite3_open(file.c_str(), &db);
    sqlite3_stmt* s = nullptr;
    std::string result;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &s, nullptr) == SQLITE_OK && sqlite3_step(s) == SQLITE_ROW &&
        sqlite3_column_text(s, 0))
        result = reinterpret_cast<const char*>(sqlite3_column_text(s, 0));
    sqlite3_finalize(s);
    sqlite3_close(db);
    return result;
}

class JournalTest : public ::testing::Test {
protected:
    fs::path File() const { return folder / "journal.sqlite"; }
    void OpenAt(Journal& journal, std::time_t when, const std::string& computer = std::string(32, 'a')) {
        clock = when;
        journal.now = [this] { return clock; };
        journal.Open(File(), computer);
    }
    JournalAnswer Answer(const std::string& word, bool right, std::time_t at, const std::string& typed = {}) {
        return {at, Gbk("日语N5词汇"), Gbk(word), right, Gbk(typed), 2, 3.5};
    }

    TempFolder folder;
    MessageRecorder messages;
    std::time_t clock = kMonday;
};

TEST_F(JournalTest, EachKindOfEventReadsBackAsRecorded) {
    Journal journal;
    OpenAt(journal, kMonday);
    ASSERT_TRUE(journal.Keeping());
    // What a learner types reaches the database only as a value.
    journal.RecordAnswer(Answer("水", false, kMonday, "み'); DROP TABLE answers;--"));
    journal.RecordAnswer(Answer("山", true, kMonday + 5, "ignored when right"));
    journal.RecordGradeChanges({{kMonday + 6, Gbk("日语N5词汇"), Gbk("山"), 0, 1, GradeCause::Key},
                                {kMonday + 7, Gbk("日语N5词汇"), Gbk("水"), 1, 0, GradeCause::Button},
                                {kMonday + 8, Gbk("日语N5词汇"), Gbk("川"), 2, 1, GradeCause::CycleEnd}});
    const std::string id = Journal::NewSessionId();
    journal.RecordSession({id, kMonday, kMonday + 60, Gbk("日语N5词汇"), 50, 4});
    journal.RecordSession({id, kMonday, kMonday + 600, Gbk("日语N5词汇"), 540, 30});  // the same session, later

    const std::vector<JournalAnswer> answers = journal.Answers();
    ASSERT_EQ(answers.size(), 2u);
    EXPECT_EQ(Utf8(answers[0].word), "水");
    EXPECT_FALSE(answers[0].right);
    EXPECT_EQ(Utf8(answers[0].typed), "み'); DROP TABLE answers;--");
    EXPECT_EQ(answers[0].readMode, 2);
    EXPECT_DOUBLE_EQ(answers[0].seconds, 3.5);
    EXPECT_EQ(answers[0].at, kMonday);
    EXPECT_TRUE(answers[1].right);
    EXPECT_EQ(answers[1].typed, "");

    const std::vector<JournalGradeChange> changes = journal.GradeChanges();
    ASSERT_EQ(changes.size(), 3u);
    EXPECT_EQ(Utf8(changes[0].word), "山");
    EXPECT_EQ(changes[0].from, 0);
    EXPECT_EQ(changes[0].to, 1);
    EXPECT_EQ(changes[0].cause, GradeCause::Key);
    EXPECT_EQ(changes[1].cause, GradeCause::Button);
    EXPECT_EQ(changes[2].cause, GradeCause::CycleEnd);

    const std::vector<JournalSession> sessions = journal.Sessions();
    ASSERT_EQ(sessions.size(), 1u);
    EXPECT_EQ(sessions[0].end, kMonday + 600);
    EXPECT_EQ(sessions[0].activeSeconds, 540);
    EXPECT_EQ(sessions[0].wordsShown, 30);
    EXPECT_EQ(Utf8(sessions[0].library), "日语N5词汇");

    // Every row names its computer and has an id of 32 hex digits of its own.
    journal.Close();
    EXPECT_EQ(Sql(File(),
                  "SELECT count(DISTINCT computer) || '/' || min(length(id)) || '/' || count(DISTINCT id)"
                  " FROM (SELECT id, computer FROM answers UNION ALL SELECT id, computer FROM grade_changes)"),
              "1/32/5");
    EXPECT_EQ(Sql(File(), "PRAGMA journal_mode"), "wal");
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(JournalTest, DailyFiguresCountEachDayAndTheLatestGradeCount) {
    Journal journal;
    OpenAt(journal, kMonday);
    const std::string lib = Gbk("日语N5词汇");
    journal.RecordAnswer(Answer("水", false, kMonday, "みす"));
    journal.RecordAnswer(Answer("水", true, kMonday + 10));
    journal.RecordAnswer(Answer("山", true, kMonday + 20));
    journal.RecordAnswer(Answer("山", true, kMonday + 2 * kDay));
    journal.RecordGradeChanges({{kMonday + 30, lib, Gbk("山"), 0, 1, GradeCause::Key},
                                {kMonday + 40, lib, Gbk("水"), 0, 5, GradeCause::Button},
                                {kMonday + 50, lib, Gbk("川"), 1, 0, GradeCause::Button},
                                {kMonday + 60, lib, Gbk("木"), 3, 2, GradeCause::CycleEnd}});
    journal.RecordSession({"", kMonday, kMonday + 900, lib, 840, 3});
    journal.RecordSession({"", kMonday + 3600, kMonday + 3700, lib, 60, 1});
    journal.RecordGradeCounts(kMonday, lib, {10, 0, 0, 0, 0, 0});
    journal.RecordGradeCounts(kMonday + 100, lib, {8, 1, 0, 0, 0, 1});  // later the same day: replaces
    journal.RecordGradeCounts(kMonday + 2 * kDay, lib, {7, 1, 1, 0, 0, 1});

    const std::vector<JournalDay> days = journal.Days("2026-12-01", "2026-12-31");
    ASSERT_EQ(days.size(), 2u);
    EXPECT_EQ(days[0].day, "2026-12-07");
    EXPECT_EQ(days[0].answers, 3);
    EXPECT_EQ(days[0].right, 2);
    EXPECT_EQ(days[0].activeSeconds, 900);
    EXPECT_EQ(days[0].promoted, 2);  // the cycle end's drop and the demotion do not count
    EXPECT_EQ(days[1].day, "2026-12-09");
    EXPECT_EQ(days[1].answers, 1);
    EXPECT_EQ(journal.Days("2026-12-08", "2026-12-08").size(), 0u);

    const std::vector<JournalGradeDay> grades = journal.GradeHistory(lib);
    ASSERT_EQ(grades.size(), 2u);
    EXPECT_EQ(grades[0].counts, (GradeCounts{8, 1, 0, 0, 0, 1}));
    EXPECT_EQ(grades[1].day, "2026-12-09");
    EXPECT_TRUE(journal.GradeHistory(Gbk("别的词库")).empty());

    EXPECT_EQ(journal.StudyDays(), (std::vector<std::string>{"2026-12-07", "2026-12-09"}));
    EXPECT_EQ(journal.WordsFirstAnsweredSince(lib, "2026-12-08"), 0);
    EXPECT_EQ(journal.WordsFirstAnsweredSince(lib, "2026-12-07"), 2);
    EXPECT_EQ(journal.DaysStudiedSince(lib, "2026-12-01"), 2);

    journal.RecordAnswer(Answer("山", false, kMonday + 2 * kDay + 5, "やね"));
    journal.RecordAnswer(Answer("山", false, kMonday + 2 * kDay + 9, "やま？"));
    const std::vector<JournalWrongWord> wrong = journal.MostWrong(lib, "2026-12-01", 20);
    ASSERT_EQ(wrong.size(), 2u);
    EXPECT_EQ(Utf8(wrong[0].word), "山");
    EXPECT_EQ(wrong[0].times, 2);
    EXPECT_EQ(Utf8(wrong[0].lastTyped), "やま？");
    EXPECT_EQ(Utf8(wrong[1].word), "水");
    EXPECT_EQ(journal.MostWrong(lib, "2026-12-01", 1).size(), 1u);
    EXPECT_TRUE(journal.MostWrong(lib, "2026-12-10", 20).empty());
}

struct StreakCase {
    const char* name;
    std::vector<std::string> days;
    std::string today;
    int streak;
};

TEST(JournalStreak, CountsDaysInARowEndingTodayOrYesterday) {
    const std::vector<StreakCase> cases = {
        {"no history", {}, "2026-12-10", 0},
        {"today only", {"2026-12-10"}, "2026-12-10", 1},
        {"yesterday only, today not yet", {"2026-12-09"}, "2026-12-10", 1},
        {"three days to today", {"2026-12-08", "2026-12-10", "2026-12-09"}, "2026-12-10", 3},
        {"a gap breaks it", {"2026-12-06", "2026-12-07", "2026-12-09", "2026-12-10"}, "2026-12-10", 2},
        {"over a month end", {"2026-11-29", "2026-11-30", "2026-12-01"}, "2026-12-01", 3},
        {"over a year end", {"2026-12-31", "2027-01-01"}, "2027-01-01", 2},
        {"last studied two days ago", {"2026-12-07", "2026-12-08"}, "2026-12-10", 0},
    };
    for (const StreakCase& c : cases) EXPECT_EQ(StreakOf(c.days, c.today), c.streak) << c.name;
}

struct ForecastCase {
    const char* name;
    ForecastInput input;
    std::optional<int> allStudied, allAtThree;
};

TEST(JournalForecast, AtThePaceOfTheLastFourteenDays) {
    const GradeCounts start{100, 0, 0, 0, 0, 0}, later{80, 0, 0, 20, 0, 0};
    const std::vector<ForecastCase> cases = {
        {"no history", {100, 0, 0, 0, 0, {}}, std::nullopt, std::nullopt},
        {"one day", {100, 10, 0, 10, 1, {{"2026-12-10", start}}}, std::nullopt, std::nullopt},
        // 28 new words in 14 days: 2 a day, 60 left; 20 more at grade 3 in
        // 10 days: 2 a day, 80 left.
        {"steady pace", {100, 40, 20, 28, 5, {{"2026-11-30", start}, {"2026-12-10", later}}}, 30, 40},
        // Counts outside the window do not set the pace.
        {"gaps: only the window counts",
         {100, 40, 20, 28, 2, {{"2026-10-01", later}, {"2026-12-05", start}, {"2026-12-10", later}}},
         30,
         20},
        {"no progress at grade 3",
         {100, 40, 0, 28, 5, {{"2026-12-01", start}, {"2026-12-10", start}}},
         30,
         std::nullopt},
        {"a finished library", {100, 100, 100, 0, 0, {}}, 0, 0},
        {"all studied, grades still rising",
         {100, 100, 20, 0, 3, {{"2026-11-30", start}, {"2026-12-10", later}}},
         0,
         40},
        {"empty library", {0, 0, 0, 0, 0, {}}, std::nullopt, std::nullopt},
    };
    for (const ForecastCase& c : cases) {
        const Forecast f = ForecastAt(c.input, "2026-12-10");
        EXPECT_EQ(f.daysToAllStudied, c.allStudied) << c.name;
        EXPECT_EQ(f.daysToAllAtThree, c.allAtThree) << c.name;
    }
}

TEST(JournalDays, DayArithmeticCrossesMonthsYearsAndLeapDays) {
    EXPECT_EQ(JournalDayPlus("2026-12-31", 1), "2027-01-01");
    EXPECT_EQ(JournalDayPlus("2028-03-01", -1), "2028-02-29");
    EXPECT_EQ(JournalDayPlus("2026-12-10", -364), "2025-12-11");
    EXPECT_EQ(JournalDayOf(kMonday), "2026-12-07");
}

TEST_F(JournalTest, TwoComputersJournalsMergeEachEventOnce) {
    const fs::path other = folder / "other.sqlite";
    const std::string lib = Gbk("日语N5词汇");
    {
        Journal here;
        OpenAt(here, kMonday, std::string(32, 'a'));
        here.RecordAnswer(Answer("水", true, kMonday));
        here.RecordGradeCounts(kMonday, lib, {5, 0, 0, 0, 0, 0});
        here.RecordSession({"", kMonday, kMonday + 60, lib, 60, 1});
    }
    {
        Journal there;
        there.now = [] { return kMonday + kDay; };
        there.Open(other, std::string(32, 'b'));
        there.RecordAnswer(Answer("山", false, kMonday + kDay, "やね"));
        there.RecordAnswer(Answer("川", true, kMonday + kDay + 1));
        there.RecordGradeChange({kMonday + kDay, lib, Gbk("川"), 0, 1, GradeCause::Key});
        there.RecordGradeCounts(kMonday + kDay, lib, {4, 1, 0, 0, 0, 0});
    }
    std::string error;
    ASSERT_TRUE(MergeJournalFile(File(), other, &error)) << Utf8(error);
    // Merging again, and the other way, changes nothing more.
    ASSERT_TRUE(MergeJournalFile(File(), other, &error)) << Utf8(error);
    ASSERT_TRUE(MergeJournalFile(other, File(), &error)) << Utf8(error);

    for (const fs::path& file : {File(), other}) {
        Journal journal;
        journal.Open(file, std::string(32, 'c'));
        const std::vector<JournalAnswer> answers = journal.Answers();
        ASSERT_EQ(answers.size(), 3u) << file;
        EXPECT_EQ(Utf8(answers[1].typed), "やね");
        EXPECT_EQ(journal.GradeChanges().size(), 1u);
        EXPECT_EQ(journal.Sessions().size(), 1u);
        EXPECT_EQ(journal.GradeHistory(lib).size(), 2u);
    }
    // A file that is not a journal is refused, and the journal stays whole.
    const fs::path notJournal = folder / "notes.sqlite";
    TempFolder::WriteBytes(notJournal, std::string(4096, 'x'));
    EXPECT_FALSE(MergeJournalFile(File(), notJournal, &error));
    EXPECT_NE(Utf8(error).find("notes.sqlite"), std::string::npos) << Utf8(error);
    EXPECT_EQ(Sql(File(), "SELECT count(*) FROM answers"), "3");
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(JournalTest, LaterGradeCountsOfTheSameDayWinAMerge) {
    const fs::path copy = folder / "copy.sqlite";
    const std::string lib = Gbk("日语N5词汇");
    {
        Journal journal;
        OpenAt(journal, kMonday);
        journal.RecordGradeCounts(kMonday, lib, {5, 0, 0, 0, 0, 0});
    }
    ASSERT_TRUE(CopyJournalFile(File(), copy));
    {
        Journal journal;
        OpenAt(journal, kMonday);
        journal.RecordGradeCounts(kMonday + 100, lib, {3, 2, 0, 0, 0, 0});
    }
    ASSERT_TRUE(MergeJournalFile(copy, File()));
    ASSERT_TRUE(MergeJournalFile(File(), copy));
    Journal journal;
    journal.Open(copy, std::string(32, 'a'));
    ASSERT_EQ(journal.GradeHistory(lib).size(), 1u);
    EXPECT_EQ(journal.GradeHistory(lib)[0].counts, (GradeCounts{3, 2, 0, 0, 0, 0}));
}

TEST_F(JournalTest, TheOnlineCopyHoldsWhatIsWrittenWhileTheJournalIsOpen) {
    Journal journal;
    OpenAt(journal, kMonday);
    for (int i = 0; i < 50; ++i) journal.RecordAnswer(Answer("水", i % 2 == 0, kMonday + i));
    // The events are still in the log beside the file; a plain file copy
    // would miss them.
    ASSERT_TRUE(fs::exists(folder / "journal.sqlite-wal"));
    const fs::path copy = folder / "backup" / "journal.sqlite";
    fs::create_directories(copy.parent_path());
    std::string error;
    ASSERT_TRUE(CopyJournalFile(File(), copy, &error)) << Utf8(error);
    EXPECT_FALSE(fs::exists(folder / "backup" / "journal.sqlite-wal"));
    EXPECT_EQ(Sql(copy, "SELECT count(*) FROM answers"), "50");
    EXPECT_EQ(Sql(copy, "PRAGMA user_version"), std::to_string(kJournalSchemaVersion));
    // A copy that cannot be made says so and leaves nothing behind.
    EXPECT_FALSE(CopyJournalFile(folder / "missing.sqlite", folder / "backup" / "x.sqlite", &error));
    EXPECT_FALSE(fs::exists(folder / "backup" / "x.sqlite"));
}

TEST_F(JournalTest, ADamagedFileIsSetAsideSaidOnceAndAFreshJournalKept) {
    const std::string garbage = "not a database at all " + std::string(5000, '\x07');
    TempFolder::WriteBytes(File(), garbage);
    Journal journal;
    OpenAt(journal, kMonday);
    const fs::path aside = folder / "journal.sqlite.damaged-2026-12-07";
    ASSERT_TRUE(fs::exists(aside));
    EXPECT_EQ(TempFolder::ReadBytes(aside), garbage);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(messages.shown[0].text.find(File().string()), std::string::npos) << messages.shown[0].text;
    EXPECT_NE(messages.shown[0].text.find("journal.sqlite.damaged-2026-12-07"), std::string::npos);
    EXPECT_NE(Utf8(journal.ReadProblem()).find("损坏"), std::string::npos);
    ASSERT_TRUE(journal.Keeping());
    journal.RecordAnswer(Answer("水", true, kMonday));
    EXPECT_EQ(journal.Answers().size(), 1u);

    // Damaged again the same day: a second set-aside name, the first kept.
    journal.Close();
    TempFolder::WriteBytes(File(), garbage);
    OpenAt(journal, kMonday);
    EXPECT_TRUE(fs::exists(folder / "journal.sqlite.damaged-2026-12-07-2"));
    EXPECT_TRUE(fs::exists(aside));
}

TEST_F(JournalTest, AWriteProtectedFileIsReadNotWrittenAndSaidOnce) {
    {
        Journal journal;
        OpenAt(journal, kMonday);
        journal.RecordAnswer(Answer("水", true, kMonday));
    }
    ASSERT_EQ(chmod(File().c_str(), 0444), 0);
    const std::string before = TempFolder::ReadBytes(File());
    Journal journal;
    OpenAt(journal, kMonday + kDay);
    EXPECT_FALSE(journal.Keeping());
    journal.RecordAnswer(Answer("山", true, kMonday + kDay));
    journal.RecordSession({"", kMonday, kMonday + 5, Gbk("x"), 5, 1});
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(messages.shown[0].text.find("只读"), std::string::npos) << messages.shown[0].text;
    EXPECT_NE(messages.shown[0].text.find(File().string()), std::string::npos);
    EXPECT_EQ(journal.Answers().size(), 1u);  // the history still shows
    journal.Close();
    EXPECT_EQ(TempFolder::ReadBytes(File()), before);
}

TEST_F(JournalTest, ALockedFileLosesOnlyTheEventsWhileItIsLocked) {
    Journal journal;
    OpenAt(journal, kMonday);
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(File().c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    journal.RecordAnswer(Answer("水", true, kMonday));
    journal.RecordAnswer(Answer("山", true, kMonday + 1));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(messages.shown[0].text.find("占用"), std::string::npos) << messages.shown[0].text;
    EXPECT_NE(messages.shown[0].text.find(File().string()), std::string::npos);
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    journal.RecordAnswer(Answer("川", true, kMonday + 2));
    ASSERT_EQ(journal.Answers().size(), 1u);
    EXPECT_EQ(Utf8(journal.Answers()[0].word), "川");
    EXPECT_EQ(messages.shown.size(), 1u);
}

// The disk fills: what is written then is lost, said once with the file
// and the reason; what came before stays, and once there is room again the
// journal takes events again.
TEST_F(JournalTest, AFullDiskLosesOnlyTheEventsWhileItIsFull) {
    Journal journal;
    OpenAt(journal, kMonday);
    journal.RecordAnswer(Answer("水", true, kMonday));
    fs::path wal = File();
    wal += "-wal";
    ASSERT_TRUE(fs::exists(wal));
    {
        // The log only grows until it is folded back: at its present size
        // the next write finds no room.
        FileSizeLimit full(fs::file_size(wal));
        ASSERT_TRUE(full.Set());
        journal.RecordAnswer(Answer("山", false, kMonday + 1, "やま"));
        journal.RecordGradeChanges({{kMonday + 2, Gbk("日语N5词汇"), Gbk("水"), 0, 1, GradeCause::Key},
                                    {kMonday + 2, Gbk("日语N5词汇"), Gbk("山"), 0, 1, GradeCause::Key}});
        journal.RecordSession({"", kMonday, kMonday + 5, Gbk("日语N5词汇"), 5, 2});
        journal.RecordGradeCounts(kMonday + 5, Gbk("日语N5词汇"), {1, 1, 0, 0, 0, 0});
        EXPECT_TRUE(journal.Keeping());
    }
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(messages.shown[0].text.find("已满"), std::string::npos) << messages.shown[0].text;
    EXPECT_NE(messages.shown[0].text.find(File().string()), std::string::npos);
    EXPECT_EQ(journal.Answers().size(), 1u);
    EXPECT_TRUE(journal.GradeChanges().empty());
    EXPECT_TRUE(journal.Sessions().empty());

    journal.RecordAnswer(Answer("川", true, kMonday + 6));
    journal.Close();
    Journal reread;
    OpenAt(reread, kMonday);
    ASSERT_TRUE(reread.Keeping());
    std::vector<std::string> words;
    for (const JournalAnswer& a : reread.Answers()) words.push_back(Utf8(a.word));
    EXPECT_EQ(words, (std::vector<std::string>{"水", "川"}));
    EXPECT_EQ(Sql(File(), "PRAGMA integrity_check"), "ok");
    EXPECT_EQ(messages.shown.size(), 1u);
}

TEST_F(JournalTest, AnOlderJournalIsBroughtForwardWithItsEvents) {
    CreateJournalAtVersion(File(), 1);
    ASSERT_EQ(Sql(File(), "PRAGMA user_version"), "1");
    Sql(File(),
        "INSERT INTO answers VALUES('00000000000000000000000000000001', 'x', 1, '2026-12-01', '日语N5词汇', '水',"
        " 1, '', 0, 2.0)");
    Journal journal;
    OpenAt(journal, kMonday);
    ASSERT_TRUE(journal.Keeping());
    EXPECT_EQ(journal.Answers().size(), 1u);
    journal.Close();
    EXPECT_EQ(Sql(File(), "PRAGMA user_version"), std::to_string(kJournalSchemaVersion));
    EXPECT_EQ(Sql(File(), "SELECT count(*) FROM sqlite_master WHERE type = 'index' AND name = 'answers_by_day'"), "1");
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(JournalTest, AJournalOfANewerProgramIsLeftAlone) {
    {
        Journal journal;
        OpenAt(journal, kMonday);
        journal.RecordAnswer(Answer("水", true, kMonday));
    }
    Sql(File(), "PRAGMA user_version = 99");
    const std::string before = TempFolder::ReadBytes(File());
    Journal journal;
    OpenAt(journal, kMonday);
    EXPECT_FALSE(journal.Keeping());
    journal.RecordAnswer(Answer("山", true, kMonday));
    journal.Close();
    EXPECT_EQ(TempFolder::ReadBytes(File()), before);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(messages.shown[0].text.find("更新版本"), std::string::npos);
    EXPECT_FALSE(fs::exists(folder / "journal.sqlite.damaged-2026-12-07"));
}

TEST_F(JournalTest, AFolderThatCannotHoldTheJournalIsSaidOnceAndStudyGoesOn) {
    Journal journal;
    clock = kMonday;
    journal.now = [this] { return clock; };
    journal.Open(folder / "missing" / "journal.sqlite", std::string(32, 'a'));
    EXPECT_FALSE(journal.Keeping());
    journal.RecordAnswer(Answer("水", true, kMonday));
    EXPECT_TRUE(journal.Answers().empty());
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_NE(messages.shown[0].text.find("missing"), std::string::npos);
    EXPECT_FALSE(journal.ReadProblem().empty());
}

TEST(JournalCsv, AnswersAsUtf8WithAByteOrderMarkAndQuotedFields) {
    const std::time_t at = LocalTime(2026, 12, 7, 9, 5, 3);
    const std::string csv = AnswersCsv({{at, Gbk("日语N5词汇"), Gbk("水"), false, Gbk("み,\"す\""), 0, 2.5},
                                        {at + 1, Gbk("日语N5词汇"), Gbk("山"), true, "", 3, 1.0}});
    EXPECT_EQ(csv,
              "\xEF\xBB\xBF时间,词库,单词,结果,输入,显示方式,用时（秒）\r\n"
              "2026-12-07 09:05:03,日语N5词汇,水,错误,\"み,\"\"す\"\"\",日→假汉,2.5\r\n"
              "2026-12-07 09:05:04,日语N5词汇,山,正确,,汉假日,1.0\r\n");
}

TEST(JournalComputerId, MadeOnceAndKept) {
    TempFolder folder;
    const std::string id = ComputerIdIn(folder.path());
    EXPECT_EQ(id.size(), 32u);
    EXPECT_EQ(ComputerIdIn(folder.path()), id);
    TempFolder other;
    EXPECT_NE(ComputerIdIn(other.path()), id);
}

}  // namespace
