#include "widgets/messagebox.h"

#include <QApplication>
#include <QMessageBox>
#include <QString>

#include "core/apphelpers.h"
#include "core/gbktext.h"

namespace {

int ShowMessageBox(const std::string& gbkText, int flags) {
    // Messages carry CR LF pairs for their line breaks; the box wants LF.
    QString text = QString::fromUtf8(Utf8(gbkText));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const bool question = flags == kMsgYesNo;
    QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(kAppMessageTitleUtf8), text,
                    question ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok,
                    QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    box.setIcon(question ? QMessageBox::Question : QMessageBox::Information);
    box.setDefaultButton(question ? QMessageBox::Yes : QMessageBox::Ok);
    switch (box.exec()) {
    case QMessageBox::Yes: return kIdYes;
    case QMessageBox::No: return kIdNo;
    default: return question ? kIdNo : kIdOk;
    }
}

}  // namespace

void InstallMessageBoxSink() { SetMessageSink(ShowMessageBox); }
