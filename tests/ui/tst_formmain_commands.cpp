// Commands on the study window as a whole: pause and resume, the F9 hot
// key, the layout rules for small screens, "返  回" and the buttons that open
// the other windows.

#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSet>
#include <QStackedWidget>
#include <QTextEdit>
#include <QTimer>
#include <QWindow>
#include <QtTest>
#include <filesystem>
#include <memory>

#include "core/gbktext.h"
#include "core/scrambledfile.h"
#include "core/tagtext.h"
#include "help/formhelp.h"
#include "platform/hotkey.h"
#include "select/selectwordlib.h"
#include "settings/formmakewordlib.h"
#include "shell/appwindows.h"
#include "shell/formstart.h"
#include "shell/windowset.h"
#include "shell/windowwiring.h"
#include "support/find_child.h"
#include "support/study_fixture.h"
#include "widgets/answeredit.h"
#include "widgets/colourvalue.h"
#include "widgets/screentext.h"

namespace {

QColor CaptionColour(const QPushButton* button) { return button->palette().color(QPalette::ButtonText); }

// Whether the button, as drawn now, has its caption in the buttons' design
// colour, a strong blue (the button itself is drawn in greys).
bool DrawsBlueCaption(QPushButton* button) {
    const QImage image = button->grab().toImage().convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c(image.pixel(x, y));
            if (c.blue() - c.red() > 100) return true;
        }
    return false;
}

// The buttons of the strip and the command panel that draw their caption
// in the buttons' design colour.
int ButtonsInDesignColour(const TformMain& w) {
    int n = 0;
    for (QWidget* panel : {Child<QWidget>(w, "pcontrol"), Child<QWidget>(w, "PanelButtons")})
        for (QPushButton* button : panel->findChildren<QPushButton*>()) n += DrawsBlueCaption(button);
    return n;
}

bool PanelsEnabled(const TformMain& w) {
    const bool all = Child<QFrame>(w, "pcontrol")->isEnabled() && Child<QFrame>(w, "Panel2")->isEnabled() &&
                     Child<QFrame>(w, "PanelGrade")->isEnabled() && Child<QFrame>(w, "PanelButtons")->isEnabled();
    const bool none = !Child<QFrame>(w, "pcontrol")->isEnabled() && !Child<QFrame>(w, "Panel2")->isEnabled() &&
                      !Child<QFrame>(w, "PanelGrade")->isEnabled() && !Child<QFrame>(w, "PanelButtons")->isEnabled();
    if (!all && !none) qWarning("the four panels disagree");
    return all;
}

// The "返 回" of the settings window's front page.
QPushButton* SettingsPageReturn(const TformMakeWordLib& settings) {
    QWidget* page = settings.FrontPage();
    if (page == settings.PanelSetup) return settings.suiButton9;
    if (page == settings.PanelModifyWordLib) return settings.suiButton4;
    if (page == settings.PanelErrorReport) return settings.suiButton10;
    return page->findChild<QPushButton*>(page->objectName() + "Return");
}

// The other windows of the program, as the study window finds them; the
// settings window works on the study window's store and is wired to it as
// in the program.
struct OtherWindows {
    OtherWindows(const std::string& gbkProgramFolder, TformMain* study)
        : start(gbkProgramFolder), settings(study->Session().Config(), study->Session()) {
        formMain = study;
        formStart = &start;
        SelectWordLib = &select;
        formHelp = &help;
        formMakeWordLib = &settings;
        WireSettings(*study, settings);
        WireSettingsToStart(start, settings, *study);
        WireHelp(*study, help, {&select, &settings});
        WireStart(start, *study);
        if (study) WireSelection(*study, select, start);
    }
    ~OtherWindows() {
        formMain = nullptr;
        formStart = nullptr;
        SelectWordLib = nullptr;
        formHelp = nullptr;
        formMakeWordLib = nullptr;
    }
    TformStart start;
    TSelectWordLib select;
    TformHelp help;
    TformMakeWordLib settings;
};

