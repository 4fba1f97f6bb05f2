// Logging in from the start window into the study window: the automatic
// login of a lone administrator, passwords, the user index, each user's own
// folder, library and favourites, and coming back with "返  回".

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <filesystem>

#include "core/gbktext.h"
#include "core/scrambledfile.h"
#include "core/tagtext.h"
#include "core/wordlib0.h"
#include "shell/appwindows.h"
#include "shell/formstart.h"
#include "support/find_child.h"
#include "support/login_windows.h"
#include "support/study_fixture.h"
#include "widgets/answeredit.h"
#include "widgets/screentext.h"

namespace fs = std::filesystem;

namespace {

// Words at `grade` in the learner's library on the disk, read as the
// program reads it.
int WordsAtGradeOnDisk(const LoginWindows& w, const char* file, int grade) {
    TWordLib0 lib;
    if (!lib.OpenWordLib(FromNativePath(w.UserDir(0) / file))) return -1;
    int count = 0;
    for (int i = 0; i < lib.Count; ++i) count += lib.Words[i].Grade == grade;
    return count;
}

}  // namespace

class TestLogin : public QObject {
    Q_OBJECT

private slots:
    void loginPanelShowsItsCaptions() {
        LoginWindows w("login_captions");
        w.User(0, "管理员", "a");
        w.StartStudying();
        QCOMPARE(w.start->FrontPanel(), w.start->PanelLogon);
        QCOMPARE(w.start->ComboUserList->currentIndex(), 0);
        QStringList labels;
        for (auto* label : w.start->PanelLogon->findChildren<QLabel*>()) labels << label->text();
        for (const char* caption : {"用户登录", "用户名", "密　码"}) QVERIFY2(labels.contains(U(caption)), caption);
        QCOMPARE(w.start->suiButton12->text(), U("确 定"));
        QCOMPARE(w.start->suiButton11->text(), U("返 回"));
        QCOMPARE(w.start->EditPassword->echoMode(), QLineEdit::Password);
        QTest::mouseClick(w.start->suiButton11, Qt::LeftButton);
        QCOMPARE(w.start->FrontPanel(), w.start->PanelStart);
    }

    void loneAdministratorWithoutPasswordStartsAtOnce() {
        LoginWindows w("login_auto");
        w.Library(0, "lib.lx", 3);
        w.Template({"fav1", "fav2"});
        w.User(0, "管理员", "", "lib.lx");

        w.StartStudying();
        QVERIFY(w.f.messages.Texts().empty());
        QVERIFY(w.study->isVisible());
        QVERIFY(w.study->Session().Clock().isActive());
        QVERIFY(!w.start->isVisible());
        QVERIFY(QString::fromStdString(w.UserFolderUtf8()).endsWith(U("users\\user0\\")));
        QCOMPARE(Child<QLabel>(w.study, "LabelWordLibName")->text(), U("lib"));
        QCOMPARE(Child<QLabel>(w.study, "PanelE")->text(), U("w0"));
        // First login: the favourites come from the template.
        QVERIFY(fs::exists(w.UserDir(0) / "收藏库.lx"));
        QCOMPARE(Child<QLabel>(w.study, "PanelMyWordLibWordCount")->text(), U("收藏库词数：2"));
    }

    void automaticLoginIgnoresAPasswordLeftInTheBox() {
        LoginWindows w("login_leftover");
        w.User(0, "管理员", "x");
        w.StartStudying();
        w.LogIn("y");
        QTest::mouseClick(w.start->suiButton11, Qt::LeftButton);
        w.Manage().password[0].clear();
        w.f.messages.shown.clear();
        w.StartStudying();
        QVERIFY(w.f.messages.Texts().empty());
        QVERIFY(w.study->isVisible());
        QVERIFY(!w.start->isVisible());
    }

    void freshProgramFolderLogsTheAdministratorIn() {
        LoginWindows w("login_fresh");
        w.StartStudying();
        QVERIFY(w.study->isVisible());
        QCOMPARE(w.ComboRows(), QStringList{U("管理员")});
        QVERIFY(w.f.messages.Texts().empty());
    }

