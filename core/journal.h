#pragma once
// The study journal: every judged answer, grade change and study session
// of one user, and once a day per library the words at each grade, kept in
// an SQLite database beside the user's libraries, "journal.sqlite" in the
// user folder. The statistics page reads its history from here.
//
// Every row carries an id of 128 random bits (32 lower-case hex digits,
// unique) and the id of the computer that recorded it, so the journals of
// two computers merge by id: each event is kept once (MergeJournalFile).
//
// Study never waits on the journal and never stops for it: the database
// runs in WAL mode with normal synchronisation, so a write is an append to
// the log, not a flush to the disk. When the journal cannot be kept (the
// file is damaged, locked by another program, write-protected, or the disk
// is full), the learner is told once, naming the file, and study goes on;
// a damaged file is set aside beside it as "journal.sqlite.damaged-<date>"
// and a fresh journal is started. The libraries are never touched.
//
// Texts (words, library names, typed answers) are GBK at this interface, as
// everywhere in the program, and UTF-8 in the database; they only ever reach
// SQL as bound parameters.

#include <array>
#include <ctime>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/wordlib.h"

struct sqlite3;
struct sqlite3_stmt;

// The version of the database layout this program writes; an older journal
// is brought forward when it is opened.
inline constexpr int kJournalSchemaVersion = 2;

// The journal's file name in a user folder.
inline constexpr const char* kJournalFileName = "journal.sqlite";

// What made a grade change.
enum class GradeCause { Key, Button, CycleEnd };
// "key", "button", "cycle", as the database stores them.
const char* GradeCauseName(GradeCause cause);

struct JournalAnswer {
    std::time_t at = 0;
    std::string library;  // GBK, the library's name without ".lx"
    std::string word;     // GBK
    bool right = false;
    std::string typed;   // GBK, what was typed; empty for a right answer
    int readMode = 0;    // 0..3
    double seconds = 0;  // from showing the word to the judgement
};

struct JournalGradeChange {
    std::time_t at = 0;
    std::string library;
    std::string word;
    int from = 0, to = 0;
    GradeCause cause = GradeCause::Button;
};

struct JournalSession {
    std::string id;  // the same id again updates the session as it goes on
    std::time_t start = 0, end = 0;
    std::string library;
    int activeSeconds = 0;  // the study clock's own count
    int wordsShown = 0;
};

using GradeCounts = std::array<int, kGradeLevels>;  // words at grade 0..5

// One day of study, all libraries together.
struct JournalDay {
    std::string day;  // "YYYY-MM-DD", local
    int answers = 0;
    int right = 0;
    int activeSeconds = 0;
    int promoted = 0;  // grade raised by the learner (not by a cycle end)
};

// A library's words per grade at the end of a day.
struct JournalGradeDay {
    std::string day;
    GradeCounts counts{};
};

// A word answered wrong, with how often and what was typed the last time.
struct JournalWrongWord {
    std::string word;  // GBK
    int times = 0;
    std::string lastTyped;  // GBK
    std::time_t lastAt = 0;
};

// The local day of a moment, "YYYY-MM-DD".
std::string JournalDayOf(std::time_t moment);
// The local day `days` after (or before) `day`.
std::string JournalDayPlus(const std::string& day, int days);

class Journal {
public:
    Journal();
    ~Journal();
    Journal(const Journal&) = delete;
    Journal& operator=(const Journal&) = delete;

    // Opens (creating, migrating) the journal at `file` for the computer
    // `computerId`. Never fails for the caller: a journal that cannot be kept
    // is said so once and the object goes on without writing (Keeping() is
    // false). A damaged file is set aside and a fresh one started.
    void Open(const std::filesystem::path& file, const std::string& computerId);
    // Closes the database; the log is folded back into the file.
    void Close();
    bool IsOpen() const { return db_ != nullptr; }
    // True while events are written.
    bool Keeping() const { return db_ != nullptr && writable_; }
    const std::filesystem::path& File() const { return file_; }

    // What could not be read of the history when the journal was opened
    // (GBK, for the statistics page); empty when all is well.
    const std::string& ReadProblem() const { return readProblem_; }

    // The clock the events are dated by; tests shift it.
    std::function<std::time_t()> now = [] { return std::time(nullptr); };

    void RecordAnswer(const JournalAnswer& answer);
    void RecordGradeChanges(const std::vector<JournalGradeChange>& changes);
    void RecordGradeChange(const JournalGradeChange& change) { RecordGradeChanges({change}); }
    void RecordSession(const JournalSession& session);
    // A fresh id for a session that is written as it goes on.
    static std::string NewSessionId();
    // The words per grade of `library` today (the day of `at`): one row per
    // day, library and computer, the latest count kept.
    void RecordGradeCounts(std::time_t at, const std::string& library, const GradeCounts& counts);

