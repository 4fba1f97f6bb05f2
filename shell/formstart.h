#pragma once
// The start window: the first window the learner sees, the owner of the
// configuration store, and the only way out of the program ("退出系统").
// Three panels of the same size lie on top of each other: PanelStart,
// PanelLogon and PanelManage; an action brings one of them to the front.

#include <QWidget>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "core/manage.h"
#include "core/usertable.h"

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QStackedLayout;
class TitleBar;

class TformStart : public QWidget {
    Q_OBJECT
public:
    // The program folder is worked out from the executable's path.
    explicit TformStart(QWidget* parent = nullptr);
    // With the program folder given (GBK, trailing separator).
    explicit TformStart(std::string gbkProgramFolder, QWidget* parent = nullptr);
    // The same with only the start panel built, so that the window can be
    // shown sooner: the program's own start calls BuildOtherPanels once the
    // window is drawn and before any key or click reaches it.
    struct StartPanelFirst {};
    TformStart(std::string gbkProgramFolder, StartPanelFirst);
    // The login, user-management and backup panels, behind the start
    // panel; nothing when they are already there.
    void BuildOtherPanels();

    static constexpr int kWidth = 343;
    static constexpr int kHeight = 270;

    // exitAllowed := false; load the configuration from the program folder.
    void FormCreate();
    void suiButton5Click();  // "导入词库": the settings window's import page
    void suiButton6Click();  // "系统帮助": the help file in the desktop's viewer
    void suiButton4Click();  // "退出系统"; closing the window does the same

    // Login (PanelLogon).
    void suiButton1Click();     // "开始背单词"
    void ComboUserListClick();  // a user picked: becomes the user index at once
    void suiButton12Click();    // "确 定" and Enter in EditPassword: the login step
    void suiButton11Click();    // "返 回"
    // The favourites of the user just logged in, made from the template on
    // a first login.
    void PrepareFavourites();

    // User management (PanelManage); changes stay in memory until "返回".
    void suiButton2Click();  // "用户管理"
    void ListUserListClick();
    void suiButton9Click();   // "增加"
    void suiButton23Click();  // "修改"
    void suiButton10Click();  // "删除"
    void suiButton24Click();  // "返回": save the configuration

    // Progress backups (PanelBackupLogon, then PanelBackup). A user's
    // backups are shown only after that user's password, as at a login.
    void suiButton3Click();          // "进度备份"
    void ButtonBackupLogonClick();   // "确 定" and Enter in EditBackupPassword
    void ListBackupListClick();      // a backup picked: its libraries shown
    void ButtonBackupNowClick();     // "立即备份"
    void ButtonRestoreClick();       // "恢复"
    void ButtonBackupReturnClick();  // "返 回" on either backup panel
    // At a login: backs the user's folder up when the newest backup is a
    // day old. A failure is shown once and never stops the login.
    void AutomaticBackup(int slot);
    // The learner's sync with their WebDAV server, where they turned it on:
    // at a login before the study window opens, after "返  回" saved, and
    // on "退出系统" when the last learner's files were not synced since
    // their last save. A failure is shown and study goes on.
    void SyncAtLogin(int slot);
    void SyncAfterStudy();
    void SyncBeforeExit();
    // The time backups are named by; tests set it.
    std::function<std::time_t()> backupClock = [] { return std::time(nullptr); };
    // The slot whose backups PanelBackup shows (-1 before a password).
    int BackupSlot() const { return backupSlot_; }

    void BringToFront(QWidget* panel);
    QWidget* FrontPanel() const;
    // What the study window asks of this window: the heading, which its
    // title strip repeats (null before the start panel is built), and the
    // start panel in front when the learner leaves the study.
    QString Heading() const;
    void TurnToStartPanel();

    TManage Manage;
    std::string ProgramFolder;  // GBK, with its trailing separator
    std::string UserFolder;     // set at every login
    bool exitAllowed = false;

