// Saving an edited user table moves the user folders with their users:
// through the real table edits, the real folders and init.ini, and real
// processes killed between any two steps of a save.

#include "core/usermoves.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "core/appmessage.h"
#include "core/gbktext.h"
#include "core/programfolder.h"
#include "core/usertable.h"
#include "support/message_recorder.h"
#include "support/temp_folder.h"

namespace fs = std::filesystem;

namespace {

const std::string kDate = "2026-12-10";

class UserMovesTest : public ::testing::Test {
public:
    void SetUp() override {
        gbkFolder = FromNativePath(folder.path()) + "/";
        SetProgramFolder(gbkFolder);
    }
    void TearDown() override {
        SetProgramFolder("");
        SetUserMoveStepHook({});
    }

    // Users 管理员 and `names` in slots 0.., each with a folder holding a
    // file that names its owner and a last library named after them; saved.
    void Install(const std::vector<std::string>& names) {
        manage = TManage();
        std::vector<std::string> all{"admin"};
        all.insert(all.end(), names.begin(), names.end());
        for (size_t i = 0; i < all.size(); ++i) {
            manage.user[i] = i == 0 ? AdministratorName() : all[i];
            manage.password[i] = "pw-" + all[i];
            manage.lastwordlib[i] = all[i] + ".lx";
            PutOwnFile(Users() / ("user" + std::to_string(i)), all[i]);
        }
        ASSERT_TRUE(manage.SaveConfig());
        Reload();
    }
    void Reload() {
        manage = TManage();
        manage.LoadConfigFile(gbkFolder);
        rows = ManageRows(manage);
    }
    static void PutOwnFile(const fs::path& dir, const std::string& owner) {
        fs::create_directories(dir);
        TempFolder::WriteBytes(dir / "own.txt", owner);
    }
    fs::path Users() const { return folder / "users"; }
    // The owners of every folder under users/, however it is named.
    std::multiset<std::string> AllOwners() const {
        std::multiset<std::string> owners;
        for (const auto& entry : fs::directory_iterator(Users())) {
            const std::string owner = OwnerOf(entry.path().filename().string());
            if (!owner.empty()) owners.insert(owner);
        }
        return owners;
    }
    // The owner named in a folder's file, "" for an empty or missing folder.
    std::string OwnerOf(const std::string& name) const {
        const fs::path file = Users() / name / "own.txt";
        return fs::exists(file) ? TempFolder::ReadBytes(file) : "";
    }
    std::map<std::string, std::string> SetAside() const {
        std::map<std::string, std::string> aside;
        for (const auto& entry : fs::directory_iterator(Users())) {
            const std::string name = entry.path().filename().string();
            if (name.rfind("user", 0) != 0 || name.find('_') != std::string::npos) aside[name] = OwnerOf(name);
        }
        return aside;
    }
    void Delete(int row) {
        recorder.answers.push_back(kIdYes);
        ASSERT_TRUE(DeleteUser(manage, rows, row).done);
    }
    void Add(const std::string& name) { ASSERT_TRUE(AddUser(manage, rows, name, "", "").done); }
    bool Commit() { return CommitUserTable(manage, gbkFolder, kDate); }
    // Every user of the saved table finds their own folder and library.
    void ExpectTableAndFoldersAgree(const std::string& context) {
        TManage saved;
        saved.LoadConfigFile(gbkFolder);
        for (int slot = 1; slot < kUserSlots; ++slot) {
            const std::string& user = saved.user[slot];
            const std::string owner = OwnerOf("user" + std::to_string(slot));
            if (owner.empty()) {
                // A free slot, or a user added since: nothing inherited.
                EXPECT_EQ(saved.lastwordlib[slot], "") << context << " slot " << slot;
                continue;
            }
            EXPECT_EQ(owner, user) << context << " slot " << slot;
            EXPECT_EQ(saved.lastwordlib[slot], user + ".lx") << context << " slot " << slot;
            EXPECT_EQ(saved.password[slot], "pw-" + user) << context << " slot " << slot;
        }
        EXPECT_FALSE(fs::exists(folder / "init.ini.moves")) << context;
        EXPECT_FALSE(fs::exists(folder / "init.ini.new")) << context;
    }