    void passwordLoginOpensTheUsersOwnLibrary() {
        LoginWindows w("login_password");
        w.User(0, "管理员", "adm");
        w.User(1, "u1", "");
        w.User(2, "u2", "Pw", "two.lx");
        w.Manage().userindex = 2;
        w.Library(2, "two.lx", 4);
        w.Library(0, "two.lx", 1);

        w.StartStudying();
        QCOMPARE(w.start->FrontPanel(), w.start->PanelLogon);
        QCOMPARE(w.ComboRows(), (QStringList{U("管理员"), U("u1"), U("u2")}));
        QCOMPARE(w.start->ComboUserList->currentIndex(), 2);
        QVERIFY(!w.study->isVisible());

        w.LogIn("pw");  // letter case counts
        QCOMPARE(w.f.messages.Texts(), std::vector<std::string>{"密码不正确"});
        QCOMPARE(w.start->EditPassword->text(), U("pw"));
        QVERIFY(!w.study->isVisible());

        w.start->EditPassword->setText(U("Pw"));
        QTest::keyClick(w.start->EditPassword, Qt::Key_Return);
        QVERIFY(w.study->isVisible());
        QVERIFY(!w.start->isVisible());
        QVERIFY(QString::fromStdString(w.UserFolderUtf8()).endsWith(U("users\\user2\\")));
        QCOMPARE(w.study->Session().WordLib0.Count, 4);
        QCOMPARE(w.Manage().GetUserIndex(), 2);
        QCOMPARE(w.Manage().GetCurrentLibrary(), std::string("two.lx"));
        QVERIFY(w.start->EditPassword->text().isEmpty());
    }

    void pickingAUserSetsTheIndexAtOnce() {
        LoginWindows w("login_pick");
        w.User(0, "管理员", "a");
        w.User(1, "u1", "b");
        w.StartStudying();
        w.start->EditPassword->setText(U("typed"));
        w.start->ComboUserList->setCurrentIndex(1);
        emit w.start->ComboUserList->activated(1);
        QCOMPARE(w.Manage().GetUserIndex(), 1);
        QVERIFY(w.start->EditPassword->text().isEmpty());
    }

    void loginWithoutAUserIsRefused() {
        LoginWindows w("login_norow");
        w.User(0, "管理员", "");
        w.User(1, "u1", "");
        w.Manage().userindex = 4;  // left behind by deletions
        w.StartStudying();
        QCOMPARE(w.start->ComboUserList->currentIndex(), -1);
        w.LogIn("");
        QCOMPARE(w.f.messages.Texts(), std::vector<std::string>{"请选择一个用户"});
        QVERIFY(!w.study->isVisible());
    }

    void missingUserFolderIsMadeAtLogin() {
        LoginWindows w("login_folder");
        w.User(0, "管理员", "");
        w.User(1, "u1", "");
        fs::remove_all(w.UserDir(1));
        w.Manage().userindex = 1;
        w.StartStudying();
        w.LogIn("");
        QVERIFY(fs::is_directory(w.UserDir(1)));
    }

    void anotherUsersFavouritesAreNeverLeftLoaded() {
        LoginWindows w("login_fav");
        w.Template({"fav1"});
        w.User(0, "管理员", "");
        w.StartStudying();
        QCOMPARE(w.study->Session().MyWordLib.Count, 1);

        QTest::mouseClick(Child<QPushButton>(w.study, "ButtonReturn"), Qt::LeftButton);
        QVERIFY(w.start->isVisible());
        fs::remove(w.f.programFolder / "wordlib" / "收藏库.lx");
        w.User(1, "u1", "");
        w.StartStudying();
        w.start->ComboUserList->setCurrentIndex(1);
        w.LogIn("");
        QVERIFY(w.study->isVisible());
        QCOMPARE(w.study->Session().MyWordLib.Count, 0);
        QCOMPARE(Child<QLabel>(w.study, "PanelMyWordLibWordCount")->text(), U("收藏库词数：0"));
        QVERIFY(!fs::exists(w.UserDir(1) / "收藏库.lx"));
    }

