// The start window and start-up: captions and controls of the start panel,
// the close rules, configuration loading, the message box, and the window
// set made in its order.

#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QToolButton>
#include <QWindow>
#include <QtTest>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <stdexcept>

#include "core/appmessage.h"
#include "core/gbktext.h"
#include "core/numbertext.h"
#include "core/programfolder.h"
#include "core/scrambledfile.h"
#include "help/formhelp.h"
#include "platform/hotkey.h"
#include "platform/shellopen.h"
#include "select/selectwordlib.h"
#include "settings/formmakewordlib.h"
#include "shell/appwindows.h"
#include "shell/formstart.h"
#include "shell/lexilarkapplication.h"
#include "shell/programfolder.h"
#include "shell/windowset.h"
#include "stats/formstats.h"
#include "study/formmain.h"
#include "support/find_child.h"
#include "support/message_recorder.h"
#include "support/modal_answerer.h"
#include "widgets/messagebox.h"
#include "widgets/plainmessage.h"
#include "widgets/radiogroup.h"
#include "widgets/screentext.h"
#include "widgets/titlebar.h"

namespace fs = std::filesystem;

namespace {

// A program folder of its own, optionally with an init.ini.
struct ProgramFolderFixture {
    QTemporaryDir dir;
    fs::path path() const { return fs::path(dir.path().toStdString()); }
    std::string gbk() const { return FromNativePath(path()) + "/"; }
    fs::path ini() const { return path() / "init.ini"; }
    void writeIni(const char* utf8Plain) const { QVERIFY(WriteScrambledFile(ini(), Gbk(utf8Plain))); }
    std::string iniBytes() const {
        QFile file(QString::fromStdString(ini().string()));
        if (!file.open(QIODevice::ReadOnly)) return {};
        return file.readAll().toStdString();
    }
};

}  // namespace

class TestFormStart : public QObject {
    Q_OBJECT
private slots:
    void startPanelShowsItsCaptionsAndControls();
    void startPanelFirstShowsTheSameWindowAndTakesTheOtherPanelsBehindIt();
    void closingTheWindowEndsTheProgram();
    void enterPressesTheFocusedButton_data();
    void enterPressesTheFocusedButton();
    void exitEndsTheProgramWithoutWritingTheConfiguration();
    void missingConfigurationGivesTheDefaults();
    void configurationIsLoadedWhenTheWindowIsCreated();
    void helpButtonOpensTheHelpFileOfTheProgramFolder_data();
    void helpButtonOpensTheHelpFileOfTheProgramFolder();
    void desktopFindsNoHelpFileInAFolderWithoutIt();
    void manualOpensInXchmWithItsWholePath_data();
    void manualOpensInXchmWithItsWholePath();
    void passwordBoxesMaskWithStars();
    void programFolderIsTheExecutablesWhateverTheWorkingFolder();
    void windowSetIsCreatedHiddenWithTheConfigurationLoadedFirst();
    void windowSetIsDeletedInReverseAndTheStudyWindowLetsF9Go();
    void startWindowIsCompletedAfterItsFirstPaintBeforeTheOtherWindows();
    void messageBoxAnswersWithThePlatformCodes_data();
    void messageBoxAnswersWithThePlatformCodes();
    void messageBoxStandsAboveItsWindowOrAboveAll();
    void messageBoxLeavesRoomForItsTitle();
    void uncaughtErrorsAreShownWithTheirMessage();
};

