#include "core/usertable.h"

#include <filesystem>
#include <system_error>

#include "core/apphelpers.h"
#include "core/gbktext.h"

namespace {

constexpr int kMaxUsers = kUserSlots;

bool IsNameInUse(const TManage& manage, const std::string& name)
{
    for (const auto& used : manage.user)
        if (!used.empty() && used == name) return true;
    return false;
}

bool IsNameOfOtherSlot(const TManage& manage, int slot, const std::string& name)
{
    for (int i = 0; i < kUserSlots; ++i)
        if (i != slot && manage.user[i] == name) return true;
    return false;
}

UserEditOutcome Refuse(const char* utf8Message, UserEditOutcome::Focus focus = UserEditOutcome::None,
                       bool clearPasswords = false)
{
    ShowAppMessageUtf8(utf8Message);
    UserEditOutcome outcome;
    outcome.focus = focus;
    outcome.clearPasswords = clearPasswords;
    return outcome;
}

UserEditOutcome RefusePasswordMismatch()
{
    return Refuse("两次输入的密码不相同，请重新输入密码", UserEditOutcome::Password1, true);
}

}  // namespace

std::string AdministratorName()
{
    return Gbk("管理员");
}

void EnsureAdministrator(TManage& manage)
{
    if (manage.user[0].empty()) manage.user[0] = AdministratorName();
}

std::vector<std::string> LoginRows(const TManage& manage)
{
    std::vector<std::string> rows{manage.user[0]};
    for (int i = 1; i < kUserSlots; ++i)
        if (!manage.user[i].empty()) rows.push_back(manage.user[i]);
    return rows;
}

std::vector<std::string> ManageRows(const TManage& manage)
{
    std::vector<std::string> rows;
    for (const auto& name : manage.user)
        if (!name.empty()) rows.push_back(name);
    return rows;
}

bool IsAutomaticLogin(const TManage& manage)
{
    return LoginRows(manage).size() == 1 && manage.password[0].empty();
}

bool CheckLogin(const TManage& manage, int row, int rowCount, const std::string& typedPassword)
{
    if (row < 0 || row >= rowCount || row >= kUserSlots) {
        ShowAppMessageUtf8("请选择一个用户");
        return false;
    }
    if (typedPassword != manage.password[row]) {
        ShowAppMessageUtf8("密码不正确");
        return false;
    }
    return true;
}

std::string UserFolderOf(const std::string& gbkProgramFolder, int slot)
{
    return gbkProgramFolder + "users\\user" + IntToStr(slot) + "\\";
}

void EnsureUserFolder(const std::string& gbkUserFolder)
{
    std::error_code ignored;
    std::filesystem::create_directories(ToNativePath(gbkUserFolder), ignored);
}

std::string PrepareFavouritesFile(const std::string& gbkProgramFolder, const std::string& gbkUserFolder)
{
    const std::string file = gbkUserFolder + Gbk("收藏库.lx");
    const auto target = ToNativePath(file);
    std::error_code ignored;
    if (!std::filesystem::exists(target, ignored)) {
        std::filesystem::copy_file(ToNativePath(gbkProgramFolder + Gbk("wordlib\\收藏库.lx")), target,
                                   std::filesystem::copy_options::overwrite_existing, ignored);
    }
    return file;
}

UserEditOutcome AddUser(TManage& manage, std::vector<std::string>& rows, const std::string& name,
                        const std::string& password1, const std::string& password2)
{
    if (IsNameInUse(manage, name)) return Refuse("用户名已存在，请换个用户名");
    if (static_cast<int>(rows.size()) >= kMaxUsers) return Refuse("对不起，澜悦单词软件最多只支持六个用户");
    if (name.empty()) return Refuse("用户名不能为空", UserEditOutcome::UserName);
    if (password1 != password2) return RefusePasswordMismatch();

    rows.push_back(name);
    const int slot = static_cast<int>(rows.size()) - 1;
    manage.user[slot] = name;
    manage.password[slot] = password1;
    UserEditOutcome outcome;
    outcome.done = true;
    outcome.selectRow = slot;
    return outcome;
}

UserEditOutcome ChangeUser(TManage& manage, std::vector<std::string>& rows, int selectedRow,
                           const std::string& name, const std::string& password1,
                           const std::string& password2)
{
    if (selectedRow < 0 || selectedRow >= static_cast<int>(rows.size()) || selectedRow >= kUserSlots)
        return Refuse("请选择一个用户", UserEditOutcome::UserName);
    if (selectedRow == 0 && name != manage.user[0]) return Refuse("不能修改管理员用户名");
    if (password1 != password2) return RefusePasswordMismatch();
    if (IsNameOfOtherSlot(manage, selectedRow, name)) return Refuse("用户名已存在，请换个用户名");
    // With all six slots in use no free slot catches an empty name above; an
    // empty name would drop the user from the lists but keep the password.
    if (name.empty()) return Refuse("用户名不能为空", UserEditOutcome::UserName);

    manage.user[selectedRow] = name;
    manage.password[selectedRow] = password1;
    rows[selectedRow] = name;
    UserEditOutcome outcome;
    outcome.done = true;
    outcome.selectRow = selectedRow;
    return outcome;
}

UserEditOutcome DeleteUser(TManage& manage, std::vector<std::string>& rows, int selectedRow)
{
    const int count = static_cast<int>(rows.size());
    if (selectedRow < 0 || selectedRow >= count || selectedRow >= kUserSlots)
        return Refuse("请选择一个要删除的用户");
    if (selectedRow == 0) return Refuse("不能删除管理员用户");

    for (int i = selectedRow; i <= count - 2; ++i) {
        manage.user[i] = manage.user[i + 1];
        manage.password[i] = manage.password[i + 1];
    }
    manage.user[count - 1].clear();
    manage.password[count - 1].clear();
    rows.erase(rows.begin() + selectedRow);
    UserEditOutcome outcome;
    outcome.done = true;
    return outcome;
}