    TitleBar* titleBar = nullptr;
    QFrame* PanelStart = nullptr;
    QFrame* PanelLogon = nullptr;
    QFrame* PanelManage = nullptr;
    QFrame* PanelBackupLogon = nullptr;
    QFrame* PanelBackup = nullptr;

    QLabel* LabelVersion = nullptr;
    QPushButton* suiButton1 = nullptr;  // "开始背单词"
    QPushButton* suiButton2 = nullptr;  // "用户管理"
    QPushButton* suiButton6 = nullptr;  // "系统帮助"
    QPushButton* suiButton4 = nullptr;  // "退出系统"
    QPushButton* suiButton3 = nullptr;  // "进度备份"
    QPushButton* suiButton5 = nullptr;  // "导入词库"
    QLabel* Label14 = nullptr;

    QComboBox* ComboUserList = nullptr;
    QLineEdit* EditPassword = nullptr;   // masked
    QPushButton* suiButton12 = nullptr;  // "确 定"
    QPushButton* suiButton11 = nullptr;  // "返 回"

    QListWidget* ListUserList = nullptr;
    QLineEdit* EditUserName = nullptr;
    QLineEdit* EditOldPassword = nullptr;  // masked: the user's or the administrator's, to change or delete
    QLineEdit* EditPassword1 = nullptr;    // masked
    QLineEdit* EditPassword2 = nullptr;    // masked, the repeat
    QPushButton* suiButton9 = nullptr;     // "增加"
    QPushButton* suiButton23 = nullptr;    // "修改"
    QPushButton* suiButton10 = nullptr;    // "删除"
    QPushButton* suiButton24 = nullptr;    // "返回"
    QLabel* Label20 = nullptr;

    QComboBox* ComboBackupUser = nullptr;
    QLineEdit* EditBackupPassword = nullptr;         // masked
    QPushButton* ButtonBackupLogon = nullptr;        // "确 定"
    QPushButton* ButtonBackupLogonReturn = nullptr;  // "返 回"
    QLabel* LabelBackupUser = nullptr;               // whose backups
    QListWidget* ListBackupList = nullptr;           // newest first
    QPlainTextEdit* MemoBackupInfo = nullptr;        // the picked backup's libraries
    QPushButton* ButtonBackupNow = nullptr;          // "立即备份"
    QPushButton* ButtonRestore = nullptr;            // "恢复"
    QPushButton* ButtonBackupReturn = nullptr;       // "返 回"

signals:
    // The window has closed for good ("退出系统"): the program ends.
    void closed();

protected:
    // Closing the window in any way ends the program.
    void closeEvent(QCloseEvent* event) override;

private:
    bool syncDue_ = false;  // a learner studied since their files were last synced
    TformStart(std::string gbkProgramFolder, bool allPanels, QWidget* parent);
    QFrame* AddPanel(const char* name);
    void PressOnEnter();
    void BuildPanelStart();
    void BuildPanelLogon();
    void BuildPanelManage();
    void BuildBackupPanels();
    void ShowBackups(const std::string& select = std::string());
    void FillUserList(const std::vector<std::string>& gbkRows);
    // A user drop-down of the login rows with the last user picked.
    void FillLoginUsers(QComboBox* combo);
    // The picked row when the password box holds its password; -1 after
    // the login's message otherwise.
    int CheckedLoginRow(const QComboBox* combo, const QLineEdit* password);
    std::vector<std::string> UserListRows() const;
    int SelectedUserRow() const;
    // The password in EditOldPassword allows changing or deleting the
    // selected user; false after the message, with the box focused.
    bool UserEditAuthorised();
    void ApplyUserEdit(const UserEditOutcome& outcome, const std::vector<std::string>& gbkRows);

    QStackedLayout* panels_ = nullptr;
    bool fillingUserList_ = false;  // list changes made by the program itself
    int backupSlot_ = -1;
    std::vector<std::string> backupNames_;  // rows of ListBackupList
};