    // alice studied her library and collected favourites; once she is
    // deleted, bob (who moves into her slot) and a user added after her
    // each find only their own files.
    void afterADeletionEveryUserLogsIntoTheirOwnFiles() {
        LoginWindows w("login_after_delete");
        w.Template({"template-word"});
        w.User(0, "管理员", "adm");
        w.User(1, "alice", "a", "alice.lx");
        w.User(2, "bob", "b", "bob.lx");
        w.Library(1, "alice.lx", 5);
        w.Library(2, "bob.lx", 3);
        auto favourites = [&](int slot, std::initializer_list<const char*> words) {
            std::string text = "<editor>x</editor><lw>0</lw>";
            for (const char* word : words)
                text += std::string("\n<word><e>") + word + "</e><t>0</t><c>m</c><g>0</g></word>";
            QVERIFY(WriteScrambledFile(w.UserDir(slot) / "收藏库.lx", Gbk(text)));
        };
        favourites(1, {"a1", "a2"});
        favourites(2, {"b1"});
        QVERIFY(w.Manage().SaveConfig());

        QTest::mouseClick(w.start->suiButton2, Qt::LeftButton);
        w.start->ListUserList->setCurrentRow(1);
        w.start->EditOldPassword->setText("adm");
        w.f.messages.answers.push_back(kIdYes);
        QTest::mouseClick(w.start->suiButton10, Qt::LeftButton);
        w.start->EditUserName->setText("carol");
        w.start->EditPassword1->setText("c");
        w.start->EditPassword2->setText("c");
        QTest::mouseClick(w.start->suiButton9, Qt::LeftButton);
        QTest::mouseClick(w.start->suiButton24, Qt::LeftButton);
        QCOMPARE(w.f.messages.Texts().size(), size_t(1));  // the question only
        QCOMPARE(w.start->FrontPanel(), w.start->PanelStart);

        w.StartStudying();
        QCOMPARE(w.ComboRows(), (QStringList{U("管理员"), U("bob"), U("carol")}));
        w.start->ComboUserList->setCurrentIndex(1);
        w.LogIn("b");
        QVERIFY(w.study->isVisible());
        QCOMPARE(w.study->Session().WordLib0.Count, 3);
        QCOMPARE(w.Manage().GetCurrentLibrary(), std::string("bob.lx"));
        QCOMPARE(w.study->Session().MyWordLib.Count, 1);
        QCOMPARE(w.study->Session().MyWordLib.Words[0].Word, std::string("b1"));

        QTest::mouseClick(Child<QPushButton>(w.study, "ButtonReturn"), Qt::LeftButton);
        w.StartStudying();
        w.start->ComboUserList->setCurrentIndex(2);
        w.LogIn("c");
        QVERIFY(w.study->isVisible());
        QCOMPARE(w.Manage().GetCurrentLibrary(), std::string());
        QCOMPARE(w.study->Session().WordLib0.Count, 0);  // bob's library is not left open
        QVERIFY(Child<QLabel>(w.study, "LabelWordLibName")->text().isEmpty());
        const auto bobsLibrary = ReadScrambledFile(w.UserDir(1) / "bob.lx");
        QTest::keyClick(Child<AnswerEdit>(w.study, "EditInput"), Qt::Key_Space);
        QTest::mouseClick(Child<QPushButton>(w.study, "ButtonReturn"), Qt::LeftButton);
        QCOMPARE(ReadScrambledFile(w.UserDir(1) / "bob.lx"), bobsLibrary);
        QCOMPARE(w.study->Session().MyWordLib.Count, 1);
        QCOMPARE(w.study->Session().MyWordLib.Words[0].Word, std::string("template-word"));
    }

    void returnSavesLibraryAndConfigurationAndLoginOpensItAgain() {
        LoginWindows w("login_return");
        w.Library(0, "lib.lx", 3);
        w.User(0, "管理员", "", "lib.lx");
        w.StartStudying();
        QTest::keyClick(Child<AnswerEdit>(w.study, "EditInput"), Qt::Key_Space);
        QTest::mouseClick(Child<QPushButton>(w.study, "ButtonReturn"), Qt::LeftButton);

        QVERIFY(!w.study->isVisible());
        QVERIFY(w.start->isVisible());
        QCOMPARE(w.start->FrontPanel(), w.start->PanelStart);
        const auto ini = ReadScrambledFile(w.f.programFolder / "init.ini");
        QVERIFY(ini);
        QCOMPARE(FindTagValue(*ini, "lastwordlib0"), std::string("lib.lx"));
        const auto library = ReadScrambledFile(w.UserDir(0) / "lib.lx");
        QVERIFY(library && FindGbk(*library, "<t>1</t>") != std::string::npos);

        w.StartStudying();
        QVERIFY(w.study->isVisible());
        QCOMPARE(Child<QLabel>(w.study, "LabelWordLibName")->text(), U("lib"));
        QCOMPARE(w.study->Session().WordLib0.Count, 3);
    }

