#include "settings/formmakewordlib.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHideEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStackedLayout>
#include <QVBoxLayout>
#include <algorithm>

#include "session/studysession.h"
#include "widgets/buttons.h"
#include "widgets/screentext.h"
#include "widgets/titlebar.h"

namespace {

constexpr int kWidth = 660;
constexpr int kHeight = 440;

}  // namespace

TformMakeWordLib::TformMakeWordLib(TManage& manage, StudySession& study, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), manage_(&manage), session_(&study) {
    Build();
}

void TformMakeWordLib::Build() {
    setObjectName("formMakeWordLib");
    const QString caption = U(" 澜悦系列软件>>澜悦单词 ");
    setWindowTitle(caption);
    // On a screen narrower than the window (640 × 480) it takes the
    // screen's width rather than lose its edges.
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int width = screen ? std::min(kWidth, screen->availableGeometry().width()) : kWidth;
    setFixedSize(width, kHeight);
    setAttribute(Qt::WA_StyledBackground);
    setStyleSheet("#formMakeWordLib { background: #eef3fb; border: 1px solid #395a99; }");

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(0);
    titleBar = new TitleBar(caption, this);
    layout->addWidget(titleBar);
    pages_ = new QStackedLayout;
    layout->addLayout(pages_, 1);

    PanelSetup = AddPage("PanelSetup", "参数设置");
    PanelImport = AddPage("PanelImport", "导入词库");
    PanelErrorReport = AddPage("PanelErrorReport", "软件报错");
    PanelModifyWordLib = AddPage("PanelModifyWordLib", "收藏库管理");
    PanelWordsWithoutWav = AddPage("PanelWordsWithoutWav", "无语音单词表");
    PanelSync = AddPage("PanelSync", "同步");
    BuildSetupPage();
    BuildFavouritesPage();
    BuildErrorReportPage();
    BuildImportPage();
    BuildWordsWithoutWavPage();
    BuildSyncPage();
    ConnectSetupPage();
    BringToFront(PanelSetup);
    LeaveOnEscape(this, {ButtonWavReturn, suiButton9, suiButton2, suiButton4, suiButton10});

    if (screen) move(screen->availableGeometry().center() - rect().center());
}

TformMakeWordLib::~TformMakeWordLib() {
    // The study window asks this window's boxes for the settings whenever it
    // becomes active; it must not ask a window that is gone.
    session_->activationSource = nullptr;
}

QFrame* TformMakeWordLib::AddPage(const char* name, const char* titleUtf8) {
    auto* page = new QFrame(this);
    page->setObjectName(name);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(16, 8, 16, 12);
    auto* title = new QLabel(U(titleUtf8), page);
    title->setObjectName(QString(name) + "Title");
    QFont font = title->font();
    font.setPointSize(font.pointSize() + 4);
    font.setBold(true);
    title->setFont(font);
    title->setAlignment(Qt::AlignCenter);
    layout->addWidget(title);
    pages_->addWidget(page);
    return page;
}

void TformMakeWordLib::BringToFront(QWidget* page) { pages_->setCurrentWidget(page); }

void TformMakeWordLib::TurnToSetupPage() { BringToFront(PanelSetup); }

void TformMakeWordLib::TurnToFavouritesPage() {
    FillFavouritesList();
    BringToFront(PanelModifyWordLib);
}

void TformMakeWordLib::TurnToErrorReportPage() {
    BringToFront(PanelErrorReport);
    PrepareErrorReport();
}

QWidget* TformMakeWordLib::FrontPage() const { return pages_->currentWidget(); }

// Only the pages' own "返 回" buttons leave the window.
void TformMakeWordLib::closeEvent(QCloseEvent* event) { event->ignore(); }

void TformMakeWordLib::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    emit left();
}

bool TformMakeWordLib::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate || e->type() == QEvent::Show) FormActivate();
    return QWidget::event(e);
}
