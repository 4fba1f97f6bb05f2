// The start window's user-management panel: adding, changing and deleting
// users, kept in memory until its "返回" saves the configuration.

#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <optional>
#include <string>
#include <vector>

#include "core/appmessage.h"
#include "core/gbktext.h"
#include "core/usermoves.h"
#include "core/usertable.h"
#include "shell/formstart.h"
#include "shell/startcontrols.h"
#include "widgets/buttons.h"
#include "widgets/screentext.h"

void TformStart::BuildPanelManage() {
    auto* layout = new QVBoxLayout(PanelManage);
    layout->setContentsMargins(8, 4, 8, 4);
    layout->setSpacing(3);
    layout->addWidget(NewPanelHeading("用户管理", PanelManage));

    auto* row = new QHBoxLayout;
    auto* listBox = new QGroupBox(U("用户列表"), PanelManage);
    auto* listLayout = new QVBoxLayout(listBox);
    listLayout->setContentsMargins(4, 2, 4, 4);
    ListUserList = new QListWidget(listBox);
    ListUserList->setObjectName("ListUserList");
    listLayout->addWidget(ListUserList);
    row->addWidget(listBox, 2);

    auto* infoBox = new QGroupBox(U("用户信息"), PanelManage);
    auto* info = new QGridLayout(infoBox);
    info->setContentsMargins(4, 2, 4, 4);
    info->setVerticalSpacing(2);
    EditUserName = new QLineEdit(infoBox);
    EditUserName->setObjectName("EditUserName");
    EditOldPassword = NewPasswordEdit("EditOldPassword", infoBox);
    EditOldPassword->setToolTip(U("修改或删除用户时，输入该用户现在的密码或管理员的密码"));
    EditPassword1 = NewPasswordEdit("EditPassword1", infoBox);
    EditPassword1->setToolTip(U("修改用户时留空，密码不变"));
    EditPassword2 = NewPasswordEdit("EditPassword2", infoBox);
    info->addWidget(new QLabel(U("用户名"), infoBox), 0, 0);
    info->addWidget(EditUserName, 0, 1, 1, 3);
    info->addWidget(new QLabel(U("原密码"), infoBox), 1, 0);
    info->addWidget(EditOldPassword, 1, 1, 1, 3);
    info->addWidget(new QLabel(U("密　码"), infoBox), 2, 0);
    info->addWidget(EditPassword1, 2, 1, 1, 3);
    info->addWidget(new QLabel(U("重复密码"), infoBox), 3, 0);
    info->addWidget(EditPassword2, 3, 1, 1, 3);
    suiButton9 = NewButton("suiButton9", "增加", infoBox);
    suiButton23 = NewButton("suiButton23", "修改", infoBox);
    suiButton10 = NewButton("suiButton10", "删除", infoBox);
    suiButton24 = NewButton("suiButton24", "返回", infoBox);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {suiButton9, suiButton23, suiButton10, suiButton24}) {
        b->setMinimumWidth(0);
        b->setFixedWidth(40);
        buttons->addWidget(b);
    }
    info->addLayout(buttons, 4, 0, 1, 4);
    row->addWidget(infoBox, 3);
    layout->addLayout(row, 1);

    Label20 =
        new QLabel(U("澜悦单词支持多用户在同一台电脑上背单词。预设了六个用户，而相互间不干扰。你可以自己修改用户信息。"
                     "如果只有管理员一个用户，且密码为空，背单词无需身份验证"),
                   PanelManage);
    Label20->setObjectName("Label20");
    Label20->setWordWrap(true);
    QFont small = Label20->font();
    small.setPixelSize(11);
    Label20->setFont(small);
    layout->addWidget(Label20);

    // A click on a row, also on the selected one, and moving with the keys.
    connect(ListUserList, &QListWidget::itemClicked, this, [this] { ListUserListClick(); });
    connect(ListUserList, &QListWidget::itemSelectionChanged, this, [this] {
        if (!fillingUserList_) ListUserListClick();
    });
    connect(suiButton9, &QPushButton::clicked, this, &TformStart::suiButton9Click);
    connect(suiButton23, &QPushButton::clicked, this, &TformStart::suiButton23Click);
    connect(suiButton10, &QPushButton::clicked, this, &TformStart::suiButton10Click);
    connect(suiButton24, &QPushButton::clicked, this, &TformStart::suiButton24Click);
    connect(suiButton2, &QPushButton::clicked, this, &TformStart::suiButton2Click);
}

