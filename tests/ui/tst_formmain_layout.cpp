// The study window as created: its controls by form name with their
// captions, items and fonts, the four timers, the settings it reads from the
// store, and the colours of the configuration.

#include <QLabel>
#include <QLayout>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextEdit>
#include <QTimer>
#include <QtTest>

#include "core/programfolder.h"
#include "platform/fontregistration.h"
#include "support/find_child.h"
#include "support/study_fixture.h"
#include "widgets/answeredit.h"
#include "widgets/colourvalue.h"
#include "widgets/framedbox.h"
#include "widgets/radiogroup.h"

class TestStudyLayout : public QObject {
    Q_OBJECT
private slots:
    void captionsByFormName_data();
    void captionsByFormName();
    void radioGroupsAndGradeLabels();
    void onlyTheAnswerBoxTakesFocus();
    void fontsAndWindow();
    void timers();
    void settingsReadAtCreation();
    void coloursOfTheConfiguration();
    void activationCopiesTheSettings();
    void wholeWindowFitsTheScreen_data();
    void wholeWindowFitsTheScreen();
};

void TestStudyLayout::captionsByFormName_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    const char* rows[][2] = {
        {"LabelGroup", "1/ 1"},
        {"LabelStepNo", "0 / 0"},
        {"circleno", "1"},
        {"LabelWordStudyCount", "0 / 0"},
        {"LabelGradeHeader", "各级单词数            级别"},
        {"LabelThisTime", "00:00:00"},
        {"LabelSpeed", "0 词/分"},
        {"LabelThisLoopTime", "00:00:00"},
        {"LabelLeftTime", "00:00:00"},
        {"LabelTotalTime", "00:00:00"},
        {"PanelThisTime", "00:00:00"},
        {"PanelMyWordLibWordCount", "收藏库词数：0"},
        {"PanelComment", "正 确"},
        {"PanelMainCaption", "澜悦日语单词 Lexilark V1.0 "},
        {"ButtonPause", "暂停学习"},
        {"suiButton2", "单词分组"},
        {"ButtonSelectWordLib", "选择词库"},
        {"suiButton5", "软件报错"},
        {"suiButton3", "收藏管理"},
        {"ButtonReturn", "返  回"},
        {"suiButton4", "参数设置"},
        {"suiButton10", "帮助向导"},
        {"ButtonFullScreen", "全屏"},
        {"ButtonDeGrade", "降级"},
        {"ButtonUpGrade", "升级"},
        {"ButtonPriorWord", "前一个"},
        {"ButtonNextWord", "后一个"},
        {"ButtonPrompt", "提示"},
        {"ButtonMyNewWord", "收藏"},
        {"PanelE", ""},
        {"PanelT", ""},
        {"LabelWordLibName", ""},
    };
    for (auto& row : rows) QTest::newRow(row[0]) << QString(row[0]) << QString::fromUtf8(row[1]);
}

void TestStudyLayout::captionsByFormName() {
    QFETCH(QString, name);
    QFETCH(QString, caption);
    StudyFixture f("captions");
    TformMain& w = f.Create();
    QWidget* control = w.findChild<QWidget*>(name);
    QVERIFY2(control, qPrintable(name));
    if (auto* label = qobject_cast<QLabel*>(control))
        QCOMPARE(label->text(), caption);
    else if (auto* button = qobject_cast<QPushButton*>(control))
        QCOMPARE(button->text(), caption);
    else
        QFAIL("neither label nor button");
}

