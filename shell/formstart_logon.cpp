// The start window's login panel and the login step.

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <exception>
#include <optional>
#include <string>

#include "core/appmessage.h"
#include "core/gbktext.h"
#include "core/usertable.h"
#include "shell/appwindows.h"
#include "shell/formstart.h"
#include "shell/startcontrols.h"
#include "study/formmain.h"
#include "widgets/buttons.h"
#include "widgets/screentext.h"

void TformStart::BuildPanelLogon() {
    auto* layout = new QVBoxLayout(PanelLogon);
    layout->setContentsMargins(24, 14, 24, 14);
    layout->addWidget(NewPanelHeading("用户登录", PanelLogon));
    layout->addStretch(1);

    layout->addLayout(NewUserPasswordForm(PanelLogon, ComboUserList, "ComboUserList", EditPassword, "EditPassword"));
    layout->addStretch(1);
    suiButton12 = NewButton("suiButton12", "确 定", PanelLogon);
    suiButton11 = NewButton("suiButton11", "返 回", PanelLogon);
    layout->addLayout(NewButtonRow({suiButton12, suiButton11}));

    connect(ComboUserList, &QComboBox::activated, this, [this](int) { ComboUserListClick(); });
    connect(EditPassword, &QLineEdit::returnPressed, this, &TformStart::suiButton12Click);
    connect(suiButton12, &QPushButton::clicked, this, &TformStart::suiButton12Click);
    connect(suiButton11, &QPushButton::clicked, this, &TformStart::suiButton11Click);
    connect(suiButton1, &QPushButton::clicked, this, &TformStart::suiButton1Click);
}

void TformStart::suiButton1Click() {
    // A first start has no init.ini yet; its administrator still logs in.
    EnsureAdministrator(Manage);
    FillLoginUsers(ComboUserList);

    if (IsAutomaticLogin(Manage)) {
        UserFolder = UserFolderOf(ProgramFolder, 0);
        if (formMain) formMain->StartStudying();
        ComboUserList->setCurrentIndex(0);
        // A refused password typed earlier must not stop a login that asks
        // for none.
        EditPassword->clear();
        suiButton12Click();
        return;
    }
    BringToFront(PanelLogon);
    EditPassword->setFocus();
}

void TformStart::ComboUserListClick() {
    const int row = ComboUserList->currentIndex();
    if (row >= 0) Manage.SetUserIndex(row);
    EditPassword->clear();
    EditPassword->setFocus();
}

void TformStart::FillLoginUsers(QComboBox* combo) {
    combo->clear();
    for (const auto& name : LoginRows(Manage)) combo->addItem(Screen(name));
    const int last = Manage.GetUserIndex();
    combo->setCurrentIndex(last >= 0 && last < combo->count() ? last : -1);
}

int TformStart::CheckedLoginRow(const QComboBox* combo, const QLineEdit* password) {
    const int row = combo->currentIndex();
    const auto typed = TypedGbk(password->text());
    if (!typed) {
        ShowAppMessageUtf8(row < 0 ? "请选择一个用户" : "密码不正确");
        return -1;
    }
    return CheckLogin(Manage, row, combo->count(), *typed) ? row : -1;
}

void TformStart::suiButton12Click() {
    const int row = CheckedLoginRow(ComboUserList, EditPassword);
    if (row < 0) return;
    // Before anything of the user's is opened, so the copy is of the
    // files as they were saved.
    AutomaticBackup(row);
    SyncAtLogin(row);

    // A failure past the password test ends the login where it happened.
    try {
        Manage.SetUserIndex(row);
        Manage.SetCurrentLibrary(Manage.lastwordlib[row]);
        if (formMain) formMain->StartStudying();
        UserFolder = UserFolderOf(ProgramFolder, row);
        EnsureUserFolder(UserFolder);
        if (formMain) formMain->OpenLastWordLib(UserFolder);
        hide();
        PrepareFavourites();
        // The next learner at this computer must type their own password.
        EditPassword->clear();
    } catch (const std::exception&) {
    }
}

void TformStart::PrepareFavourites() {
    if (!formMain) return;
    formMain->LoadUserFavourites(PrepareFavouritesFile(ProgramFolder, UserFolder));
}

void TformStart::suiButton11Click() { BringToFront(PanelStart); }