void TestFormStart::startPanelShowsItsCaptionsAndControls() {
    ProgramFolderFixture folder;
    TformStart form(folder.gbk());
    QCOMPARE(form.windowTitle(), U(" 澜悦系列软件>澜悦单词(日语版)"));
    QCOMPARE(form.size(), QSize(343, 270));
    QVERIFY(form.windowFlags() & Qt::FramelessWindowHint);
    QCOMPARE(form.findChild<QLabel*>("TitleBarCaption")->text(), form.windowTitle());

    for (const char* name : {"PanelStart", "PanelLogon", "PanelManage"}) {
        QVERIFY2(form.findChild<QWidget*>(name), name);
    }
    QCOMPARE(form.FrontPanel(), form.findChild<QWidget*>("PanelStart"));

    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QVERIFY(form.PanelStart->isVisible());
    QVERIFY(!form.PanelLogon->isVisible());
    QVERIFY(!form.PanelManage->isVisible());

    struct Expected {
        const char* name;
        const char* text;
        bool shown;
    };
    const Expected labels[] = {
        {"LabelVersion", "澜悦日语单词 Lexilark V1.0 ", true},
        {"Label14", "推荐将分辨率设置为 800×600 或 1024×768", true},
    };
    for (const Expected& e : labels) {
        auto* label = form.PanelStart->findChild<QLabel*>(e.name);
        QVERIFY2(label, e.name);
        QCOMPARE(label->text(), U(e.text));
        QVERIFY(label->isVisible());
    }
    const Expected buttons[] = {
        {"suiButton1", "开始背单词", true}, {"suiButton2", "用户管理", true}, {"suiButton5", "导入词库", true},
        {"suiButton6", "系统帮助", true},   {"suiButton4", "退出系统", true}, {"suiButton3", "进度备份", true},
    };
    for (const Expected& e : buttons) {
        auto* button = form.PanelStart->findChild<QPushButton*>(e.name);
        QVERIFY2(button, e.name);
        QCOMPARE(button->text(), U(e.text));
        QCOMPARE(button->isVisible(), e.shown);
        QCOMPARE(button->isEnabled(), e.shown);
    }
    // The six buttons stand in this order, top to bottom, and the hint
    // below them is whole inside the window.
    const char* order[] = {"suiButton1", "suiButton2", "suiButton3", "suiButton5", "suiButton6", "suiButton4"};
    for (int i = 1; i < 6; ++i) {
        QVERIFY(form.findChild<QPushButton*>(order[i - 1])->geometry().bottom() <
                form.findChild<QPushButton*>(order[i])->y());
    }
    const QLabel* hint = form.PanelStart->findChild<QLabel*>("Label14");
    QVERIFY(form.findChild<QPushButton*>("suiButton4")->geometry().bottom() < hint->y());
    QVERIFY(hint->height() >= hint->sizeHint().height());
    QVERIFY(form.rect().contains(QRect(hint->mapTo(&form, QPoint(0, 0)), hint->size())));
}

namespace {

// Where each control of `root` lies and how its text is drawn, in the order
// the controls were made.
QStringList ControlPlaces(const QWidget* root) {
    QStringList places;
    for (const QWidget* w : root->findChildren<QWidget*>()) {
        const QRect r = w->geometry();
        places << QStringLiteral("%1 %2 %3,%4 %5x%6 %7 %8")
                      .arg(QString::fromLatin1(w->metaObject()->className()), w->objectName())
                      .arg(r.x())
                      .arg(r.y())
                      .arg(r.width())
                      .arg(r.height())
                      .arg(w->font().toString())
                      .arg(w->isVisibleTo(root));
    }
    return places;
}

}  // namespace

// The program shows its start window with the start panel alone and adds
// the other panels once it is drawn: the learner sees the very window of a
// start with every panel, before and after they are added, and the added
// panels work.
void TestFormStart::startPanelFirstShowsTheSameWindowAndTakesTheOtherPanelsBehindIt() {
    ProgramFolderFixture folder;
    folder.writeIni("<readmode>2</readmode>");
    TformStart whole(folder.gbk());
    TformStart first(folder.gbk(), TformStart::StartPanelFirst{});
    QCOMPARE(first.Manage.readmode, 2);
    QVERIFY(!first.PanelLogon && !first.PanelManage && !first.PanelBackupLogon && !first.PanelBackup);
    QVERIFY(!first.EditPassword && !first.ListUserList && !first.ListBackupList);
    QVERIFY(first.suiButton1->autoDefault());

    for (TformStart* form : {&whole, &first}) {
        form->show();
        QVERIFY(QTest::qWaitForWindowExposed(form));
    }
    QCOMPARE(first.geometry(), whole.geometry());
    QCOMPARE(ControlPlaces(first.titleBar), ControlPlaces(whole.titleBar));
    QCOMPARE(ControlPlaces(first.PanelStart), ControlPlaces(whole.PanelStart));

    first.BuildOtherPanels();
    QFrame* const logon = first.PanelLogon;
    first.BuildOtherPanels();  // a second call keeps the panels made
    QCOMPARE(first.PanelLogon, logon);
    QCoreApplication::sendPostedEvents();
    QCOMPARE(first.FrontPanel(), first.PanelStart);
    QCOMPARE(ControlPlaces(&first), ControlPlaces(&whole));
    for (QPushButton* button : first.findChildren<QPushButton*>())
        QVERIFY2(button->autoDefault(), qPrintable(button->objectName()));

    // The start panel's buttons lead to the panels added later.
    struct Step {
        QPushButton* button;
        QFrame* panel;
    };
    for (const Step& step : {Step{first.suiButton2, first.PanelManage}, Step{first.suiButton24, first.PanelStart},
                             Step{first.suiButton3, first.PanelBackup}}) {
        QTest::mouseClick(step.button, Qt::LeftButton);
        QCOMPARE(first.FrontPanel(), step.panel);
    }
}