void TestStudyLayout::radioGroupsAndGradeLabels() {
    StudyFixture f("groups");
    TformMain& w = f.Create();
    auto* groupMemoryMode = Child<RadioGroup>(w, "GroupMemoryMode");
    auto* listBoxGrade = Child<QListWidget>(w, "ListBoxGrade");
    for (const char* name :
         {"PanelMain", "Panel11", "PanelWordlib", "LabelLine", "PanelGrade", "Panel2", "PanelButtons", "Panel1",
          "GroupBoxMiddle", "GroupBoxBottom", "pcontrol", "MemoC", "MemoSentence", "EditInput", "ListBoxGrade"})
        QVERIFY2(w.findChild<QWidget*>(name), name);

    QCOMPARE(Child<RadioGroup>(w, "GroupReadMode")->title(), QStringLiteral("显示方式"));
    const QStringList modes{"日→假汉", "汉→假日", "日假→汉", " 汉假日"};
    for (int i = 0; i < 4; ++i) QCOMPARE(Child<RadioGroup>(w, "GroupReadMode")->ItemText(i), modes[i]);
    QCOMPARE(groupMemoryMode->title(), QStringLiteral("朗读方式"));
    QCOMPARE(groupMemoryMode->ItemText(0), QStringLiteral("强 化"));
    QCOMPARE(groupMemoryMode->ItemText(1), QStringLiteral("回 忆"));
    QVERIFY(!groupMemoryMode->isVisible());
    QCOMPARE(Child<RadioGroup>(w, "GroupGrade")->ItemCount(), 6);
    QCOMPARE(Child<RadioGroup>(w, "GroupGrade")->ItemIndex(), 5);

    QVERIFY(!listBoxGrade->isEnabled());
    w.ApplyColours();  // the settings window repaints: still one blank row
    QStringList rows;
    for (int i = 0; i < listBoxGrade->count(); ++i) rows << listBoxGrade->item(i)->text();
    QCOMPARE(rows, (QStringList{"10000", "4", "3", "2", "1", "0", QString(18, ' ')}));
}

// The answer box has the keyboard: a click on a button leaves it there,
// only Tab moves it to a command, and a window given the keyboard afresh
// gives it to the answer box first.
void TestStudyLayout::onlyTheAnswerBoxTakesFocus() {
    StudyFixture f("focus");
    TformMain& w = f.Create();
    auto* editInput = Child<AnswerEdit>(w, "EditInput");
    for (QPushButton* b : w.findChildren<QPushButton*>()) QCOMPARE(b->focusPolicy(), Qt::TabFocus);
    for (QRadioButton* b : w.findChildren<QRadioButton*>()) QCOMPARE(b->focusPolicy(), Qt::NoFocus);
    QVERIFY(editInput->focusPolicy() & Qt::TabFocus);
    QTRY_VERIFY(w.isActiveWindow());
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(editInput));
    w.TimerSetFocusTimer();
    QTRY_VERIFY(editInput->hasFocus());
}

