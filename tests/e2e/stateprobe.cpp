#include "tests/e2e/stateprobe.h"

#include <unistd.h>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QSocketNotifier>
#include <QTextDocument>
#include <QWidget>
#include <cstdio>
#include <string>

#include "shell/appwindows.h"
#include "study/formmain.h"
#include "tests/support/find_child.h"
#include "widgets/answeredit.h"
#include "widgets/colourvalue.h"

namespace {

QString Escaped(QString value) {
    value.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    value.replace(QLatin1Char('\n'), QStringLiteral("\\n"));
    value.replace(QLatin1Char('\r'), QStringLiteral("\\r"));
    value.replace(QLatin1Char('\t'), QStringLiteral("\\t"));
    return value;
}

QString Field(const char* name, const QString& value) {
    return QString::fromLatin1(name) + QLatin1Char('=') + Escaped(value);
}

QString Flag(const char* name, bool value) { return Field(name, value ? QStringLiteral("1") : QStringLiteral("0")); }

QString State() {
    QStringList fields;
    if (formMain) {
        const TformMain& w = *formMain;
        const AnswerEdit* answer = Child<AnswerEdit>(w, "EditInput");
        const QLabel* word = Child<QLabel>(w, "PanelE");
        const QLabel* comment = Child<QLabel>(w, "PanelComment");
        const QLabel* marksLabel = Child<QLabel>(w, "PanelAnswerMarks");
        fields << Field("answer", answer->text()) << Flag("composing", answer->IsComposing())
               << Field("word", word->text())
               << Flag("wordShown", word->palette().color(QPalette::WindowText) ==
                                        ColourFromValue(formMain->Session().WordLib.FontColor))
               << Field("comment", comment->text()) << Flag("commentVisible", comment->isVisible());
        QTextDocument marks;
        marks.setHtml(marksLabel->text());
        fields << Field("marks", marksLabel->isVisible() ? marks.toPlainText() : QString());
    }
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    fields << Field("message", box ? box->text() : QString());
    const QWidget* focus = QApplication::focusWidget();
    fields << Field("focus", focus ? focus->objectName() : QString());
    // The window the window system gives the keys to, once the program has
    // heard so: a message box is modal as soon as it is shown, but a key
    // sent before it has the keyboard goes to the window it blocks, and is
    // lost.
    const QWidget* active = QApplication::activeWindow();
    QString activeName;
    if (active) {
        activeName = active->objectName();
        if (activeName.isEmpty()) activeName = QString::fromLatin1(active->metaObject()->className());
    }
    fields << Field("active", activeName);
    return fields.join(QLatin1Char('\t'));
}

QString Where(const QString& name) {
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (!top->isVisible()) continue;
        QList<QWidget*> candidates = top->findChildren<QWidget*>(name);
        if (top->objectName() == name) candidates.prepend(top);
        for (QWidget* w : candidates) {
            if (!w->isVisible()) continue;
            const QPoint centre = w->mapToGlobal(w->rect().center());
            return QStringLiteral("%1 %2").arg(centre.x()).arg(centre.y());
        }
    }
    return QStringLiteral("none");
}

void Answer(const QString& line) {
    const QString request = line.trimmed();
    QString reply;
    if (request == QLatin1String("state"))
        reply = State();
    else if (request.startsWith(QLatin1String("where ")))
        reply = Where(request.mid(6).trimmed());
    else
        reply = QStringLiteral("unknown request");
    std::fputs((reply + QLatin1Char('\n')).toUtf8().constData(), stdout);
    std::fflush(stdout);
}

}  // namespace

void InstallStateProbe() {
    if (qEnvironmentVariableIsEmpty("LEXILARK_STATE_PROBE")) return;
    auto* notifier = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, qApp);
    QObject::connect(notifier, &QSocketNotifier::activated, qApp, [notifier] {
        static std::string pending;
        char buffer[512];
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n <= 0) {  // the test has gone: stop listening
            notifier->setEnabled(false);
            return;
        }
        pending.append(buffer, static_cast<size_t>(n));
        for (size_t end; (end = pending.find('\n')) != std::string::npos;) {
            Answer(QString::fromUtf8(pending.data(), static_cast<qsizetype>(end)));
            pending.erase(0, end + 1);
        }
    });
}
