#include "widgets/messagebox.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QPointer>
#include <QString>

#include "core/appmessage.h"
#include "widgets/screentext.h"

namespace {

// Room a window manager's title bar takes beside the title: its icon, its
// buttons and their margins.
constexpr int kTitleBarRoom = 120;

// The title is long: in a box narrower than it and the bar's buttons, the
// window manager cuts it ("澜悦系列软… 词 Lexilark").
void WidenForTitle(QMessageBox& box) {
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid) return;
    QFont bold = box.font();
    bold.setBold(true);
    const int width = QFontMetrics(bold).horizontalAdvance(box.windowTitle()) + kTitleBarRoom;
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Fixed, QSizePolicy::Minimum), grid->rowCount(), 0, 1,
                  grid->columnCount());
}

// While another program has the keyboard, the one window this program
// shows is still the one a message belongs to.
QWidget* OnlyShownWindow() {
    QWidget* shown = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (!window->isVisible() || window->windowType() == Qt::ToolTip || window->windowType() == Qt::Popup) continue;
        if (shown) return nullptr;
        shown = window;
    }
    return shown;
}

int ShowMessageBox(const std::string& gbkText, int flags) {
    // Messages carry CR LF pairs for their line breaks; the box wants LF.
    const QString text = ScreenLines(gbkText);
    const bool question = IsQuestion(flags);
    // Messages that follow each other come before the window they came from
    // has the keyboard back; they belong to that window all the same.
    static QPointer<QWidget> lastOwner;
    QPointer<QWidget> owner = QApplication::activeModalWidget();
    if (!owner) owner = QApplication::activeWindow();
    if (!owner && lastOwner && lastOwner->isVisible()) owner = lastOwner;
    if (!owner) owner = OnlyShownWindow();
    lastOwner = owner;
    QMessageBox box(QMessageBox::NoIcon, U(kAppMessageTitleUtf8), text,
                    question ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, owner);
    box.setTextFormat(Qt::PlainText);
    // A message with no window of this program to stand above (a second
    // start's) must not fall behind another program's window, a full-screen
    // one least of all.
    if (!owner) box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.setIcon(question ? QMessageBox::Question : QMessageBox::Information);
    const bool noByDefault = question && (flags & kMsgDefButton2);
    box.setDefaultButton(!question ? QMessageBox::Ok : noByDefault ? QMessageBox::No : QMessageBox::Yes);
    WidenForTitle(box);
    const int button = box.exec();
    // The keyboard goes back to the window the message came from, also where
    // no window manager hands it back.
    if (owner && owner->isVisible()) owner->activateWindow();
    switch (button) {
        case QMessageBox::Yes:
            return kIdYes;
        case QMessageBox::No:
            return kIdNo;
        default:
            return question ? kIdNo : kIdOk;
    }
}

}  // namespace

void InstallMessageBoxSink() { SetMessageSink(ShowMessageBox); }