void TformStart::FillUserList(const std::vector<std::string>& rows) {
    fillingUserList_ = true;
    ListUserList->clear();
    for (const auto& name : rows) ListUserList->addItem(Screen(name));
    fillingUserList_ = false;
}

std::vector<std::string> TformStart::UserListRows() const {
    std::vector<std::string> rows;
    for (int i = 0; i < ListUserList->count(); ++i)
        rows.push_back(TypedGbk(ListUserList->item(i)->text()).value_or(""));
    return rows;
}

void TformStart::suiButton2Click() {
    EnsureAdministrator(Manage);
    BringToFront(PanelManage);
    FillUserList(ManageRows(Manage));
}

void TformStart::ListUserListClick() {
    const int row = ListUserList->currentRow();
    if (row < 0 || row >= kUserSlots || ListUserList->selectedItems().isEmpty()) return;
    EditUserName->setText(ListUserList->item(row)->text());
    // A stored password is never put on screen, not even masked: the boxes
    // would hand it to whoever sits at the keyboard.
    EditOldPassword->clear();
    EditPassword1->clear();
    EditPassword2->clear();
}

bool TformStart::UserEditAuthorised() {
    // Text GBK cannot hold is no stored password; a NUL byte matches none.
    const std::optional<std::string> typed = TypedGbk(EditOldPassword->text());
    if (CheckUserEditPassword(Manage, SelectedUserRow(), typed.value_or(std::string(1, '\0')))) return true;
    EditOldPassword->clear();
    EditOldPassword->setFocus();
    return false;
}

void TformStart::ApplyUserEdit(const UserEditOutcome& outcome, const std::vector<std::string>& rows) {
    if (outcome.done) {
        FillUserList(rows);
        if (outcome.selectRow >= 0) {
            fillingUserList_ = true;
            ListUserList->setCurrentRow(outcome.selectRow);
            fillingUserList_ = false;
        }
    }
    if (outcome.clearPasswords) {
        EditPassword1->clear();
        EditPassword2->clear();
    }
    if (outcome.focus == UserEditOutcome::UserName) EditUserName->setFocus();
    if (outcome.focus == UserEditOutcome::Password1) EditPassword1->setFocus();
}

int TformStart::SelectedUserRow() const {
    return ListUserList->selectedItems().isEmpty() ? -1 : ListUserList->currentRow();
}

namespace {

// The three edits as GBK; text GBK cannot hold is refused before any check.
bool ReadUserEdits(const QLineEdit* name, const QLineEdit* pw1, const QLineEdit* pw2, std::string& gbkName,
                   std::string& gbkPw1, std::string& gbkPw2) {
    const auto n = TypedGbk(name->text());
    const auto p1 = TypedGbk(pw1->text());
    const auto p2 = TypedGbk(pw2->text());
    if (!n || !p1 || !p2) {
        ShowAppMessageUtf8("用户名和密码中有无法保存的字符，请换个写法");
        return false;
    }
    gbkName = *n;
    gbkPw1 = *p1;
    gbkPw2 = *p2;
    return true;
}

}  // namespace

void TformStart::suiButton9Click() {
    std::string name, pw1, pw2;
    if (!ReadUserEdits(EditUserName, EditPassword1, EditPassword2, name, pw1, pw2)) return;
    auto rows = UserListRows();
    ApplyUserEdit(AddUser(Manage, rows, name, pw1, pw2), rows);
}

void TformStart::suiButton23Click() {
    std::string name, pw1, pw2;
    if (!ReadUserEdits(EditUserName, EditPassword1, EditPassword2, name, pw1, pw2)) return;
    if (!UserEditAuthorised()) return;
    auto rows = UserListRows();
    const auto outcome = ChangeUser(Manage, rows, SelectedUserRow(), name, pw1, pw2);
    ApplyUserEdit(outcome, rows);
    if (outcome.done) {
        EditOldPassword->clear();
        EditPassword1->clear();
        EditPassword2->clear();
    }
}

void TformStart::suiButton10Click() {
    if (!UserEditAuthorised()) return;
    auto rows = UserListRows();
    const auto outcome = DeleteUser(Manage, rows, SelectedUserRow());
    ApplyUserEdit(outcome, rows);
    if (outcome.done) {
        ListUserList->clearSelection();
        EditOldPassword->clear();
    }
}

void TformStart::suiButton24Click() {
    // The table and the user folders are saved together; when that fails
    // (the message says why) the edits stay here to be saved again.
    if (!CommitUserTable(Manage, ProgramFolder, TodayText())) return;
    BringToFront(PanelStart);
}
