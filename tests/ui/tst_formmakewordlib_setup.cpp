// The settings window and its study settings page, driven through its real
// controls beside a real study window.

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <memory>
#include <optional>

#include "core/gbktext.h"
#include "settings/formmakewordlib.h"
#include "shell/appwindows.h"
#include "shell/formstart.h"
#include "shell/windowwiring.h"
#include "support/find_child.h"
#include "support/settings_fixture.h"
#include "widgets/answeredit.h"
#include "widgets/colourchooser.h"
#include "widgets/colourvalue.h"
#include "widgets/screentext.h"

namespace {

int Colour(const QFrame* panel) { return ValueFromColour(panel->palette().color(QPalette::Window)); }

int StudyBackground(const TformMain& w) {
    return ValueFromColour(Child<QFrame>(w, "PanelMain")->palette().color(QPalette::Window));
}

}  // namespace

class TestSettings : public QObject {
    Q_OBJECT
private slots:
    void openersBringTheirPageToTheFront_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("page");
        QTest::newRow("参数设置") << "suiButton4"
                                  << "PanelSetup";
        QTest::newRow("收藏管理") << "suiButton3"
                                  << "PanelModifyWordLib";
        QTest::newRow("软件报错") << "suiButton5"
                                  << "PanelErrorReport";
    }
    void openersBringTheirPageToTheFront() {
        QFETCH(QString, button);
        QFETCH(QString, page);
        SettingsFixture s("settings_open");
        TformMakeWordLib& w = *s.settings;
        w.BringToFront(w.PanelWordsWithoutWav);
        s.study->Session().Clock().start();
        QTest::mouseClick(s.study->findChild<QPushButton*>(button), Qt::LeftButton);
        QVERIFY(w.isVisible());
        QCOMPARE(w.FrontPage()->objectName(), page);
        QVERIFY(!s.study->isEnabled());
        QVERIFY(!s.study->Session().Clock().isActive());

        // The title bar cannot close it; only the page's own button leaves.
        QVERIFY(!w.close());
        QVERIFY(w.isVisible());
        QPushButton* back = s.PageReturn();
        QVERIFY(back);
        QCOMPARE(back->text(), U("返 回"));
        QTest::mouseClick(back, Qt::LeftButton);
        QVERIFY(!w.isVisible());
        QVERIFY(s.study->isEnabled());
        QVERIFY(s.study->Session().Clock().isActive());
    }

    void windowTakesTheStoredSettingsAtCreation() {
        SettingsFixture s("settings_create", [](TManage& m) {
            m.mute = true;
            m.autocleareditinput = true;
            m.showsentence = true;
            m.delaytime = 1500;
            m.sentencecountperword = 2;
            m.fontnamecn = Gbk("黑体");
            m.fontnameen = "Courier New";
            m.fontcolor = 16446940;
            m.backcolor = 10181638;
            m.bordercolor = 15650749;
        });
        TformMakeWordLib& w = *s.settings;
        TformMain& study = *s.study;
        QVERIFY(w.CheckBoxMute->isChecked());
        QVERIFY(w.CheckBoxAutoClearEditInput->isChecked());
        QVERIFY(w.CheckBoxShowSentence->isChecked());
        QVERIFY(w.SpinEditSentenceCountPerWord->isEnabled());
        QCOMPARE(w.SpinEditDelayTime->value(), 1500);
        QCOMPARE(Child<QTimer>(study, "TimerPrompt")->interval(), 1500);
        QCOMPARE(w.SpinEditSentenceCountPerWord->value(), 2);
        QCOMPARE(study.Session().WordLib.SentenceCountPerWord, 2);
        QCOMPARE(w.FontComboBoxCN->currentText(), U("黑体"));
        QCOMPARE(w.FontComboBoxEN->currentText(), U("Courier New"));
        QCOMPARE(Child<QTextEdit>(study, "MemoC")->font().family(), U("黑体"));
        QCOMPARE(Child<QPlainTextEdit>(study, "MemoSentence")->font().family(), U("黑体"));
        QCOMPARE(Child<QLabel>(study, "PanelE")->font().family(), U("Courier New"));
        QCOMPARE(Colour(w.PanelFontColor), 16446940);
        QCOMPARE(Colour(w.PanelBackColor), 10181638);
        QCOMPARE(Colour(w.PanelBorderColor), 15650749);
        for (const StudyValues* lib : {static_cast<const StudyValues*>(&study.Session().WordLib),
                                       static_cast<const StudyValues*>(&study.Session().WordLib0)}) {
            QVERIFY(lib->Mute);
            QVERIFY(lib->AutoClear);
            QVERIFY(lib->ShowSentence);
            QCOMPARE(lib->FontColor, 16446940);
            QCOMPARE(lib->BackColor, 10181638);
        }
        // The matching scheme is selected when the page is shown.
        s.OpenSetup();
        QCOMPARE(w.ComboBoxSetColor->currentText(), U("旧版默认"));
    }

    void programWindowSetWorksWithTheStartWindowsStoreAndTheStudyWindow() {
        StudyFixture f("settings_window_set");
        TformMain& study = f.Create();
        TformStart start(f.gbkProgramFolder);
        start.Manage.delaytime = 1234;
        start.Manage.mute = true;
        {
            TformMakeWordLib settings(start.Manage, study.Session());
            WireSettings(study, settings);
            WireSettingsToStart(start, settings, study);
            QCOMPARE(settings.SpinEditDelayTime->value(), 1234);
            QCOMPARE(Child<QTimer>(study, "TimerPrompt")->interval(), 1234);
            QVERIFY(study.Session().WordLib.Mute);
            settings.SpinEditDelayTime->setValue(99);
            QCOMPARE(start.Manage.delaytime, 99);
            QCOMPARE(f.manage.delaytime, 800);
        }
        // Gone, it is no longer asked for the settings.
        QVERIFY(!study.Session().activationSource);
    }

    void storedNumbersOutsideTheirRangeAreClampedAndKept_data() {
        QTest::addColumn<int>("delay");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("shownDelay");
        QTest::addColumn<int>("shownCount");
        QTest::newRow("zero") << 0 << 0 << 1 << 1;
        QTest::newRow("negative") << -5 << -1 << 1 << 1;
        QTest::newRow("too large") << 100001 << 4 << 100000 << 3;
        QTest::newRow("in range") << 800 << 3 << 800 << 3;
    }
    void storedNumbersOutsideTheirRangeAreClampedAndKept() {
        QFETCH(int, delay);
        QFETCH(int, count);
        QFETCH(int, shownDelay);
        QFETCH(int, shownCount);
        SettingsFixture s("settings_clamp", [&](TManage& m) {
            m.delaytime = delay;
            m.sentencecountperword = count;
        });
        QCOMPARE(s.settings->SpinEditDelayTime->value(), shownDelay);
        QCOMPARE(s.f.manage.delaytime, shownDelay);
        QCOMPARE(Child<QTimer>(s.study, "TimerPrompt")->interval(), shownDelay);
        QCOMPARE(s.settings->SpinEditSentenceCountPerWord->value(), shownCount);
        QCOMPARE(s.f.manage.sentencecountperword, shownCount);
        QCOMPARE(s.study->Session().WordLib.SentenceCountPerWord, shownCount);
    }

    void numberBoxesTakeEffectAtOnce() {
        SettingsFixture s("settings_numbers", [](TManage& m) { m.showsentence = true; });
        s.OpenSetup();
        TformMakeWordLib& w = *s.settings;
        w.SpinEditDelayTime->setValue(2500);
        QCOMPARE(s.f.manage.delaytime, 2500);
        QCOMPARE(Child<QTimer>(s.study, "TimerPrompt")->interval(), 2500);
        QTest::keyClick(w.SpinEditSentenceCountPerWord, Qt::Key_Up);
        QCOMPARE(w.SpinEditSentenceCountPerWord->value(), 2);
        QCOMPARE(s.f.manage.sentencecountperword, 2);
        QCOMPARE(s.study->Session().WordLib.SentenceCountPerWord, 2);
    }

    void aTypedDelayOutsideTheRangeIsBroughtIntoIt() {
        SettingsFixture s("settings_typed");
        s.OpenSetup();
        QSpinBox* box = s.settings->SpinEditDelayTime;
        // Opened above the study window, the settings have the keyboard.
        QTRY_VERIFY(s.settings->isActiveWindow());
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, "0");
        QCOMPARE(s.f.manage.delaytime, 800);  // not a value yet
        QTest::keyClick(box, Qt::Key_Tab);
        QCOMPARE(box->value(), 1);
        QCOMPARE(s.f.manage.delaytime, 1);
        QCOMPARE(Child<QTimer>(s.study, "TimerPrompt")->interval(), 1);
    }

    void sentenceCountOnlyWhileSentencesAreTicked() {
        SettingsFixture s("settings_count");
        s.OpenSetup();
        TformMakeWordLib& w = *s.settings;
        QVERIFY(!w.SpinEditSentenceCountPerWord->isEnabled());
        QTest::keyClick(w.SpinEditSentenceCountPerWord, Qt::Key_Up);
        QCOMPARE(s.f.manage.sentencecountperword, 1);
        s.Click(w.CheckBoxShowSentence);
        QVERIFY(w.SpinEditSentenceCountPerWord->isEnabled());
        s.Click(w.CheckBoxShowSentence);
        QVERIFY(!w.SpinEditSentenceCountPerWord->isEnabled());
    }

    void switchesAreStoredOnlyWhenTheLearnerClicksThem_data() {
        QTest::addColumn<QString>("box");
        QTest::newRow("静音") << "CheckBoxMute";
        QTest::newRow("拼写错误时自动清除") << "CheckBoxAutoClearEditInput";
    }
    void switchesAreStoredOnlyWhenTheLearnerClicksThem() {
        QFETCH(QString, box);
        SettingsFixture s("settings_switch");
        s.OpenSetup();
        QCheckBox* check = s.settings->findChild<QCheckBox*>(box);
        auto stored = [&] { return box == "CheckBoxMute" ? s.f.manage.mute : s.f.manage.autocleareditinput; };
        auto inList = [&](const StudyValues& v) { return box == "CheckBoxMute" ? v.Mute : v.AutoClear; };

        // Set by the program: nothing is written.
        check->setChecked(true);
        QVERIFY(!stored());
        QVERIFY(!inList(s.study->Session().WordLib));
        check->setChecked(false);

        s.Click(check);
        QVERIFY(check->isChecked());
        QVERIFY(stored());
        QVERIFY(inList(s.study->Session().WordLib));
        QVERIFY(inList(s.study->Session().WordLib0));
        s.Click(check);
        QVERIFY(!stored());
        QVERIFY(!inList(s.study->Session().WordLib));
        QVERIFY(!inList(s.study->Session().WordLib0));
    }

    // "接受读音作答": off unless stored on; a click is stored at once and
    // judges the next answer of the study window.
    void readingSettingJudgesTheNextAnswer() {
        SettingsFixture stored("settings_reading_stored", [](TManage& m) { m.acceptreading = true; });
        QVERIFY(stored.settings->CheckBoxAcceptReading->isChecked());

        SettingsFixture s("settings_reading");
        QCheckBox* check = s.settings->CheckBoxAcceptReading;
        QCOMPARE(check->text(), U("接受读音作答"));
        QVERIFY(!check->isChecked());
        s.study->Session().DataLists.readingText = Gbk("\n食べる\tたべる\n");
        s.f.WriteLibrary("kanji.lx", {{"食べる", "吃"}, {"飲む", "喝"}});
        s.f.Open("kanji.lx");
        for (bool on : {true, false, true}) {
            s.OpenSetup();
            if (check->isChecked() != on) s.Click(check);
            QCOMPARE(s.f.manage.acceptreading, on);
            const std::string saved = Utf8(s.f.manage.ConfigFileText());
            QVERIFY(saved.find(on ? "<acceptreading>-1</acceptreading>\n" : "<acceptreading>0</acceptreading>\n") !=
                    std::string::npos);
            s.Return();
            Child<AnswerEdit>(s.study, "EditInput")->setText(QStringLiteral("たべる"));
            s.f.Enter();
            QCOMPARE(s.f.Comment(), on ? QStringLiteral("正 确") : QStringLiteral("错 误"));
            s.f.Press(Qt::Key_Escape);
        }
    }

    void muteSilencesTheNextRecordingAndSurvivesTheReturn() {
        SettingsFixture s("settings_mute");
        s.f.WriteRecording("Neko.wav");
        s.OpenSetup();
        s.Click(s.settings->CheckBoxMute);
        s.Return();
        // The study window reads the boxes back when it becomes active.
        QEvent activate(QEvent::WindowActivate);
        QCoreApplication::sendEvent(s.study, &activate);
        QVERIFY(s.f.manage.mute);
        s.f.Type("Neko");
        s.f.Enter();
        QVERIFY(s.f.Player().played.isEmpty());

        s.OpenSetup();
        s.Click(s.settings->CheckBoxMute);
        s.Return();
        QCoreApplication::sendEvent(s.study, &activate);
        s.f.Press(Qt::Key_Escape);
        s.f.Type("Neko");
        s.f.Enter();
        QCOMPARE(s.f.PlayedNames(), QStringList{"Neko.wav"});
    }

    void sentenceFilesAreReadOnlyWhenTheSwitchChangesOn() {
        SettingsFixture s("settings_sentences");
        TformMakeWordLib& w = *s.settings;
        TformMain& study = *s.study;
        auto* memoSentence = Child<QPlainTextEdit>(study, "MemoSentence");
        s.f.WriteList("lx3.en", "s0\tt0\n");
        s.f.WriteList("lx4.en", "index\nNeko\t0\n");

        s.OpenSetup();
        s.Click(w.CheckBoxShowSentence);
        s.Return();
        QVERIFY(s.f.manage.showsentence);
        QVERIFY(study.Session().WordLib.ShowSentence);
        QVERIFY(study.Session().WordLib0.ShowSentence);
        QCOMPARE(study.Session().DataLists.sentenceLines, std::vector<std::string>({"s0\tt0"}));
        QVERIFY(memoSentence->isVisible());
        QCOMPARE(memoSentence->toPlainText(), QString("s0\nt0"));

        // Ticked and unticked within one visit: no file is read.
        s.f.WriteList("lx3.en", "s1\tt1\n");
        s.OpenSetup();
        s.Click(w.CheckBoxShowSentence);
        s.Click(w.CheckBoxShowSentence);
        s.Return();
        QCOMPARE(study.Session().DataLists.sentenceLines, std::vector<std::string>({"s0\tt0"}));

        // Off: the lists stay in memory, the box leaves the screen.
        s.OpenSetup();
        s.Click(w.CheckBoxShowSentence);
        s.Return();
        QVERIFY(!s.f.manage.showsentence);
        QVERIFY(!study.Session().WordLib.ShowSentence);
        QVERIFY(!study.Session().WordLib0.ShowSentence);
        QVERIFY(!memoSentence->isVisible());
        QCOMPARE(study.Session().DataLists.sentenceLines, std::vector<std::string>({"s0\tt0"}));

        // On again at a later visit: read afresh.
        s.OpenSetup();
        s.Click(w.CheckBoxShowSentence);
        s.Return();
        QCOMPARE(study.Session().DataLists.sentenceLines, std::vector<std::string>({"s1\tt1"}));
        QCOMPARE(memoSentence->toPlainText(), QString("s1\nt1"));
    }

    void missingSentenceFilesGiveEmptyListsSilently() {
        SettingsFixture s("settings_no_sentences");
        s.study->Session().DataLists.sentenceLines = {"old"};
        s.OpenSetup();
        s.Click(s.settings->CheckBoxShowSentence);
        s.Return();
        QVERIFY(s.study->Session().DataLists.sentenceLines.empty());
        QVERIFY(s.f.messages.Texts().empty());
        QVERIFY(!Child<QPlainTextEdit>(s.study, "MemoSentence")->isVisible());
    }

    void schemesSetAllThreeColoursAndRepaintAtOnce_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("font");
        QTest::addColumn<int>("back");
        QTest::addColumn<int>("border");
        QTest::newRow("默认") << 0 << 16777215 << 10045497 << 15650749;
        QTest::newRow("旧版默认") << 1 << 16446940 << 10181638 << 15650749;
        QTest::newRow("护眼一") << 2 << 16777215 << 32768 << 16777215;
        QTest::newRow("护眼二") << 3 << 16777215 << 3764026 << 16777215;
        QTest::newRow("清爽") << 4 << 16777215 << 12880158 << 16777215;
        QTest::newRow("温馨") << 5 << 16777215 << 9986713 << 16777215;
        QTest::newRow("凝重") << 6 << 16777199 << 8404992 << 14793392;
    }
    void schemesSetAllThreeColoursAndRepaintAtOnce() {
        QFETCH(int, index);
        QFETCH(int, font);
        QFETCH(int, back);
        QFETCH(int, border);
        // Start from a scheme other than the one chosen.
        SettingsFixture s("settings_scheme", [index](TManage& m) {
            if (index == 0) m.backcolor = 32768;
        });
        TformMakeWordLib& w = *s.settings;
        s.OpenSetup();
        s.Pick(w.ComboBoxSetColor, index);
        QCOMPARE(Colour(w.PanelFontColor), font);
        QCOMPARE(Colour(w.PanelBackColor), back);
        QCOMPARE(Colour(w.PanelBorderColor), border);
        QCOMPARE(s.f.manage.fontcolor, font);
        QCOMPARE(s.f.manage.backcolor, back);
        QCOMPARE(s.f.manage.bordercolor, border);
        QCOMPARE(s.study->Session().WordLib.FontColor, font);
        QCOMPARE(s.study->Session().WordLib0.BackColor, back);
        QCOMPARE(StudyBackground(*s.study), back);

        // Reopened after another page: the scheme is still selected.
        s.Return();
        w.ComboBoxSetColor->setCurrentIndex(index == 0 ? 1 : 0);
        s.OpenSetup();
        QCOMPARE(w.ComboBoxSetColor->currentIndex(), index);
    }

    void aColourPickedByHandShowsNoSchemeName() {
        SettingsFixture s("settings_pick");
        TformMakeWordLib& w = *s.settings;
        s.OpenSetup();
        s.Pick(w.ComboBoxSetColor, 4);
        s.chosenColour = 0x123456;
        QTest::mouseClick(w.PanelBackColor, Qt::LeftButton);
        QCOMPARE(s.asked, std::vector<int>{12880158});
        QCOMPARE(Colour(w.PanelBackColor), 0x123456);
        QCOMPARE(s.f.manage.backcolor, 0x123456);
        QCOMPARE(StudyBackground(*s.study), 0x123456);
        // The colours make no scheme any more: the box says so at once and
        // after the page is opened again.
        QCOMPARE(w.ComboBoxSetColor->currentIndex(), -1);
        QCOMPARE(w.ComboBoxSetColor->placeholderText(), U("自定义"));
        s.Return();
        s.OpenSetup();
        QCOMPARE(w.ComboBoxSetColor->currentIndex(), -1);
        // Picked back to the scheme's colour, the box names the scheme again.
        s.chosenColour = 12880158;
        QTest::mouseClick(w.PanelBackColor, Qt::LeftButton);
        QCOMPARE(w.ComboBoxSetColor->currentText(), U("清爽"));

        // Font and border panels write their own keys.
        s.chosenColour = 0x00FF00;
        QTest::mouseClick(w.PanelFontColor, Qt::LeftButton);
        QCOMPARE(s.f.manage.fontcolor, 0x00FF00);
        s.chosenColour = 0x0000FF;
        QTest::mouseClick(w.PanelBorderColor, Qt::LeftButton);
        QCOMPARE(s.f.manage.bordercolor, 0x0000FF);
        QCOMPARE(s.f.manage.backcolor, 12880158);
        QCOMPARE(w.ComboBoxSetColor->currentIndex(), -1);
    }

    // A word is hidden by painting it in the background colour, so a font
    // colour at or near the background would hide every word for good: the
    // pick is refused with a message and nothing changes.
    void aColourTooCloseToTheOtherIsRefused_data() {
        QTest::addColumn<QString>("panel");
        QTest::addColumn<int>("chosen");
        QTest::addColumn<QString>("message");
        QTest::newRow("font = background")
            << "PanelFontColor" << 10045497 << "字体颜色与背景颜色太接近，单词会看不清！\r\n\r\n请另选一种字体颜色。";
        QTest::newRow("font nearly the background")
            << "PanelFontColor" << 10045497 + 0x020202
            << "字体颜色与背景颜色太接近，单词会看不清！\r\n\r\n请另选一种字体颜色。";
        QTest::newRow("background = font")
            << "PanelBackColor" << 16777215 << "背景颜色与字体颜色太接近，单词会看不清！\r\n\r\n请另选一种背景颜色。";
        QTest::newRow("background nearly the font")
            << "PanelBackColor" << 0xF0F0F0 << "背景颜色与字体颜色太接近，单词会看不清！\r\n\r\n请另选一种背景颜色。";
    }
    void aColourTooCloseToTheOtherIsRefused() {
        QFETCH(QString, panel);
        QFETCH(int, chosen);
        QFETCH(QString, message);
        SettingsFixture s("settings_refuse");
        TformMakeWordLib& w = *s.settings;
        s.OpenSetup();
        s.chosenColour = chosen;
        QTest::mouseClick(w.findChild<QFrame*>(panel), Qt::LeftButton);
        QCOMPARE(s.f.messages.Texts(), std::vector<std::string>{message.toStdString()});
        QCOMPARE(Colour(w.PanelFontColor), 16777215);
        QCOMPARE(Colour(w.PanelBackColor), 10045497);
        QCOMPARE(s.f.manage.fontcolor, 16777215);
        QCOMPARE(s.f.manage.backcolor, 10045497);
        QCOMPARE(StudyBackground(*s.study), 10045497);
        QCOMPARE(w.ComboBoxSetColor->currentText(), U("默认"));
        QVERIFY(s.f.WordShown());

        // A colour that stands out is taken.
        s.chosenColour = panel == "PanelFontColor" ? 0x00FFFF : 0x202020;
        QTest::mouseClick(w.findChild<QFrame*>(panel), Qt::LeftButton);
        QCOMPARE(s.f.messages.Texts().size(), size_t(1));
        QCOMPARE(panel == "PanelFontColor" ? s.f.manage.fontcolor : s.f.manage.backcolor, *s.chosenColour);
    }

    // The learner has not answered yet: a new scheme or background keeps
    // the reading and meaning hidden, in the new background, and the word
    // shown, in the new font colour.
    void newColoursKeepTheHiddenAnswerHidden() {
        SettingsFixture s("settings_hidden");
        TformMakeWordLib& w = *s.settings;
        TformMain& study = *s.study;
        auto* memoC = Child<QTextEdit>(study, "MemoC");
        QVERIFY(s.f.WordShown());
        QVERIFY(!s.f.ReadingShown());
        QVERIFY(!s.f.MeaningShown());
        const auto painted = [&](QWidget* text, QPalette::ColorRole role) {
            return ValueFromColour(text->palette().color(role));
        };
        s.OpenSetup();
        s.Pick(w.ComboBoxSetColor, 6);  // "凝重"
        QCOMPARE(painted(Child<QLabel>(study, "PanelE"), QPalette::WindowText), 16777199);
        QCOMPARE(painted(Child<QLabel>(study, "PanelT"), QPalette::WindowText), 8404992);
        QCOMPARE(painted(memoC, QPalette::Text), 8404992);
        QCOMPARE(StudyBackground(study), 8404992);

        s.chosenColour = 0x203040;
        QTest::mouseClick(w.PanelBackColor, Qt::LeftButton);
        QCOMPARE(painted(Child<QLabel>(study, "PanelT"), QPalette::WindowText), 0x203040);
        QCOMPARE(painted(memoC, QPalette::Text), 0x203040);
        QCOMPARE(painted(Child<QLabel>(study, "PanelE"), QPalette::WindowText), 16777199);
        s.Return();
        QVERIFY(s.f.WordShown());
        QVERIFY(!s.f.ReadingShown());
        QVERIFY(!s.f.MeaningShown());

        // A wrong answer shows the whole entry, in the new font colour.
        s.f.Type("x");
        s.f.Enter();
        QVERIFY(s.f.ReadingShown());
        QVERIFY(s.f.MeaningShown());
        QCOMPARE(painted(memoC, QPalette::Text), 16777199);
    }

    void storedColoursOfNoSchemeShowNoSchemeName() {
        SettingsFixture s("settings_custom", [](TManage& m) { m.backcolor = 0x123456; });
        s.OpenSetup();
        QCOMPARE(s.settings->ComboBoxSetColor->currentIndex(), -1);
        QCOMPARE(s.settings->ComboBoxSetColor->placeholderText(), U("自定义"));
    }

    void aCancelledColourChooserChangesNothing() {
        SettingsFixture s("settings_cancel");
        TformMakeWordLib& w = *s.settings;
        s.OpenSetup();
        s.chosenColour.reset();
        for (QFrame* panel : {w.PanelFontColor, w.PanelBackColor, w.PanelBorderColor})
            QTest::mouseClick(panel, Qt::LeftButton);
        QCOMPARE(s.asked.size(), size_t(3));
        QCOMPARE(Colour(w.PanelFontColor), 16777215);
        QCOMPARE(Colour(w.PanelBackColor), 10045497);
        QCOMPARE(Colour(w.PanelBorderColor), 15650749);
        QCOMPARE(s.f.manage.fontcolor, 16777215);
        QCOMPARE(s.f.manage.backcolor, 10045497);
        QCOMPARE(s.f.manage.bordercolor, 15650749);
        QCOMPARE(w.ComboBoxSetColor->currentText(), U("默认"));
    }

    void fontBoxesSetTheStudyWindowsFonts() {
        SettingsFixture s("settings_fonts");
        TformMakeWordLib& w = *s.settings;
        s.OpenSetup();
        QVERIFY(w.FontComboBoxCN->count() > 0);
        const int last = w.FontComboBoxCN->count() - 1;
        const QString cn = w.FontComboBoxCN->itemText(last);
        s.Pick(w.FontComboBoxCN, last);
        QCOMPARE(QString::fromStdString(Utf8(s.f.manage.fontnamecn)), cn);
        QCOMPARE(Child<QTextEdit>(s.study, "MemoC")->font().family(), cn);
        QCOMPARE(Child<QPlainTextEdit>(s.study, "MemoSentence")->font().family(), cn);
        QCOMPARE(s.f.manage.fontnameen, std::string("Times New Roman"));

        const QString en = w.FontComboBoxEN->itemText(last);
        s.Pick(w.FontComboBoxEN, last);
        QCOMPARE(QString::fromStdString(s.f.manage.fontnameen), en);
        QCOMPARE(Child<QLabel>(s.study, "PanelE")->font().family(), en);
    }
};

QTEST_MAIN(TestSettings)
#include "tst_formmakewordlib_setup.moc"
