// The start window's login panel and the login step.

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <exception>
#include <optional>
#include <string>

#include "core/apphelpers.h"
#include "core/gbktext.h"
#include "core/usertable.h"
#include "shell/appwindows.h"
#include "shell/formstart.h"
#include "shell/startcontrols.h"
#include "study/formmain.h"

namespace {

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

}  // namespace

void TformStart::BuildPanelLogon()
{
    auto* layout = new QVBoxLayout(PanelLogon);
    layout->setContentsMargins(24, 14, 24, 14);
    layout->addWidget(NewPanelHeading("用户登录", PanelLogon));
    layout->addStretch(1);

    auto* form = new QGridLayout;
    form->addWidget(new QLabel(U("用户名"), PanelLogon), 0, 0);
    ComboUserList = new QComboBox(PanelLogon);
    ComboUserList->setObjectName("ComboUserList");
    form->addWidget(ComboUserList, 0, 1);
    form->addWidget(new QLabel(U("密　码"), PanelLogon), 1, 0);
    EditPassword = NewPasswordEdit("EditPassword", PanelLogon);
    form->addWidget(EditPassword, 1, 1);
    layout->addLayout(form);
    layout->addStretch(1);

    auto* buttons = new QHBoxLayout;
    suiButton12 = NewPanelButton("suiButton12", "确 定", PanelLogon);
    suiButton11 = NewPanelButton("suiButton11", "返 回", PanelLogon);
    buttons->addStretch(1);
    buttons->addWidget(suiButton12);
    buttons->addWidget(suiButton11);
    buttons->addStretch(1);
    layout->addLayout(buttons);

    connect(ComboUserList, &QComboBox::activated, this, [this](int) { ComboUserListClick(); });
    connect(EditPassword, &QLineEdit::returnPressed, this, &TformStart::suiButton12Click);
    connect(suiButton12, &QPushButton::clicked, this, &TformStart::suiButton12Click);
    connect(suiButton11, &QPushButton::clicked, this, &TformStart::suiButton11Click);
    connect(suiButton1, &QPushButton::clicked, this, &TformStart::suiButton1Click);
}

void TformStart::suiButton1Click()
{
    // A first start has no init.ini yet; its administrator still logs in.
    EnsureAdministrator(Manage);
    ComboUserList->clear();
    for (const auto& name : LoginRows(Manage)) ComboUserList->addItem(ScreenText(name));

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
    const int last = Manage.GetUserIndex();
    ComboUserList->setCurrentIndex(last >= 0 && last < ComboUserList->count() ? last : -1);
    BringToFront(PanelLogon);
    EditPassword->setFocus();
}

void TformStart::ComboUserListClick()
{
    const int row = ComboUserList->currentIndex();
    if (row >= 0) Manage.SetUserIndex(row);
    EditPassword->clear();
    EditPassword->setFocus();
}

void TformStart::suiButton12Click()
{
    const int row = ComboUserList->currentIndex();
    const auto typed = TypedGbk(EditPassword->text());
    if (!typed) {
        ShowAppMessageUtf8(row < 0 ? "请选择一个用户" : "密码不正确");
        return;
    }
    if (!CheckLogin(Manage, row, ComboUserList->count(), *typed)) return;

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

void TformStart::PrepareFavourites()
{
    if (!formMain) return;
    formMain->LoadUserFavourites(PrepareFavouritesFile(ProgramFolder, UserFolder));
}

void TformStart::suiButton11Click()
{
    BringToFront(PanelStart);
}