    // Progress reaches the disk seconds after the keys, without "返  回":
    // a crash loses at most those seconds. The keys themselves write
    // nothing, so typing never waits for the disk.
    void promotedWordsReachTheDiskSecondsAfterTheKeys() {
        LoginWindows w("login_autosave");
        w.Library(0, "lib.lx", 6);
        w.User(0, "管理员", "", "lib.lx");
        w.StartStudying();
        const auto before = ReadScrambledFile(w.UserDir(0) / "lib.lx");
        for (int i = 0; i < 3; ++i) QTest::keyClick(Child<AnswerEdit>(w.study, "EditInput"), Qt::Key_BracketRight);
        QVERIFY(Child<QTimer>(w.study, "TimerSave")->isActive());
        QCOMPARE(ReadScrambledFile(w.UserDir(0) / "lib.lx"), before);
        QTRY_COMPARE_WITH_TIMEOUT(WordsAtGradeOnDisk(w, "lib.lx", 1), 3, 3 * TformMain::kSaveDelayMs);

        // What the program does when it is asked to end: everything at once.
        QTest::keyClick(Child<AnswerEdit>(w.study, "EditInput"), Qt::Key_BracketRight);
        w.study->SaveEverything();
        QCOMPARE(WordsAtGradeOnDisk(w, "lib.lx", 1), 4);
        const auto ini = ReadScrambledFile(w.f.programFolder / "init.ini");
        QVERIFY(ini && FindTagValue(*ini, "lastwordlib0") == "lib.lx");
        QVERIFY(!Child<QTimer>(w.study, "TimerSave")->isActive());
    }

    // The desktop's close of the study window (Alt+F4, the title bar's ×)
    // does what "返  回" does: saved, back at the start window, nobody
    // logged in; it never leaves the program running without a window.
    void closingTheStudyWindowReturnsToTheStartWindowSaved() {
        LoginWindows w("login_close_study");
        w.Library(0, "lib.lx", 6);
        w.User(0, "管理员", "", "lib.lx");
        w.StartStudying();
        QTest::keyClick(Child<AnswerEdit>(w.study, "EditInput"), Qt::Key_BracketRight);
        QTest::keyClick(Child<AnswerEdit>(w.study, "EditInput"), Qt::Key_BracketRight);
        w.study->close();
        QVERIFY(!w.study->isVisible());
        QVERIFY(w.start->isVisible());
        QCOMPARE(w.start->FrontPanel(), w.start->PanelStart);
        QVERIFY(!w.study->InSession());
        QCOMPARE(WordsAtGradeOnDisk(w, "lib.lx", 1), 2);
        QVERIFY(!Child<QTimer>(w.study, "TimerSave")->isActive());
    }

    // A new user's first login shows nothing of the learner before, whose
    // counters and clocks were on screen a moment ago.
    void aNewUsersFirstLoginShowsNoCountersOfTheUserBefore() {
        LoginWindows w("login_new_user_counters");
        w.Library(0, "lib.lx", 6, 3);
        w.User(0, "管理员", "adm", "lib.lx");
        w.User(1, "new", "");
        w.StartStudying();
        w.start->ComboUserList->setCurrentIndex(0);
        w.LogIn("adm");
        QCOMPARE(w.study->Session().LibraryName(), std::string("lib"));
        for (int i = 0; i < 30; ++i) w.study->TimerTimer();
        QTest::keyClick(Child<AnswerEdit>(w.study, "EditInput"), Qt::Key_BracketRight);
        QTest::mouseClick(Child<QPushButton>(w.study, "ButtonReturn"), Qt::LeftButton);

        w.StartStudying();
        w.start->ComboUserList->setCurrentIndex(1);
        w.LogIn("");
        QVERIFY(w.study->isVisible());
        QVERIFY(w.f.messages.Texts().empty());
        w.ExpectNoLibraryShown();
    }

    // Another learner's login shows their library's clocks and no estimate
    // of the time left until their own words are timed.
    void anotherLearnersLoginStartsTheTimeLeftAfresh() {
        LoginWindows w("login_left_time");
        w.Library(0, "lib.lx", 6, 3);
        w.Library(1, "own.lx", 6);
        w.User(0, "管理员", "adm", "lib.lx");
        w.User(1, "second", "", "own.lx");
        w.StartStudying();
        w.start->ComboUserList->setCurrentIndex(0);
        w.LogIn("adm");
        QTest::keyClick(Child<AnswerEdit>(w.study, "EditInput"), Qt::Key_BracketRight);
        for (int i = 0; i < 30; ++i) w.study->TimerTimer();
        QVERIFY(Child<QLabel>(w.study, "LabelLeftTime")->text() != "00:00:00");
        QTest::mouseClick(Child<QPushButton>(w.study, "ButtonReturn"), Qt::LeftButton);

        w.StartStudying();
        w.start->ComboUserList->setCurrentIndex(1);
        w.LogIn("");
        QCOMPARE(w.study->Session().LibraryName(), std::string("own"));
        QCOMPARE(Child<QLabel>(w.study, "LabelLeftTime")->text(), QString("00:00:00"));
        QCOMPARE(Child<QLabel>(w.study, "LabelSpeed")->text(), U("0 词/分"));
    }
};

QTEST_MAIN(TestLogin)
#include "tst_formstart_logon.moc"
