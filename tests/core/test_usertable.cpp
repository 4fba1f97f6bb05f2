// The user table: login rows and passwords, user folders, the checks of
// adding, changing and deleting users in their order, and the favourites
// file a first login copies.

#include "core/usertable.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "core/gbktext.h"
#include "support/message_recorder.h"
#include "support/temp_folder.h"

namespace {

class UserTableTest : public ::testing::Test {
protected:
    void Reset() {
        manage.user = {};
        manage.password = {};
        manage.lastwordlib = {};
        rows.clear();
    }

    // Slots 0..n-1 named u0.. with passwords p0.., libraries lib0...
    void UseSlots(int n) {
        for (int i = 0; i < n; ++i) {
            manage.user[i] = i == 0 ? AdministratorName() : "u" + std::to_string(i);
            manage.password[i] = "p" + std::to_string(i);
        }
        for (int i = 0; i < kUserSlots; ++i) manage.lastwordlib[i] = "lib" + std::to_string(i) + ".lx";
        rows = ManageRows(manage);
    }

    std::vector<std::string> Messages() const { return recorder.Texts(); }

    TManage manage;
    std::vector<std::string> rows;
    MessageRecorder recorder;
};

TEST_F(UserTableTest, LoginRowsAlwaysHoldSlotZeroAndDecideAutomaticLogin) {
    EXPECT_EQ(LoginRows(manage), std::vector<std::string>{""});
    EXPECT_TRUE(IsAutomaticLogin(manage));

    EnsureAdministrator(manage);
    EXPECT_EQ(LoginRows(manage), std::vector<std::string>{AdministratorName()});
    EXPECT_TRUE(IsAutomaticLogin(manage));

    manage.password[0] = "x";
    EXPECT_FALSE(IsAutomaticLogin(manage));

    manage.password[0].clear();
    manage.user[2] = "late";  // rows follow the used slots, not their count
    EXPECT_EQ(LoginRows(manage), (std::vector<std::string>{AdministratorName(), "late"}));
    EXPECT_FALSE(IsAutomaticLogin(manage));
    EXPECT_TRUE(Messages().empty());
}

TEST_F(UserTableTest, EnsureAdministratorKeepsAStoredName) {
    manage.user[0] = "boss";
    EnsureAdministrator(manage);
    EXPECT_EQ(manage.user[0], "boss");
}

TEST_F(UserTableTest, LoginComparesPasswordsByteForByte) {
    UseSlots(3);
    manage.password[2] = "Secret";
    struct Case {
        int row;
        const char* typed;
        bool accepted;
        const char* message;
    } cases[] = {
        {2, "Secret", true, nullptr},     {2, "secret", false, "密码不正确"}, {2, "Secret ", false, "密码不正确"},
        {0, "p0", true, nullptr},         {0, "", false, "密码不正确"},       {-1, "p0", false, "请选择一个用户"},
        {3, "", false, "请选择一个用户"},
    };
    for (const auto& c : cases) {
        recorder.shown.clear();
        EXPECT_EQ(CheckLogin(manage, c.row, 3, c.typed), c.accepted) << c.row << c.typed;
        if (c.message)
            EXPECT_EQ(Messages(), std::vector<std::string>{c.message}) << c.row << c.typed;
        else
            EXPECT_TRUE(Messages().empty()) << c.row << c.typed;
    }
}

TEST_F(UserTableTest, UserFolderIsProgramFolderPlusSlot) {
    EXPECT_EQ(UserFolderOf("D:\\a b\\", 0), "D:\\a b\\users\\user0\\");
    EXPECT_EQ(UserFolderOf("/p/", 5), "/p/users\\user5\\");
}

struct AddCase {
    const char* name;
    int usedSlots;
    const char* userName;
    const char* pw1;
    const char* pw2;
    const char* message;
    UserEditOutcome::Focus focus;
    bool clears;
};

TEST_F(UserTableTest, AddUserChecksInOrder) {
    const char* marks = "用户名和密码中不能有“<”或“>”，请换个写法";
    const AddCase cases[] = {
        {"format mark in name beats taken name", 6, "u1<", "a", "a", marks, UserEditOutcome::UserName, false},
        {"password making a user", 3, "new", "<user2>x</user2>", "<user2>x</user2>", marks, UserEditOutcome::Password1,
         true},
        {"mark only in the repeat", 3, "new", "pa", "pa>", marks, UserEditOutcome::Password1, true},
        {"name taken beats full table", 6, "u1", "a", "b", "用户名已存在，请换个用户名", UserEditOutcome::None, false},
        {"administrator name taken", 2, "管理员", "", "", "用户名已存在，请换个用户名", UserEditOutcome::None, false},
        {"full table beats empty name", 6, "", "a", "b", "对不起，澜悦单词软件最多只支持六个用户",
         UserEditOutcome::None, false},
        {"empty name beats passwords", 3, "", "a", "b", "用户名不能为空", UserEditOutcome::UserName, false},
        {"blanks only are an empty name", 3, "  \t ", "a", "a", "用户名不能为空", UserEditOutcome::UserName, false},
        {"name past its limit", 3, "一二三四五六七八九", "a", "a",
         "用户名太长：最多8个汉字或16个字母，请换个短一些的名字", UserEditOutcome::UserName, false},
        {"passwords differ", 3, "new", "a", "b", "两次输入的密码不相同，请重新输入密码", UserEditOutcome::Password1,
         true},
    };
    for (const auto& c : cases) {
        Reset();
        UseSlots(c.usedSlots);
        const auto beforeUsers = manage.user;
        const auto beforePasswords = manage.password;
        recorder.shown.clear();
        const auto outcome = AddUser(manage, rows, Gbk(c.userName), c.pw1, c.pw2);
        EXPECT_FALSE(outcome.done) << c.name;
        EXPECT_EQ(Messages(), std::vector<std::string>{c.message}) << c.name;
        EXPECT_EQ(outcome.focus, c.focus) << c.name;
        EXPECT_EQ(outcome.clearPasswords, c.clears) << c.name;
        EXPECT_EQ(manage.user, beforeUsers) << c.name;
        EXPECT_EQ(manage.password, beforePasswords) << c.name;
        EXPECT_EQ(rows.size(), static_cast<size_t>(c.usedSlots)) << c.name;
    }
}

TEST_F(UserTableTest, AddedUserTakesTheNextSlotWithNothingOfAnEarlierUser) {
    UseSlots(2);
    const auto outcome = AddUser(manage, rows, "new", "pw", "pw");
    EXPECT_TRUE(outcome.done);
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(outcome.selectRow, 2);
    EXPECT_EQ(rows.back(), "new");
    EXPECT_EQ(manage.user[2], "new");
    EXPECT_EQ(manage.password[2], "pw");
    EXPECT_EQ(manage.lastwordlib[2], "");
    EXPECT_EQ(manage.folderSlot[2], kNewUserFolder);  // a clean folder at the next save
    EXPECT_EQ(manage.folderSlot[1], 1);
}

TEST_F(UserTableTest, FirstUserAddedOnAFreshConfigurationIsNotTheAdministrator) {
    EnsureAdministrator(manage);
    rows = ManageRows(manage);
    ASSERT_TRUE(AddUser(manage, rows, "bob", "", "").done);
    EXPECT_EQ(manage.user[0], AdministratorName());
    EXPECT_EQ(manage.user[1], "bob");
}

struct ChangeCase {
    const char* name;
    int usedSlots;
    int row;
    const char* userName;
    const char* pw1;
    const char* pw2;
    const char* message;
    UserEditOutcome::Focus focus;
    bool clears;
};

TEST_F(UserTableTest, ChangeUserChecksInOrder) {
    const char* marks = "用户名和密码中不能有“<”或“>”，请换个写法";
    const ChangeCase cases[] = {
        {"no row", 3, -1, "x", "a", "b", "请选择一个用户", UserEditOutcome::UserName, false},
        {"mark in name beats the administrator's", 3, 0, "<boss>", "a", "b", marks, UserEditOutcome::UserName, false},
        {"password cut by its own closing mark", 3, 1, "u1", "pa</password1>ss", "pa</password1>ss", marks,
         UserEditOutcome::Password1, true},
        {"administrator renamed", 3, 0, "boss", "a", "b", "不能修改管理员用户名", UserEditOutcome::None, false},
        {"passwords differ", 3, 1, "u2", "a", "b", "两次输入的密码不相同，请重新输入密码", UserEditOutcome::Password1,
         true},
        {"name of another user", 3, 1, "u2", "a", "a", "用户名已存在，请换个用户名", UserEditOutcome::None, false},
        {"empty name while a slot is free", 3, 1, "", "a", "a", "用户名不能为空", UserEditOutcome::UserName, false},
        {"blanks only", 3, 1, "   ", "a", "a", "用户名不能为空", UserEditOutcome::UserName, false},
        {"seventeen letters", 3, 1, "abcdefghijklmnopq", "a", "a",
         "用户名太长：最多8个汉字或16个字母，请换个短一些的名字", UserEditOutcome::UserName, false},
        {"empty name with all six in use", 6, 3, "", "a", "a", "用户名不能为空", UserEditOutcome::UserName, false},
    };
    for (const auto& c : cases) {
        Reset();
        UseSlots(c.usedSlots);
        const auto beforeUsers = manage.user;
        const auto beforePasswords = manage.password;
        recorder.shown.clear();
        const auto outcome = ChangeUser(manage, rows, c.row, c.userName, c.pw1, c.pw2);
        EXPECT_FALSE(outcome.done) << c.name;
        EXPECT_EQ(Messages(), std::vector<std::string>{c.message}) << c.name;
        EXPECT_EQ(outcome.focus, c.focus) << c.name;
        EXPECT_EQ(outcome.clearPasswords, c.clears) << c.name;
        EXPECT_EQ(manage.user, beforeUsers) << c.name;
        EXPECT_EQ(manage.password, beforePasswords) << c.name;
        EXPECT_EQ(rows, ManageRows(manage)) << c.name;
    }
}

TEST_F(UserTableTest, ChangeStoresNameAndPassword) {
    UseSlots(3);
    ASSERT_TRUE(ChangeUser(manage, rows, 0, AdministratorName(), "root", "root").done);
    EXPECT_EQ(manage.password[0], "root");

    const auto outcome = ChangeUser(manage, rows, 2, "renamed", "new", "new");
    ASSERT_TRUE(outcome.done);
    EXPECT_EQ(outcome.selectRow, 2);
    EXPECT_EQ(manage.user[2], "renamed");
    EXPECT_EQ(manage.password[2], "new");
    EXPECT_EQ(rows[2], "renamed");

    // Keeping one's own name is no clash; empty password boxes keep the
    // password, as they never show it.
    EXPECT_TRUE(ChangeUser(manage, rows, 1, "u1", "", "").done);
    EXPECT_EQ(manage.password[1], "p1");
    // The longest name there is room for.
    EXPECT_TRUE(ChangeUser(manage, rows, 1, Gbk("一二三四五六七八"), "", "").done);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(UserTableTest, ChangingOrDeletingTakesTheUsersOrTheAdministratorsPassword) {
    struct Case {
        const char* name;
        int row;
        const char* typed;
        bool allowed;
    };
    const Case cases[] = {
        {"the user's own", 2, "p2", true},
        {"the administrator's", 2, "p0", true},
        {"another user's", 2, "p1", false},
        {"nothing typed", 2, "", false},
        {"the administrator's own", 0, "p0", true},
        {"a user's for the administrator", 0, "p1", false},
        {"no row: the edit asks for one", -1, "", true},
    };
    for (const Case& c : cases) {
        Reset();
        UseSlots(3);
        recorder.shown.clear();
        EXPECT_EQ(CheckUserEditPassword(manage, c.row, c.typed), c.allowed) << c.name;
        EXPECT_EQ(Messages().size(), c.allowed ? 0u : 1u) << c.name;
    }
    // A user without a password is anyone's to change, as at the login.
    Reset();
    UseSlots(3);
    manage.password[1].clear();
    EXPECT_TRUE(CheckUserEditPassword(manage, 1, ""));
}

TEST_F(UserTableTest, DeleteRefusesWithoutRowAndForTheAdministrator) {
    UseSlots(3);
    const struct {
        int row;
        const char* message;
    } cases[] = {{-1, "请选择一个要删除的用户"}, {3, "请选择一个要删除的用户"}, {0, "不能删除管理员用户"}};
    for (const auto& c : cases) {
        recorder.shown.clear();
        EXPECT_FALSE(DeleteUser(manage, rows, c.row).done);
        EXPECT_EQ(Messages(), std::vector<std::string>{c.message});
        EXPECT_EQ(rows.size(), 3u);
    }
}

TEST_F(UserTableTest, DeleteAsksThenMovesLaterUsersDownWithTheirLibrariesAndFolders) {
    UseSlots(5);
    manage.SetUserIndex(4);
    manage.SetCurrentLibrary("studied4.lx");

    recorder.answers = {kIdNo};
    EXPECT_FALSE(DeleteUser(manage, rows, 2).done);
    ASSERT_EQ(recorder.shown.size(), 1u);
    EXPECT_EQ(recorder.shown[0].flags, kMsgYesNoDefaultNo);
    EXPECT_EQ(recorder.shown[0].text,
              "确定要删除用户“u2”吗？\r\n\r\n删除后，该用户的词库、学习进度和收藏库将移到 users 文件夹中"
              "以用户名和日期命名的文件夹里保存，进度备份移到 backups 文件夹中"
              "同名的文件夹里，不会交给其他用户。");
    EXPECT_EQ(rows.size(), 5u);
    EXPECT_EQ(manage.user[2], "u2");

    recorder.answers = {kIdYes};
    ASSERT_TRUE(DeleteUser(manage, rows, 2).done);
    EXPECT_EQ(rows, (std::vector<std::string>{AdministratorName(), "u1", "u3", "u4"}));
    const std::vector<std::string> users(manage.user.begin(), manage.user.end());
    const std::vector<std::string> passwords(manage.password.begin(), manage.password.end());
    const std::vector<std::string> libraries(manage.lastwordlib.begin(), manage.lastwordlib.end());
    const std::vector<int> folders(manage.folderSlot.begin(), manage.folderSlot.end());
    EXPECT_EQ(users, (std::vector<std::string>{AdministratorName(), "u1", "u3", "u4", "", ""}));
    EXPECT_EQ(passwords, (std::vector<std::string>{"p0", "p1", "p3", "p4", "", ""}));
    EXPECT_EQ(libraries, (std::vector<std::string>{"lib0.lx", "lib1.lx", "lib3.lx", "studied4.lx", "", "lib5.lx"}));
    EXPECT_EQ(folders, (std::vector<int>{0, 1, 3, 4, kNewUserFolder, 5}));
    ASSERT_EQ(manage.deletedUsers.size(), 1u);
    EXPECT_EQ(manage.deletedUsers[0].folderSlot, 2);
    EXPECT_EQ(manage.deletedUsers[0].name, "u2");
    EXPECT_EQ(manage.GetUserIndex(), 3);  // the last user moved down
    EXPECT_EQ(manage.GetCurrentLibrary(), "studied4.lx");

    recorder.answers = {kIdYes};
    ASSERT_TRUE(DeleteUser(manage, rows, 3).done);  // the last user itself
    EXPECT_EQ(manage.user[3], "");
    EXPECT_EQ(manage.lastwordlib[3], "");
    EXPECT_EQ(manage.GetUserIndex(), 0);
    EXPECT_EQ(manage.GetCurrentLibrary(), "lib0.lx");
    EXPECT_EQ(rows.size(), 3u);
    EXPECT_EQ(ManageRows(manage), rows);
}

class FavouritesFileTest : public ::testing::Test {
protected:
    std::filesystem::path Root() const { return temp.path(); }
    // The program folder as the program holds it: GBK with its separator.
    std::string Folder() const { return FromNativePath(temp.path()) + "/"; }

    TempFolder temp;
    MessageRecorder recorder;
};

TEST_F(FavouritesFileTest, FirstLoginCopiesTheTemplateLaterLoginsKeepTheirOwn) {
    std::filesystem::create_directories(Root() / "wordlib");
    TempFolder::WriteBytes(Root() / "wordlib" / "收藏库.lx", "template");
    const std::string userFolder = UserFolderOf(Folder(), 1);
    EnsureUserFolder(userFolder);
    ASSERT_TRUE(std::filesystem::is_directory(Root() / "users" / "user1"));

    const std::string file = PrepareFavouritesFile(Folder(), userFolder);
    EXPECT_EQ(file, userFolder + Gbk("收藏库.lx"));
    const auto own = Root() / "users" / "user1" / "收藏库.lx";
    EXPECT_EQ(TempFolder::ReadBytes(own), "template");

    TempFolder::WriteBytes(own, "mine");
    PrepareFavouritesFile(Folder(), userFolder);
    EXPECT_EQ(TempFolder::ReadBytes(own), "mine");
    EXPECT_TRUE(recorder.shown.empty());
}

TEST_F(FavouritesFileTest, MissingTemplateOrFolderLeavesNoFileAndNoMessage) {
    const std::string userFolder = UserFolderOf(Folder(), 2);
    const auto own = Root() / "users" / "user2" / "收藏库.lx";
    PrepareFavouritesFile(Folder(), userFolder);  // folder not made
    EXPECT_FALSE(std::filesystem::exists(own));
    EnsureUserFolder(userFolder);
    PrepareFavouritesFile(Folder(), userFolder);  // no template
    EXPECT_FALSE(std::filesystem::exists(own));
    EXPECT_TRUE(recorder.shown.empty());
}

}  // namespace
