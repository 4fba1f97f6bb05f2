// Keeping a learner's folder in step with a server: which file goes up or
// comes down, what is a conflict, the last-sync record, and what fetched
// bytes are refused before they replace anything.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/codec.h"
#include "core/gbktext.h"
#include "core/syncplan.h"
#include "support/wordlib_fixture.h"

namespace {

// A scrambled library with one word line per given "times:grade".
std::string LibraryBytes(const std::vector<std::pair<int, int>>& words) {
    std::string plain = HeaderLine();
    for (size_t i = 0; i < words.size(); ++i) {
        plain += "\n" + WordLine("w" + std::to_string(i), std::to_string(words[i].first), "m",
                                 std::to_string(words[i].second));
    }
    return ScrambleWhole(plain);
}

const std::string kLib = Gbk("日语N5词汇.lx");

struct PlanCase {
    const char* what;
    std::vector<LocalFile> local;
    std::vector<RemoteFile> remote;
    std::vector<SyncedFile> last;
    std::vector<SyncStep> expected;
};

}  // namespace

void PrintTo(const SyncStep& step, std::ostream* out) {
    *out << "{" << static_cast<int>(step.action) << " " << Utf8(step.name) << " " << step.etag << "}";
}

TEST(SyncPlan, DecidesEachFileFromBothSidesAndTheLastSync) {
    const std::vector<PlanCase> cases = {
        {"new here: up, with If-None-Match", {{kLib, 10, "h1"}}, {}, {}, {{SyncAction::Upload, kLib, ""}}},
        {"new there: down", {}, {{kLib, 10, "\"e1\""}}, {}, {{SyncAction::Download, kLib, "\"e1\""}}},
        {"unchanged on both sides: nothing",
         {{kLib, 10, "h1"}},
         {{kLib, 10, "\"e1\""}},
         {{kLib, 10, "h1", "\"e1\""}},
         {}},
        {"changed here only: up against the server's tag",
         {{kLib, 12, "h2"}},
         {{kLib, 10, "\"e1\""}},
         {{kLib, 10, "h1", "\"e1\""}},
         {{SyncAction::Upload, kLib, "\"e1\""}}},
        {"changed there only: down",
         {{kLib, 10, "h1"}},
         {{kLib, 14, "\"e2\""}},
         {{kLib, 10, "h1", "\"e1\""}},
         {{SyncAction::Download, kLib, "\"e2\""}}},
        {"changed on both sides: conflict",
         {{kLib, 12, "h2"}},
         {{kLib, 14, "\"e2\""}},
         {{kLib, 10, "h1", "\"e1\""}},
         {{SyncAction::Conflict, kLib, "\"e2\""}}},
        {"on both sides, never synced: conflict (settled by content)",
         {{kLib, 10, "h1"}},
         {{kLib, 10, "\"e1\""}},
         {},
         {{SyncAction::Conflict, kLib, "\"e1\""}}},
        {"journal changed on both sides: merged",
         {{"journal.sqlite", 10, "h2"}},
         {{"journal.sqlite", 14, "\"e2\""}},
         {{"journal.sqlite", 10, "h1", "\"e1\""}},
         {{SyncAction::MergeJournal, "journal.sqlite", "\"e2\""}}},
        {"removed on the server: sent again, nothing is lost",
         {{kLib, 10, "h1"}},
         {},
         {{kLib, 10, "h1", "\"e1\""}},
         {{SyncAction::Upload, kLib, ""}}},
        {"removed here: fetched again",
         {},
         {{kLib, 10, "\"e1\""}},
         {{kLib, 10, "h1", "\"e1\""}},
         {{SyncAction::Download, kLib, "\"e1\""}}},
        {"the server dropped the weak mark: only recorded",
         {{kLib, 10, "h1"}},
         {{kLib, 10, "\"e1\""}},
         {{kLib, 10, "h1", "W/\"e1\""}},
         {{SyncAction::Record, kLib, "\"e1\""}}},
        {"same hash, other size: changed here",
         {{kLib, 11, "h1"}},
         {{kLib, 10, "\"e1\""}},
         {{kLib, 10, "h1", "\"e1\""}},
         {{SyncAction::Upload, kLib, "\"e1\""}}},
        {"the sync's own files and temporary files never travel",
         {{"sync.ini", 5, "a"},
          {"sync.state", 5, "b"},
          {"x.lx.123-1.lxsave~", 3, "c"},
          {"journal.sqlite-wal", 1, "d"},
          {"journal.sqlite.damaged-2026-12-10", 7, "g"}},
         {{"sync.ini", 5, "\"e\""}, {"init.ini", 9, "\"f\""}},
         {},
         {}},
    };
    for (const PlanCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(PlanSync(c.local, c.remote, c.last), c.expected);
    }
}

TEST(SyncPlan, EveryFileOfEitherSideGetsOneStepInNameOrder) {
    const std::string a = Gbk("甲.lx"), b = Gbk("乙.lx"), fav = Gbk("收藏库.lx");
    const auto steps =
        PlanSync({{a, 1, "x"}, {fav, 1, "y"}}, {{b, 1, "\"1\""}, {fav, 1, "\"2\""}}, {{fav, 1, "y", "\"1\""}});
    ASSERT_EQ(steps.size(), 3u);
    std::vector<std::string> names;
    for (const auto& step : steps) names.push_back(step.name);
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
    for (const auto& step : steps) {
        const SyncAction expected = step.name == a ? SyncAction::Upload : SyncAction::Download;
        EXPECT_EQ(step.action, expected) << Utf8(step.name);
    }
}