    TempFolder folder;
    std::string gbkFolder;
    MessageRecorder recorder;
    TManage manage;
    std::vector<std::string> rows;
};

TEST_F(UserMovesTest, DeletedUsersFolderIsSetAsideAndLaterUsersKeepTheirOwn) {
    Install({"alice", "bob", "carol"});
    manage.SetUserIndex(2);  // bob studied last
    manage.SetCurrentLibrary("bob.lx");

    Delete(1);
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].flags, kMsgYesNoDefaultNo);
    EXPECT_NE(recorder.shown[0].text.find("确定要删除用户“alice”吗？"), std::string::npos);
    EXPECT_FALSE(fs::exists(Users() / ("alice_" + kDate)));  // nothing moves before the save
    ASSERT_TRUE(Commit());

    ExpectTableAndFoldersAgree("after one deletion");
    EXPECT_EQ(OwnerOf("user1"), "bob");
    EXPECT_EQ(OwnerOf("user2"), "carol");
    EXPECT_TRUE(fs::is_directory(Users() / "user3"));
    EXPECT_TRUE(fs::is_empty(Users() / "user3"));
    EXPECT_EQ(SetAside(), (std::map<std::string, std::string>{{"alice_" + kDate, "alice"}}));
    TManage saved;
    saved.LoadConfigFile(gbkFolder);
    EXPECT_EQ(saved.GetUserIndex(), 1);  // bob is still preselected
    EXPECT_EQ(saved.GetCurrentLibrary(), "bob.lx");
    EXPECT_EQ(saved.lastwordlib[3], "");
    EXPECT_TRUE(recorder.shown.size() == 1u);
}

TEST_F(UserMovesTest, AnsweringNoDeletesNothing) {
    Install({"alice", "bob"});
    recorder.answers.push_back(kIdNo);
    EXPECT_FALSE(DeleteUser(manage, rows, 1).done);
    EXPECT_EQ(rows.size(), 3u);
    EXPECT_EQ(manage.user[1], "alice");
    ASSERT_TRUE(Commit());
    ExpectTableAndFoldersAgree("after No");
    EXPECT_EQ(OwnerOf("user1"), "alice");
    EXPECT_TRUE(SetAside().empty());
}

