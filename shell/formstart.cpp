#include "shell/formstart.h"

#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStackedLayout>
#include <QVBoxLayout>
#include <exception>

#include "core/gbktext.h"
#include "core/usermoves.h"
#include "platform/shellopen.h"
#include "settings/formmakewordlib.h"
#include "shell/appwindows.h"
#include "shell/lexilarkapplication.h"
#include "shell/programfolder.h"
#include "widgets/buttons.h"
#include "widgets/screentext.h"
#include "widgets/titlebar.h"

TformStart::TformStart(QWidget* parent) : TformStart(ExecutableFolder(), parent) {}

TformStart::TformStart(std::string gbkProgramFolder, QWidget* parent)
    : TformStart(std::move(gbkProgramFolder), true, parent) {}

TformStart::TformStart(std::string gbkProgramFolder, StartPanelFirst)
    : TformStart(std::move(gbkProgramFolder), false, nullptr) {}

TformStart::TformStart(std::string gbkProgramFolder, bool allPanels, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), ProgramFolder(std::move(gbkProgramFolder)) {
    setObjectName("formStart");
    const QString caption = U(" 澜悦系列软件>澜悦单词(日语版)");
    setWindowTitle(caption);
    setFixedSize(kWidth, kHeight);
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet("#formStart { background: #eef3fb; border: 1px solid #395a99; }");

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(0);
    titleBar = new TitleBar(caption, this);
    layout->addWidget(titleBar);
    panels_ = new QStackedLayout;
    layout->addLayout(panels_, 1);

    PanelStart = AddPanel("PanelStart");
    BuildPanelStart();
    BringToFront(PanelStart);
    PressOnEnter();
    if (allPanels) BuildOtherPanels();

    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }

    // An error in the creation handler is shown and the window is still
    // made, as the other windows rely on it.
    try {
        FormCreate();
    } catch (const std::exception& error) {
        ShowExceptionMessage(error);
    }
}

// The hidden panels cost more than the start panel itself: their texts and
// boxes are measured as soon as the window is laid out.
void TformStart::BuildOtherPanels() {
    if (PanelLogon) return;
    PanelLogon = AddPanel("PanelLogon");
    PanelManage = AddPanel("PanelManage");
    PanelBackupLogon = AddPanel("PanelBackupLogon");
    PanelBackup = AddPanel("PanelBackup");
    BuildPanelLogon();
    BuildPanelManage();
    BuildBackupPanels();
    PressOnEnter();
}

// Enter presses the button the keyboard is on, as in a dialog.
void TformStart::PressOnEnter() {
    for (QPushButton* button : findChildren<QPushButton*>()) button->setAutoDefault(true);
}

QFrame* TformStart::AddPanel(const char* name) {
    auto* panel = new QFrame(this);
    panel->setObjectName(name);
    panels_->addWidget(panel);
    return panel;
}

void TformStart::BuildPanelStart() {
    auto makeButton = [this](const char* name, const char* caption) {
        QPushButton* button = NewButton(name, caption, PanelStart);
        button->setFixedSize(140, 28);
        return button;
    };
    LabelVersion = new QLabel(U("澜悦日语单词 Lexilark V1.0 "), PanelStart);
    LabelVersion->setObjectName("LabelVersion");
    LabelVersion->setAlignment(Qt::AlignCenter);
    QFont heading = LabelVersion->font();
    heading.setBold(true);
    heading.setPointSizeF(heading.pointSizeF() * 1.3);
    LabelVersion->setFont(heading);

    suiButton1 = makeButton("suiButton1", "开始背单词");
    suiButton2 = makeButton("suiButton2", "用户管理");
    suiButton3 = makeButton("suiButton3", "进度备份");
    suiButton5 = makeButton("suiButton5", "导入词库");
    suiButton6 = makeButton("suiButton6", "系统帮助");
    suiButton4 = makeButton("suiButton4", "退出系统");

    Label14 = new QLabel(U("推荐将分辨率设置为 800×600 或 1024×768"), PanelStart);
    Label14->setObjectName("Label14");
    Label14->setAlignment(Qt::AlignCenter);

    auto* layout = new QVBoxLayout(PanelStart);
    layout->setContentsMargins(12, 14, 12, 10);
    layout->setSpacing(6);
    layout->addWidget(LabelVersion);
    layout->addStretch(1);
    for (QPushButton* button : {suiButton1, suiButton2, suiButton3, suiButton5, suiButton6, suiButton4}) {
        layout->addWidget(button, 0, Qt::AlignHCenter);
    }
    layout->addStretch(1);
    layout->addWidget(Label14);

    connect(suiButton5, &QPushButton::clicked, this, &TformStart::suiButton5Click);
    connect(suiButton6, &QPushButton::clicked, this, &TformStart::suiButton6Click);
    connect(suiButton4, &QPushButton::clicked, this, &TformStart::suiButton4Click);
}

void TformStart::FormCreate() {
    exitAllowed = false;
    // A program stopped while saving its user table left the folders half
    // moved: finish that first, so the table read next matches them.
    FinishUserMoves(ProgramFolder);
    Manage.LoadConfigFile(ProgramFolder);
}

// The import page leads back here with its "返　回"; meanwhile this window
// steps aside, so that no study starts under the page.
void TformStart::suiButton5Click() {
    if (!formMakeWordLib) return;
    formMakeWordLib->OpenImportPage();
    hide();
}

void TformStart::suiButton6Click() {
    ShellOpenOrTell(ToNativePath(ProgramFolder + "lexilark.chm"), "一个 CHM 帮助文件查看程序（例如 xchm）");
}

void TformStart::suiButton4Click() { close(); }

void TformStart::BringToFront(QWidget* panel) { panels_->setCurrentWidget(panel); }

QString TformStart::Heading() const { return LabelVersion ? LabelVersion->text() : QString(); }

void TformStart::TurnToStartPanel() { BringToFront(PanelStart); }

QWidget* TformStart::FrontPanel() const { return panels_->currentWidget(); }

// The desktop's close (Alt+F4, the title bar's ×) ends the program as
// "退出系统" does: a window that refuses to close looks broken.
void TformStart::closeEvent(QCloseEvent* event) {
    // The learner's last progress goes to their server on the way out,
    // whichever way they leave; a second close does not sync again.
    if (!exitAllowed) SyncBeforeExit();
    exitAllowed = true;
    event->accept();
    emit closed();
}
