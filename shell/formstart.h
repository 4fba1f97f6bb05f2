#pragma once
// The start window: the first window the learner sees, the owner of the
// configuration store, and the only way out of the program ("退出系统").
// Three panels of the same size lie on top of each other: PanelStart,
// PanelLogon and PanelManage; an action brings one of them to the front.

#include <QWidget>
#include <string>
#include <vector>

#include "core/manage.h"
#include "core/usertable.h"

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
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

    static constexpr int kWidth = 343;
    static constexpr int kHeight = 270;

    // exitAllowed := false; load the configuration from the program folder.
    void FormCreate();
    void suiButton5Click();  // "导入词库": the settings window's import page
    void suiButton6Click();  // "系统帮助": the help file in the desktop's viewer
    void suiButton4Click();  // "退出系统"

    // Login (PanelLogon).
    void suiButton1Click();     // "开始背单词"
    void ComboUserListClick();  // a user picked: becomes the user index at once
    void suiButton12Click();    // "确 定" and Enter in EditPassword: the login step
    void suiButton11Click();    // "返 回"
    // The favourites of the user just logged in, made from the template on
    // a first login.
    void PrepareFavourites();

    // User management (PanelManage); changes stay in memory until "返回".
    void suiButton2Click();   // "用户管理"
    void ListUserListClick();
    void suiButton9Click();   // "增加"
    void suiButton23Click();  // "修改"
    void suiButton10Click();  // "删除"
    void suiButton24Click();  // "返回": save the configuration

    void BringToFront(QWidget* panel);
    QWidget* FrontPanel() const;

    TManage Manage;
    std::string ProgramFolder;  // GBK, with its trailing separator
    std::string UserFolder;     // set at every login
    bool exitAllowed = false;

    TitleBar* titleBar = nullptr;
    QFrame* PanelStart = nullptr;
    QFrame* PanelLogon = nullptr;
    QFrame* PanelManage = nullptr;

    QLabel* LabelVersion = nullptr;
    QPushButton* suiButton1 = nullptr;  // "开始背单词"
    QPushButton* suiButton2 = nullptr;  // "用户管理"
    QPushButton* suiButton6 = nullptr;  // "系统帮助"
    QPushButton* suiButton4 = nullptr;  // "退出系统"
    QPushButton* suiButton3 = nullptr;  // "进度备份", hidden and disabled
    QPushButton* suiButton5 = nullptr;  // "导入词库"
    QLabel* Label14 = nullptr;

    QComboBox* ComboUserList = nullptr;
    QLineEdit* EditPassword = nullptr;   // masked
    QPushButton* suiButton12 = nullptr;  // "确 定"
    QPushButton* suiButton11 = nullptr;  // "返 回"

    QListWidget* ListUserList = nullptr;
    QLineEdit* EditUserName = nullptr;
    QLineEdit* EditPassword1 = nullptr;  // masked
    QLineEdit* EditPassword2 = nullptr;  // masked, the repeat
    QPushButton* suiButton9 = nullptr;   // "增加"
    QPushButton* suiButton23 = nullptr;  // "修改"
    QPushButton* suiButton10 = nullptr;  // "删除"
    QPushButton* suiButton24 = nullptr;  // "返回"
    QLabel* Label20 = nullptr;

signals:
    // The window has closed for good ("退出系统"): the program ends.
    void closed();

protected:
    // FormCloseQuery: only "退出系统" may close the window.
    void closeEvent(QCloseEvent* event) override;

private:
    QFrame* AddPanel(const char* name);
    void BuildPanelStart();
    void BuildPanelLogon();
    void BuildPanelManage();
    void FillUserList(const std::vector<std::string>& gbkRows);
    std::vector<std::string> UserListRows() const;
    int SelectedUserRow() const;
    void ApplyUserEdit(const UserEditOutcome& outcome, const std::vector<std::string>& gbkRows);

    QStackedLayout* panels_ = nullptr;
    bool fillingUserList_ = false;  // list changes made by the program itself
};
