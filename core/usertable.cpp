#include "core/usertable.h"

#include <filesystem>
#include <optional>
#include <system_error>

#include "core/appmessage.h"
#include "core/gbktext.h"
#include "core/numbertext.h"
#include "core/safewrite.h"

namespace {

constexpr int kMaxUsers = kUserSlots;

bool IsNameInUse(const TManage& manage, const std::string& name) {
    for (const auto& used : manage.user)
        if (!used.empty() && used == name) return true;
    return false;
}

bool IsNameOfOtherSlot(const TManage& manage, int slot, const std::string& name) {
    for (int i = 0; i < kUserSlots; ++i)
        if (i != slot && manage.user[i] == name) return true;
    return false;
}

UserEditOutcome Refuse(const char* utf8Message, UserEditOutcome::Focus focus = UserEditOutcome::None,
                       bool clearPasswords = false) {
    ShowAppMessageUtf8(utf8Message);
    UserEditOutcome outcome;
    outcome.focus = focus;
    outcome.clearPasswords = clearPasswords;
    return outcome;
}

// "<" and ">" would make marks of init.ini's tag format. They are never a
// GBK trail byte, so a byte search finds exactly the characters.
bool HoldsFormatCharacter(const std::string& text) { return text.find_first_of("<>") != std::string::npos; }

// Names and passwords are written into init.ini as tag values.
std::optional<UserEditOutcome> RefuseFormatCharacters(const std::string& name, const std::string& password1,
                                                      const std::string& password2) {
    const bool inName = HoldsFormatCharacter(name);
    if (!inName && !HoldsFormatCharacter(password1) && !HoldsFormatCharacter(password2)) return std::nullopt;
    return Refuse("用户名和密码中不能有“<”或“>”，请换个写法",
                  inName ? UserEditOutcome::UserName : UserEditOutcome::Password1, !inName);
}

// A name of blanks only shows as an empty row.
bool IsBlankName(const std::string& name) { return TrimGbk(name).empty(); }

std::optional<UserEditOutcome> RefuseNameLength(const std::string& name) {
    if (name.size() <= kMaxUserNameBytes) return std::nullopt;
    return Refuse("用户名太长：最多8个汉字或16个字母，请换个短一些的名字", UserEditOutcome::UserName);
}

UserEditOutcome RefusePasswordMismatch() {
    return Refuse("两次输入的密码不相同，请重新输入密码", UserEditOutcome::Password1, true);
}

}  // namespace

std::string AdministratorName() { return Gbk("管理员"); }

void EnsureAdministrator(TManage& manage) {
    if (manage.user[0].empty()) manage.user[0] = AdministratorName();
}

std::vector<std::string> LoginRows(const TManage& manage) {
    std::vector<std::string> rows{manage.user[0]};
    for (int i = 1; i < kUserSlots; ++i)
        if (!manage.user[i].empty()) rows.push_back(manage.user[i]);
    return rows;
}

std::vector<std::string> ManageRows(const TManage& manage) {
    std::vector<std::string> rows;
    for (const auto& name : manage.user)
        if (!name.empty()) rows.push_back(name);
    return rows;
}

bool IsAutomaticLogin(const TManage& manage) { return LoginRows(manage).size() == 1 && manage.password[0].empty(); }

