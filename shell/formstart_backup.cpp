// The start window's progress backups: the user and password asked first,
// then that user's backups, newest first, with what each library held;
// "立即备份" makes one, "恢复" puts one in place of the user's folder. Also
// the automatic backup of a login.

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStringList>
#include <QVBoxLayout>
#include <algorithm>
#include <string>

#include "core/appmessage.h"
#include "core/backups.h"
#include "core/gbktext.h"
#include "core/numbertext.h"
#include "core/usertable.h"
#include "shell/formstart.h"
#include "shell/startcontrols.h"
#include "widgets/buttons.h"
#include "widgets/screentext.h"

namespace {

// "日语入门词汇：学过 12 词，0级以上 5 词（共 40 词）"
std::string LibraryLine(const BackupLibraryStats& library) {
    std::string name = library.file;
    if (name.size() > 3 && name.compare(name.size() - 3, 3, ".lx") == 0) name.resize(name.size() - 3);
    if (!library.readable) return name + Gbk("：无法读取");
    return name + Gbk("：学过 ") + IntToStr(library.studied) + Gbk(" 词，0级以上 ") + IntToStr(library.aboveZero) +
           Gbk(" 词（共 ") + IntToStr(library.words) + Gbk(" 词）");
}

}  // namespace

void TformStart::BuildBackupPanels() {
    auto* logon = new QVBoxLayout(PanelBackupLogon);
    logon->setContentsMargins(24, 14, 24, 14);
    logon->addWidget(NewPanelHeading("进度备份", PanelBackupLogon));
    auto* hint = new QLabel(U("请选择用户并输入密码，查看和恢复该用户的备份"), PanelBackupLogon);
    hint->setWordWrap(true);
    logon->addWidget(hint);
    logon->addStretch(1);
    logon->addLayout(NewUserPasswordForm(PanelBackupLogon, ComboBackupUser, "ComboBackupUser", EditBackupPassword,
                                         "EditBackupPassword"));
    logon->addStretch(1);
    ButtonBackupLogon = NewButton("ButtonBackupLogon", "确 定", PanelBackupLogon);
    ButtonBackupLogonReturn = NewButton("ButtonBackupLogonReturn", "返 回", PanelBackupLogon);
    logon->addLayout(NewButtonRow({ButtonBackupLogon, ButtonBackupLogonReturn}));

    auto* list = new QVBoxLayout(PanelBackup);
    list->setContentsMargins(10, 4, 10, 6);
    list->setSpacing(3);
    LabelBackupUser = NewPanelHeading("进度备份", PanelBackup);
    LabelBackupUser->setObjectName("LabelBackupUser");
    list->addWidget(LabelBackupUser);
    ListBackupList = new QListWidget(PanelBackup);
    ListBackupList->setObjectName("ListBackupList");
    list->addWidget(ListBackupList, 3);
    MemoBackupInfo = new QPlainTextEdit(PanelBackup);
    MemoBackupInfo->setObjectName("MemoBackupInfo");
    MemoBackupInfo->setReadOnly(true);
    list->addWidget(MemoBackupInfo, 2);
    ButtonBackupNow = NewButton("ButtonBackupNow", "立即备份", PanelBackup);
    ButtonRestore = NewButton("ButtonRestore", "恢复", PanelBackup);
    ButtonBackupReturn = NewButton("ButtonBackupReturn", "返 回", PanelBackup);
    list->addLayout(NewButtonRow({ButtonBackupNow, ButtonRestore, ButtonBackupReturn}));

    connect(suiButton3, &QPushButton::clicked, this, &TformStart::suiButton3Click);
    connect(ButtonBackupLogon, &QPushButton::clicked, this, &TformStart::ButtonBackupLogonClick);
    connect(EditBackupPassword, &QLineEdit::returnPressed, this, &TformStart::ButtonBackupLogonClick);
    connect(ComboBackupUser, &QComboBox::activated, this, [this](int) {
        EditBackupPassword->clear();
        EditBackupPassword->setFocus();
    });
    connect(ButtonBackupLogonReturn, &QPushButton::clicked, this, &TformStart::ButtonBackupReturnClick);
    connect(ListBackupList, &QListWidget::currentRowChanged, this, [this](int) { ListBackupListClick(); });
    connect(ButtonBackupNow, &QPushButton::clicked, this, &TformStart::ButtonBackupNowClick);
    connect(ButtonRestore, &QPushButton::clicked, this, &TformStart::ButtonRestoreClick);
    connect(ButtonBackupReturn, &QPushButton::clicked, this, &TformStart::ButtonBackupReturnClick);
}

void TformStart::suiButton3Click() {
    EnsureAdministrator(Manage);
    backupSlot_ = -1;
    // As at a login, a lone administrator without a password is not asked.
    if (IsAutomaticLogin(Manage)) {
        backupSlot_ = 0;
        ShowBackups();
        return;
    }
    FillLoginUsers(ComboBackupUser);
    EditBackupPassword->clear();
    BringToFront(PanelBackupLogon);
    EditBackupPassword->setFocus();
}

void TformStart::ButtonBackupLogonClick() {
    const int row = CheckedLoginRow(ComboBackupUser, EditBackupPassword);
    if (row < 0) return;
    // The password is not kept on screen for the next person.
    EditBackupPassword->clear();
    backupSlot_ = row;
    ShowBackups();
}