// The title bar's × and the desktop's close (Alt+F4) end the program as
// "退出系统" does; a window that refuses to close looks broken.
void TestFormStart::closingTheWindowEndsTheProgram() {
    for (const bool byTitleBar : {true, false}) {
        ProgramFolderFixture folder;
        TformStart form(folder.gbk());
        QSignalSpy closed(&form, &TformStart::closed);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));

        if (byTitleBar)
            QTest::mouseClick(form.findChild<QToolButton*>("TitleBarClose"), Qt::LeftButton);
        else
            QVERIFY(form.close());
        QVERIFY(!form.isVisible());
        QCOMPARE(closed.count(), 1);
        QVERIFY(form.exitAllowed);
    }
}

void TestFormStart::enterPressesTheFocusedButton_data() {
    QTest::addColumn<int>("key");
    QTest::newRow("Return") << int(Qt::Key_Return);
    QTest::newRow("keypad Enter") << int(Qt::Key_Enter);
}

void TestFormStart::enterPressesTheFocusedButton() {
    QFETCH(int, key);
    ProgramFolderFixture folder;
    TformStart form(folder.gbk());
    QSignalSpy closed(&form, &TformStart::closed);
    form.show();
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    // Tab from the first button reaches "退出系统", whose Enter ends the program.
    form.suiButton1->setFocus();
    for (int i = 0; i < 10 && !form.suiButton4->hasFocus(); ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QVERIFY(form.suiButton4->hasFocus());
    QTest::keyClick(form.suiButton4, Qt::Key(key), key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
    QCOMPARE(closed.count(), 1);
    QVERIFY(!form.isVisible());
}

void TestFormStart::exitEndsTheProgramWithoutWritingTheConfiguration() {
    struct Case {
        const char* name;
        const char* ini;
    };
    const Case cases[] = {
        {"with init.ini", "<delaytime>1500</delaytime><user1>小王</user1>"},
        {"without init.ini", nullptr},
    };
    for (const Case& c : cases) {
        ProgramFolderFixture folder;
        if (c.ini) folder.writeIni(c.ini);
        const std::string before = folder.iniBytes();
        SetProgramFolder(folder.gbk());

        TformStart form(folder.gbk());
        form.Manage.delaytime = 2000;
        form.Manage.user[2] = Gbk("新用户");
        QSignalSpy closed(&form, &TformStart::closed);
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));

        QTest::mouseClick(form.suiButton4, Qt::LeftButton);
        QVERIFY2(form.exitAllowed, c.name);
        QVERIFY2(!form.isVisible(), c.name);
        QCOMPARE(closed.count(), 1);
        QCOMPARE(fs::exists(folder.ini()), c.ini != nullptr);
        QCOMPARE(folder.iniBytes(), before);
        SetProgramFolder("");
    }
}

void TestFormStart::missingConfigurationGivesTheDefaults() {
    ProgramFolderFixture folder;
    MessageRecorder messages;
    TformStart form(folder.gbk());
    const TManage& m = form.Manage;
    QCOMPARE(m.delaytime, 800);
    QCOMPARE(m.mute, false);
    QCOMPARE(m.readmode, 0);
    QCOMPARE(Utf8(m.fontnamecn), std::string("宋体"));
    QCOMPARE(m.fontnameen, std::string("Times New Roman"));
    QCOMPARE(m.backcolor, 10045497);
    QCOMPARE(m.GetUserIndex(), 0);
    for (const std::string& name : m.user) QVERIFY(name.empty());
    QVERIFY(m.configText.empty());
    QVERIFY(messages.shown.empty());
    QVERIFY(!fs::exists(folder.ini()));
    QVERIFY(!form.exitAllowed);
    QVERIFY(form.UserFolder.empty());
}

