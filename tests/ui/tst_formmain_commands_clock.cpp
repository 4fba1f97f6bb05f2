// The study window's clock: what one tick shows, the speed and the time
// left, the hour field wrapping at 60, small screens, and the pause after
// five idle minutes that takes the idle time out of the clocks.

#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include "support/find_child.h"
#include "support/study_fixture.h"
#include "widgets/screentext.h"

namespace {}  // namespace

class TestClock : public QObject {
    Q_OBJECT

private slots:
    void firstTickShowsOneSecondOfRunTime() {
        StudyFixture f("clock_first");
        TformMain& w = f.Create();
        auto* labelThisTime = Child<QLabel>(w, "LabelThisTime");
        w.screenWidth = [] { return 1024; };
        w.TimerTimer();
        QCOMPARE(labelThisTime->text(), U("00:00:01"));
        QCOMPARE(Child<QLabel>(w, "PanelThisTime")->text(), U("00:00:01"));
        QVERIFY(labelThisTime->isVisible());
        QCOMPARE(w.Session().Clock().property("Tag").toInt(), 2);
        w.TimerTimer();
        QCOMPARE(labelThisTime->text(), U("00:00:02"));
    }

    void clockRunsOnTheTimer() {
        StudyFixture f("clock_timer");
        TformMain& w = f.Create();
        w.Session().Clock().setInterval(5);
        w.Session().Clock().start();
        QTRY_VERIFY(w.Session().Clock().property("Tag").toInt() > 2);
        w.Session().Clock().stop();
        const int shown = w.Session().Clock().property("Tag").toInt() - 1;
        QCOMPARE(Child<QLabel>(w, "PanelThisTime")->text(), QString::asprintf("00:00:%02d", shown));
    }

    void speedAndTimeLeftOfTheGrade() {
        StudyFixture f("clock_speed");
        f.WriteLibrary("lib.lx", NumberedWords(10));
        TformMain& w = f.Create();
        f.Open("lib.lx");
        QCOMPARE(w.Session().WordLib.Step, 0);  // 10 words of grade 0 left
        w.Session().WordLib.ShownCount = 3;
        w.Session().WordLib.ActiveSeconds = 89;  // 90 after the tick
        w.TimerTimer();
        QCOMPARE(Child<QLabel>(w, "LabelSpeed")->text(), U("2 词/分"));
        QCOMPARE(Child<QLabel>(w, "LabelLeftTime")->text(), U("00:05:00"));

        // Nothing shown since the library was opened: the estimate stays.
        w.Session().WordLib.ShownCount = 0;
        w.TimerTimer();
        QCOMPARE(Child<QLabel>(w, "LabelSpeed")->text(), U("0 词/分"));
        QCOMPARE(Child<QLabel>(w, "LabelLeftTime")->text(), U("00:05:00"));
    }

    void openingALibraryRestartsTheSpeedButNotTheRunClock() {
        StudyFixture f("clock_reopen");
        f.WriteLibrary("a.lx", NumberedWords(6));
        f.WriteLibrary("b.lx", NumberedWords(6));
        TformMain& w = f.Create();
        f.Open("a.lx");
        for (int i = 0; i < 2; ++i) QTest::mouseClick(Child<QPushButton>(w, "ButtonNextWord"), Qt::LeftButton);
        for (int i = 0; i < 10; ++i) w.TimerTimer();
        QCOMPARE(Child<QLabel>(w, "LabelSpeed")->text(), U("12 词/分"));  // 2 words in 10 s

        f.Open("b.lx");
        w.TimerTimer();
        QCOMPARE(Child<QLabel>(w, "LabelThisTime")->text(), U("00:00:11"));
        QCOMPARE(Child<QLabel>(w, "LabelSpeed")->text(), U("0 词/分"));
        QCOMPARE(w.Session().WordLib.ActiveSeconds, 1);
    }

    void hoursWrapAtSixty() {
        StudyFixture f("clock_hours");
        TformMain& w = f.Create();
        w.Session().WordLib.TotalTime = 61 * 3600;
        w.Session().WordLib.ThisLoopTime = 3599;
        w.TimerTimer();
        QCOMPARE(Child<QLabel>(w, "LabelTotalTime")->text(), U("01:00:00"));
        QCOMPARE(Child<QLabel>(w, "LabelThisLoopTime")->text(), U("00:59:59"));
        QCOMPARE(w.Session().WordLib.TotalTime, 61 * 3600 + 1);
    }

