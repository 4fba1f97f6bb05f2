// The help guide: topics and pages read from "start.ini", paging, reloading,
// opening at a named topic, and what it does to the study window beside it.

#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QToolButton>
#include <QtTest>
#include <filesystem>
#include <fstream>
#include <memory>

#include "core/gbktext.h"
#include "help/formhelp.h"
#include "select/selectwordlib.h"
#include "shell/appwindows.h"
#include "shell/windowwiring.h"
#include "support/find_child.h"
#include "support/study_fixture.h"
#include "widgets/screentext.h"

namespace {

// Three pages in the guide's own topic, two elsewhere; "abc" is a title
// that differs from "ABC" only in case.
const char* const kHelpText =
    "<helplist>\n<item>关于帮助向导</item><item>单词分组</item><item>abc</item>"
    "<item>背单词过程演示</item><item>没有内容</item></helplist>\n"
    "<关于帮助向导>\n<step>第一页\n第二行</step>\n<step>第二页</step><step>第三页</step>\n</关于帮助向导>\n"
    "<单词分组><step>分组一</step><Step>大写的标记</Step></单词分组>\n"
    "<abc><step>lower</step></abc>\n"
    "<背单词过程演示><step>演示</step></背单词过程演示>\n";

QStringList Items(const QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i) items << box->itemText(i);
    return items;
}

// A help guide beside a study window on a program folder of its own, wired
// as the program wires them, with a selection dialog that holds the study
// window while it is open.
struct Guide {
    explicit Guide(const std::string& name, const char* helpUtf8 = kHelpText) : f(name) {
        if (helpUtf8) WriteHelp(helpUtf8);
        study = &f.Create();
        formMain = study;
        dialog = std::make_unique<TSelectWordLib>();
        help = std::make_unique<TformHelp>();
        WireHelp(*study, *help, {dialog.get()});
    }
    ~Guide() { formMain = nullptr; }
    // The file as the program folder holds it: GBK with CR LF line breaks.
    void WriteHelp(const char* utf8) {
        std::string text = Gbk(utf8);
        std::string crlf;
        for (char c : text) {
            if (c == '\n') crlf += '\r';
            crlf += c;
        }
        std::ofstream(f.programFolder / "start.ini", std::ios::binary) << crlf;
    }
    QString Page() const { return help->memoHelp->toPlainText(); }
    void Pick(const char* title) {
        const int index = help->comboHelpList->findText(U(title));
        QVERIFY(index >= 0);
        help->comboHelpList->setCurrentIndex(index);
        emit help->comboHelpList->activated(index);
    }
    void Click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

    StudyFixture f;
    TformMain* study = nullptr;
    std::unique_ptr<TSelectWordLib> dialog;
    std::unique_ptr<TformHelp> help;
};

}  // namespace

