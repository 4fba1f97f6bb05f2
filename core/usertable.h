#pragma once
// The rules of the user table: which users the login and management lists
// show, the password check, and adding, changing and deleting users. Users
// live in the six slots of TManage; the slots in use always form the run
// 0..n-1, so a list row is a slot number. Every refusal is shown through
// ShowAppMessage; the window only carries out the focus and clearing the
// outcome asks for. Texts are GBK.

#include <string>
#include <vector>

#include "core/manage.h"

// The administrator's name, as every saved configuration holds it.
std::string AdministratorName();

// A configuration without any users (the first start) still has its
// administrator: slot 0 gets the name every save gives it anyway, so the
// lists show it and a user added next lands in slot 1.
void EnsureAdministrator(TManage& manage);

// Rows of the login drop-down: slot 0 always, then each used slot 1..5.
std::vector<std::string> LoginRows(const TManage& manage);
// Rows of the management list: the used slots 0..5 in slot order.
std::vector<std::string> ManageRows(const TManage& manage);
// Starting to study needs no login when the administrator is the only user
// and has no password.
bool IsAutomaticLogin(const TManage& manage);

// The password check of the login step for drop-down row `row` (-1 when no
// row is selected). False after "密码不正确", or after "请选择一个用户" when
// no row is selected. Passwords compare byte for byte.
bool CheckLogin(const TManage& manage, int row, int rowCount, const std::string& typedPassword);

// The data folder of slot N: programFolder + "users\userN\".
std::string UserFolderOf(const std::string& gbkProgramFolder, int slot);
// Creates the folder when it is missing, so the learner's progress can be
// saved. Failures are left to the writers, which report them.
void EnsureUserFolder(const std::string& gbkUserFolder);
// The user's favourites file (userFolder + "收藏库.lx"); on a first login it
// is copied from the template programFolder + "wordlib\收藏库.lx". A failed
// copy is not reported: the favourites then stay empty and unsaved.
std::string PrepareFavouritesFile(const std::string& gbkProgramFolder, const std::string& gbkUserFolder);

// What the management panel does after a button.
struct UserEditOutcome {
    enum Focus { None, UserName, Password1 };
    bool done = false;            // the table changed
    Focus focus = None;           // control to focus afterwards
    bool clearPasswords = false;  // empty both password boxes
    int selectRow = -1;           // row to select afterwards (-1: leave it)
};

// The longest user name in GBK bytes: 8 Chinese characters or 16 letters.
// The login drop-down and the management list show that much at the start
// window's width, and the name also names the folder a deleted user's
// files are set aside in.
inline constexpr std::size_t kMaxUserNameBytes = 16;

// Changing or deleting the user of `row` takes that user's current
// password or the administrator's (`typedPassword`, in the box "原密码"),
// so no learner can take over another's account. False after a message.
bool CheckUserEditPassword(const TManage& manage, int row, const std::string& typedPassword);

// `rows` is the management list; it is changed together with the slots.
// Adding and changing refuse, before any other check, a name or password
// holding "<" or ">" (the marks of init.ini's format); they refuse a name
// of blanks only as an empty one, and one longer than kMaxUserNameBytes.
// Changing with both password boxes empty keeps the password.
// An added user gets an empty last library and, at the next save, a clean
// folder.
UserEditOutcome AddUser(TManage& manage, std::vector<std::string>& rows, const std::string& name,
                        const std::string& password1, const std::string& password2);
UserEditOutcome ChangeUser(TManage& manage, std::vector<std::string>& rows, int selectedRow, const std::string& name,
                           const std::string& password1, const std::string& password2);
// Asks (Yes/No, naming the user) before deleting. Later users move down one
// slot with their names, passwords, last libraries and (at the next save,
// through TManage::folderSlot) their folders; the deleted user's folder is
// set aside then. The user index follows its user (the administrator when
// that user is the one deleted).
UserEditOutcome DeleteUser(TManage& manage, std::vector<std::string>& rows, int selectedRow);