void TestFormStart::configurationIsLoadedWhenTheWindowIsCreated() {
    ProgramFolderFixture folder;
    folder.writeIni(
        "<delaytime>1500</delaytime><mute>-1</mute><userindex>1</userindex>"
        "<user0>管理员</user0><user1>小王</user1><lastwordlib1>日语.lx</lastwordlib1>");
    MessageRecorder messages;
    TformStart form(folder.gbk());
    QCOMPARE(form.ProgramFolder, folder.gbk());
    QCOMPARE(form.Manage.delaytime, 1500);
    QVERIFY(form.Manage.mute);
    QCOMPARE(form.Manage.GetUserIndex(), 1);
    QCOMPARE(Utf8(form.Manage.user[1]), std::string("小王"));
    QCOMPARE(Utf8(form.Manage.GetCurrentLibrary()), std::string("日语.lx"));
    QVERIFY(messages.shown.empty());
}

void TestFormStart::helpButtonOpensTheHelpFileOfTheProgramFolder_data() {
    QTest::addColumn<int>("desktopAnswer");  // ShellOpenResult
    QTest::addColumn<QString>("message");    // what the learner is told
    QTest::newRow("opened") << int(ShellOpenResult::Opened) << QString();
    QTest::newRow("no viewer") << int(ShellOpenResult::NoViewer)
                               << U("系统中没有能打开“lexilark.chm”的程序。\r\n"
                                    "请先安装一个 CHM 帮助文件查看程序（例如 xchm），再试一次。");
    QTest::newRow("missing") << int(ShellOpenResult::Missing) << U("找不到文件“lexilark.chm”，请重新安装本软件。");
}

void TestFormStart::helpButtonOpensTheHelpFileOfTheProgramFolder() {
    QFETCH(int, desktopAnswer);
    QFETCH(QString, message);
    ProgramFolderFixture folder;
    MessageRecorder messages;
    TformStart form(folder.gbk());
    std::vector<fs::path> opened;
    ShellOpener previous = SetShellOpener([&](const fs::path& file) {
        opened.push_back(file);
        return ShellOpenResult(desktopAnswer);
    });
    form.show();
    QTest::mouseClick(form.suiButton6, Qt::LeftButton);
    SetShellOpener(previous);
    QCOMPARE(opened, std::vector<fs::path>{folder.path() / "lexilark.chm"});
    QCOMPARE(messages.Texts(),
             message.isEmpty() ? std::vector<std::string>{} : std::vector<std::string>{message.toStdString()});
    QVERIFY(form.isVisible());
}

void TestFormStart::passwordBoxesMaskWithStars() {
    ProgramFolderFixture folder;
    TformStart form(folder.gbk());
    form.show();
    for (QLineEdit* box : {form.EditPassword, form.EditPassword1, form.EditPassword2}) {
        form.BringToFront(box->parentWidget() == form.PanelLogon ? form.PanelLogon : form.PanelManage);
        box->setFocus();
        QTest::keyClicks(box, "pw1");
        QCOMPARE(box->text(), QString("pw1"));
        QCOMPARE(box->displayText(), QString("***"));
    }
}

void TestFormStart::desktopFindsNoHelpFileInAFolderWithoutIt() {
    ProgramFolderFixture folder;
    MessageRecorder messages;
    TformStart form(folder.gbk());
    ShellOpener previous = SetShellOpener({});  // the desktop's own opener
    QCOMPARE(ShellOpen(folder.path() / "lexilark.chm"), ShellOpenResult::Missing);
    QTest::mouseClick(form.suiButton6, Qt::LeftButton);
    SetShellOpener(previous);
    QCOMPARE(messages.Texts(), std::vector<std::string>{"找不到文件“lexilark.chm”，请重新安装本软件。"});
}

void TestFormStart::manualOpensInXchmWithItsWholePath_data() {
    QTest::addColumn<bool>("xchm");  // whether an xchm is on the path
    QTest::newRow("xchm installed") << true;
    QTest::newRow("no xchm") << false;
}