    // "本次时间" keeps its value on every screen: a caption without its
    // value only puzzles the learner.
    void theRunTimeHasItsValueOnEveryScreen_data() {
        QTest::addColumn<int>("width");
        QTest::newRow("640") << 640;
        QTest::newRow("800") << 800;
        QTest::newRow("811") << 811;
    }
    void theRunTimeHasItsValueOnEveryScreen() {
        QFETCH(int, width);
        StudyFixture f("clock_small");
        TformMain& w = f.Create();
        w.screenWidth = [width] { return width; };
        w.TimerTimer();
        QVERIFY(Child<QLabel>(w, "LabelThisTime")->isVisible());
        QCOMPARE(Child<QLabel>(w, "LabelThisTime")->text(), U("00:00:01"));
        QCOMPARE(Child<QLabel>(w, "PanelThisTime")->text(), U("00:00:01"));
    }

    void fiveIdleMinutesPauseAndDoNotCount() {
        StudyFixture f("clock_idle");
        f.WriteLibrary("lib.lx", NumberedWords(4));
        TformMain& w = f.Create();
        auto* buttonPause = Child<QPushButton>(w, "ButtonPause");
        f.Open("lib.lx");
        w.Session().Clock().start();
        w.Session().WordLib.TotalTime = 1000;
        w.Session().WordLib.ThisLoopTime = 500;
        const int active = w.Session().WordLib.ActiveSeconds;

        for (int i = 0; i < 299; ++i) w.TimerTimer();
        QCOMPARE(buttonPause->text(), U("暂停学习"));
        QVERIFY(w.Session().Clock().isActive());

        w.TimerTimer();
        QCOMPARE(buttonPause->text(), U("继续学习"));
        QVERIFY(!w.Session().Clock().isActive());
        QVERIFY(!Child<QFrame>(w, "pcontrol")->isEnabled());
        QCOMPARE(Child<QLabel>(w, "PanelComment")->text(), U("暂停学习"));
        QCOMPARE(w.Session().Clock().property("Tag").toInt(), 1);
        QCOMPARE(w.Session().WordLib.TotalTime, 1000);
        QCOMPARE(w.Session().WordLib.ThisLoopTime, 500);
        QCOMPARE(w.Session().WordLib.ActiveSeconds, active + 300);  // the speed counts the idle time

        // Typing keeps the clock from pausing.
        QTest::mouseClick(buttonPause, Qt::LeftButton);
        QCOMPARE(w.Session().WordLib.IdleSeconds, 0);
        for (int i = 0; i < 299; ++i) w.TimerTimer();
        f.Type("a");
        QCOMPARE(w.Session().WordLib.IdleSeconds, 0);
        w.TimerTimer();
        QCOMPARE(buttonPause->text(), U("暂停学习"));
    }

    void workingTheControlStripIsNotIdling() {
        StudyFixture f("clock_strip");
        TformMain& w = f.Create();
        QPushButton* strip[] = {Child<QPushButton>(w, "ButtonFullScreen"), Child<QPushButton>(w, "ButtonDeGrade"),
                                Child<QPushButton>(w, "ButtonUpGrade"),    Child<QPushButton>(w, "ButtonPriorWord"),
                                Child<QPushButton>(w, "ButtonNextWord"),   Child<QPushButton>(w, "ButtonPrompt"),
                                Child<QPushButton>(w, "ButtonMyNewWord")};
        for (QPushButton* button : strip) {
            w.Session().WordLib.IdleSeconds = 120;
            w.Session().Clock().start();
            QTest::mouseClick(button, Qt::LeftButton);
            QCOMPARE(w.Session().WordLib.IdleSeconds, 0);
            QVERIFY2(w.Session().Clock().isActive(), qPrintable(button->objectName()));
        }
    }
};

QTEST_MAIN(TestClock)
#include "tst_formmain_commands_clock.moc"
