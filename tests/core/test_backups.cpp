// Progress backups of a user folder: what a backup holds, keeping the
// newest seven, when a login backs up, the per-library figures, restoring,
// and a program killed while backing up or restoring.

#include <csignal>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "core/appmessage.h"
#include "core/backups.h"
#include "core/codec.h"
#include "core/gbktext.h"
#include "core/journal.h"
#include "core/libraryformat.h"
#include "core/manage.h"
#include "core/programfolder.h"
#include "core/scrambledfile.h"
#include "core/usermoves.h"
#include "core/usertable.h"
#include "support/local_time.h"
#include "support/temp_folder.h"
#include "support/wordlib_fixture.h"

namespace fs = std::filesystem;

namespace {

constexpr std::time_t kDay = 24 * 60 * 60;

// One word of a library on disk: grade and how often it was shown.
struct Studied {
    int grade;
    int times;
};

class BackupTest : public ::testing::Test {
protected:
    void SetUp() override {
        program = GbkPath(folder.path()) + "/";
        fs::create_directories(User());
    }
    void TearDown() override { SetBackupStepHook(nullptr); }

    fs::path User(int slot = 1) const { return folder.path() / "users" / ("user" + std::to_string(slot)); }
    fs::path Backups(int slot = 1) const { return folder.path() / "backups" / ("user" + std::to_string(slot)); }

    // A library written as the program writes it, words "w0".. in order.
    void Library(const std::string& fileUtf8, const std::vector<Studied>& words, int slot = 1) const {
        std::string text = HeaderLine() + "\n";
        for (size_t i = 0; i < words.size(); ++i) {
            if (i) text += "\n";
            text +=
                WordLine("w" + std::to_string(i), std::to_string(words[i].times), "m", std::to_string(words[i].grade));
        }
        ASSERT_TRUE(WriteScrambledFile(User(slot) / fileUtf8, text));
    }
    std::vector<Studied> Words(const fs::path& file) const {
        LibraryFileValues values;
        std::vector<WordList> words;
        ParseLibraryLines(SplitLibraryLines(PlainTextOf(file)), values, words);
        std::vector<Studied> out;
        for (const auto& w : words) out.push_back({w.Grade, w.StudyTimes});
        return out;
    }
    // Every file under `dir` by relative name, with its bytes.
    static std::map<std::string, std::string> Files(const fs::path& dir) {
        std::map<std::string, std::string> files;
        if (!fs::exists(dir)) return files;
        for (const auto& entry : fs::recursive_directory_iterator(dir))
            if (entry.is_regular_file())
                files[fs::relative(entry.path(), dir).string()] = TempFolder::ReadBytes(entry.path());
        return files;
    }
    // Leftovers of an unfinished backup or restore anywhere in the folders.
    std::vector<std::string> Leftovers() const {
        std::vector<std::string> found;
        for (const fs::path& root : {folder.path() / "users", Backups()}) {
            if (!fs::exists(root)) continue;
            for (const auto& entry : fs::directory_iterator(root)) {
                const std::string name = entry.path().filename().string();
                if (name[0] == '.') found.push_back(name);
            }
        }
        return found;
    }
    std::vector<std::string> Names() const { return ListBackups(program, 1); }