void TformStart::ShowBackups(const std::string& select) {
    std::string error;
    if (!FinishRestore(ProgramFolder, backupSlot_, &error)) ShowAppMessage(Gbk("上次的恢复没有完成：") + error);
    LabelBackupUser->setText(U("进度备份：") + Screen(Manage.user[backupSlot_]));
    backupNames_ = ListBackups(ProgramFolder, backupSlot_);
    ListBackupList->blockSignals(true);
    ListBackupList->clear();
    int selectRow = backupNames_.empty() ? -1 : 0;
    for (size_t i = 0; i < backupNames_.size(); ++i) {
        ListBackupList->addItem(Screen(BackupTimeText(backupNames_[i])));
        if (backupNames_[i] == select) selectRow = static_cast<int>(i);
    }
    ListBackupList->setCurrentRow(selectRow);
    ListBackupList->blockSignals(false);
    ListBackupListClick();
    BringToFront(PanelBackup);
}

void TformStart::ListBackupListClick() {
    const int row = ListBackupList->currentRow();
    if (row < 0 || row >= static_cast<int>(backupNames_.size())) {
        MemoBackupInfo->setPlainText(
            backupNames_.empty()
                ? U("还没有备份。按“立即备份”保存现在的进度；每天第一次登录时也会自动备份，保留最近七份。")
                : QString());
        return;
    }
    const auto libraries = BackupLibraries(ProgramFolder, backupSlot_, backupNames_[row]);
    QStringList lines;
    for (const auto& library : libraries) lines << Screen(LibraryLine(library));
    if (lines.isEmpty()) lines << U("这个备份里没有词库");
    MemoBackupInfo->setPlainText(lines.join('\n'));
}

void TformStart::ButtonBackupNowClick() {
    if (backupSlot_ < 0) return;
    const BackupOutcome made = MakeBackup(ProgramFolder, backupSlot_, backupClock());
    if (made.skipped) {
        ShowAppMessageUtf8("这个用户的文件夹里还没有词库和收藏库，没有可备份的进度");
        return;
    }
    if (!made.ok) {
        ShowAppMessage(Gbk("备份没有成功：") + made.gbkError);
        return;
    }
    ShowBackups(made.name);
}

void TformStart::ButtonRestoreClick() {
    const int row = ListBackupList->currentRow();
    if (backupSlot_ < 0 || row < 0 || row >= static_cast<int>(backupNames_.size())) {
        ShowAppMessageUtf8("请选择一个要恢复的备份");
        return;
    }
    const std::string name = backupNames_[row];
    const std::string when = BackupTimeText(name);
    // The library the learner studies last, when the backup does not hold
    // it, goes with the restore: they are told before, not at the login.
    const std::string studied =
        backupSlot_ == Manage.GetUserIndex() ? Manage.GetCurrentLibrary() : Manage.lastwordlib[backupSlot_];
    std::string goes;
    if (!studied.empty()) {
        const auto held = BackupLibraries(ProgramFolder, backupSlot_, name);
        const bool inBackup = std::any_of(held.begin(), held.end(),
                                          [&studied](const BackupLibraryStats& s) { return s.file == studied; });
        if (!inBackup)
            goes = Gbk("\r\n\r\n注意：这个备份里没有正在学习的词库“") + studied.substr(0, studied.size() - 3) +
                   Gbk("”，恢复后它将不在了（恢复前做的备份里还有它），下次登录时要重新选择词库。");
    }
    if (ShowAppMessage(Gbk("确定要把用户“") + Manage.user[backupSlot_] + Gbk("”的词库和收藏库恢复到 ") + when +
                           Gbk(" 的备份吗？现在的词库、学习进度和收藏库将被备份里的代替。\r\n\r\n"
                               "恢复前会先把现在的进度另做一个备份。") +
                           goes,
                       kMsgYesNoDefaultNo) != kIdYes)
        return;
    const BackupOutcome restored = RestoreBackup(ProgramFolder, backupSlot_, name, backupClock());
    if (!restored.ok) {
        ShowAppMessage(Gbk("恢复没有成功，现在的文件没有改动：\r\n") + restored.gbkError);
        ShowBackups(name);
        return;
    }
    ShowBackups(name);
    ShowAppMessage(Gbk("已恢复到 ") + when + Gbk(" 的进度，下次登录时从这里接着背单词。"));
}

void TformStart::ButtonBackupReturnClick() {
    backupSlot_ = -1;
    backupNames_.clear();
    ListBackupList->clear();
    MemoBackupInfo->clear();
    EditBackupPassword->clear();
    BringToFront(PanelStart);
}

void TformStart::AutomaticBackup(int slot) {
    std::string error;
    if (!FinishRestore(ProgramFolder, slot, &error)) {
        ShowAppMessage(Gbk("上次的恢复没有完成：") + error);
        return;
    }
    if (!AutomaticBackupDue(ProgramFolder, slot, backupClock())) return;
    const BackupOutcome made = MakeBackup(ProgramFolder, slot, backupClock());
    if (!made.ok && !made.skipped)
        ShowAppMessage(Gbk("自动备份学习进度没有成功：") + made.gbkError +
                       Gbk("\r\n\r\n这不影响背单词，下次登录时会再试。"));
}
