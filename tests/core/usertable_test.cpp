#include "core/usertable.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "core/gbktext.h"
#include "message_recorder.h"
#include "temp_folder.h"

namespace {

class UserTableTest : public ::testing::Test {
protected:
    void Reset()
    {
        manage.user = {};
        manage.password = {};
        manage.lastwordlib = {};
        rows.clear();
    }

    // Slots 0..n-1 named u0.. with passwords p0.., libraries lib0...
    void UseSlots(int n)
    {
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

TEST_F(UserTableTest, LoginRowsAlwaysHoldSlotZeroAndDecideAutomaticLogin)
{
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

TEST_F(UserTableTest, EnsureAdministratorKeepsAStoredName)
{
    manage.user[0] = "boss";
    EnsureAdministrator(manage);
    EXPECT_EQ(manage.user[0], "boss");
}

TEST_F(UserTableTest, LoginComparesPasswordsByteForByte)
{
    UseSlots(3);
    manage.password[2] = "Secret";
    struct Case {
        int row;
        const char* typed;
        bool accepted;
        const char* message;
    } cases[] = {
        {2, "Secret", true, nullptr},
        {2, "secret", false, "密码不正确"},
        {2, "Secret ", false, "密码不正确"},
        {0, "p0", true, nullptr},
        {0, "", false, "密码不正确"},
        {-1, "p0", false, "请选择一个用户"},
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

TEST_F(UserTableTest, UserFolderIsProgramFolderPlusSlot)
{
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

TEST_F(UserTableTest, AddUserChecksInOrder)
{
    const AddCase cases[] = {
        {"name taken beats full table", 6, "u1", "a", "b", "用户名已存在，请换个用户名", UserEditOutcome::None, false},
        {"administrator name taken", 2, "管理员", "", "", "用户名已存在，请换个用户名", UserEditOutcome::None, false},
        {"full table beats empty name", 6, "", "a", "b", "对不起，澜悦单词软件最多只支持六个用户", UserEditOutcome::None, false},
        {"empty name beats passwords", 3, "", "a", "b", "用户名不能为空", UserEditOutcome::UserName, false},
        {"passwords differ", 3, "new", "a", "b", "两次输入的密码不相同，请重新输入密码", UserEditOutcome::Password1, true},
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

TEST_F(UserTableTest, AddedUserTakesTheNextSlotWithItsOldLibrary)
{
    UseSlots(2);
    const auto outcome = AddUser(manage, rows, "new", "pw", "pw");
    EXPECT_TRUE(outcome.done);
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(outcome.selectRow, 2);
    EXPECT_EQ(rows.back(), "new");
    EXPECT_EQ(manage.user[2], "new");
    EXPECT_EQ(manage.password[2], "pw");
    EXPECT_EQ(manage.lastwordlib[2], "lib2.lx");
}

TEST_F(UserTableTest, FirstUserAddedOnAFreshConfigurationIsNotTheAdministrator)
{
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

TEST_F(UserTableTest, ChangeUserChecksInOrder)
{
    const ChangeCase cases[] = {
        {"no row", 3, -1, "x", "a", "b", "请选择一个用户", UserEditOutcome::UserName, false},
        {"administrator renamed", 3, 0, "boss", "a", "b", "不能修改管理员用户名", UserEditOutcome::None, false},
        {"passwords differ", 3, 1, "u2", "a", "b", "两次输入的密码不相同，请重新输入密码", UserEditOutcome::Password1, true},
        {"name of another user", 3, 1, "u2", "a", "a", "用户名已存在，请换个用户名", UserEditOutcome::None, false},
        {"empty name while a slot is free", 3, 1, "", "a", "a", "用户名已存在，请换个用户名", UserEditOutcome::None, false},
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

TEST_F(UserTableTest, ChangeStoresNameAndPassword)
{
    UseSlots(3);
    ASSERT_TRUE(ChangeUser(manage, rows, 0, AdministratorName(), "root", "root").done);
    EXPECT_EQ(manage.password[0], "root");

    const auto outcome = ChangeUser(manage, rows, 2, "renamed", "new", "new");
    ASSERT_TRUE(outcome.done);
    EXPECT_EQ(outcome.selectRow, 2);
    EXPECT_EQ(manage.user[2], "renamed");
    EXPECT_EQ(manage.password[2], "new");
    EXPECT_EQ(rows[2], "renamed");

    // Keeping one's own name is no clash.
    EXPECT_TRUE(ChangeUser(manage, rows, 1, "u1", "", "").done);
    EXPECT_TRUE(Messages().empty());
}

TEST_F(UserTableTest, DeleteRefusesWithoutRowAndForTheAdministrator)
{
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

TEST_F(UserTableTest, DeleteShiftsNamesAndPasswordsButNotLibrariesOrIndex)
{
    UseSlots(5);
    manage.userindex = 4;
    ASSERT_TRUE(DeleteUser(manage, rows, 2).done);
    EXPECT_TRUE(Messages().empty());
    EXPECT_EQ(rows, (std::vector<std::string>{AdministratorName(), "u1", "u3", "u4"}));
    EXPECT_EQ(manage.user[2], "u3");
    EXPECT_EQ(manage.password[2], "p3");
    EXPECT_EQ(manage.user[3], "u4");
    EXPECT_EQ(manage.password[3], "p4");
    EXPECT_EQ(manage.user[4], "");
    EXPECT_EQ(manage.password[4], "");
    EXPECT_EQ(manage.lastwordlib[2], "lib2.lx");
    EXPECT_EQ(manage.lastwordlib[4], "lib4.lx");
    EXPECT_EQ(manage.userindex, 4);
    EXPECT_EQ(ManageRows(manage), rows);

    ASSERT_TRUE(DeleteUser(manage, rows, 3).done);  // the last row
    EXPECT_EQ(manage.user[3], "");
    EXPECT_EQ(rows.size(), 3u);
}

class FavouritesFileTest : public ::testing::Test {
protected:
    std::filesystem::path Root() const { return temp.path(); }
    // The program folder as the program holds it: GBK with its separator.
    std::string Folder() const { return FromNativePath(temp.path()) + "/"; }

    TempFolder temp;
    MessageRecorder recorder;
};

TEST_F(FavouritesFileTest, FirstLoginCopiesTheTemplateLaterLoginsKeepTheirOwn)
{
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

TEST_F(FavouritesFileTest, MissingTemplateOrFolderLeavesNoFileAndNoMessage)
{
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