// With xCHM installed the program starts it itself, on the manual's whole
// path, so that it can ask for its window to be maximised; without it the
// manual goes to the desktop's viewer, and a text file always does.
void TestFormStart::manualOpensInXchmWithItsWholePath() {
    QFETCH(bool, xchm);
    ProgramFolderFixture folder;
    QTemporaryDir bin;
    const QString record = bin.filePath("arguments");
    if (xchm) {
        QFile script(bin.filePath("xchm"));
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write(("#!/bin/sh\nprintf '%s\\n' \"$#\" \"$@\" > '" + record + "'\n").toUtf8());
        script.close();
        script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
    }
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", bin.path().toUtf8());
    const fs::path manual = folder.path() / "lexilark.chm";
    { std::ofstream(manual) << "chm"; }
    const std::optional<ViewerCall> call = MaximisedViewerFor(manual);
    const std::optional<ViewerCall> forText = MaximisedViewerFor(folder.path() / "example.txt");
    MessageRecorder messages;
    TformStart form(folder.gbk());
    ShellOpener previous = SetShellOpener({});  // the desktop's own opener
    if (xchm) QTest::mouseClick(form.suiButton6, Qt::LeftButton);
    SetShellOpener(previous);
    qputenv("PATH", path);

    QVERIFY(!forText);
    QCOMPARE(call.has_value(), xchm);
    if (!xchm) return;
    QCOMPARE(call->program, bin.filePath("xchm"));
    const QString whole = QString::fromStdString(fs::absolute(manual).string());
    QCOMPARE(call->arguments, QStringList{whole});
    QVERIFY(messages.Texts().empty());
    QTRY_VERIFY(QFileInfo(record).size() > 0);
    QFile written(record);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(written.readAll()), "1\n" + whole + "\n");
}

void TestFormStart::programFolderIsTheExecutablesWhateverTheWorkingFolder() {
    ProgramFolderFixture elsewhere;
    const QString previous = QDir::currentPath();
    QVERIFY(QDir::setCurrent(elsewhere.dir.path()));
    const std::string folder = ExecutableFolder();
    TformStart form;
    QDir::setCurrent(previous);

    const std::string expected = FromNativePath(fs::path(QCoreApplication::applicationDirPath().toStdString())) + "/";
    QCOMPARE(folder, expected);
    QCOMPARE(form.ProgramFolder, expected);
    QVERIFY(fs::exists(ToNativePath(folder + QCoreApplication::applicationName().toStdString())));
}

void TestFormStart::windowSetIsCreatedHiddenWithTheConfigurationLoadedFirst() {
    ProgramFolderFixture folder;
    folder.writeIni("<readmode>2</readmode><memorymode>1</memorymode>");
    // Without a display the study window reports that F9 cannot be taken.
    PlainMessageSink previousPlain = SetPlainMessageSink([](const std::string&) {});
    CreateWindowSet(folder.gbk());
    SetPlainMessageSink(previousPlain);
    QVERIFY(formStart);
    QCOMPARE(formStart->ProgramFolder, folder.gbk());
    QCOMPARE(formStart->Manage.readmode, 2);
    // The study window read its settings from the loaded store and
    // published the program folder.
    QVERIFY(formMain);
    QCOMPARE(Child<RadioGroup>(formMain, "GroupReadMode")->ItemIndex(), 2);
    QCOMPARE(Child<RadioGroup>(formMain, "GroupMemoryMode")->ItemIndex(), 1);
    QCOMPARE(GetProgramFolder(), folder.gbk());
    QVERIFY(SelectWordLib);
    QVERIFY(formHelp);
    QVERIFY(formMakeWordLib);
    QCOMPARE(SelectWordLib->objectName(), QString("SelectWordLib"));
    QCOMPARE(formHelp->objectName(), QString("formHelp"));
    QCOMPARE(formMakeWordLib->objectName(), QString("formMakeWordLib"));
    for (QWidget* window :
         {static_cast<QWidget*>(formStart), static_cast<QWidget*>(formMain), static_cast<QWidget*>(SelectWordLib),
          static_cast<QWidget*>(formHelp), static_cast<QWidget*>(formMakeWordLib)}) {
        QVERIFY(window->isWindow());
        QVERIFY(!window->isVisible());
    }
}

