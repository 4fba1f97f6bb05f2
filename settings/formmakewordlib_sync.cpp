// The sync page: the learner's WebDAV server (address, account, app
// password), whether their progress syncs by itself, "测试连接" and
// "立即同步", and how the last sync went. The password goes to the
// desktop's key store (or, where there is none, to an owner-only file in
// the user's configuration folder, which the page then says).

#include <QCheckBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/appmessage.h"
#include "core/gbktext.h"
#include "core/manage.h"
#include "platform/passwordstore.h"
#include "settings/formmakewordlib.h"
#include "shell/learnersync.h"
#include "widgets/buttons.h"
#include "widgets/screentext.h"

void TformMakeWordLib::BuildSyncPage() {
    auto* page = static_cast<QVBoxLayout*>(PanelSync->layout());
    auto* form = new QFormLayout;
    EditSyncAddress = new QLineEdit(PanelSync);
    EditSyncAddress->setObjectName("EditSyncAddress");
    EditSyncAddress->setPlaceholderText("https://dav.jianguoyun.com/dav/");
    EditSyncAccount = new QLineEdit(PanelSync);
    EditSyncAccount->setObjectName("EditSyncAccount");
    EditSyncPassword = new QLineEdit(PanelSync);
    EditSyncPassword->setObjectName("EditSyncPassword");
    EditSyncPassword->setEchoMode(QLineEdit::Password);
    form->addRow(U("服务器地址："), EditSyncAddress);
    form->addRow(U("账号："), EditSyncAccount);
    form->addRow(U("应用密码："), EditSyncPassword);
    page->addLayout(form);

    CheckBoxSyncEnabled = new QCheckBox(U("登录、返回和退出时自动同步"), PanelSync);
    CheckBoxSyncEnabled->setObjectName("CheckBoxSyncEnabled");
    page->addWidget(CheckBoxSyncEnabled);
    LabelSyncPasswordPlace = new QLabel(PanelSync);
    LabelSyncPasswordPlace->setObjectName("LabelSyncPasswordPlace");
    LabelSyncPasswordPlace->setWordWrap(true);
    page->addWidget(LabelSyncPasswordPlace);
    LabelSyncLast = new QLabel(PanelSync);
    LabelSyncLast->setObjectName("LabelSyncLast");
    LabelSyncLast->setWordWrap(true);
    page->addWidget(LabelSyncLast, 1);

    ButtonSyncTest = NewButton("ButtonSyncTest", "测试连接", PanelSync);
    ButtonSyncNow = NewButton("ButtonSyncNow", "立即同步", PanelSync);
    ButtonSyncReturn = NewButton("PanelSyncReturn", "返 回", PanelSync);
    auto* row = EdgeButtonRow(ButtonSyncTest, ButtonSyncReturn);
    row->insertWidget(1, ButtonSyncNow);
    page->addLayout(row);

    connect(ButtonSyncTest, &QPushButton::clicked, this, [this] { ButtonSyncTestClick(); });
    connect(ButtonSyncNow, &QPushButton::clicked, this, [this] { ButtonSyncNowClick(); });
    connect(ButtonSyncReturn, &QPushButton::clicked, this, [this] { ButtonSyncReturnClick(); });
}

int TformMakeWordLib::SyncSlot() const { return manage_ ? manage_->GetUserIndex() : -1; }

std::string TformMakeWordLib::SyncProgramFolder() const { return programFolder_; }

void TformMakeWordLib::TurnToSyncPage() {
    const int slot = SyncSlot();
    if (slot < 0 || programFolder_.empty()) {
        ShowAppMessageUtf8("请先登录");
        return;
    }
    const SyncSettings settings = LoadSyncSettings(SyncProgramFolder(), slot);
    EditSyncAddress->setText(Screen(settings.address));
    EditSyncAccount->setText(Screen(settings.account));
    EditSyncPassword->clear();
    CheckBoxSyncEnabled->setChecked(settings.enabled);
    ShowSyncState(settings, settings.address.empty() ? nullptr : &settings);
    BringToFront(PanelSync);
    EditSyncAddress->setFocus();
}