// A study window on "lib.lx" of `words` words, beside the other windows.
struct StudyWithOthers {
    StudyWithOthers(const std::string& name, int words, const std::string& libraryUtf8 = "lib.lx")
        : f(name), library(libraryUtf8) {
        f.WriteLibrary(library, NumberedWords(words));
        w = &f.Create();
        others = std::make_unique<OtherWindows>(f.gbkProgramFolder, w);
        f.Open(library);
    }
    std::string Saved() const {
        return ReadScrambledFile(f.programFolder / "users" / "user0" / std::filesystem::u8path(library)).value_or("");
    }

    StudyFixture f;
    std::string library;
    TformMain* w = nullptr;
    std::unique_ptr<OtherWindows> others;
};

}  // namespace

class TestWindowCommands : public QObject {
    Q_OBJECT

private slots:
    void pauseAndResume() {
        StudyFixture f("cmd_pause");
        TformMain& w = f.Create();
        auto* buttonPause = Child<QPushButton>(w, "ButtonPause");
        auto* panelComment = Child<QLabel>(w, "PanelComment");
        w.Session().Clock().start();
        QCOMPARE(CaptionColour(buttonPause), ColourFromValue(13583874));
        Child<QPlainTextEdit>(w, "MemoSentence")->raise();

        QTest::mouseClick(buttonPause, Qt::LeftButton);
        QCOMPARE(buttonPause->text(), U("继续学习"));
        // The note lies over the sentence box, not hidden behind it.
        QCOMPARE(panelComment->parentWidget()->children().last(), static_cast<QObject*>(panelComment));
        QCOMPARE(CaptionColour(buttonPause), ColourFromValue(2963455));
        QVERIFY(panelComment->isVisible());
        QCOMPARE(panelComment->text(), U("暂停学习"));
        QVERIFY(!PanelsEnabled(w));
        QVERIFY(!w.Session().Clock().isActive());
        QVERIFY(!Child<QTimer>(w, "TimerSetFocus")->isActive());
        QVERIFY(buttonPause->isEnabled());  // the way back stays open
        // The buttons that cannot be used look so: none keeps its caption colour.
        QCOMPARE(ButtonsInDesignColour(w), 0);

        w.Session().WordLib.IdleSeconds = 77;
        QTest::mouseClick(buttonPause, Qt::LeftButton);
        QCOMPARE(buttonPause->text(), U("暂停学习"));
        QCOMPARE(CaptionColour(buttonPause), ColourFromValue(13583874));
        QVERIFY(!panelComment->isVisible());
        QCOMPARE(panelComment->text(), U("正 确"));
        QVERIFY(PanelsEnabled(w));
        QCOMPARE(ButtonsInDesignColour(w), 15);  // "学习统计" among them
        QVERIFY(w.Session().Clock().isActive());
        QVERIFY(Child<QTimer>(w, "TimerSetFocus")->isActive());
        QCOMPARE(w.Session().WordLib.IdleSeconds, 0);
        QCOMPARE(QApplication::focusWidget(), Child<QWidget>(w, "EditInput"));
    }

    void f9HidesAndPausesThenShowsAndResumes() {
        StudyFixture f("cmd_f9");
        TformMain& w = f.Create();
        auto* buttonPause = Child<QPushButton>(w, "ButtonPause");
        OtherWindows others(f.gbkProgramFolder, &w);
        w.Session().Clock().start();
        QCOMPARE(f.HotKey().registeredId, 2000);
        QCOMPARE(f.HotKey().registeredKey, 0x78);  // F9, no modifier keys

        QVERIFY(f.HotKey().Press());
        QVERIFY(!w.isVisible());
        QCOMPARE(buttonPause->text(), U("继续学习"));
        QVERIFY(!w.Session().Clock().isActive());

        QVERIFY(f.HotKey().Press());
        QVERIFY(w.isVisible());
        QCOMPARE(buttonPause->text(), U("暂停学习"));
        QVERIFY(w.Session().Clock().isActive());

        // Already paused: hiding resumes the clock while the window is away.
        QTest::mouseClick(buttonPause, Qt::LeftButton);
        QVERIFY(f.HotKey().Press());
        QVERIFY(!w.isVisible());
        QCOMPARE(buttonPause->text(), U("暂停学习"));
        QVERIFY(w.Session().Clock().isActive());
    }