    TempFolder folder;
    std::string program;
    const std::time_t base = LocalTime(2026, 12, 10, 9, 30, 5);
};

TEST_F(BackupTest, ABackupHoldsTheUserFilesOnlyUnderItsDateAndTime) {
    Library("日语入门词汇.lx", {{1, 2}, {0, 0}});
    TempFolder::WriteBytes(User() / "收藏库.lx", "favourites bytes");
    TempFolder::WriteBytes(User() / "init.ini", "<password1>secret</password1>");
    TempFolder::WriteBytes(User() / "日语入门词汇.lx.lxsave~", "half a save");
    TempFolder::WriteBytes(User() / "note.txt.tmp", "half a note");

    const BackupOutcome made = MakeBackup(program, 1, base);
    ASSERT_TRUE(made.ok) << Utf8(made.gbkError);
    EXPECT_EQ(made.name, "20261210-093005");
    EXPECT_EQ(Names(), std::vector<std::string>{"20261210-093005"});
    EXPECT_EQ(BackupTimeText(made.name), "2026-12-10 09:30:05");
    EXPECT_EQ(BackupTime(made.name), base);

    auto expected = Files(User());
    expected.erase("init.ini");
    expected.erase("日语入门词汇.lx.lxsave~");
    expected.erase("note.txt.tmp");
    EXPECT_EQ(Files(Backups() / made.name), expected);
    EXPECT_EQ(expected.size(), 2u);
    // Other users' backups are apart.
    EXPECT_TRUE(ListBackups(program, 2).empty());
}

TEST_F(BackupTest, ABackupCanHoldAnotherVersionOfOneFile) {
    Library("日语入门词汇.lx", {{1, 2}, {0, 0}});
    TempFolder::WriteBytes(User() / "收藏库.lx", "favourites bytes");
    const std::string other = ScrambleWhole(HeaderLine() + "\n" + WordLine("w0", "9", "m", "4"));
    const std::string mine = TempFolder::ReadBytes(User() / "日语入门词汇.lx");

    const BackupOutcome made = MakeBackupWithVersion(program, 1, base, Gbk("日语入门词汇.lx"), other);
    ASSERT_TRUE(made.ok) << Utf8(made.gbkError);
    EXPECT_EQ(TempFolder::ReadBytes(Backups() / made.name / "日语入门词汇.lx"), other);
    EXPECT_EQ(TempFolder::ReadBytes(Backups() / made.name / "收藏库.lx"), "favourites bytes");
    EXPECT_EQ(TempFolder::ReadBytes(User() / "日语入门词汇.lx"), mine) << "the user folder stays";

    // Also from an empty user folder: the other version alone is worth keeping.
    fs::create_directories(User(2));
    const BackupOutcome alone = MakeBackupWithVersion(program, 2, base, Gbk("新.lx"), other);
    ASSERT_TRUE(alone.ok);
    EXPECT_EQ(Files(Backups(2) / alone.name).size(), 1u);
}

TEST_F(BackupTest, TwoBackupsInOneSecondBothStayNewestFirst) {
    Library("a.lx", {{0, 1}});
    ASSERT_TRUE(MakeBackup(program, 1, base).ok);
    const BackupOutcome second = MakeBackup(program, 1, base);
    ASSERT_TRUE(second.ok);
    EXPECT_EQ(second.name, "20261210-093005-2");
    EXPECT_EQ(Names(), (std::vector<std::string>{"20261210-093005-2", "20261210-093005"}));
    EXPECT_EQ(BackupTimeText(second.name), "2026-12-10 09:30:05 (2)");
}

TEST_F(BackupTest, AnEmptyOrMissingUserFolderIsNotBackedUp) {
    for (bool exists : {true, false}) {
        SCOPED_TRACE(exists);
        if (!exists) fs::remove_all(User());
        const BackupOutcome made = MakeBackup(program, 1, base);
        EXPECT_FALSE(made.ok);
        EXPECT_TRUE(made.skipped);
        EXPECT_TRUE(made.gbkError.empty());
        EXPECT_TRUE(Names().empty());
        EXPECT_FALSE(AutomaticBackupDue(program, 1, base));
    }
}

TEST_F(BackupTest, OnlyTheNewestSevenAreKept) {
    Library("a.lx", {{0, 1}});
    std::vector<std::string> made;
    for (int i = 0; i < 9; ++i) {
        const BackupOutcome outcome = MakeBackup(program, 1, base + i * kDay);
        ASSERT_TRUE(outcome.ok);
        made.push_back(outcome.name);
    }
    const std::vector<std::string> newestSeven(made.rbegin(), made.rbegin() + kBackupsKept);
    EXPECT_EQ(Names(), newestSeven);
    EXPECT_FALSE(fs::exists(Backups() / made[0]));
    EXPECT_FALSE(fs::exists(Backups() / made[1]));
}

TEST_F(BackupTest, ALoginBacksUpWhenTheNewestBackupIsADayOld) {
    Library("a.lx", {{0, 1}});
    EXPECT_TRUE(AutomaticBackupDue(program, 1, base)) << "no backup yet";
    ASSERT_TRUE(MakeBackup(program, 1, base).ok);
    const struct {
        const char* what;
        std::time_t now;
        bool due;
    } cases[] = {
        {"at once", base, false},
        {"a second short of a day", base + kDay - 1, false},
        {"a day", base + kDay, true},
        {"a week", base + 7 * kDay, true},
        {"the clock set back", base - 60, true},
    };
    for (const auto& c : cases) EXPECT_EQ(AutomaticBackupDue(program, 1, c.now), c.due) << c.what;
}

TEST_F(BackupTest, EachLibraryShowsItsStudiedWordsAndWordsAboveGradeZero) {
    Library("b.lx", {{0, 0}, {2, 3}, {0, 1}, {1, 4}, {5, 0}});
    Library("a.lx", {});
    TempFolder::WriteBytes(
        User() / "收藏库.lx",
        ScrambleWhole("<editor>x</editor><lw>1</lw>\n<word><e>f</e><t>2</t><c>m</c><g>1</g></word>"));
    TempFolder::WriteBytes(User() / "cut.lx", ScrambleWhole(HeaderLine() + "\n<e>w</e><t>1</t><c>m</c><g>"));
    TempFolder::WriteBytes(User() / "big.lx", std::string(kLargestReadableFile + 1, 'x'));
    TempFolder::WriteBytes(User() / "readme.txt", "not a library");
    MessageRecorder messages;
    const BackupOutcome made = MakeBackup(program, 1, base);
    ASSERT_TRUE(made.ok);

    const auto libraries = BackupLibraries(program, 1, made.name);
    struct Row {
        std::string file;
        bool readable;
        int words, studied, aboveZero;
        bool operator==(const Row&) const = default;
    };
    std::vector<Row> rows;
    for (const auto& l : libraries) rows.push_back({Utf8(l.file), l.readable, l.words, l.studied, l.aboveZero});
    const std::vector<Row> expected = {
        {"a.lx", true, 0, 0, 0},    {"b.lx", true, 5, 3, 3},      {"big.lx", false, 0, 0, 0},
        {"cut.lx", false, 0, 0, 0}, {"收藏库.lx", true, 1, 1, 1},
    };
    EXPECT_EQ(rows.size(), expected.size());
    for (size_t i = 0; i < std::min(rows.size(), expected.size()); ++i) {
        EXPECT_EQ(rows[i].file, expected[i].file);
        EXPECT_TRUE(rows[i] == expected[i]) << expected[i].file;
    }
    // Reading the list never puts a message in front of the learner.
    EXPECT_TRUE(messages.Texts().empty());
}

TEST_F(BackupTest, ARestoredBackupIsStudiedOnFromItsStateAfterTheCurrentStateIsKept) {
    const std::vector<Studied> taken = {{1, 2}, {0, 1}, {0, 0}};
    Library("lib.lx", taken);
    TempFolder::WriteBytes(User() / "收藏库.lx", ScrambleWhole("<editor>x</editor>\n"));
    const auto takenFiles = Files(User());
    const BackupOutcome kept = MakeBackup(program, 1, base);
    ASSERT_TRUE(kept.ok);

    // Study goes on after the backup; then a library is overwritten by an
    // old copy and a stray file appears.
    const std::vector<Studied> later = {{2, 5}, {1, 3}, {0, 2}};
    Library("lib.lx", later);
    const auto laterFiles = Files(User());
    Library("lib.lx", {{0, 0}, {0, 0}, {0, 0}});
    TempFolder::WriteBytes(User() / "stray.lx", "x");
    const auto damagedFiles = Files(User());

    const BackupOutcome restored = RestoreBackup(program, 1, kept.name, base + 3600);
    ASSERT_TRUE(restored.ok) << Utf8(restored.gbkError);
    EXPECT_EQ(Files(User()), takenFiles);
    EXPECT_EQ(Words(User() / "lib.lx").size(), taken.size());
    // The state replaced is itself a backup now, the newest.
    ASSERT_EQ(Names().size(), 2u);
    EXPECT_EQ(Names()[1], kept.name);
    EXPECT_EQ(Files(Backups() / Names()[0]), damagedFiles);
    EXPECT_TRUE(Leftovers().empty());

    // The learner studies on from the restored state and saves.
    Library("lib.lx", later);
    EXPECT_EQ(Files(User()), laterFiles);

    // All the files lost: nothing to keep, the backup comes back whole.
    fs::remove_all(User());
    const BackupOutcome again = RestoreBackup(program, 1, kept.name, base + 7200);
    ASSERT_TRUE(again.ok) << Utf8(again.gbkError);
    EXPECT_EQ(Files(User()), takenFiles);
    EXPECT_EQ(Names().size(), 2u);
}

TEST_F(BackupTest, TheStudyJournalIsBackedUpWholeWhileItIsWrittenAndRestored) {
    Library("lib.lx", {{0, 1}});
    const std::string lib = Gbk("lib");
    const fs::path file = User() / kJournalFileName;
    Journal journal;
    journal.Open(file, std::string(32, 'a'));
    for (int i = 0; i < 20; ++i) journal.RecordAnswer({base + i, lib, "w0", i % 2 == 0, "x", 2, 1.5});
    // The answers are still only in the log beside the journal.
    ASSERT_TRUE(fs::exists(User() / "journal.sqlite-wal"));

    const BackupOutcome made = MakeBackup(program, 1, base + 60);
    ASSERT_TRUE(made.ok) << Utf8(made.gbkError);
    const fs::path copy = Backups() / made.name / kJournalFileName;
    EXPECT_FALSE(fs::exists(Backups() / made.name / "journal.sqlite-wal"));
    {
        Journal backedUp;
        backedUp.Open(copy, std::string(32, 'b'));
        EXPECT_EQ(backedUp.Answers().size(), 20u);
    }

    // Later answers go; restoring brings back the twenty of the backup.
    for (int i = 0; i < 5; ++i) journal.RecordAnswer({base + 100 + i, lib, "w0", true, "", 2, 1.0});
    journal.Close();
    const BackupOutcome restored = RestoreBackup(program, 1, made.name, base + 3600);
    ASSERT_TRUE(restored.ok) << Utf8(restored.gbkError);
    journal.Open(file, std::string(32, 'a'));
    EXPECT_EQ(journal.Answers().size(), 20u);
}

TEST_F(BackupTest, RestoringTheOldestOfSevenKeepsIt) {
    Library("a.lx", {{0, 1}});
    for (int i = 0; i < kBackupsKept; ++i) ASSERT_TRUE(MakeBackup(program, 1, base + i * kDay).ok);
    const std::string oldest = Names().back();
    const BackupOutcome restored = RestoreBackup(program, 1, oldest, base + 10 * kDay);
    ASSERT_TRUE(restored.ok) << Utf8(restored.gbkError);
    const auto names = Names();
    EXPECT_EQ(names.size(), static_cast<size_t>(kBackupsKept));
    EXPECT_EQ(names.back(), oldest);
}

TEST_F(BackupTest, ABackupThatIsNotThereIsNotRestored) {
    Library("a.lx", {{0, 1}});
    const auto before = Files(User());
    for (const char* name : {"20261210-093005", "../users", "notes"}) {
        const BackupOutcome restored = RestoreBackup(program, 1, name, base);
        EXPECT_FALSE(restored.ok) << name;
        EXPECT_NE(Utf8(restored.gbkError).find("找不到这个备份"), std::string::npos) << name;
    }
    EXPECT_EQ(Files(User()), before);
    EXPECT_TRUE(Names().empty());
}

TEST_F(BackupTest, ABackupKilledMidwayLeavesNoHalfBackup) {
    Library("a.lx", {{0, 1}});
    Library("b.lx", {{1, 1}});
    Library("c.lx", {{2, 1}});
    EXPECT_EXIT(
        {
            SetBackupStepHook([](const char* step) {
                if (std::string(step) == "file") std::raise(SIGKILL);
            });
            MakeBackup(program, 1, base);
        },
        ::testing::KilledBySignal(SIGKILL), "");
    EXPECT_TRUE(Names().empty());
    EXPECT_FALSE(Leftovers().empty()) << "the killed copy should have left its temporary folder";
    EXPECT_TRUE(AutomaticBackupDue(program, 1, base));

    // The next backup clears the stopped one away and is whole.
    const BackupOutcome made = MakeBackup(program, 1, base + 60);
    ASSERT_TRUE(made.ok);
    EXPECT_EQ(Names(), std::vector<std::string>{made.name});
    EXPECT_EQ(Files(Backups() / made.name), Files(User()));
    EXPECT_TRUE(Leftovers().empty());
}

TEST_F(BackupTest, ARestoreKilledAtAnyStepLeavesOneWholeFolder) {
    Library("lib.lx", {{1, 1}});
    const auto backedUp = Files(User());
    const BackupOutcome kept = MakeBackup(program, 1, base);
    ASSERT_TRUE(kept.ok);
    Library("lib.lx", {{3, 9}, {0, 2}});
    const auto current = Files(User());

    // Before the swap the learner keeps the current files; once the old
    // folder is set aside the restore is finished.
    const struct {
        const char* step;
        bool restored;
    } cases[] = {{"file", false}, {"staged", false}, {"backed up", false}, {"set aside", true}, {"swapped", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.step);
        const std::string step = c.step;
        EXPECT_EXIT(
            {
                SetBackupStepHook([step](const char* at) {
                    if (step == at) std::raise(SIGKILL);
                });
                RestoreBackup(program, 1, kept.name, base + 3600);
            },
            ::testing::KilledBySignal(SIGKILL), "");
        std::string error;
        ASSERT_TRUE(FinishRestore(program, 1, &error)) << Utf8(error);
        EXPECT_EQ(Files(User()), c.restored ? backedUp : current);
        EXPECT_TRUE(Leftovers().empty());
        EXPECT_EQ(Names().back(), kept.name);
        // Back to the current files for the next case, the extra backups gone.
        fs::remove_all(User());
        fs::create_directories(User());
        Library("lib.lx", {{3, 9}, {0, 2}});
        for (const auto& name : Names())
            if (name != kept.name) fs::remove_all(Backups() / name);
    }
}

TEST_F(BackupTest, BackupsMoveWithTheirUsersAndADeletedUsersAreKeptAside) {
    // 管理员, alice (slot 1) and bob (slot 2), each with a backup of their
    // own library; slot 3 is free but holds backups an earlier user left.
    TManage manage;
    manage.user = {AdministratorName(), "alice", "bob"};
    for (int slot = 1; slot <= 2; ++slot) {
        fs::create_directories(User(slot));
        Library(slot == 1 ? "alice.lx" : "bob.lx", {{1, slot}}, slot);
        ASSERT_TRUE(MakeBackup(program, slot, base + slot).ok);
    }
    fs::create_directories(User(3));
    Library("old.lx", {{2, 2}}, 3);
    ASSERT_TRUE(MakeBackup(program, 3, base).ok);
    fs::remove_all(User(3));
    const auto alices = ListBackups(program, 1);
    const auto bobs = ListBackups(program, 2);
    const auto bobsFiles = Files(Backups(2) / bobs[0]);
    SetProgramFolder(program);
    ASSERT_TRUE(manage.SaveConfig());
    manage.LoadConfigFile(program);

    // alice is deleted, dave and erin added into slots 2 and 3; then the
    // table is saved.
    MessageRecorder messages;
    messages.answers = {kIdYes};
    std::vector<std::string> rows = ManageRows(manage);
    ASSERT_TRUE(DeleteUser(manage, rows, 1).done);
    ASSERT_TRUE(AddUser(manage, rows, "dave", "", "").done);
    ASSERT_TRUE(AddUser(manage, rows, "erin", "", "").done);
    ASSERT_TRUE(CommitUserTable(manage, program, "2026-12-10"));
    SetProgramFolder("");

    EXPECT_EQ(manage.user[1], "bob");
    EXPECT_EQ(ListBackups(program, 1), bobs);
    EXPECT_EQ(Files(Backups(1) / bobs[0]), bobsFiles);
    EXPECT_TRUE(ListBackups(program, 2).empty()) << "dave inherits nobody's backups";
    EXPECT_TRUE(ListBackups(program, 3).empty()) << "nor does erin in slot 3";
    const fs::path backups = folder.path() / "backups";
    EXPECT_TRUE(fs::exists(backups / "alice_2026-12-10" / alices[0] / "alice.lx"));
    EXPECT_TRUE(fs::exists(folder.path() / "users" / "alice_2026-12-10" / "alice.lx"));
    EXPECT_TRUE(fs::exists(backups / "user3_旧文件_2026-12-10"));
}

}  // namespace