void TformMakeWordLib::ShowSyncState(const SyncSettings& settings, const SyncSettings* stored) {
    if (stored) {
        const StoredPassword password = ReadSyncPassword(SyncPasswordKey(*stored));
        if (!password.found) {
            LabelSyncPasswordPlace->setText(U("还没有保存密码。"));
        } else if (password.inKeyStore) {
            LabelSyncPasswordPlace->setText(U("密码保存在系统的密钥库中（不改就不用再填）。"));
        } else {
            LabelSyncPasswordPlace->setText(
                U("没有可用的系统密钥库，密码保存在只有您能读取的文件 %1 中（不改就不用再填）。")
                    .arg(PasswordFallbackFile()));
        }
    } else {
        LabelSyncPasswordPlace->setText(U("密码会保存在系统的密钥库中，不写进程序的任何文件。"));
    }
    LabelSyncLast->setText(
        settings.lastTime.empty()
            ? U("还没有同步过。")
            : U("上次同步：%1\n%2").arg(Screen(settings.lastTime), ScreenLines(settings.lastResult)));
}

bool TformMakeWordLib::TakeSyncSettings(QString* password) {
    const int slot = SyncSlot();
    if (slot < 0) return false;
    const auto address = TypedGbk(EditSyncAddress->text().trimmed());
    const auto account = TypedGbk(EditSyncAccount->text().trimmed());
    if (!address || !account) {
        ShowAppMessageUtf8("服务器地址和账号里有无法保存的字符");
        return false;
    }
    SyncSettings settings = LoadSyncSettings(SyncProgramFolder(), slot);
    const bool sameServer = settings.address == *address && settings.account == *account;
    if (!address->empty()) {
        if (const std::string bad = CheckSyncAddress(*address); !bad.empty()) {
            ShowAppMessage(bad);
            EditSyncAddress->setFocus();
            return false;
        }
    } else if (CheckBoxSyncEnabled->isChecked()) {
        ShowAppMessageUtf8("请填写服务器地址，例如 https://dav.jianguoyun.com/dav/");
        EditSyncAddress->setFocus();
        return false;
    }
    // Another server or account is another folder: the learner is looked
    // up there afresh.
    if (!sameServer) settings.learnerId.clear();
    settings.address = *address;
    settings.account = *account;
    settings.enabled = CheckBoxSyncEnabled->isChecked();
    if (!SaveSyncSettings(SyncProgramFolder(), slot, settings)) return false;

    const QString typed = EditSyncPassword->text();
    if (!typed.isEmpty()) {
        bool saved = false;
        StoreSyncPassword(SyncPasswordKey(settings), typed, &saved);
        if (!saved) ShowAppMessageUtf8("密码没能保存，这次同步照常进行，下次请再填一次");
        EditSyncPassword->clear();
    }
    if (password) *password = typed.isEmpty() ? ReadSyncPassword(SyncPasswordKey(settings)).password : typed;
    ShowSyncState(settings, settings.address.empty() ? nullptr : &settings);
    return true;
}

void TformMakeWordLib::ButtonSyncTestClick() {
    QString password;
    if (!TakeSyncSettings(&password)) return;
    SyncLearner(this, SyncProgramFolder(), SyncSlot(), manage_->user[static_cast<size_t>(SyncSlot())],
                SyncMoment::TestOnly, &password);
}

void TformMakeWordLib::ButtonSyncNowClick() {
    QString password;
    if (!TakeSyncSettings(&password)) return;
    const int slot = SyncSlot();
    // What is being studied goes to the disk first, so it is what travels;
    // what came from the server is then what the study window shows.
    emit syncStarting();
    const SyncOutcome outcome = SyncLearner(this, SyncProgramFolder(), slot, manage_->user[static_cast<size_t>(slot)],
                                            SyncMoment::Now, &password);
    if (!outcome.replacedHere.empty()) emit learnerFilesReplaced();
    const SyncSettings settings = LoadSyncSettings(SyncProgramFolder(), slot);
    ShowSyncState(settings, settings.address.empty() ? nullptr : &settings);
}

void TformMakeWordLib::ButtonSyncReturnClick() {
    if (!TakeSyncSettings(nullptr)) return;
    BringToFront(PanelSetup);
}