class TestHelpGuide : public QObject {
    Q_OBJECT

private slots:
    void loadsTheTopicsInFileOrderAndOpensOnTheGuidesFirstPage() {
        Guide g("help_load");
        QCOMPARE(Items(g.help->comboHelpList),
                 QStringList({U("关于帮助向导"), U("单词分组"), "abc", U("背单词过程演示"), U("没有内容")}));
        QCOMPARE(g.help->comboHelpList->currentText(), U("关于帮助向导"));
        QCOMPARE(g.Page(), U("第一页\n第二行"));
        QCOMPARE(g.help->PageNumber(), 0);
        QVERIFY(g.f.messages.Texts().empty());
        QCOMPARE(g.help->windowTitle(), U("帮助向导"));
        QVERIFY(g.help->windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(g.help->memoHelp->isReadOnly());
    }

    // Paging ends on the topic's last page and on its first: no empty page
    // past the end, no wrapping round, and the page number always in view.
    void pagingStaysWithinTheTopicAndSaysWhereItIs() {
        Guide g("help_paging");
        QCOMPARE(g.help->LabelPage->text(), U("第 1 / 3 页"));
        QVERIFY(!g.help->suiButton1->isEnabled());
        QVERIFY(g.help->suiButton3->isEnabled());
        g.help->suiButton1Click();
        QCOMPARE(g.Page(), U("第一页\n第二行"));

        struct Step {
            bool forward;
            const char* page;
            const char* label;
        };
        const Step steps[] = {{true, "第二页", "第 2 / 3 页"},          {true, "第三页", "第 3 / 3 页"},
                              {true, "第三页", "第 3 / 3 页"},          {false, "第二页", "第 2 / 3 页"},
                              {false, "第一页\n第二行", "第 1 / 3 页"}, {false, "第一页\n第二行", "第 1 / 3 页"}};
        for (const Step& step : steps) {
            // The button itself where it can be pressed; the handler (as
            // a key would reach it) where it is greyed out.
            QPushButton* button = step.forward ? g.help->suiButton3 : g.help->suiButton1;
            if (button->isEnabled())
                g.Click(button);
            else if (step.forward)
                g.help->suiButton3Click();
            else
                g.help->suiButton1Click();
            QCOMPARE(g.Page(), U(step.page));
            QCOMPARE(g.help->LabelPage->text(), U(step.label));
        }
        g.Click(g.help->suiButton3);
        g.Click(g.help->suiButton3);
        QCOMPARE(g.help->PageNumber(), 2);
        QVERIFY(!g.help->suiButton3->isEnabled());
        QVERIFY(g.help->suiButton1->isEnabled());
        // Another topic starts on its own first page.
        g.Pick("单词分组");
        QCOMPARE(g.help->LabelPage->text(), U("第 1 / 1 页"));
        QVERIFY(!g.help->suiButton1->isEnabled());
        QVERIFY(!g.help->suiButton3->isEnabled());
    }

    void pickingATopicShowsItsFirstPage_data() {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("page");
        QTest::newRow("a topic") << U("单词分组") << U("分组一");
        QTest::newRow("listed without a section") << U("没有内容") << QString();
    }
    void pickingATopicShowsItsFirstPage() {
        QFETCH(QString, title);
        QFETCH(QString, page);
        Guide g("help_pick");
        g.Click(g.help->suiButton3);
        g.Pick(title.toUtf8().constData());
        QCOMPARE(g.Page(), page);
        QCOMPARE(g.help->PageNumber(), 0);
        // A page tag written with a capital is no page: there is no page
        // after the first.
        g.help->suiButton3Click();
        QCOMPARE(g.Page(), page);
        QCOMPARE(g.help->PageNumber(), 0);
        QCOMPARE(g.help->LabelPage->text(), page.isEmpty() ? QString() : U("第 1 / 1 页"));
    }

    void showHelpTopicFindsOnlyTheExactTitle() {
        Guide g("help_named");
        g.help->ShowHelpTopicUtf8("单词分组");
        QCOMPARE(g.help->comboHelpList->currentText(), U("单词分组"));
        QCOMPARE(g.Page(), U("分组一"));

        for (const char* title : {"ABC", "单词", "导入词库", ""}) {
            g.help->ShowHelpTopicUtf8(title);
            QCOMPARE(g.help->comboHelpList->currentText(), U("单词分组"));
            QCOMPARE(g.Page(), U("分组一"));
        }
        g.help->ShowHelpTopicUtf8("abc");
        QCOMPARE(g.Page(), QString("lower"));
    }

    void demonstrationTopicHoldsTheStudyWindowUntilLeft() {
        Guide g("help_demo");
        g.study->Session().Clock().start();
        g.Pick("背单词过程演示");
        QVERIFY(!g.study->isEnabled());
        QVERIFY(g.study->Session().Clock().isActive());  // a running clock goes on
        g.Pick("单词分组");
        QVERIFY(g.study->isEnabled());

        g.Pick("背单词过程演示");
        g.help->show();
        g.Click(g.help->suiButton2);
        QVERIFY(g.study->isEnabled());
        // Shown again on the demonstration, the study window waits again.
        g.help->show();
        QVERIFY(!g.study->isEnabled());
    }

    void studyButtonOpensTheGuideWhereItWasAndReturnGivesTheClocksBack() {
        Guide g("help_open");
        TformMain& w = *g.study;
        auto* timerSetFocus = Child<QTimer>(w, "TimerSetFocus");
        g.Pick("关于帮助向导");
        g.Click(g.help->suiButton3);
        g.help->hide();
        w.Session().Clock().start();
        timerSetFocus->start();

        g.Click(Child<QPushButton>(w, "suiButton10"));
        QVERIFY(g.help->isVisible());
        QVERIFY(w.isEnabled());
        QVERIFY(!w.Session().Clock().isActive());
        QVERIFY(!timerSetFocus->isActive());
        QCOMPARE(g.Page(), U("第二页"));

        g.Click(g.help->suiButton2);
        QVERIFY(!g.help->isVisible());
        QVERIFY(w.isEnabled());
        QVERIFY(w.Session().Clock().isActive());
        QVERIFY(timerSetFocus->isActive());
    }

    void titleBarLikeTheOtherWindowsAndItsCloseGivesTheClocksBack() {
        Guide g("help_titlebar");
        TformMain& w = *g.study;
        QVERIFY(g.help->windowFlags() & Qt::FramelessWindowHint);
        auto* caption = g.help->findChild<QLabel*>("TitleBarCaption");
        QVERIFY(caption);
        QCOMPARE(caption->text(), U("帮助向导"));
        w.Session().Clock().start();
        Child<QTimer>(w, "TimerSetFocus")->start();
        g.Click(Child<QPushButton>(w, "suiButton10"));
        QVERIFY(!w.Session().Clock().isActive());
        QTest::mouseClick(g.help->findChild<QToolButton*>("TitleBarClose"), Qt::LeftButton);
        QVERIFY(!g.help->isVisible());
        QVERIFY(w.isEnabled());
        QVERIFY(w.Session().Clock().isActive());
        QVERIFY(Child<QTimer>(w, "TimerSetFocus")->isActive());
    }

    void returnLeavesAPausedStudyWindowPaused() {
        Guide g("help_paused");
        TformMain& w = *g.study;
        g.Click(Child<QPushButton>(w, "suiButton10"));
        QTest::mouseClick(Child<QPushButton>(w, "ButtonPause"), Qt::LeftButton);
        QCOMPARE(Child<QPushButton>(w, "ButtonPause")->text(), U("继续学习"));
        g.Click(g.help->suiButton2);
        QVERIFY(w.isEnabled());
        QVERIFY(!w.Session().Clock().isActive());
        QVERIFY(!Child<QTimer>(w, "TimerSetFocus")->isActive());
    }

    void anOpenDialogKeepsTheStudyWindowWhenTheGuideIsLeft() {
        Guide g("help_dialog");
        TformMain& w = *g.study;
        TSelectWordLib& select = *g.dialog;
        // The grouping page took the study window and opened the guide.
        w.setEnabled(false);
        w.Session().Clock().stop();
        Child<QTimer>(w, "TimerSetFocus")->stop();
        select.show();
        g.help->show();
        g.help->ShowHelpTopicUtf8("单词分组");
        QVERIFY(!w.isEnabled());
        g.Click(g.help->suiButton2);
        QVERIFY(!w.isEnabled());
        QVERIFY(!w.Session().Clock().isActive());
        // The dialog restarts the clock when it is left, the focus keeper
        // runs again already.
        QVERIFY(Child<QTimer>(w, "TimerSetFocus")->isActive());
    }

    // Opened from the study window, whatever its size, the guide stands
    // below the word box and on the screen: never over the word, its
    // reading or its meaning.
    void placedBelowTheWordOnTheScreen_data() {
        QTest::addColumn<bool>("fullScreen");
        QTest::newRow("design size") << false;
        QTest::newRow("whole screen") << true;
    }
    void placedBelowTheWordOnTheScreen() {
        QFETCH(bool, fullScreen);
        Guide g("help_place");
        TformMain& w = *g.study;
        if (fullScreen) w.setGeometry(QGuiApplication::primaryScreen()->availableGeometry());
        QTRY_VERIFY(w.isVisible());
        QTest::mouseClick(Child<QPushButton>(w, "suiButton10"), Qt::LeftButton);
        QTRY_VERIFY(g.help->isVisible());
        const QRect word(Child<QGroupBox>(w, "GroupBoxTop")->mapToGlobal(QPoint(0, 0)),
                         Child<QGroupBox>(w, "GroupBoxTop")->size());
        const QRect guide = g.help->frameGeometry();
        QVERIFY2(!guide.intersects(word), qPrintable(QStringLiteral("guide %1,%2 %3x%4, word box bottom %5")
                                                         .arg(guide.x())
                                                         .arg(guide.y())
                                                         .arg(guide.width())
                                                         .arg(guide.height())
                                                         .arg(word.bottom())));
        QVERIFY(QGuiApplication::primaryScreen()->availableGeometry().contains(guide));
    }

    void missingFileIsReportedAndTheListKept() {
        Guide g("help_missing", nullptr);
        QCOMPARE(g.f.messages.Texts(), std::vector<std::string>{"帮助文件不存在"});
        QCOMPARE(Items(g.help->comboHelpList),
                 QStringList({U("关于帮助向导"), U("制作文本"), U("制作语音"), U("听力练习")}));
        QCOMPARE(g.Page(), QString());

        // Clicking "当前向导：" reads the file again.
        g.WriteHelp(kHelpText);
        g.f.messages.shown.clear();
        QTest::mouseClick(g.help->LabelCurrent, Qt::LeftButton);
        QVERIFY(g.f.messages.Texts().empty());
        QCOMPARE(g.help->comboHelpList->count(), 5);
        g.help->ShowHelpTopicUtf8("单词分组");

        std::filesystem::remove(g.f.programFolder / "start.ini");
        QTest::mouseClick(g.help->LabelCurrent, Qt::LeftButton);
        QCOMPARE(g.f.messages.Texts(), std::vector<std::string>{"帮助文件不存在"});
        QCOMPARE(g.help->comboHelpList->count(), 5);
        QCOMPARE(g.help->comboHelpList->currentText(), U("单词分组"));
        QCOMPARE(g.Page(), U("分组一"));
    }

    void fileWithoutTheGuidesTopicOpensOnItsFirstTopic() {
        Guide g("help_other_first",
                "<helplist><item>单词分组</item></helplist><单词分组><step>分组一</step></单词分组>");
        QCOMPARE(g.help->comboHelpList->currentText(), U("单词分组"));
        QCOMPARE(g.Page(), U("分组一"));
        g.help->suiButton3Click();
        QCOMPARE(g.Page(), U("分组一"));
    }

    void linesEndingInLineFeedsOnlyAreReadToo() {
        Guide g("help_lf");
        std::ofstream(g.f.programFolder / "start.ini", std::ios::binary) << Gbk(
            "<helplist><item>关于帮助向导</item></helplist>\n<关于帮助向导><step>一\n二</step></关于帮助向导>\n");
        QTest::mouseClick(g.help->LabelCurrent, Qt::LeftButton);
        QCOMPARE(Items(g.help->comboHelpList), QStringList{U("关于帮助向导")});
        QCOMPARE(g.Page(), U("一\n二"));
    }
};

QTEST_MAIN(TestHelpGuide)
#include "tst_formhelp.moc"