// Several edits before one save, each ending with every user in their own
// folder and every leftover set aside under a name of its own.
TEST_F(UserMovesTest, EditsBeforeOneSaveEndWithEveryoneInTheirOwnFolder) {
    struct Case {
        const char* name;
        std::vector<std::string> installed;
        std::function<void(UserMovesTest&)> edit;
        std::vector<std::string> owners;  // slots 1.. afterwards
        std::map<std::string, std::string> aside;
    };
    const std::string leftover = "user3_旧文件_" + kDate;  // as the disk names it
    const Case cases[] = {
        {"two deleted",
         {"a", "b", "c", "d"},
         [](UserMovesTest& t) {
             t.Delete(3);
             t.Delete(1);
         },
         {"b", "d", "", ""},
         {{"a_" + kDate, "a"}, {"c_" + kDate, "c"}}},
        {"added after a deletion starts clean",
         {"a", "b"},
         [](UserMovesTest& t) {
             t.Delete(1);
             t.Add("new");
         },
         {"b", "", "", ""},
         {{"a_" + kDate, "a"}}},
        {"added user moving down takes no one's folder",
         {"a", "b"},
         [](UserMovesTest& t) {
             t.Add("new");
             t.Delete(1);
         },
         {"b", "", "", ""},
         {{"a_" + kDate, "a"}}},
        {"deleted before saving, never had a folder",
         {"a"},
         [](UserMovesTest& t) {
             t.Add("x");
             t.Delete(2);
         },
         {"a", "", "", ""},
         {}},
        {"leftovers in a new user's slot are set aside",
         {"a", "b"},
         [](UserMovesTest& t) {
             PutOwnFile(t.Users() / "user3", "gone");
             t.manage.lastwordlib[3] = "gone.lx";
             t.Add("new");
         },
         {"a", "b", "", ""},
         {{leftover, "gone"}}},
        {"a name taken the same day gets a number",
         {"a", "b"},
         [](UserMovesTest& t) {
             PutOwnFile(t.Users() / ("a_" + kDate), "earlier a");
             t.Delete(1);
         },
         {"b", "", "", ""},
         {{"a_" + kDate, "earlier a"}, {"a_" + kDate + "_2", "a"}}},
        {"a name no folder can hold",
         {"a/..\\b:*?", "c"},
         [](UserMovesTest& t) { t.Delete(1); },
         {"c", "", "", ""},
         {{"a_.._b___" + std::string("_") + kDate, "a/..\\b:*?"}}},
    };
    for (const Case& c : cases) {
        fs::remove_all(folder.path());
        fs::create_directories(folder.path());
        Install(c.installed);
        c.edit(*this);
        ASSERT_TRUE(Commit()) << c.name;
        ExpectTableAndFoldersAgree(c.name);
        for (size_t i = 0; i < c.owners.size(); ++i)
            EXPECT_EQ(OwnerOf("user" + std::to_string(i + 1)), c.owners[i]) << c.name << " " << i;
        EXPECT_EQ(SetAside(), c.aside) << c.name;
        TManage saved;
        saved.LoadConfigFile(gbkFolder);
        for (int slot = 1; slot < kUserSlots; ++slot)
            if (saved.user[slot] == "new" || saved.user[slot].empty()) {
                EXPECT_EQ(saved.lastwordlib[slot], "") << c.name << " slot " << slot;
            }
    }
}