    // Reading. Each returns nothing when the journal is not open.
    // Days from `firstDay` to `lastDay` that hold any study, oldest first.
    std::vector<JournalDay> Days(const std::string& firstDay, const std::string& lastDay) const;
    // Every day that holds study (the calendar and the streak).
    std::vector<std::string> StudyDays() const;
    // `library`'s words per grade, one entry per day counted, oldest first.
    std::vector<JournalGradeDay> GradeHistory(const std::string& library) const;
    // Words of `library` first answered on or after `firstDay`; days since
    // `firstDay` on which `library` was answered.
    int WordsFirstAnsweredSince(const std::string& library, const std::string& firstDay) const;
    int DaysStudiedSince(const std::string& library, const std::string& firstDay) const;
    // The `limit` words of `library` answered wrong most often since
    // `firstDay`, most often first (then the latest first).
    std::vector<JournalWrongWord> MostWrong(const std::string& library, const std::string& firstDay, int limit) const;
    // Every answer, oldest first, for export.
    std::vector<JournalAnswer> Answers() const;
    std::vector<JournalGradeChange> GradeChanges() const;
    std::vector<JournalSession> Sessions() const;

    // For tests and the merge: the raw connection.
    sqlite3* Handle() const { return db_; }

private:
    bool OpenDatabase(std::string& failure, int& code);
    void SetAsideDamaged();
    void Failed(int code, const char* what);
    bool Exec(const char* sql);
    sqlite3_stmt* Prepare(const char* sql) const;
    // The statement kept in `slot`, prepared on its first use; null, the
    // failure reported, when it cannot be prepared.
    sqlite3_stmt* Prepared(sqlite3_stmt*& slot, const char* sql);

    std::filesystem::path file_;
    std::string computerId_;
    sqlite3* db_ = nullptr;
    bool writable_ = false;
    bool told_ = false;
    std::string readProblem_;
    sqlite3_stmt* insertAnswer_ = nullptr;
    sqlite3_stmt* insertGrade_ = nullptr;
    sqlite3_stmt* insertSession_ = nullptr;
    sqlite3_stmt* upsertCounts_ = nullptr;
};

// Merges the events of the journal `from` into the journal `into` (made if
// missing): afterwards `into` holds each event of both once. Grade counts
// of the same day, library and computer keep the later count. `from` is
// only read. False with a message (GBK) when either cannot be read or
// `into` cannot be written; `into` is then as it was.
bool MergeJournalFile(const std::filesystem::path& into, const std::filesystem::path& from,
                      std::string* gbkError = nullptr);

// Copies the journal `from` to `to` through SQLite's online backup, so the
// copy is a whole state of the database even while it is being written.
// The copy is made beside `to` and renamed into place when complete.
bool CopyJournalFile(const std::filesystem::path& from, const std::filesystem::path& to,
                     std::string* gbkError = nullptr);

// This computer's id (32 hex digits), kept in "computer.id" in `folder`
// (the program folder) and made there the first time.
std::string ComputerIdIn(const std::filesystem::path& folder);

// For tests: makes a journal at `file` with the layout of schema `version`.
void CreateJournalAtVersion(const std::filesystem::path& file, int version);

// What the statistics page needs of the library under study.
struct LibraryProgress {
    std::string name;  // GBK, without ".lx"; empty when none is open
    int words = 0;
    int studied = 0;  // words shown at least once
    GradeCounts grades{};
};

// The forecast of the statistics page.
struct ForecastInput {
    int words = 0;                        // words in the library
    int studied = 0;                      // words shown at least once
    int atThreeOrAbove = 0;               // words at grade 3 or higher
    int newWordsInWindow = 0;             // words first answered in the window
    int studyDaysInWindow = 0;            // days studied in the window
    std::vector<JournalGradeDay> grades;  // the library's daily counts
};
struct Forecast {
    // The days until each; nothing when there is too little history (or no
    // progress at this pace). 0 when it is reached already.
    std::optional<int> daysToAllStudied;
    std::optional<int> daysToAllAtThree;
};
inline constexpr int kForecastWindowDays = 14;
// `today` is the last day of the window.
Forecast ForecastAt(const ForecastInput& input, const std::string& today);

// Days studied in a row, ending today, or yesterday when today has no
// study yet. `studyDays` need not be sorted.
int StreakOf(const std::vector<std::string>& studyDays, const std::string& today);

// The answers as CSV, UTF-8 with a byte order mark, CR LF line ends.
std::string AnswersCsv(const std::vector<JournalAnswer>& answers);