TEST(SyncState, ReadsBackWhatItWritesAndRefusesOtherText) {
    const std::vector<SyncedFile> files = {{kLib, 1234, "00ff", "W/\"3-abc\""}, {"journal.sqlite", 0, "", "\"x\""}};
    const auto back = ParseSyncState(FormatSyncState(files));
    ASSERT_TRUE(back);
    ASSERT_EQ(back->size(), 2u);
    EXPECT_EQ((*back)[0].name, kLib);
    EXPECT_EQ((*back)[0].size, 1234u);
    EXPECT_EQ((*back)[0].hash, "00ff");
    EXPECT_EQ((*back)[0].etag, "W/\"3-abc\"");
    EXPECT_EQ((*back)[1].etag, "\"x\"");

    for (const char* bad :
         {"", "something else\n", "lexilark-sync 1\nname\t12x\th\te\n", "lexilark-sync 1\nname\t1\th\n"}) {
        SCOPED_TRACE(bad);
        EXPECT_FALSE(ParseSyncState(bad));
    }
}

TEST(SyncEtag, WeakAndStrongFormsOfOneTagAreTheSame) {
    EXPECT_TRUE(SameEtag("W/\"1-a\"", "\"1-a\""));
    EXPECT_TRUE(SameEtag("\"1-a\"", "\"1-a\""));
    EXPECT_FALSE(SameEtag("\"1-a\"", "\"1-b\""));
    EXPECT_FALSE(SameEtag("", ""));
}

TEST(SyncContent, HashFollowsEveryByte) {
    EXPECT_EQ(ContentHash("abc"), ContentHash("abc"));
    EXPECT_NE(ContentHash("abc"), ContentHash("abd"));
    EXPECT_NE(ContentHash(std::string("a\0b", 3)), ContentHash(std::string("a\0c", 3)));
    EXPECT_EQ(ContentHash("").size(), 16u);
}

TEST(SyncContent, LibraryStatsCountWordsStudiedAndGrades) {
    const LibraryStats stats = LibraryStatsOf(LibraryBytes({{3, 2}, {0, 0}, {1, 5}, {0, 2}}));
    ASSERT_TRUE(stats.readable);
    EXPECT_EQ(stats.words, 4);
    EXPECT_EQ(stats.studied, 2);
    EXPECT_EQ(stats.totalDisplays, 4);
    EXPECT_EQ(stats.perGrade[0], 1);
    EXPECT_EQ(stats.perGrade[2], 2);
    EXPECT_EQ(stats.perGrade[5], 1);
    EXPECT_FALSE(LibraryStatsOf(ScrambleWhole("<html><body>login</body></html>")).readable);
    EXPECT_FALSE(LibraryStatsOf("").readable);
}

TEST(SyncConflict, AnUntouchedCopyGivesWayOtherwiseTheLearnerChooses) {
    const std::string fresh = LibraryBytes({{0, 0}, {0, 0}});
    const std::string studiedA = LibraryBytes({{2, 1}, {0, 0}});
    const std::string studiedB = LibraryBytes({{0, 0}, {4, 3}});
    EXPECT_EQ(ObviousConflictChoice(fresh, studiedA), ConflictChoice::KeepRemote);
    EXPECT_EQ(ObviousConflictChoice(studiedA, fresh), ConflictChoice::KeepLocal);
    EXPECT_EQ(ObviousConflictChoice(studiedA, studiedA), ConflictChoice::KeepLocal);
    EXPECT_EQ(ObviousConflictChoice(studiedA, studiedB), ConflictChoice::Undecided);
    // A damaged version is never taken without asking.
    EXPECT_EQ(ObviousConflictChoice(fresh, "garbage"), ConflictChoice::Undecided);
}

TEST(SyncDownload, RefusesWhatIsNotWhatWasUploaded) {
    const std::string library = LibraryBytes({{1, 1}, {2, 2}});
    struct Case {
        const char* what;
        std::string name;
        std::string bytes;
        std::uint64_t listed;
        const char* mentions;  // empty: accepted
    };
    const std::vector<Case> cases = {
        {"a whole library", kLib, library, library.size(), ""},
        {"cut short", kLib, library.substr(0, library.size() - 7), library.size(), "下载不完整"},
        {"a login page", kLib, "<!DOCTYPE html><html>login</html>", 33, "网页"},
        {"a login page for the journal", "journal.sqlite", "\n <html>x</html>", 16, "网页"},
        {"damaged library", kLib, ScrambleWhole(HeaderLine() + "\n<e>w</e><t>1</t><c>m</c><g>9</g>"), 0, "已损坏"},
        {"no SQLite journal", "journal.sqlite", "not a database", 14, "已损坏"},
        {"a SQLite journal", "journal.sqlite", std::string("SQLite format 3\0rest", 20), 20, ""},
    };
    for (Case c : cases) {
        SCOPED_TRACE(c.what);
        if (std::string(c.what) == "damaged library") c.listed = c.bytes.size();
        const std::string message = CheckDownloadedFile(c.name, c.bytes, c.listed);
        if (std::string(c.mentions).empty()) {
            EXPECT_EQ(message, "");
        } else {
            EXPECT_NE(Utf8(message).find(c.mentions), std::string::npos) << Utf8(message);
            EXPECT_NE(message.find(c.name), std::string::npos) << "names the file";
        }
    }
}

TEST(SyncLearnerId, IsThirtyTwoHexDigitsAndOnlySuchIdsAreAccepted) {
    const std::string id = MakeLearnerId(0x0123456789abcdefull, 42);
    EXPECT_TRUE(IsLearnerId(id));
    EXPECT_NE(id, MakeLearnerId(0x0123456789abcdefull, 43));
    for (const char* bad : {"", "../x", "0123456789abcdef0123456789abcdeF", "0123456789abcdef0123456789abcde"}) {
        EXPECT_FALSE(IsLearnerId(bad)) << bad;
    }
}