// The program killed between any two steps of the save: the next start
// finds a table that matches the folders, the old one (stopped before the
// journal was complete) or the new one.
TEST_F(UserMovesTest, KilledBetweenAnyTwoStepsTheNextStartAgrees) {
    for (int killAt = 0;; ++killAt) {
        const std::string context = "killed after step " + std::to_string(killAt);
        fs::remove_all(folder.path());
        fs::create_directories(folder.path());
        Install({"alice", "bob", "carol", "dave"});
        Delete(2);
        Add("erin");
        Delete(1);

        const pid_t child = fork();
        ASSERT_NE(child, -1);
        if (child == 0) {
            SetUserMoveStepHook([killAt](int step) {
                if (step == killAt) std::raise(SIGKILL);
            });
            if (killAt == 0) std::raise(SIGKILL);
            _exit(CommitUserTable(manage, gbkFolder, kDate) ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        const bool finished = WIFEXITED(status);
        if (finished) {
            ASSERT_EQ(WEXITSTATUS(status), 0) << context;
        } else {
            ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << context;
        }

        // The next start.
        ASSERT_TRUE(FinishUserMoves(gbkFolder)) << context;
        ExpectTableAndFoldersAgree(context);
        TManage started;
        started.LoadConfigFile(gbkFolder);
        const bool journalWritten = killAt >= 2 || finished;
        if (journalWritten) {
            EXPECT_EQ(started.user[1], "carol") << context;
            EXPECT_EQ(started.user[2], "dave") << context;
            EXPECT_EQ(started.user[3], "erin") << context;
            EXPECT_EQ(SetAside(),
                      (std::map<std::string, std::string>{{"alice_" + kDate, "alice"}, {"bob_" + kDate, "bob"}}))
                << context;
        } else {
            EXPECT_EQ(started.user[1], "alice") << context;
            EXPECT_EQ(started.user[4], "dave") << context;
            EXPECT_TRUE(SetAside().empty()) << context;
        }
        EXPECT_EQ(AllOwners(), (std::multiset<std::string>{"admin", "alice", "bob", "carol", "dave"})) << context;
        EXPECT_EQ(recorder.shown.size(), 2u) << context;  // the two questions only
        recorder.shown.clear();
        if (finished) break;
    }
}

// A rename that fails half-way puts back what was moved: the old table and
// folders stand, and the edits wait to be saved again.
TEST_F(UserMovesTest, FailedMoveLeavesTheOldTableAndFoldersAndTheEditsPending) {
    Install({"alice", "bob", "carol"});
    Delete(1);
    // Once alice's folder is set aside, bob's is taken away by someone else.
    SetUserMoveStepHook([this](int step) {
        if (step == 3) fs::rename(Users() / "user2", folder / "elsewhere");
    });
    recorder.shown.clear();
    EXPECT_FALSE(Commit());
    SetUserMoveStepHook({});
    ASSERT_EQ(recorder.shown.size(), 2u);
    EXPECT_NE(recorder.shown[0].text.find("无法把文件夹“users\\user2”移动为“users\\user1”"), std::string::npos);
    EXPECT_EQ(recorder.shown[1].text, "用户表没有保存，用户文件夹保持原样。");
    EXPECT_FALSE(fs::exists(folder / "init.ini.moves"));
    EXPECT_FALSE(fs::exists(folder / "init.ini.new"));
    TManage old;
    old.LoadConfigFile(gbkFolder);
    EXPECT_EQ(old.user[1], "alice");
    EXPECT_EQ(OwnerOf("user1"), "alice");
    EXPECT_EQ(OwnerOf("user3"), "carol");
    EXPECT_TRUE(SetAside().empty());

    fs::rename(folder / "elsewhere", Users() / "user2");
    recorder.shown.clear();
    ASSERT_TRUE(Commit());
    EXPECT_TRUE(recorder.shown.empty());
    ExpectTableAndFoldersAgree("saved again");
    EXPECT_EQ(OwnerOf("user1"), "bob");
}

// init.ini kept elsewhere through a link: the save that moves folders writes
// through the link, which stays a link.
TEST_F(UserMovesTest, LinkedInitIniIsWrittenThroughAndStaysALink) {
    Install({"alice", "bob"});
    const fs::path real = folder / "kept" / "init.ini";
    fs::create_directories(real.parent_path());
    fs::rename(folder / "init.ini", real);
    fs::create_symlink(real, folder / "init.ini");
    Delete(1);
    ASSERT_TRUE(Commit());
    EXPECT_TRUE(fs::is_symlink(folder / "init.ini"));
    ExpectTableAndFoldersAgree("through a link");
    EXPECT_EQ(OwnerOf("user1"), "bob");
    EXPECT_EQ((fs::status(real).permissions() & fs::perms::all), fs::perms::owner_read | fs::perms::owner_write);
}

// A write-protected init.ini is refused, named, before any folder moves;
// the next start has nothing to finish, and the edits wait to be saved.
TEST_F(UserMovesTest, WriteProtectedInitIniIsRefusedBeforeAnyFolderMoves) {
    Install({"alice", "bob"});
    const fs::path config = folder / "init.ini";
    fs::permissions(config, fs::perms::owner_read);
    Delete(1);
    recorder.shown.clear();
    EXPECT_FALSE(Commit());
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_NE(recorder.shown[0].text.find("init.ini"), std::string::npos) << recorder.shown[0].text;
    EXPECT_EQ(OwnerOf("user1"), "alice");
    EXPECT_EQ(OwnerOf("user2"), "bob");
    EXPECT_TRUE(SetAside().empty());
    EXPECT_FALSE(fs::exists(folder / "init.ini.moves"));
    EXPECT_FALSE(fs::exists(folder / "init.ini.new"));
    EXPECT_TRUE(FinishUserMoves(gbkFolder));
    TManage old;
    old.LoadConfigFile(gbkFolder);
    EXPECT_EQ(old.user[1], "alice");

    fs::permissions(config, fs::perms::owner_read | fs::perms::owner_write);
    recorder.shown.clear();
    ASSERT_TRUE(Commit());
    EXPECT_TRUE(recorder.shown.empty());
    ExpectTableAndFoldersAgree("saved once writable");
    EXPECT_EQ(OwnerOf("user1"), "bob");
}

}  // namespace
