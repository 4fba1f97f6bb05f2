// The program's windows on a 640 × 480 screen: every window, and every
// control of the page in front, lies on the screen, so a learner with a
// small screen reaches every button. The offscreen platform is given a
// screen of that size before the application starts.

#include <QAbstractButton>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "help/formhelp.h"
#include "select/selectwordlib.h"
#include "settings/formmakewordlib.h"
#include "shell/appwindows.h"
#include "shell/formstart.h"
#include "shell/windowwiring.h"
#include "study/formmain.h"
#include "support/find_child.h"
#include "support/login_windows.h"
#include "support/settings_fixture.h"
#include "widgets/answeredit.h"

namespace {

QRect ScreenArea() { return QGuiApplication::primaryScreen()->availableGeometry(); }

// Every control the learner uses on `window` that is shown now.
QList<QWidget*> ShownControls(QWidget* window) {
    QList<QWidget*> controls;
    for (QWidget* child : window->findChildren<QWidget*>()) {
        if (!child->isVisible()) continue;
        if (qobject_cast<QAbstractButton*>(child) || qobject_cast<QLineEdit*>(child) ||
            qobject_cast<QComboBox*>(child) || qobject_cast<QPlainTextEdit*>(child) ||
            qobject_cast<QListWidget*>(child))
            controls << child;
    }
    return controls;
}

QString Describe(QWidget* w) {
    const QAbstractButton* button = qobject_cast<QAbstractButton*>(w);
    return QStringLiteral("%1 \"%2\" at %3,%4 %5x%6")
        .arg(w->objectName(), button ? button->text() : QString())
        .arg(w->mapToGlobal(QPoint(0, 0)).x())
        .arg(w->mapToGlobal(QPoint(0, 0)).y())
        .arg(w->width())
        .arg(w->height());
}

// The window and each control it shows lie wholly on the screen and
// inside the window.
void ExpectOnScreen(QWidget* window, const char* what) {
    QVERIFY2(window->isVisible(), what);
    const QRect frame(window->mapToGlobal(QPoint(0, 0)), window->size());
    QVERIFY2(ScreenArea().contains(frame), qPrintable(QStringLiteral("%1: window %2,%3 %4x%5 off the screen")
                                                          .arg(what)
                                                          .arg(frame.x())
                                                          .arg(frame.y())
                                                          .arg(frame.width())
                                                          .arg(frame.height())));
    const QList<QWidget*> controls = ShownControls(window);
    QVERIFY2(!controls.isEmpty(), what);
    for (QWidget* control : controls) {
        const QRect rect(control->mapToGlobal(QPoint(0, 0)), control->size());
        QVERIFY2(frame.contains(rect) && ScreenArea().contains(rect),
                 qPrintable(QStringLiteral("%1: %2 cut off").arg(what, Describe(control))));
    }
}

}  // namespace

class TestAppWindows : public QObject {
    Q_OBJECT

private slots:
    void theScreenIsSmall() { QCOMPARE(ScreenArea().size(), QSize(640, 480)); }

    void startWindowPagesFit() {
        LoginWindows s("appwindows_start");
        QVERIFY(QTest::qWaitForWindowExposed(s.start.get()));
        ExpectOnScreen(s.start.get(), "start window");
        QTest::mouseClick(s.start->suiButton2, Qt::LeftButton);  // "用户管理"
        QVERIFY(s.start->PanelManage->isVisible());
        ExpectOnScreen(s.start.get(), "user management");
        QTest::mouseClick(s.start->suiButton24, Qt::LeftButton);  // "返回"
        QTest::mouseClick(s.start->suiButton3, Qt::LeftButton);   // "进度备份"
        ExpectOnScreen(s.start.get(), "progress backups");
    }

    void studyWindowFitsWithAnswerBoxAndButtons() {
        LoginWindows s("appwindows_study");
        s.Library(0, "lib.lx", 3);
        s.User(0, "管理员", "", "lib.lx");
        s.StartStudying();
        QVERIFY(s.study->isVisible());
        ExpectOnScreen(s.study.get(), "study window");
        AnswerEdit* answer = Child<AnswerEdit>(s.study, "EditInput");
        for (QWidget* control : {static_cast<QWidget*>(answer), Child<QWidget>(s.study, "ButtonMyNewWord"),
                                 Child<QWidget>(s.study, "suiButton10")})
            QVERIFY2(control->isVisible(), qPrintable(Describe(control)));
        // The answer box holds a dozen characters of a typical answer, and
        // "本次时间" has its value.
        QVERIFY2(answer->width() >= answer->fontMetrics().averageCharWidth() * 12, qPrintable(Describe(answer)));
        QVERIFY(Child<QLabel>(s.study, "LabelThisTime")->isVisible());
    }

    void settingsPagesTakeTheScreensWidth() {
        SettingsFixture s("appwindows_settings");
        s.OpenSetup();
        QVERIFY(s.settings->isVisible());
        QCOMPARE(s.settings->width(), ScreenArea().width());
        QWidget* pages[] = {s.settings->PanelSetup, s.settings->PanelImport, s.settings->PanelErrorReport,
                            s.settings->PanelModifyWordLib, s.settings->PanelWordsWithoutWav};
        for (QWidget* page : pages) {
            s.settings->BringToFront(page);
            ExpectOnScreen(s.settings.get(), qPrintable(page->objectName()));
        }
    }

    void selectDialogAndHelpGuideFit() {
        SettingsFixture s("appwindows_dialogs");
        TSelectWordLib select;
        SelectWordLib = &select;
        TformStart start(s.f.gbkProgramFolder);
        WireSelection(*s.study, select, start);
        TformHelp help;
        formHelp = &help;
        WireHelp(*s.study, help, {&select, s.settings.get()});
        QTest::mouseClick(Child<QPushButton>(s.study, "ButtonSelectWordLib"), Qt::LeftButton);
        ExpectOnScreen(&select, "library selection");
        select.hide();
        QTest::mouseClick(Child<QPushButton>(s.study, "suiButton10"), Qt::LeftButton);  // "帮助向导"
        ExpectOnScreen(&help, "help guide");
        formHelp = nullptr;
        SelectWordLib = nullptr;
    }
};

int main(int argc, char** argv) {
    // A 640 × 480 screen for the offscreen platform.
    QTemporaryDir dir;
    const QString config = dir.filePath("screen.json");
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly)) return 1;
    file.write(R"({"screens":[{"name":"small","x":0,"y":0,"width":640,"height":480,)"
               R"("logicalDpi":96,"logicalBaseDpi":96,"dpr":1}]})");
    file.close();
    qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + config).toLocal8Bit());
    QApplication app(argc, argv);
    TestAppWindows test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_appwindows.moc"