    void closedWindowGivesTheKeyBack() {
        // Keys held by the system-wide grab, as the desktop sees them.
        struct Desktop {
            std::vector<int> held;
        } desktop;
        class Grab : public HotKeyAdapter {
        public:
            explicit Grab(Desktop& d) : d_(d) {}
            bool Register(int id, int, std::function<void()>) override {
                d_.held.push_back(id);
                return true;
            }
            void Unregister(int id) override { std::erase(d_.held, id); }

        private:
            Desktop& d_;
        };
        StudyFixture f("cmd_release");
        const HotKeyFactory previous = SetHotKeyFactory([&] { return std::make_unique<Grab>(desktop); });
        {
            TformMain w(f.manage);
            QCOMPARE(desktop.held, std::vector<int>{2000});
        }
        SetHotKeyFactory(previous);
        QVERIFY(desktop.held.empty());
    }

    void f9DoesNothingWhileTheLoginWindowIsUp() {
        StudyFixture f("cmd_f9_login");
        TformMain& w = f.Create();
        OtherWindows others(f.gbkProgramFolder, &w);
        others.start.show();
        QVERIFY(f.HotKey().Press());
        QVERIFY(w.isVisible());
        QCOMPARE(Child<QPushButton>(w, "ButtonPause")->text(), U("暂停学习"));
    }