void TestFormStart::windowSetIsDeletedInReverseAndTheStudyWindowLetsF9Go() {
    // What happens to the windows and the F9 key, in order.
    QStringList events;
    class LoggedHotKey : public HotKeyAdapter {
    public:
        explicit LoggedHotKey(QStringList& events) : events_(events) {}
        bool Register(int id, int, std::function<void()>) override {
            held_ = id;
            return true;
        }
        void Unregister(int id) override {
            if (id == held_) events_ << QStringLiteral("F9 released");
            held_ = 0;
        }
        ~LoggedHotKey() override {
            if (held_) events_ << QStringLiteral("F9 still held");
        }

    private:
        QStringList& events_;
        int held_ = 0;
    };
    const HotKeyFactory previous = SetHotKeyFactory([&events] { return std::make_unique<LoggedHotKey>(events); });
    ProgramFolderFixture folder;
    CreateWindowSet(folder.gbk());
    for (QWidget* window :
         {static_cast<QWidget*>(formStart), static_cast<QWidget*>(formMain), static_cast<QWidget*>(SelectWordLib),
          static_cast<QWidget*>(formHelp), static_cast<QWidget*>(formMakeWordLib), static_cast<QWidget*>(formStats)})
        QObject::connect(window, &QObject::destroyed,
                         [&events, name = QString::fromLatin1(window->metaObject()->className())] { events << name; });

    DeleteWindowSet();
    SetHotKeyFactory(previous);

    const QStringList expected = {QString("TformStats"),     QString("TformMakeWordLib"), QString("TformHelp"),
                                  QString("TSelectWordLib"), QString("F9 released"),      QString("TformMain"),
                                  QString("TformStart")};
    QCOMPARE(events, expected);
    QVERIFY(!formStart && !formMain && !SelectWordLib && !formHelp && !formMakeWordLib && !formStats);
    // Nothing left to delete a second time.
    DeleteWindowSet();
}

// The program's own start: the start window with its start panel is shown
// first; once it is drawn, its other panels are there before the font step
// and the other windows, so nothing reaches for a panel not yet made.
void TestFormStart::startWindowIsCompletedAfterItsFirstPaintBeforeTheOtherWindows() {
    ProgramFolderFixture folder;
    PlainMessageSink previousPlain = SetPlainMessageSink([](const std::string&) {});
    struct WindowSetEnd {
        ~WindowSetEnd() { DeleteWindowSet(); }
    } windowSetEnd;
    CreateStartWindow(folder.gbk());
    QVERIFY(formStart);
    QVERIFY(!formStart->PanelLogon);
    QVERIFY(!formMain);
    formStart->show();
    bool panelsBeforeFont = false;
    bool windowsBeforeFont = true;
    CompleteWindowSetAfterFirstPaint([&] {
        panelsBeforeFont = formStart->PanelLogon && formStart->PanelManage && formStart->PanelBackup;
        windowsBeforeFont = formMain != nullptr;
    });
    SetPlainMessageSink(previousPlain);
    QVERIFY(formStart->windowHandle() && formStart->windowHandle()->isExposed());
    QVERIFY(panelsBeforeFont);
    QVERIFY(!windowsBeforeFont);
    QVERIFY(formMain && SelectWordLib && formHelp && formMakeWordLib && formStats);
    QCOMPARE(formStart->FrontPanel(), formStart->PanelStart);
}

void TestFormStart::messageBoxAnswersWithThePlatformCodes_data() {
    QTest::addColumn<int>("flags");
    QTest::addColumn<int>("press");
    QTest::addColumn<int>("expected");
    QTest::addColumn<int>("defaultButton");
    QTest::newRow("OK") << kMsgOk << int(QMessageBox::Ok) << kIdOk << int(QMessageBox::Ok);
    QTest::newRow("Yes") << kMsgYesNo << int(QMessageBox::Yes) << kIdYes << int(QMessageBox::Yes);
    QTest::newRow("No") << kMsgYesNo << int(QMessageBox::No) << kIdNo << int(QMessageBox::Yes);
    // Questions that delete or replace the learner's data: Enter says No.
    QTest::newRow("Yes, No by default") << kMsgYesNoDefaultNo << int(QMessageBox::Yes) << kIdYes
                                        << int(QMessageBox::No);
    QTest::newRow("No by default") << kMsgYesNoDefaultNo << int(QMessageBox::No) << kIdNo << int(QMessageBox::No);
}