void TestStudyLayout::fontsAndWindow() {
    StudyFixture f("fonts");
    TformMain& w = f.Create();
    auto* editInput = Child<AnswerEdit>(w, "EditInput");
    QVERIFY(w.windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(w.minimumWidth(), 270);
    QCOMPARE(w.font().pixelSize(), 12);
    // Japanese typed in the answer box takes the Japanese face first.
    QCOMPARE(editInput->font().families().value(0), JapaneseFamily());
    QVERIFY(editInput->font().families().contains(QStringLiteral("Comic Sans MS")));
    QCOMPARE(editInput->font().pixelSize(), 24);
    QCOMPARE(Child<QLabel>(w, "PanelE")->font().pixelSize(), 37);
    QCOMPARE(Child<QLabel>(w, "PanelT")->font().pixelSize(), 33);
    QCOMPARE(Child<QPlainTextEdit>(w, "MemoSentence")->font().pixelSize(), 20);
    QCOMPARE(Child<QFrame>(w, "Panel11")->width(), 172);
    // The strip's buttons are as wide as designed where the answer box
    // beside them still holds a dozen characters.
    w.screenWidth = [] { return 1024; };
    w.screenHeight = [] { return 768; };
    w.FormResize();
    w.setGeometry(0, 0, 1024, 768);
    QCoreApplication::processEvents();
    for (QPushButton* b : {Child<QPushButton>(w, "ButtonFullScreen"), Child<QPushButton>(w, "ButtonDeGrade"),
                           Child<QPushButton>(w, "ButtonUpGrade"), Child<QPushButton>(w, "ButtonPriorWord"),
                           Child<QPushButton>(w, "ButtonNextWord"), Child<QPushButton>(w, "ButtonPrompt"),
                           Child<QPushButton>(w, "ButtonMyNewWord")})
        QCOMPARE(b->width(), 48);
}

void TestStudyLayout::timers() {
    StudyFixture f("timers");
    f.manage.delaytime = 1234;
    TformMain& w = f.Create();
    QCOMPARE(w.Session().Clock().interval(), 1000);
    QVERIFY(!w.Session().Clock().isActive());
    QCOMPARE(w.Session().Clock().property("Tag").toInt(), 1);
    const QTimer* prompt = Child<QTimer>(w, "TimerPrompt");
    const QTimer* comment = Child<QTimer>(w, "TimerComment");
    const QTimer* focus = Child<QTimer>(w, "TimerSetFocus");
    QCOMPARE(prompt->interval(), 1234);
    QVERIFY(!prompt->isActive());
    QCOMPARE(comment->interval(), 1000);
    QVERIFY(!comment->isActive());
    QCOMPARE(focus->interval(), 2000);
    QVERIFY(focus->isActive());
}

void TestStudyLayout::settingsReadAtCreation() {
    StudyFixture f("settings");
    f.manage.readmode = 1;
    f.manage.memorymode = 1;
    f.manage.mute = true;
    f.manage.autocleareditinput = true;
    TformMain& w = f.Create();
    QCOMPARE(Child<RadioGroup>(w, "GroupReadMode")->ItemIndex(), 1);
    QCOMPARE(Child<RadioGroup>(w, "GroupMemoryMode")->ItemIndex(), 1);
    QCOMPARE(w.Session().WordLib.ReadMode, 1);
    QCOMPARE(w.Session().WordLib.MemoryMode, 1);
    QVERIFY(w.Session().WordLib.Mute);
    QVERIFY(w.Session().WordLib.AutoClear);
    QCOMPARE(f.manage.readmode, 1);  // setting the groups wrote nothing back
    QCOMPARE(GetProgramFolder(), f.gbkProgramFolder);
    QCOMPARE(w.Session().WordLib.ProgramFolder, f.gbkProgramFolder);
    QCOMPARE(Child<QTextEdit>(w, "MemoC")->toPlainText(), QString());
}

void TestStudyLayout::coloursOfTheConfiguration() {
    StudyFixture f("colours");
    f.manage.fontcolor = 16777215;
    f.manage.backcolor = 32768;
    f.manage.bordercolor = 255;
    TformMain& w = f.Create();
    QCOMPARE(Child<QFrame>(w, "PanelMain")->palette().color(QPalette::Window), QColor(0, 128, 0));
    QCOMPARE(Child<QLabel>(w, "PanelComment")->palette().color(QPalette::Window), QColor(0, 128, 0));
    QCOMPARE(Child<QLabel>(w, "LabelWordLibName")->palette().color(QPalette::WindowText), QColor(255, 255, 255));
    QCOMPARE(Child<QFrame>(w, "LabelLine")->palette().color(QPalette::Window), QColor(255, 0, 0));
    QCOMPARE(w.Session().WordLib.FontColor, 16777215);
    QCOMPARE(w.Session().WordLib.BackColor, 32768);
    for (FramedBox* box : w.findChildren<FramedBox*>()) QCOMPARE(box->BorderColour(), QColor(255, 0, 0));

    f.manage.backcolor = 8404992;  // "凝重": #004080
    f.manage.fontcolor = 16777199;
    w.ApplyColours();
    QCOMPARE(Child<QFrame>(w, "PanelMain")->palette().color(QPalette::Window), QColor(0, 0x40, 0x80));
    QCOMPARE(Child<QLabel>(w, "PanelThisTime")->palette().color(QPalette::WindowText), QColor(0xEF, 0xFF, 0xFF));
    QCOMPARE(Child<QLabel>(w, "PanelE")->palette().color(QPalette::WindowText), QColor(0xEF, 0xFF, 0xFF));
    QCOMPARE(Child<QTextEdit>(w, "MemoC")->palette().color(QPalette::Text), QColor(0xEF, 0xFF, 0xFF));
}

void TestStudyLayout::activationCopiesTheSettings() {
    StudyFixture f("activate");
    TformMain& w = f.Create();
    w.Session().activationSource = [] {
        StudySession::Settings s;
        s.autoClear = true;
        s.mute = true;
        s.showSentence = true;
        s.fontColor = 255;
        s.backColor = 0;
        return s;
    };
    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(&w, &activate);
    QVERIFY(f.manage.autocleareditinput && f.manage.mute && f.manage.showsentence);
    QVERIFY(w.Session().WordLib.AutoClear && w.Session().WordLib.Mute && w.Session().WordLib.ShowSentence);
    QCOMPARE(w.Session().WordLib.FontColor, 255);
    QCOMPARE(w.Session().WordLib.BackColor, 0);
    // A library opened afterwards keeps them.
    f.WriteLibrary("two.lx", {{"a", "甲"}, {"b", "乙"}});
    f.Open("two.lx");
    QVERIFY(w.Session().WordLib.Mute && w.Session().WordLib.AutoClear);
    QCOMPARE(w.Session().WordLib.FontColor, 255);
}

QTEST_MAIN(TestStudyLayout)
#include "tst_formmain_layout.moc"

void TestStudyLayout::wholeWindowFitsTheScreen_data() {
    QTest::addColumn<QSize>("screen");
    QTest::addColumn<bool>("leftColumn");  // "全屏" hides it
    QTest::newRow("640x480") << QSize(640, 480) << true;
    QTest::newRow("640x480 full screen") << QSize(640, 480) << false;
    QTest::newRow("800x600") << QSize(800, 600) << true;
    QTest::newRow("1280x800") << QSize(1280, 800) << true;
}

// Every control of the window lies on the screen, inside the boxes that
// hold it, and each button is wide enough for its caption.
void TestStudyLayout::wholeWindowFitsTheScreen() {
    QFETCH(QSize, screen);
    QFETCH(bool, leftColumn);
    StudyFixture f("fits_screen");
    TformMain& w = f.Create();
    auto* editInput = Child<AnswerEdit>(w, "EditInput");
    w.screenWidth = [screen] { return screen.width(); };
    w.screenHeight = [screen] { return screen.height(); };
    w.FormResize();
    w.TimerTimer();  // the first tick follows the screen width too
    if (!leftColumn) QTest::mouseClick(Child<QPushButton>(w, "ButtonFullScreen"), Qt::LeftButton);
    // Each resize lets the window's least size follow the new screen a step.
    for (int i = 0; i < 4 && w.size() != screen; ++i) {
        w.resize(screen);
        w.layout()->activate();
        QCoreApplication::processEvents();
    }
    QTRY_COMPARE(w.size(), screen);

    QList<QWidget*> controls{editInput, Child<QLabel>(w, "PanelE"), Child<QLabel>(w, "PanelT"),
                             Child<QTextEdit>(w, "MemoC"), Child<QPlainTextEdit>(w, "MemoSentence")};
    for (QPushButton* button : Child<QFrame>(w, "pcontrol")->findChildren<QPushButton*>()) controls << button;
    if (leftColumn) {
        controls << Child<QPushButton>(w, "ButtonPause") << Child<QLabel>(w, "PanelThisTime")
                 << Child<QLabel>(w, "PanelMyWordLibWordCount") << Child<QLabel>(w, "LabelWordLibName")
                 << Child<RadioGroup>(w, "GroupGrade");
        for (QPushButton* button : Child<QFrame>(w, "PanelButtons")->findChildren<QPushButton*>()) controls << button;
    }
    for (QWidget* control : controls) {
        const QString name = control->objectName();
        QVERIFY2(control->isVisible(), qPrintable(name));
        for (QWidget* box = control; box != &w; box = box->parentWidget()) {
            const QRect inParent(box->pos(), box->size());
            QVERIFY2(QRect(QPoint(0, 0), box->parentWidget()->size()).contains(inParent),
                     qPrintable(name + " in " + box->parentWidget()->objectName()));
        }
        if (auto* button = qobject_cast<QPushButton*>(control))
            QVERIFY2(button->fontMetrics().horizontalAdvance(button->text()) + 4 <= button->width(), qPrintable(name));
    }

    // A Japanese answer of a dozen characters is in sight whole: its first
    // character at the box's left edge with the caret after its last.
    editInput->setText(QString(12, QChar(0x3042)));  // "あ"
    editInput->end(false);
    QCOMPARE(editInput->cursorPositionAt(QPoint(3, editInput->height() / 2)), 0);
    QVERIFY(editInput->inputMethodQuery(Qt::ImCursorRectangle).toRect().right() < editInput->width());
}