    void layoutFollowsTheScreenWidth_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("border");
        QTest::addColumn<bool>("readModes");
        QTest::newRow("640") << 640 << 0 << false;
        QTest::newRow("800") << 800 << 0 << true;
        QTest::newRow("1024") << 1024 << 50 << true;
    }
    void layoutFollowsTheScreenWidth() {
        QFETCH(int, width);
        QFETCH(int, border);
        QFETCH(bool, readModes);
        StudyFixture f("cmd_layout");
        TformMain& w = f.Create();
        w.screenWidth = [width] { return width; };
        w.resize(w.width() + 10, w.height());
        QTRY_COMPARE(w.layout()->contentsMargins().left(), border);
        QCOMPARE(Child<QFrame>(w, "Panel2")->isVisible(), readModes);
    }

    void stripAndNoteStayCentred_data() {
        QTest::addColumn<QSize>("size");
        QTest::newRow("1024x768") << QSize(1024, 768);
        QTest::newRow("800x600") << QSize(800, 600);
        QTest::newRow("1280x1024") << QSize(1280, 1024);
    }
    void stripAndNoteStayCentred() {
        QFETCH(QSize, size);
        StudyFixture f("cmd_centre");
        TformMain& w = f.Create();
        w.resize(size);
        const auto centred = [](const QWidget* child, const QWidget* box) {
            return child->x() == (box->width() - child->width()) / 2 &&
                   child->y() == (box->height() - child->height()) / 2;
        };
        QTRY_VERIFY(centred(Child<QFrame>(w, "pcontrol"), Child<QGroupBox>(w, "GroupBoxBottom")));
        QVERIFY(centred(Child<QLabel>(w, "PanelComment"), Child<QGroupBox>(w, "GroupBoxMiddle")));
        QVERIFY(Child<QFrame>(w, "pcontrol")->isVisible());
    }

    void returnSavesEmptiesAndShowsTheStartWindow() {
        StudyWithOthers s("cmd_return", 3);
        StudyFixture& f = s.f;
        TformMain& w = *s.w;
        OtherWindows& others = *s.others;
        f.manage.delaytime = 1234;
        w.Session().Clock().start();
        others.help.show();
        f.Space();  // the next word counts a showing
        const std::string before = s.Saved();

        QTest::mouseClick(Child<QPushButton>(w, "ButtonReturn"), Qt::LeftButton);
        const std::string saved = s.Saved();
        QVERIFY(saved != before);
        QVERIFY(FindGbk(saved, "<t>1</t>") != std::string::npos);
        const auto ini = ReadScrambledFile(f.programFolder / "init.ini");
        QVERIFY(ini);
        QCOMPARE(FindTagValue(*ini, "delaytime"), std::string("1234"));
        QCOMPARE(w.Session().WordLib0.Count, 0);
        QVERIFY(Child<QLabel>(w, "PanelE")->text().isEmpty());
        QVERIFY(Child<QLabel>(w, "PanelT")->text().isEmpty());
        QVERIFY(Child<QTextEdit>(w, "MemoC")->toPlainText().isEmpty());
        QVERIFY(!w.isVisible());
        QVERIFY(!others.help.isVisible());
        QVERIFY(others.start.isVisible());
        QCOMPARE(others.start.FrontPanel(), others.start.PanelStart);
        QVERIFY(!w.Session().Clock().isActive());

        // Nothing of this library is left to be studied or saved over.
        w.show();
        f.messages.shown.clear();
        QTest::mouseClick(Child<QPushButton>(w, "ButtonNextWord"), Qt::LeftButton);
        QCOMPARE(f.messages.Texts(), std::vector<std::string>{"请先选择词库"});
        QCOMPARE(s.Saved(), saved);
    }

    void openersDisableTheWindowUntilTheyAreLeft_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("window");
        QTest::addColumn<bool>("releaseEndsIdling");
        QTest::newRow("选择词库") << "ButtonSelectWordLib"
                                  << "SelectWordLib" << true;
        QTest::newRow("单词分组") << "suiButton2"
                                  << "SelectWordLib" << false;
        QTest::newRow("参数设置") << "suiButton4"
                                  << "formMakeWordLib" << true;
        QTest::newRow("收藏管理") << "suiButton3"
                                  << "formMakeWordLib" << true;
        QTest::newRow("软件报错") << "suiButton5"
                                  << "formMakeWordLib" << true;
    }
    void openersDisableTheWindowUntilTheyAreLeft() {
        QFETCH(QString, button);
        QFETCH(QString, window);
        QFETCH(bool, releaseEndsIdling);
        StudyWithOthers s("cmd_open", 3);
        TformMain& w = *s.w;
        OtherWindows& others = *s.others;
        w.Session().Clock().start();
        QWidget* opened =
            window == "SelectWordLib" ? static_cast<QWidget*>(&others.select) : static_cast<QWidget*>(&others.settings);

        w.Session().WordLib.IdleSeconds = 100;
        QTest::mouseClick(w.findChild<QPushButton*>(button), Qt::LeftButton);
        QCOMPARE(w.Session().WordLib.IdleSeconds, releaseEndsIdling ? 0 : 100);
        QVERIFY(opened->isVisible());
        QVERIFY(!w.isEnabled());
        QVERIFY(!w.Session().Clock().isActive());

        // Neither dialog closes from its title bar; the front page's own
        // button is the way out.
        if (opened == &others.select)
            QTest::mouseClick(others.select.Pages->currentWidget()->findChild<QPushButton*>(
                                  button == "ButtonSelectWordLib" ? "suiButton2" : "suiButton6"),
                              Qt::LeftButton);
        else
            QTest::mouseClick(SettingsPageReturn(others.settings), Qt::LeftButton);
        QVERIFY(!opened->isVisible());
        QVERIFY(w.isEnabled());
        QVERIFY(w.Session().Clock().isActive());
    }

    void helpLeavesTheWindowEnabledAndStopsBothTimers() {
        StudyFixture f("cmd_help");
        TformMain& w = f.Create();
        OtherWindows others(f.gbkProgramFolder, &w);
        w.Session().Clock().start();
        w.Session().WordLib.IdleSeconds = 100;
        QTest::mouseClick(Child<QPushButton>(w, "suiButton10"), Qt::LeftButton);
        QCOMPARE(w.Session().WordLib.IdleSeconds, 0);
        QVERIFY(others.help.isVisible());
        QVERIFY(w.isEnabled());
        QVERIFY(!w.Session().Clock().isActive());
        QVERIFY(!Child<QTimer>(w, "TimerSetFocus")->isActive());

        others.help.close();
        QVERIFY(w.Session().Clock().isActive());
        QVERIFY(Child<QTimer>(w, "TimerSetFocus")->isActive());
    }

    // Every command answers a key named in its tooltip, from the answer box
    // where the learner types; the window it opens stands above the study
    // window and Esc leaves it the way its own button does.
    void commandKeysOpenTheirWindowsAndEscLeavesThem_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("window");
        QTest::newRow("帮助向导") << int(Qt::Key_F1) << "suiButton10"
                                  << "formHelp";
        QTest::newRow("选择词库") << int(Qt::Key_F2) << "ButtonSelectWordLib"
                                  << "SelectWordLib";
        QTest::newRow("单词分组") << int(Qt::Key_F3) << "suiButton2"
                                  << "SelectWordLib";
        QTest::newRow("参数设置") << int(Qt::Key_F4) << "suiButton4"
                                  << "formMakeWordLib";
        QTest::newRow("收藏管理") << int(Qt::Key_F6) << "suiButton3"
                                  << "formMakeWordLib";
        QTest::newRow("软件报错") << int(Qt::Key_F7) << "suiButton5"
                                  << "formMakeWordLib";
    }
    void commandKeysOpenTheirWindowsAndEscLeavesThem() {
        QFETCH(int, key);
        QFETCH(QString, button);
        QFETCH(QString, window);
        StudyWithOthers s("cmd_keys", 3);
        TformMain& w = *s.w;
        OtherWindows& others = *s.others;
        s.f.messages.shown.clear();
        w.Session().Clock().start();
        QWidget* opened = window == "SelectWordLib" ? static_cast<QWidget*>(&others.select)
                          : window == "formHelp"    ? static_cast<QWidget*>(&others.help)
                                                    : static_cast<QWidget*>(&others.settings);
        QVERIFY(w.findChild<QPushButton*>(button)->toolTip().endsWith(
            QStringLiteral("（%1）").arg(QKeySequence(key).toString(QKeySequence::NativeText))));

        Child<AnswerEdit>(w, "EditInput")->setFocus();
        const QString wordBefore = s.f.WordText();
        QTest::keyClick(Child<AnswerEdit>(w, "EditInput"), Qt::Key(key));
        QTRY_VERIFY(opened->isVisible());
        QCOMPARE(s.f.WordText(), wordBefore);  // the key is not typing
        QCOMPARE(s.f.Answer(), QString());
        QVERIFY(!w.Session().Clock().isActive());
        QVERIFY(opened->windowHandle());
        QCOMPARE(opened->windowHandle()->transientParent(), w.windowHandle());

        opened->activateWindow();
        QTRY_VERIFY(opened->isActiveWindow());
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : opened, Qt::Key_Escape);
        QTRY_VERIFY(!opened->isVisible());
        QVERIFY(w.isEnabled());
        QVERIFY(w.Session().Clock().isActive());
    }

    // The pause has its own key, and the same key ends it although the
    // answer box cannot be reached while the window is paused.
    void pauseKeyPausesAndResumes() {
        StudyFixture f("cmd_pause_key");
        TformMain& w = f.Create();
        auto* editInput = Child<AnswerEdit>(w, "EditInput");
        w.Session().Clock().start();
        editInput->setFocus();
        QTest::keyClick(editInput, Qt::Key_F8);
        QTRY_VERIFY(w.IsPaused());
        QVERIFY(!w.Session().Clock().isActive());
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &w, Qt::Key_F8);
        QTRY_VERIFY(!w.IsPaused());
        QVERIFY(w.Session().Clock().isActive());
        QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(editInput));

        // Paused with a click, Enter resumes as well.
        QTest::mouseClick(Child<QPushButton>(w, "ButtonPause"), Qt::LeftButton);
        QVERIFY(w.IsPaused());
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &w, Qt::Key_Return);
        QVERIFY(!w.IsPaused());
    }

    // Tab goes round every command and back to the answer box; the focus
    // keeper leaves a command the learner tabbed to, and Enter presses it.
    void tabReachesTheCommandsAndEnterPressesThem() {
        StudyWithOthers s("cmd_tab", 3);
        TformMain& w = *s.w;
        auto* editInput = Child<AnswerEdit>(w, "EditInput");
        OtherWindows& others = *s.others;
        editInput->setFocus();
        QSet<QString> reached;
        for (int i = 0; i < 60; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            if (QApplication::focusWidget() == editInput) break;
            if (auto* button = qobject_cast<QPushButton*>(QApplication::focusWidget()))
                reached.insert(button->objectName());
        }
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(editInput));
        const QSet<QString> commands{"ButtonPause",  "suiButton2", "ButtonSelectWordLib", "suiButton5", "suiButton3",
                                     "ButtonReturn", "suiButton4", "suiButton10",         "ButtonStats"};
        QVERIFY2(reached.contains(commands), qPrintable(QStringList(reached.values()).join(' ')));
        // A click does not move the keyboard out of the answer box.
        editInput->setFocus();
        QTest::mouseClick(Child<QPushButton>(w, "ButtonPause"), Qt::LeftButton);
        QTest::mouseClick(Child<QPushButton>(w, "ButtonPause"), Qt::LeftButton);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(editInput));

        for (int i = 0; i < 60 && QApplication::focusWidget() != Child<QPushButton>(w, "suiButton10"); ++i)
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        w.TimerSetFocusTimer();
        QCOMPARE(QApplication::focusWidget(), Child<QWidget>(w, "suiButton10"));
        QTest::keyClick(Child<QPushButton>(w, "suiButton10"), Qt::Key_Return);
        QTRY_VERIFY(others.help.isVisible());
    }

    // A second start calls this program forward: the window the learner
    // works in comes to the front with the keyboard, whichever it is, and a
    // study window hidden by F9 comes back resumed.
    void callFromASecondStartBringsTheWorkingWindowForward_data() {
        QTest::addColumn<QString>("state");
        QTest::newRow("studying") << "studying";
        QTest::newRow("selection dialog open") << "dialog";
        QTest::newRow("hidden by F9") << "hidden";
        QTest::newRow("logged out") << "start";
    }
    void callFromASecondStartBringsTheWorkingWindowForward() {
        QFETCH(QString, state);
        StudyWithOthers s("cmd_forward", 3);
        TformMain& w = *s.w;
        OtherWindows& others = *s.others;
        w.show();
        w.Session().Clock().start();
        QWidget* expected = &w;
        if (state == "dialog") {
            QTest::mouseClick(Child<QPushButton>(w, "ButtonSelectWordLib"), Qt::LeftButton);
            QVERIFY(others.select.isVisible());
            expected = &others.select;
        } else if (state == "hidden") {
            w.WMHotKey();
            QVERIFY(!w.isVisible());
            QVERIFY(w.IsPaused());
        } else if (state == "start") {
            w.Session().Clock().stop();
            w.hide();
            others.start.show();
            expected = &others.start;
        }
        // Another program has the keyboard.
        QWidget elsewhere;
        elsewhere.show();
        elsewhere.activateWindow();
        QTRY_COMPARE(QApplication::activeWindow(), &elsewhere);

        BringWindowSetForward();
        QTRY_COMPARE(QApplication::activeWindow(), expected);
        QVERIFY(expected->isVisible());
        if (state != "start") {
            QVERIFY(w.isVisible());
            QCOMPARE(w.IsPaused(), false);
        }
        QCOMPARE(w.Session().Clock().isActive(), state == "studying" || state == "hidden");
    }

    void windowPausedByF9StaysPausedWhenTheOtherWindowCloses_data() {
        QTest::addColumn<QString>("button");
        QTest::newRow("帮助向导") << "suiButton10";
        QTest::newRow("参数设置") << "suiButton4";
    }
    void windowPausedByF9StaysPausedWhenTheOtherWindowCloses() {
        QFETCH(QString, button);
        StudyWithOthers s("cmd_open_f9", 3);
        TformMain& w = *s.w;
        w.Session().Clock().start();
        QTest::mouseClick(w.findChild<QPushButton*>(button), Qt::LeftButton);
        QWidget* opened = button == "suiButton10" ? static_cast<QWidget*>(&s.others->help)
                                                  : static_cast<QWidget*>(&s.others->settings);
        QVERIFY(s.f.HotKey().Press());
        QVERIFY(!w.isVisible());
        QCOMPARE(Child<QPushButton>(w, "ButtonPause")->text(), U("继续学习"));

        if (opened == &s.others->help)
            opened->close();
        else
            QTest::mouseClick(SettingsPageReturn(s.others->settings), Qt::LeftButton);
        QVERIFY(w.isEnabled());
        QVERIFY(!w.Session().Clock().isActive());
        QVERIFY(!Child<QTimer>(w, "TimerSetFocus")->isActive());

        QVERIFY(s.f.HotKey().Press());
        QVERIFY(w.isVisible());
        QCOMPARE(Child<QPushButton>(w, "ButtonPause")->text(), U("暂停学习"));
        QVERIFY(w.Session().Clock().isActive());
    }

    void selectionDialogGetsTheProgressSaved() {
        StudyWithOthers s("cmd_select_save", 3);
        s.f.Space();
        QTest::mouseClick(Child<QPushButton>(s.w, "ButtonSelectWordLib"), Qt::LeftButton);
        QVERIFY(FindGbk(s.Saved(), "<t>1</t>") != std::string::npos);
    }

    // The refusal leaves the study as it was: clock running, window enabled,
    // the half-typed answer still in its box, visible, with the caret.
    void favouritesManagementRefusedOnTheFavouritesLibrary() {
        StudyWithOthers s("cmd_fav", 2, "收藏库备份.lx");
        StudyFixture& f = s.f;
        TformMain& w = *s.w;
        OtherWindows& others = *s.others;
        w.Session().Clock().start();
        f.Type("w");
        QCOMPARE(f.Answer(), U("w"));
        const bool visibleBefore = f.AnswerTextVisible();
        const QString layoutWord = f.WordText();
        const bool meaningBefore = f.MeaningShown();
        f.messages.shown.clear();  // the help guide finds no help file here
        w.Session().WordLib.IdleSeconds = 100;

        QTest::mouseClick(Child<QPushButton>(w, "suiButton3"), Qt::LeftButton);
        QCOMPARE(f.messages.Texts(),
                 std::vector<std::string>{"您正在使用收藏库，不能进行此操作！\r\n\r\n请随便选一个其他词库，再尝试"});
        QVERIFY(!others.settings.isVisible());
        QVERIFY(w.isEnabled());
        QVERIFY(w.Session().Clock().isActive());
        QVERIFY(Child<QTimer>(w, "TimerSetFocus")->isActive());
        QCOMPARE(w.Session().WordLib.IdleSeconds, 0);
        QCOMPARE(f.Answer(), U("w"));
        QCOMPARE(f.AnswerTextVisible(), visibleBefore);
        QCOMPARE(f.WordText(), layoutWord);
        QCOMPARE(f.MeaningShown(), meaningBefore);
        QVERIFY(Child<AnswerEdit>(w, "EditInput")->hasFocus());
    }
};

QTEST_MAIN(TestWindowCommands)
#include "tst_formmain_commands.moc"