void TestFormStart::messageBoxAnswersWithThePlatformCodes() {
    QFETCH(int, flags);
    QFETCH(int, press);
    QFETCH(int, expected);
    QFETCH(int, defaultButton);
    MessageSink previous = SetMessageSink(nullptr);
    InstallMessageBoxSink();
    QString title, text;
    QList<QMessageBox::StandardButton> offered;
    int offeredDefault = -1;
    ModalAnswerer<QMessageBox> answerer([&](QMessageBox* box) {
        title = box->windowTitle();
        text = box->text();
        for (QAbstractButton* b : box->buttons()) offered.push_back(box->standardButton(b));
        if (QPushButton* d = box->defaultButton()) offeredDefault = int(box->standardButton(d));
        if (QAbstractButton* b = box->button(QMessageBox::StandardButton(press)))
            b->click();
        else
            box->done(-1);
    });
    const int answer = ShowAppMessage(Gbk("第一行\r\n第二行"), flags);
    SetMessageSink(previous);
    QCOMPARE(answer, expected);
    QCOMPARE(title, U("澜悦系列软件>>澜悦单词 Lexilark"));
    QCOMPARE(text, U("第一行\n第二行"));
    std::sort(offered.begin(), offered.end());
    QCOMPARE(offeredDefault, defaultButton);
    if (IsQuestion(flags)) {
        QCOMPARE(offered, (QList<QMessageBox::StandardButton>{QMessageBox::Yes, QMessageBox::No}));
    } else {
        QCOMPARE(offered, QList<QMessageBox::StandardButton>{QMessageBox::Ok});
    }
}

// A message belongs to the window it came from, also while another
// program has the keyboard; a message with no window of this program to
// belong to (a second start's) stands above every window.
void TestFormStart::messageBoxStandsAboveItsWindowOrAboveAll() {
    for (const bool windowShown : {true, false}) {
        MessageSink previous = SetMessageSink(nullptr);
        InstallMessageBoxSink();
        QWidget window;
        QWidget elsewhere;  // another program's window, with the keyboard
        if (windowShown) {
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            elsewhere.show();
            elsewhere.activateWindow();
            QTRY_VERIFY(elsewhere.isActiveWindow());
            elsewhere.hide();
        }
        QPointer<QWidget> parent;
        bool onTop = false, modal = false, seen = false;
        ModalAnswerer<QMessageBox> answerer([&](QMessageBox* box) {
            seen = true;
            parent = box->parentWidget();
            onTop = box->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
            modal = box->isModal();
            box->button(QMessageBox::Ok)->click();
        });
        ShowAppMessage(Gbk("澜悦单词已经在运行！"), kMsgOk);
        SetMessageSink(previous);
        QVERIFY(seen);
        QVERIFY(modal);
        QCOMPARE(parent.data(), windowShown ? &window : nullptr);
        QCOMPARE(onTop, !windowShown);
    }
}

// A short message's box is as wide as its long title and a title bar's
// buttons, so that a window manager shows "澜悦系列软件>>澜悦单词 Lexilark"
// whole.
void TestFormStart::messageBoxLeavesRoomForItsTitle() {
    MessageSink previous = SetMessageSink(nullptr);
    InstallMessageBoxSink();
    int boxWidth = 0, titleWidth = 0;
    ModalAnswerer<QMessageBox> answerer([&](QMessageBox* box) {
        QFont bold = box->font();
        bold.setBold(true);
        titleWidth = QFontMetrics(bold).horizontalAdvance(box->windowTitle());
        boxWidth = box->width();
        box->button(QMessageBox::Ok)->click();
    });
    ShowAppMessage(Gbk("请先选择词库"), kMsgOk);
    SetMessageSink(previous);
    QVERIFY2(titleWidth > 0 && boxWidth >= titleWidth + 100,
             qPrintable(QStringLiteral("box %1, title %2").arg(boxWidth).arg(titleWidth)));
}

void TestFormStart::uncaughtErrorsAreShownWithTheirMessage() {
    std::vector<std::string> shown;
    PlainMessageSink previous =
        SetPlainMessageSink([&](const std::string& gbkText) { shown.push_back(Utf8(gbkText)); });
    try {
        StrToInt("abc");
        QFAIL("no conversion error");
    } catch (const std::exception& error) {
        ShowExceptionMessage(error);
    }
    ShowExceptionMessage(std::runtime_error("磁盘已满"));
    ShowExceptionMessage(std::runtime_error(Gbk("词库损坏")));
    SetPlainMessageSink(previous);
    QCOMPARE(shown, (std::vector<std::string>{"'abc' is not a valid integer value", "磁盘已满", "词库损坏"}));
}

QTEST_MAIN(TestFormStart)
#include "tst_formstart.moc"
