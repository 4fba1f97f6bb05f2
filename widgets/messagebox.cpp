#include "widgets/messagebox.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QString>

#include "core/appmessage.h"
#include "widgets/screentext.h"

namespace {

int ShowMessageBox(const std::string& gbkText, int flags) {
    // Messages carry CR LF pairs for their line breaks; the box wants LF.
    const QString text = ScreenLines(gbkText);
    const bool question = IsQuestion(flags);
    // Messages that follow each other come before the window they came from
    // has the keyboard back; they belong to that window all the same.
    static QPointer<QWidget> lastOwner;
    QPointer<QWidget> owner = QApplication::activeWindow();
    if (!owner && lastOwner && lastOwner->isVisible()) owner = lastOwner;
    lastOwner = owner;
    QMessageBox box(QMessageBox::NoIcon, U(kAppMessageTitleUtf8), text,
                    question ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, owner);
    box.setTextFormat(Qt::PlainText);
    box.setIcon(question ? QMessageBox::Question : QMessageBox::Information);
    const bool noByDefault = question && (flags & kMsgDefButton2);
    box.setDefaultButton(!question ? QMessageBox::Ok : noByDefault ? QMessageBox::No : QMessageBox::Yes);
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
