#pragma once
// The start window: the first window the learner sees, the owner of the
// configuration store, and the only way out of the program ("退出系统").
// Three panels of the same size lie on top of each other: PanelStart,
// PanelLogon and PanelManage; an action brings one of them to the front.

#include <QWidget>
#include <string>

#include "core/manage.h"

class QFrame;
class QLabel;
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
    void suiButton6Click();  // "系统帮助": the help file in the desktop's viewer
    void suiButton4Click();  // "退出系统"

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
    QPushButton* suiButton5 = nullptr;  // "导入词库", hidden and disabled
    QLabel* Label14 = nullptr;

signals:
    // The window has closed for good ("退出系统"): the program ends.
    void closed();

protected:
    // FormCloseQuery: only "退出系统" may close the window.
    void closeEvent(QCloseEvent* event) override;

private:
    QFrame* AddPanel(const char* name);
    void BuildPanelStart();

    QStackedLayout* panels_ = nullptr;
};
