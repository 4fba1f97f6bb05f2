#include "core/journal.h"

#include <sqlite3.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <set>
#include <system_error>

#include "core/appmessage.h"
#include "core/gbktext.h"
#include "core/localtime.h"
#include "core/safewrite.h"

namespace fs = std::filesystem;

namespace {

// The layout, one step per version: step v brings a journal of version v-1
// to version v. Every event table has the same columns in every version,
// so journals of any known version merge with each other.
const char* const kSchemaSteps[] = {
    // 1: the events.
    "CREATE TABLE answers(id TEXT NOT NULL UNIQUE, computer TEXT NOT NULL, at INTEGER NOT NULL,"
    " day TEXT NOT NULL, library TEXT NOT NULL, word TEXT NOT NULL, correct INTEGER NOT NULL,"
    " typed TEXT NOT NULL, read_mode INTEGER NOT NULL, seconds REAL NOT NULL);"
    "CREATE TABLE grade_changes(id TEXT NOT NULL UNIQUE, computer TEXT NOT NULL, at INTEGER NOT NULL,"
    " day TEXT NOT NULL, library TEXT NOT NULL, word TEXT NOT NULL, from_grade INTEGER NOT NULL,"
    " to_grade INTEGER NOT NULL, cause TEXT NOT NULL);"
    "CREATE TABLE sessions(id TEXT NOT NULL UNIQUE, computer TEXT NOT NULL, started INTEGER NOT NULL,"
    " ended INTEGER NOT NULL, day TEXT NOT NULL, library TEXT NOT NULL, active_seconds INTEGER NOT NULL,"
    " words_shown INTEGER NOT NULL);"
    "CREATE TABLE grade_counts(id TEXT NOT NULL UNIQUE, computer TEXT NOT NULL, at INTEGER NOT NULL,"
    " day TEXT NOT NULL, library TEXT NOT NULL, g0 INTEGER NOT NULL, g1 INTEGER NOT NULL,"
    " g2 INTEGER NOT NULL, g3 INTEGER NOT NULL, g4 INTEGER NOT NULL, g5 INTEGER NOT NULL,"
    " UNIQUE(day, library, computer));",
    // 2: what the statistics page looks up by day and by word.
    "CREATE INDEX answers_by_day ON answers(day, correct);"
    "CREATE INDEX answers_by_word ON answers(library, word, day);"
    "CREATE INDEX grade_changes_by_day ON grade_changes(day);"
    "CREATE INDEX sessions_by_day ON sessions(day);",
};
static_assert(std::size(kSchemaSteps) == kJournalSchemaVersion);

// Texts of the failures, for the learner (UTF-8).
const char* ReasonOf(int code) {
    // A disk quota or a file size limit refuses a write as an I/O error.
    if (code == SQLITE_IOERR_WRITE) return "无法写入磁盘，磁盘可能已满";
    switch (code & 0xFF) {
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return "文件正被其他程序占用";
        case SQLITE_READONLY:
        case SQLITE_PERM:
            return "文件或文件夹是只读的";
        case SQLITE_FULL:
            return "磁盘已满";
        case SQLITE_CORRUPT:
        case SQLITE_NOTADB:
            return "文件已损坏";
        case SQLITE_CANTOPEN:
            return "无法打开或创建文件";
        default:
            return "读写文件出错";
    }
}

// A journal written by a newer program: left alone.
constexpr int kNewerVersion = SQLITE_CANTOPEN | (0x7F << 8);

bool IsDamage(int code) { return (code & 0xFF) == SQLITE_CORRUPT || (code & 0xFF) == SQLITE_NOTADB; }

std::string Utf8Path(const fs::path& file) {
    const std::u8string text = file.u8string();
    return std::string(text.begin(), text.end());
}

std::string ShownPath(const fs::path& file) { return FromNativePath(file); }

std::string NewId() {
    unsigned char bytes[16];
    sqlite3_randomness(sizeof bytes, bytes);
    static const char digits[] = "0123456789abcdef";
    std::string id;
    for (unsigned char b : bytes) {
        id += digits[b >> 4];
        id += digits[b & 15];
    }
    return id;
}

// A prepared statement that finalises itself.
class Statement {
public:
    Statement(sqlite3* db, const char* sql) {
        if (db) sqlite3_prepare_v2(db, sql, -1, &s_, nullptr);
    }
    ~Statement() { sqlite3_finalize(s_); }
    explicit operator bool() const { return s_ != nullptr; }
    sqlite3_stmt* get() const { return s_; }
    Statement& Text(int i, const std::string& utf8) {
        sqlite3_bind_text(s_, i, utf8.data(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
        return *this;
    }
    Statement& Int(int i, long long v) {
        sqlite3_bind_int64(s_, i, v);
        return *this;
    }
    bool Row() { return s_ && sqlite3_step(s_) == SQLITE_ROW; }
    std::string Col(int i) const {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(s_, i));
        return text ? std::string(text, static_cast<size_t>(sqlite3_column_bytes(s_, i))) : std::string();
    }
    long long ColInt(int i) const { return sqlite3_column_int64(s_, i); }
    double ColReal(int i) const { return sqlite3_column_double(s_, i); }

private:
    sqlite3_stmt* s_ = nullptr;
};

void BindText(sqlite3_stmt* s, int i, const std::string& utf8) {
    sqlite3_bind_text(s, i, utf8.data(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
}

int UserVersion(sqlite3* db, const char* schema, int& code) {
    const std::string sql = std::string("PRAGMA ") + schema + ".user_version";
    sqlite3_stmt* s = nullptr;
    code = sqlite3_prepare_v2(db, sql.c_str(), -1, &s, nullptr);
    int version = -1;
    if (code == SQLITE_OK) {
        code = sqlite3_step(s);
        if (code == SQLITE_ROW) {
            version = sqlite3_column_int(s, 0);
            code = SQLITE_OK;
        }
    }
    sqlite3_finalize(s);
    return version;
}

// Opens `file` for reading and writing, made when missing, in WAL mode, and
// brings its layout to the current version (or to `upTo`). On failure the
// connection is closed and `code` says why.
sqlite3* OpenJournalDb(const fs::path& file, int& code, bool& readOnly, int upTo = kJournalSchemaVersion) {
    sqlite3* db = nullptr;
    // A write-protected file is only read, whoever runs the program.
    std::error_code ec;
    const fs::perms perms = fs::status(file, ec).permissions();
    readOnly = !ec && fs::exists(file, ec) && (perms & fs::perms::owner_write) == fs::perms::none;
    code = sqlite3_open_v2(Utf8Path(file).c_str(), &db,
                           readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (code != SQLITE_OK) {
        if (db) code = sqlite3_extended_errcode(db);
        sqlite3_close(db);
        return nullptr;
    }
    sqlite3_extended_result_codes(db, 1);
    // Another program holding the file makes a write fail at once rather
    // than hold up study.
    sqlite3_busy_timeout(db, 100);
    readOnly = readOnly || sqlite3_db_readonly(db, "main") == 1;
    auto fail = [&](int c) -> sqlite3* {
        code = c;
        sqlite3_close(db);
        return nullptr;
    };
    int version = UserVersion(db, "main", code);
    if (code != SQLITE_OK) return fail(code);
    if (version > kJournalSchemaVersion) return fail(kNewerVersion);
    if (!readOnly) {
        code = sqlite3_exec(db, "PRAGMA journal_mode=WAL", nullptr, nullptr, nullptr);
        if (code != SQLITE_OK) return fail(sqlite3_extended_errcode(db));
        sqlite3_exec(db, "PRAGMA synchronous=NORMAL", nullptr, nullptr, nullptr);
        if (version < upTo) {
            if ((code = sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr)) != SQLITE_OK)
                return fail(sqlite3_extended_errcode(db));
            for (int v = version; v < upTo; ++v) {
                if ((code = sqlite3_exec(db, kSchemaSteps[v], nullptr, nullptr, nullptr)) != SQLITE_OK) break;
            }
            const std::string setVersion = "PRAGMA user_version=" + std::to_string(upTo);
            if (code == SQLITE_OK) code = sqlite3_exec(db, setVersion.c_str(), nullptr, nullptr, nullptr);
            if (code == SQLITE_OK) code = sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
            if (code != SQLITE_OK) {
                const int why = sqlite3_extended_errcode(db);
                sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
                return fail(why);
            }
        }
    } else if (version < 1) {
        return fail(SQLITE_READONLY);
    }
    // The whole file is looked through once, so a damaged page is found now
    // and not halfway through the statistics.
    Statement check(db, "PRAGMA quick_check(1)");
    if (!check.Row()) return fail(IsDamage(sqlite3_errcode(db)) ? SQLITE_CORRUPT : sqlite3_extended_errcode(db));
    if (check.Col(0) != "ok") return fail(SQLITE_CORRUPT);
    return db;
}

}  // namespace

const char* GradeCauseName(GradeCause cause) {
    switch (cause) {
        case GradeCause::Key:
            return "key";
        case GradeCause::CycleEnd:
            return "cycle";
        default:
            return "button";
    }
}

namespace {
GradeCause CauseOfName(const std::string& name) {
    if (name == "key") return GradeCause::Key;
    if (name == "cycle") return GradeCause::CycleEnd;
    return GradeCause::Button;
}

std::string DateText(const std::tm& t) {
    char text[48];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday);
    return text;
}
}  // namespace

std::string JournalDayOf(std::time_t moment) { return DateText(ToLocalTime(moment)); }

std::string JournalDayPlus(const std::string& day, int days) {
    std::tm t{};
    if (std::sscanf(day.c_str(), "%d-%d-%d", &t.tm_year, &t.tm_mon, &t.tm_mday) != 3) return day;
    t.tm_year -= 1900;
    t.tm_mon -= 1;
    t.tm_mday += days;
    t.tm_hour = 12;  // clear of the hour a clock change skips
    t.tm_isdst = -1;
    const std::time_t moment = std::mktime(&t);
    return JournalDayOf(moment);
}

Journal::Journal() = default;

Journal::~Journal() { Close(); }

void Journal::Close() {
    for (sqlite3_stmt** s : {&insertAnswer_, &insertGrade_, &insertSession_, &upsertCounts_}) {
        sqlite3_finalize(*s);
        *s = nullptr;
    }
    if (db_) sqlite3_close(db_);
    db_ = nullptr;
    writable_ = false;
}

void Journal::Open(const fs::path& file, const std::string& computerId) {
    Close();
    file_ = file;
    computerId_ = computerId;
    told_ = false;
    readProblem_.clear();
    int code = SQLITE_OK;
    bool readOnly = false;
    db_ = OpenJournalDb(file, code, readOnly);
    if (!db_ && IsDamage(code)) {
        SetAsideDamaged();
        db_ = OpenJournalDb(file, code, readOnly);
    }
    if (!db_) {
        if (code == kNewerVersion) {
            readProblem_ = Gbk("学习记录来自更新版本的程序，无法读取。");
            Failed(code, "学习记录来自更新版本的程序，本次学习的历史不能保存（学习照常进行，词库不受影响）：");
        } else {
            readProblem_ = Gbk(std::string("无法读取学习记录：") + ReasonOf(code) + "。");
            Failed(code, nullptr);
        }
        return;
    }
    writable_ = !readOnly;
    if (readOnly) Failed(SQLITE_READONLY, nullptr);
}

void Journal::SetAsideDamaged() {
    const std::string date = JournalDayOf(now());
    fs::path aside = file_;
    aside += ".damaged-" + date;
    for (int n = 2; fs::exists(aside); ++n) {
        aside = file_;
        aside += ".damaged-" + date + "-" + std::to_string(n);
    }
    std::error_code ec;
    fs::rename(file_, aside, ec);
    for (const char* suffix : {"-wal", "-shm"}) {
        fs::path side = file_;
        side += suffix;
        fs::path sideAside = aside;
        sideAside += suffix;
        if (fs::exists(side)) fs::rename(side, sideAside, ec);
    }
    const std::string name = FromNativePath(aside.filename());
    readProblem_ = Gbk("以前的学习记录已损坏，无法读取；损坏的文件已另存为 ") + name + Gbk("。");
    if (!told_) {
        told_ = true;
        ShowAppMessage(Gbk("学习记录文件已损坏，以前的学习历史无法读取：\r\n") + ShownPath(file_) +
                       Gbk("\r\n\r\n损坏的文件已另存为 ") + name +
                       Gbk("，并已新建学习记录。学习照常进行，词库不受影响。"));
    }
}

void Journal::Failed(int code, const char* what) {
    if (IsDamage(code) && db_) {
        // Damaged under way: set aside and go on in a fresh journal.
        Close();
        SetAsideDamaged();
        bool readOnly = false;
        int again = SQLITE_OK;
        db_ = OpenJournalDb(file_, again, readOnly);
        writable_ = db_ && !readOnly;
        return;
    }
    if ((code & 0xFF) == SQLITE_READONLY) writable_ = false;
    if (told_) return;
    told_ = true;
    const std::string head = what ? std::string(what)
                                  : std::string("学习记录文件无法写入（") + ReasonOf(code) +
                                        "），本次学习的历史不能保存。学习照常进行，词库不受影响：";
    ShowAppMessage(Gbk(head) + "\r\n" + ShownPath(file_));
}

sqlite3_stmt* Journal::Prepared(sqlite3_stmt*& slot, const char* sql) {
    if (!slot) slot = Prepare(sql);
    if (!slot) Failed(sqlite3_extended_errcode(db_), nullptr);
    return slot;
}

sqlite3_stmt* Journal::Prepare(const char* sql) const {
    sqlite3_stmt* s = nullptr;
    if (db_ && sqlite3_prepare_v2(db_, sql, -1, &s, nullptr) != SQLITE_OK) {
        sqlite3_finalize(s);
        return nullptr;
    }
    return s;
}

namespace {
// Runs a prepared write and resets it; the result code.
int StepWrite(sqlite3_stmt* s) {
    int code = sqlite3_step(s);
    if (code == SQLITE_DONE) code = SQLITE_OK;
    sqlite3_reset(s);
    sqlite3_clear_bindings(s);
    return code;
}

// The columns every event row starts with: its own id, the computer, the
// moment, its local day and the library (GBK).
void BindEventHead(sqlite3_stmt* s, const std::string& computer, std::time_t at, const std::string& library) {
    BindText(s, 1, NewId());
    BindText(s, 2, computer);
    sqlite3_bind_int64(s, 3, at);
    BindText(s, 4, JournalDayOf(at));
    BindText(s, 5, Utf8(library));
}
}  // namespace

void Journal::RecordAnswer(const JournalAnswer& a) {
    if (!Keeping()) return;
    sqlite3_stmt* s =
        Prepared(insertAnswer_,
                 "INSERT INTO answers(id, computer, at, day, library, word, correct, typed, read_mode, seconds)"
                 " VALUES(?,?,?,?,?,?,?,?,?,?)");
    if (!s) return;
    const std::time_t at = a.at ? a.at : now();
    BindEventHead(s, computerId_, at, a.library);
    BindText(s, 6, Utf8(a.word));
    sqlite3_bind_int(s, 7, a.right ? 1 : 0);
    BindText(s, 8, a.right ? std::string() : Utf8(a.typed));
    sqlite3_bind_int(s, 9, a.readMode);
    sqlite3_bind_double(s, 10, a.seconds);
    if (const int code = StepWrite(s); code != SQLITE_OK) Failed(code, nullptr);
}

void Journal::RecordGradeChanges(const std::vector<JournalGradeChange>& changes) {
    if (!Keeping() || changes.empty()) return;
    sqlite3_stmt* s =
        Prepared(insertGrade_,
                 "INSERT INTO grade_changes(id, computer, at, day, library, word, from_grade, to_grade, cause)"
                 " VALUES(?,?,?,?,?,?,?,?,?)");
    if (!s) return;
    // A cycle end changes every word at once: one transaction for all.
    const bool many = changes.size() > 1;
    if (many && sqlite3_exec(db_, "BEGIN", nullptr, nullptr, nullptr) != SQLITE_OK)
        return Failed(sqlite3_extended_errcode(db_), nullptr);
    int code = SQLITE_OK;
    for (const JournalGradeChange& c : changes) {
        const std::time_t at = c.at ? c.at : now();
        BindEventHead(s, computerId_, at, c.library);
        BindText(s, 6, Utf8(c.word));
        sqlite3_bind_int(s, 7, c.from);
        sqlite3_bind_int(s, 8, c.to);
        BindText(s, 9, GradeCauseName(c.cause));
        if ((code = StepWrite(s)) != SQLITE_OK) break;
    }
    if (many) {
        if (code == SQLITE_OK && sqlite3_exec(db_, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK)
            code = sqlite3_extended_errcode(db_);
        if (code != SQLITE_OK) sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    }
    if (code != SQLITE_OK) Failed(code, nullptr);
}

void Journal::RecordSession(const JournalSession& session) {
    if (!Keeping()) return;
    sqlite3_stmt* s =
        Prepared(insertSession_,
                 "INSERT INTO sessions(id, computer, started, ended, day, library, active_seconds, words_shown)"
                 " VALUES(?,?,?,?,?,?,?,?) ON CONFLICT(id) DO UPDATE SET ended=excluded.ended,"
                 " active_seconds=excluded.active_seconds, words_shown=excluded.words_shown");
    if (!s) return;
    BindText(s, 1, session.id.empty() ? NewId() : session.id);
    BindText(s, 2, computerId_);
    sqlite3_bind_int64(s, 3, session.start);
    sqlite3_bind_int64(s, 4, session.end);
    BindText(s, 5, JournalDayOf(session.start));
    BindText(s, 6, Utf8(session.library));
    sqlite3_bind_int(s, 7, session.activeSeconds);
    sqlite3_bind_int(s, 8, session.wordsShown);
    if (const int code = StepWrite(s); code != SQLITE_OK) Failed(code, nullptr);
}

void Journal::RecordGradeCounts(std::time_t at, const std::string& library, const GradeCounts& counts) {
    if (!Keeping()) return;
    sqlite3_stmt* s =
        Prepared(upsertCounts_,
                 "INSERT INTO grade_counts(id, computer, at, day, library, g0, g1, g2, g3, g4, g5)"
                 " VALUES(?,?,?,?,?,?,?,?,?,?,?) ON CONFLICT(day, library, computer) DO UPDATE SET at=excluded.at,"
                 " g0=excluded.g0, g1=excluded.g1, g2=excluded.g2, g3=excluded.g3, g4=excluded.g4, g5=excluded.g5");
    if (!s) return;
    if (!at) at = now();
    BindEventHead(s, computerId_, at, library);
    for (int g = 0; g < kGradeLevels; ++g) sqlite3_bind_int(s, 6 + g, counts[static_cast<size_t>(g)]);
    if (const int code = StepWrite(s); code != SQLITE_OK) Failed(code, nullptr);
}

std::string Journal::NewSessionId() { return NewId(); }

std::vector<JournalDay> Journal::Days(const std::string& firstDay, const std::string& lastDay) const {
    std::vector<JournalDay> days;
    Statement q(db_,
                "WITH a AS (SELECT day, count(*) n, sum(correct) r FROM answers WHERE day BETWEEN ?1 AND ?2"
                " GROUP BY day),"
                " s AS (SELECT day, sum(active_seconds) t FROM sessions WHERE day BETWEEN ?1 AND ?2 GROUP BY day),"
                " p AS (SELECT day, count(*) up FROM grade_changes WHERE day BETWEEN ?1 AND ?2"
                " AND to_grade > from_grade AND cause <> 'cycle' GROUP BY day),"
                " d AS (SELECT day FROM a UNION SELECT day FROM s UNION SELECT day FROM p)"
                " SELECT d.day, coalesce(a.n, 0), coalesce(a.r, 0), coalesce(s.t, 0), coalesce(p.up, 0)"
                " FROM d LEFT JOIN a USING(day) LEFT JOIN s USING(day) LEFT JOIN p USING(day) ORDER BY d.day");
    if (!q) return days;
    q.Text(1, firstDay).Text(2, lastDay);
    while (q.Row())
        days.push_back({q.Col(0), static_cast<int>(q.ColInt(1)), static_cast<int>(q.ColInt(2)),
                        static_cast<int>(q.ColInt(3)), static_cast<int>(q.ColInt(4))});
    return days;
}

std::vector<std::string> Journal::StudyDays() const {
    std::vector<std::string> days;
    Statement q(db_,
                "SELECT DISTINCT day FROM answers UNION SELECT day FROM sessions WHERE active_seconds > 0"
                " ORDER BY 1");
    while (q.Row()) days.push_back(q.Col(0));
    return days;
}

std::vector<JournalGradeDay> Journal::GradeHistory(const std::string& library) const {
    std::vector<JournalGradeDay> history;
    Statement q(db_, "SELECT day, g0, g1, g2, g3, g4, g5 FROM grade_counts WHERE library = ? ORDER BY day, at");
    if (!q) return history;
    q.Text(1, Utf8(library));
    while (q.Row()) {
        JournalGradeDay entry{q.Col(0), {}};
        for (int g = 0; g < kGradeLevels; ++g) entry.counts[static_cast<size_t>(g)] = static_cast<int>(q.ColInt(1 + g));
        // Of several counts of one day (several computers) the latest stands.
        if (!history.empty() && history.back().day == entry.day)
            history.back() = entry;
        else
            history.push_back(entry);
    }
    return history;
}

int Journal::WordsFirstAnsweredSince(const std::string& library, const std::string& firstDay) const {
    Statement q(db_,
                "SELECT count(*) FROM (SELECT word FROM answers WHERE library = ?1 GROUP BY word"
                " HAVING min(day) >= ?2)");
    if (!q) return 0;
    q.Text(1, Utf8(library)).Text(2, firstDay);
    return q.Row() ? static_cast<int>(q.ColInt(0)) : 0;
}

int Journal::DaysStudiedSince(const std::string& library, const std::string& firstDay) const {
    Statement q(db_, "SELECT count(DISTINCT day) FROM answers WHERE library = ?1 AND day >= ?2");
    if (!q) return 0;
    q.Text(1, Utf8(library)).Text(2, firstDay);
    return q.Row() ? static_cast<int>(q.ColInt(0)) : 0;
}

std::vector<JournalWrongWord> Journal::MostWrong(const std::string& library, const std::string& firstDay,
                                                 int limit) const {
    std::vector<JournalWrongWord> words;
    // With max(at), SQLite takes the bare column `typed` from the latest row.
    Statement q(db_,
                "SELECT word, count(*) n, max(at) last, typed FROM answers"
                " WHERE library = ?1 AND day >= ?2 AND correct = 0 GROUP BY word"
                " ORDER BY n DESC, last DESC, word LIMIT ?3");
    if (!q) return words;
    q.Text(1, Utf8(library)).Text(2, firstDay).Int(3, limit);
    while (q.Row()) words.push_back({Gbk(q.Col(0)), static_cast<int>(q.ColInt(1)), Gbk(q.Col(3)), q.ColInt(2)});
    return words;
}

std::vector<JournalAnswer> Journal::Answers() const {
    std::vector<JournalAnswer> answers;
    Statement q(db_, "SELECT at, library, word, correct, typed, read_mode, seconds FROM answers ORDER BY at, rowid");
    while (q.Row())
        answers.push_back({q.ColInt(0), Gbk(q.Col(1)), Gbk(q.Col(2)), q.ColInt(3) != 0, Gbk(q.Col(4)),
                           static_cast<int>(q.ColInt(5)), q.ColReal(6)});
    return answers;
}

std::vector<JournalGradeChange> Journal::GradeChanges() const {
    std::vector<JournalGradeChange> changes;
    Statement q(db_, "SELECT at, library, word, from_grade, to_grade, cause FROM grade_changes ORDER BY at, rowid");
    while (q.Row())
        changes.push_back({q.ColInt(0), Gbk(q.Col(1)), Gbk(q.Col(2)), static_cast<int>(q.ColInt(3)),
                           static_cast<int>(q.ColInt(4)), CauseOfName(q.Col(5))});
    return changes;
}

std::vector<JournalSession> Journal::Sessions() const {
    std::vector<JournalSession> sessions;
    Statement q(db_,
                "SELECT id, started, ended, library, active_seconds, words_shown FROM sessions"
                " ORDER BY started, rowid");
    while (q.Row())
        sessions.push_back({q.Col(0), q.ColInt(1), q.ColInt(2), Gbk(q.Col(3)), static_cast<int>(q.ColInt(4)),
                            static_cast<int>(q.ColInt(5))});
    return sessions;
}

bool MergeJournalFile(const fs::path& into, const fs::path& from, std::string* gbkError) {
    auto fail = [&](const std::string& utf8Why, const fs::path& file) {
        if (gbkError) *gbkError = Gbk(utf8Why) + "\r\n" + ShownPath(file);
        return false;
    };
    if (!fs::exists(from)) return fail("要合并的学习记录不存在：", from);
    int code = SQLITE_OK;
    bool readOnly = false;
    sqlite3* db = OpenJournalDb(into, code, readOnly);
    if (!db) return fail(std::string("无法打开学习记录（") + ReasonOf(code) + "）：", into);
    if (readOnly) {
        sqlite3_close(db);
        return fail("无法写入学习记录（文件是只读的）：", into);
    }
    {
        Statement attach(db, "ATTACH DATABASE ? AS other");
        attach.Text(1, Utf8Path(from));
        attach.Row();
    }
    int version = UserVersion(db, "other", code);
    std::string why;
    if (code != SQLITE_OK)
        why = std::string("无法读取要合并的学习记录（") + ReasonOf(code) + "）：";
    else if (version < 1 || version > kJournalSchemaVersion)
        why = "要合并的文件不是本程序能读的学习记录：";
    if (!why.empty()) {
        sqlite3_close(db);
        return fail(why, from);
    }
    const char* merge =
        "BEGIN IMMEDIATE;"
        "INSERT OR IGNORE INTO main.answers(id, computer, at, day, library, word, correct, typed, read_mode,"
        " seconds) SELECT id, computer, at, day, library, word, correct, typed, read_mode, seconds"
        " FROM other.answers;"
        "INSERT OR IGNORE INTO main.grade_changes(id, computer, at, day, library, word, from_grade, to_grade,"
        " cause) SELECT id, computer, at, day, library, word, from_grade, to_grade, cause"
        " FROM other.grade_changes;"
        // A session written again later (it went on) keeps its longer state.
        "INSERT INTO main.sessions(id, computer, started, ended, day, library, active_seconds, words_shown)"
        " SELECT id, computer, started, ended, day, library, active_seconds, words_shown FROM other.sessions"
        " WHERE true ON CONFLICT(id) DO UPDATE SET ended=excluded.ended, active_seconds=excluded.active_seconds,"
        " words_shown=excluded.words_shown WHERE excluded.ended > sessions.ended;"
        "INSERT INTO main.grade_counts(id, computer, at, day, library, g0, g1, g2, g3, g4, g5)"
        " SELECT id, computer, at, day, library, g0, g1, g2, g3, g4, g5 FROM other.grade_counts"
        " WHERE true ON CONFLICT DO UPDATE SET at=excluded.at, g0=excluded.g0, g1=excluded.g1,"
        " g2=excluded.g2, g3=excluded.g3, g4=excluded.g4, g5=excluded.g5 WHERE excluded.at > grade_counts.at;"
        "COMMIT;";
    char* message = nullptr;
    code = sqlite3_exec(db, merge, nullptr, nullptr, &message);
    if (code != SQLITE_OK) {
        code = sqlite3_extended_errcode(db);
        sqlite3_free(message);
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(db);
        return fail(std::string("合并学习记录失败（") + ReasonOf(code) + "），学习记录保持原样：", into);
    }
    sqlite3_close(db);
    return true;
}

bool CopyJournalFile(const fs::path& from, const fs::path& to, std::string* gbkError) {
    auto fail = [&](const std::string& utf8Why, const fs::path& file) {
        if (gbkError) *gbkError = Gbk(utf8Why) + "\r\n" + ShownPath(file);
        return false;
    };
    sqlite3* source = nullptr;
    int code = sqlite3_open_v2(Utf8Path(from).c_str(), &source, SQLITE_OPEN_READONLY, nullptr);
    if (code != SQLITE_OK) {
        sqlite3_close(source);
        return fail(std::string("无法读取学习记录（") + ReasonOf(code) + "）：", from);
    }
    sqlite3_busy_timeout(source, 2000);
    fs::path partial = to;
    partial += ".partial";
    std::error_code ec;
    fs::remove(partial, ec);
    sqlite3* target = nullptr;
    code = sqlite3_open_v2(Utf8Path(partial).c_str(), &target, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (code == SQLITE_OK) {
        sqlite3_backup* backup = sqlite3_backup_init(target, "main", source, "main");
        if (backup) {
            code = sqlite3_backup_step(backup, -1);
            if (code == SQLITE_DONE) code = SQLITE_OK;
            sqlite3_backup_finish(backup);
        } else {
            code = sqlite3_errcode(target);
        }
        // The copy is a plain file: no log beside it.
        if (code == SQLITE_OK) code = sqlite3_exec(target, "PRAGMA journal_mode=DELETE", nullptr, nullptr, nullptr);
    }
    sqlite3_close(target);
    sqlite3_close(source);
    if (code != SQLITE_OK) {
        fs::remove(partial, ec);
        return fail(std::string("无法复制学习记录（") + ReasonOf(code) + "）：", from);
    }
    fs::rename(partial, to, ec);
    if (ec) {
        fs::remove(partial, ec);
        return fail("无法复制学习记录：", to);
    }
    return true;
}

std::string ComputerIdIn(const fs::path& folder) {
    const fs::path file = folder / "computer.id";
    std::ifstream in(file, std::ios::binary);
    std::string id;
    if (in && std::getline(in, id) && id.size() == 32 &&
        std::all_of(id.begin(), id.end(), [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); }))
        return id;
    id = NewId();
    // Not kept (a write-protected folder): the id still names this run.
    SafeWriteFile(file, id + "\n");
    return id;
}

void CreateJournalAtVersion(const fs::path& file, int version) {
    int code = SQLITE_OK;
    bool readOnly = false;
    sqlite3* db = OpenJournalDb(file, code, readOnly, version);
    sqlite3_close(db);
}

Forecast ForecastAt(const ForecastInput& in, const std::string& today) {
    Forecast f;
    if (in.words <= 0) return f;
    if (in.studied >= in.words) {
        f.daysToAllStudied = 0;
    } else if (in.studyDaysInWindow >= 2 && in.newWordsInWindow > 0) {
        const double perDay = static_cast<double>(in.newWordsInWindow) / kForecastWindowDays;
        f.daysToAllStudied = static_cast<int>(std::ceil((in.words - in.studied) / perDay));
    }
    if (in.atThreeOrAbove >= in.words) {
        f.daysToAllAtThree = 0;
        return f;
    }
    // The rise of words at grade 3 or above, from the first count of the
    // window to the latest.
    const std::string first = JournalDayPlus(today, 1 - kForecastWindowDays);
    const JournalGradeDay* start = nullptr;
    const JournalGradeDay* last = nullptr;
    for (const JournalGradeDay& d : in.grades) {
        if (d.day < first || d.day > today) continue;
        if (!start) start = &d;
        last = &d;
    }
    if (!start || start == last) return f;
    auto high = [](const GradeCounts& c) { return c[3] + c[4] + c[5]; };
    int span = 0;
    for (std::string d = start->day; d < last->day && span <= kForecastWindowDays; d = JournalDayPlus(d, 1)) ++span;
    const int rise = high(last->counts) - high(start->counts);
    if (span <= 0 || rise <= 0) return f;
    const double perDay = static_cast<double>(rise) / span;
    f.daysToAllAtThree = static_cast<int>(std::ceil((in.words - in.atThreeOrAbove) / perDay));
    return f;
}

int StreakOf(const std::vector<std::string>& studyDays, const std::string& today) {
    const std::set<std::string> days(studyDays.begin(), studyDays.end());
    std::string d = days.count(today) ? today : JournalDayPlus(today, -1);
    int streak = 0;
    while (days.count(d)) {
        ++streak;
        d = JournalDayPlus(d, -1);
    }
    return streak;
}

namespace {
std::string CsvField(const std::string& utf8) {
    if (utf8.find_first_of(",\"\r\n") == std::string::npos) return utf8;
    std::string quoted = "\"";
    for (char c : utf8) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}
}  // namespace

std::string AnswersCsv(const std::vector<JournalAnswer>& answers) {
    static const char* const kReadModes[] = {"日→假汉", "汉→假日", "日假→汉", "汉假日"};
    std::string csv = "\xEF\xBB\xBF时间,词库,单词,结果,输入,显示方式,用时（秒）\r\n";
    for (const JournalAnswer& a : answers) {
        const std::tm t = ToLocalTime(a.at);
        char when[80];
        std::snprintf(when, sizeof when, "%04d-%02d-%02d %02d:%02d:%02d", t.tm_year + 1900, t.tm_mon + 1, t.tm_mday,
                      t.tm_hour, t.tm_min, t.tm_sec);
        char seconds[32];
        std::snprintf(seconds, sizeof seconds, "%.1f", a.seconds);
        const char* mode = a.readMode >= 0 && a.readMode < 4 ? kReadModes[a.readMode] : "";
        csv += std::string(when) + "," + CsvField(Utf8(a.library)) + "," + CsvField(Utf8(a.word)) + "," +
               (a.right ? "正确" : "错误") + "," + CsvField(Utf8(a.typed)) + "," + mode + "," + seconds + "\r\n";
    }
    return csv;
}