bool CheckLogin(const TManage& manage, int row, int rowCount, const std::string& typedPassword) {
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

std::string UserFolderOf(const std::string& gbkProgramFolder, int slot) {
    return gbkProgramFolder + "users\\user" + IntToStr(slot) + "\\";
}

void EnsureUserFolder(const std::string& gbkUserFolder) {
    std::error_code ignored;
    std::filesystem::create_directories(ToNativePath(gbkUserFolder), ignored);
}

std::string PrepareFavouritesFile(const std::string& gbkProgramFolder, const std::string& gbkUserFolder) {
    const std::string file = gbkUserFolder + Gbk("收藏库.lx");
    const auto target = ToNativePath(file);
    std::error_code ignored;
    if (!std::filesystem::exists(target, ignored)) {
        SafeCopyFile(ToNativePath(gbkProgramFolder + Gbk("wordlib\\收藏库.lx")), target);
    }
    return file;
}

UserEditOutcome AddUser(TManage& manage, std::vector<std::string>& rows, const std::string& name,
                        const std::string& password1, const std::string& password2) {
    if (auto refused = RefuseFormatCharacters(name, password1, password2)) return *refused;
    if (IsNameInUse(manage, name)) return Refuse("用户名已存在，请换个用户名");
    if (static_cast<int>(rows.size()) >= kMaxUsers) return Refuse("对不起，澜悦单词软件最多只支持六个用户");
    if (IsBlankName(name)) return Refuse("用户名不能为空", UserEditOutcome::UserName);
    if (auto refused = RefuseNameLength(name)) return *refused;
    if (password1 != password2) return RefusePasswordMismatch();

    rows.push_back(name);
    const int slot = static_cast<int>(rows.size()) - 1;
    manage.user[slot] = name;
    manage.password[slot] = password1;
    // A new user starts afresh: whatever an earlier user of this slot left
    // is set aside when the table is saved.
    manage.lastwordlib[slot].clear();
    manage.folderSlot[slot] = kNewUserFolder;
    UserEditOutcome outcome;
    outcome.done = true;
    outcome.selectRow = slot;
    return outcome;
}

UserEditOutcome ChangeUser(TManage& manage, std::vector<std::string>& rows, int selectedRow, const std::string& name,
                           const std::string& password1, const std::string& password2) {
    if (selectedRow < 0 || selectedRow >= static_cast<int>(rows.size()) || selectedRow >= kUserSlots)
        return Refuse("请选择一个用户", UserEditOutcome::UserName);
    if (auto refused = RefuseFormatCharacters(name, password1, password2)) return *refused;
    if (selectedRow == 0 && name != manage.user[0]) return Refuse("不能修改管理员用户名");
    if (password1 != password2) return RefusePasswordMismatch();
    // An empty name would drop the user from the lists but keep the
    // password; it is said so, not taken for the name of a free slot.
    if (IsBlankName(name)) return Refuse("用户名不能为空", UserEditOutcome::UserName);
    if (auto refused = RefuseNameLength(name)) return *refused;
    if (IsNameOfOtherSlot(manage, selectedRow, name)) return Refuse("用户名已存在，请换个用户名");

    manage.user[selectedRow] = name;
    // The password boxes never show the stored password: left empty, they
    // leave it as it is.
    if (!password1.empty()) manage.password[selectedRow] = password1;
    rows[selectedRow] = name;
    UserEditOutcome outcome;
    outcome.done = true;
    outcome.selectRow = selectedRow;
    return outcome;
}

bool CheckUserEditPassword(const TManage& manage, int row, const std::string& typedPassword) {
    if (row < 0 || row >= kUserSlots) return true;  // the edit itself asks for a row
    if (typedPassword == manage.password[row] || typedPassword == manage.password[0]) return true;
    ShowAppMessageUtf8("原密码不正确：修改或删除用户，要先输入该用户现在的密码或管理员的密码");
    return false;
}

UserEditOutcome DeleteUser(TManage& manage, std::vector<std::string>& rows, int selectedRow) {
    const int count = static_cast<int>(rows.size());
    if (selectedRow < 0 || selectedRow >= count || selectedRow >= kUserSlots) return Refuse("请选择一个要删除的用户");
    if (selectedRow == 0) return Refuse("不能删除管理员用户");
    const std::string& name = manage.user[selectedRow];
    if (ShowAppMessage(Gbk("确定要删除用户“") + name +
                           Gbk("”吗？\r\n\r\n删除后，该用户的词库、学习进度和收藏库将移到 users 文件夹中"
                               "以用户名和日期命名的文件夹里保存，进度备份移到 backups 文件夹中"
                               "同名的文件夹里，不会交给其他用户。"),
                       kMsgYesNoDefaultNo) != kIdYes) {
        return UserEditOutcome{};
    }

    // The current library is the last user's last library: keep it with
    // that user's slot before the slots move.
    const int last = manage.GetUserIndex();
    if (last >= 0 && last < kUserSlots) manage.lastwordlib[last] = manage.GetCurrentLibrary();
    if (manage.folderSlot[selectedRow] != kNewUserFolder)
        manage.deletedUsers.push_back({manage.folderSlot[selectedRow], name});

    for (int i = selectedRow; i <= count - 2; ++i) {
        manage.user[i] = manage.user[i + 1];
        manage.password[i] = manage.password[i + 1];
        manage.lastwordlib[i] = manage.lastwordlib[i + 1];
        manage.folderSlot[i] = manage.folderSlot[i + 1];
    }
    manage.user[count - 1].clear();
    manage.password[count - 1].clear();
    manage.lastwordlib[count - 1].clear();
    manage.folderSlot[count - 1] = kNewUserFolder;
    rows.erase(rows.begin() + selectedRow);

    // The last user keeps being preselected at the next login.
    if (last == selectedRow)
        manage.SetUserIndex(0);
    else if (last > selectedRow && last < count)
        manage.SetUserIndex(last - 1);
    manage.SetCurrentLibrary(manage.lastwordlib[manage.GetUserIndex()]);
    UserEditOutcome outcome;
    outcome.done = true;
    return outcome;
}
