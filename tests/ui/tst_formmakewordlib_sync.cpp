// The sync page and the syncs the windows make, against a real Apache
// WebDAV server: the learner sets up their server on the page and syncs;
// on another computer the same learner finds their progress in the study
// window; a library studied on both computers is asked about at the login
// in the side-by-side question, both ways, with the other version in the
// backups; the other computer's progress comes at the login unasked; a
// wrong password is said and changes nothing; a sync that failed at
// "返  回" is made on leaving the program; an address that would send the
// password in the clear is refused.

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <filesystem>

#include "core/backups.h"
#include "core/gbktext.h"
#include "core/safewrite.h"
#include "core/syncplan.h"
#include "core/usertable.h"
#include "platform/passwordstore.h"
#include "platform/syncrunner.h"
#include "shell/learnersync.h"
#include "shell/syncconflictdialog.h"
#include "support/apache_dav.h"
#include "support/find_child.h"
#include "support/login_windows.h"
#include "support/modal_answerer.h"
#include "widgets/screentext.h"

namespace fs = std::filesystem;

namespace {

std::string ReadBytes(const fs::path& path) {
    QFile file(QString::fromStdString(path.string()));
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

const char* const kLibrary = "words.lx";

// The administrator (slot 0, always named 管理员), alone and with no
// password, studying words.lx.
struct Learner : LoginWindows {
    Learner(const std::string& name, int studied) : LoginWindows("sync_" + name, Windows::WholeSet) {
        User(0, "管理员", "", kLibrary);
        Library(0, kLibrary, 12, studied);
        // On the disk too: the start window reads init.ini again when shown.
        Manage().SetUserIndex(0);
        Manage().SetCurrentLibrary(Gbk(kLibrary));
        QVERIFY(Manage().SaveConfig());
    }
    TformMakeWordLib& Settings() const { return *formMakeWordLib; }
    std::string Bytes() const { return ReadBytes(UserDir(0) / kLibrary); }
    // Studied words of the library open in the study window.
    int StudiedInWindow() const {
        int studied = 0;
        for (int i = 0; i < study->Session().WordLib0.Count; ++i)
            studied += study->Session().WordLib0.Words[i].StudyTimes > 0;
        return studied;
    }
    // "参数设置", then "同步"; the server typed in, the sync switched on.
    void SetUpSync(const ApacheDav& server, bool enabled) {
        QTest::mouseClick(Child<QPushButton>(study, "suiButton4"), Qt::LeftButton);
        QTest::mouseClick(Settings().ButtonSync, Qt::LeftButton);
        QCOMPARE(Settings().FrontPage(), Settings().PanelSync);
        Settings().EditSyncAddress->setText(server.Address());
        Settings().EditSyncAccount->setText(ApacheDav::kAccount);
        QTest::keyClicks(Settings().EditSyncPassword, ApacheDav::kPassword);
        if (Settings().CheckBoxSyncEnabled->isChecked() != enabled) {
            Settings().CheckBoxSyncEnabled->setFocus();
            QTest::keyClick(Settings().CheckBoxSyncEnabled, Qt::Key_Space);
        }
        QCOMPARE(Settings().CheckBoxSyncEnabled->isChecked(), enabled);
    }
    void LeaveSettings() {
        QTest::mouseClick(Settings().findChild<QPushButton*>("PanelSyncReturn"), Qt::LeftButton);
        QCOMPARE(Settings().FrontPage(), Settings().PanelSetup);
        QTest::mouseClick(Settings().suiButton9, Qt::LeftButton);
    }
    QStringList Messages() const {
        QStringList texts;
        for (const auto& text : f.messages.Texts()) texts << QString::fromStdString(text);
        return texts;
    }
};

// Another computer of the same learner, syncing without windows: found
// on the server by the learner's name at its first sync.
SyncOutcome SyncFolder(const fs::path& program, const ApacheDav& server, SyncRunner& runner) {
    SyncJob job;
    job.gbkProgramFolder = FromNativePath(program) + "/";
    job.slot = 0;
    job.gbkLearnerName = AdministratorName();
    job.settings.address = server.Address().toStdString();
    job.settings.account = ApacheDav::kAccount;
    job.settings.enabled = true;
    job.password = ApacheDav::kPassword;
    job.computer = "laptop";
    return runner.Run(nullptr, job);
}

}  // namespace

class TestFormMakeWordLibSync : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<ApacheDav> server;

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() {
        server = std::make_unique<ApacheDav>();
        QVERIFY2(server->Start(), qPrintable(server->Error()));
    }
    void cleanup() { server.reset(); }
    void cleanupTestCase() { QFile::remove(PasswordFallbackFile()); }

    void progressStudiedOnOneComputerIsInTheStudyWindowOfTheOther() {
        std::string home;
        {
            Learner a("home", 5);
            a.StartStudying();
            QVERIFY(a.study->isVisible());
            a.SetUpSync(*server, true);
            QTest::mouseClick(a.Settings().ButtonSyncNow, Qt::LeftButton);
            QVERIFY2(a.Messages().join("|").contains(U("同步完成")), qPrintable(a.Messages().join("|")));
            QVERIFY(a.Settings().LabelSyncLast->text().contains(U("上次同步")));
            QVERIFY(!a.Settings().LabelSyncPasswordPlace->text().contains(U("还没有保存密码")));
            a.LeaveSettings();
            // Studied on: a word promoted, saved and sent by "返  回".
            QTest::mouseClick(Child<QPushButton>(a.study, "ButtonUpGrade"), Qt::LeftButton);
            a.f.messages.shown.clear();
            QTest::mouseClick(Child<QPushButton>(a.study, "ButtonReturn"), Qt::LeftButton);
            QVERIFY2(a.f.messages.shown.empty(), qPrintable(a.Messages().join("|")));
            home = a.Bytes();
            // The password is in none of the program's files.
            for (const auto& entry : fs::recursive_directory_iterator(a.f.programFolder))
                if (entry.is_regular_file())
                    QVERIFY2(ReadBytes(entry.path()).find(ApacheDav::kPassword) == std::string::npos,
                             entry.path().c_str());
            const QFileInfo fallback(PasswordFallbackFile());
            if (fallback.exists()) QCOMPARE(fallback.permissions() & 0x0077, QFileDevice::Permissions());  // owner only
        }
        Learner b("office", 0);
        b.StartStudying();
        QCOMPARE(b.StudiedInWindow(), 0);
        b.SetUpSync(*server, false);
        // Opening the library showed its first word here, so this copy counts
        // as studied too: the learner is asked and keeps the server's.
        {
            ModalAnswerer<SyncConflictDialog> answer(
                [](SyncConflictDialog* dialog) { QTest::mouseClick(dialog->ButtonKeepRemote, Qt::LeftButton); });
            QTest::mouseClick(b.Settings().ButtonSyncNow, Qt::LeftButton);
        }
        QVERIFY2(b.Messages().join("|").contains(U("同步完成")), qPrintable(b.Messages().join("|")));
        QCOMPARE(b.Bytes(), home);
        QCOMPARE(b.StudiedInWindow(), LibraryStatsOf(home).studied);
        QVERIFY(b.StudiedInWindow() >= 5);
        b.LeaveSettings();
    }

    void theOtherComputersProgressIsInTheStudyWindowAtTheLoginWithoutAsking() {
        // The sync was set up on this computer earlier (settings and password
        // kept); this copy of the library was never studied.
        Learner b("login", 0);
        SyncSettings settings;
        settings.address = server->Address().toStdString();
        settings.account = ApacheDav::kAccount;
        settings.enabled = true;
        QVERIFY(SaveSyncSettings(b.f.gbkProgramFolder, 0, settings));
        bool saved = false;
        StoreSyncPassword(SyncPasswordKey(settings), ApacheDav::kPassword, &saved);
        QVERIFY(saved);
        const std::string untouched = b.Bytes();
        // The laptop studied 6 words and synced.
        QTemporaryDir laptopDir;
        const fs::path laptop = laptopDir.path().toStdString();
        fs::create_directories(laptop / "users" / "user0");
        b.Library(0, kLibrary, 12, 6);
        fs::copy_file(b.UserDir(0) / kLibrary, laptop / "users" / "user0" / kLibrary);
        QVERIFY(SafeWriteFile(b.UserDir(0) / kLibrary, untouched));
        SyncRunner runner;
        QVERIFY(SyncFolder(laptop, *server, runner).ok);

        b.StartStudying();  // syncs before the study window opens
        QVERIFY(b.study->isVisible());
        QVERIFY2(!b.Messages().join("|").contains(U("同步")), qPrintable(b.Messages().join("|")));
        QCOMPARE(b.Bytes(), ReadBytes(laptop / "users" / "user0" / kLibrary));
        QCOMPARE(b.StudiedInWindow(), 6);
        QVERIFY(LoadSyncSettings(b.f.gbkProgramFolder, 0).lastResult.find(Gbk("同步完成")) == 0);
        // The copy that gave way is kept all the same.
        bool backedUp = false;
        for (const std::string& name : ListBackups(b.f.gbkProgramFolder, 0))
            backedUp = backedUp || ReadBytes(b.f.programFolder / "backups" / "user0" / name / kLibrary) == untouched;
        QVERIFY(backedUp);
    }

    void aWrongPasswordIsSaidAndChangesNothing() {
        Learner a("password", 3);
        a.StartStudying();
        a.study->SaveForSync();  // as "立即同步" does first
        const std::string before = a.Bytes();
        a.SetUpSync(*server, true);
        a.Settings().EditSyncPassword->clear();
        QTest::keyClicks(a.Settings().EditSyncPassword, "not-the-app-password");
        a.f.messages.shown.clear();
        QTest::mouseClick(a.Settings().ButtonSyncNow, Qt::LeftButton);
        QVERIFY2(a.Messages().join("|").contains(U("账号或密码")), qPrintable(a.Messages().join("|")));
        QVERIFY2(!a.Messages().join("|").contains("not-the-app-password"), qPrintable(a.Messages().join("|")));
        QVERIFY2(a.Settings().LabelSyncLast->text().contains(U("账号或密码")),
                 qPrintable(a.Settings().LabelSyncLast->text()));
        QCOMPARE(a.Bytes(), before);
        QVERIFY(!QDir(server->Root() + "/Lexilark").exists() ||
                QDir(server->Root() + "/Lexilark").entryList(QDir::Dirs | QDir::NoDotAndDotDot).isEmpty());
        a.LeaveSettings();
    }

    // The server was away at "返  回": the study is sent when the learner
    // leaves the program.
    void aSyncThatFailedAtReturnIsMadeOnLeavingTheProgram() {
        Learner a("exit", 5);
        a.StartStudying();
        a.SetUpSync(*server, true);
        QTest::mouseClick(a.Settings().ButtonSyncNow, Qt::LeftButton);
        a.LeaveSettings();
        QTest::mouseClick(Child<QPushButton>(a.study, "ButtonUpGrade"), Qt::LeftButton);
        server->Stop();
        a.f.messages.shown.clear();
        QTest::mouseClick(Child<QPushButton>(a.study, "ButtonReturn"), Qt::LeftButton);
        QVERIFY2(a.Messages().join("|").contains(U("同步没有成功")), qPrintable(a.Messages().join("|")));
        const std::string studied = a.Bytes();
        QVERIFY2(server->Start(), qPrintable(server->Error()));
        a.f.messages.shown.clear();
        QTest::mouseClick(a.start->suiButton4, Qt::LeftButton);  // "退出系统"
        QVERIFY2(!a.Messages().join("|").contains(U("同步")), qPrintable(a.Messages().join("|")));
        const QStringList learners = QDir(server->Root() + "/Lexilark").entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        QCOMPARE(learners.size(), 1);
        QCOMPARE(ReadBytes((server->Root() + "/Lexilark/" + learners.front() + "/").toStdString() + kLibrary), studied);
    }

    void aLibraryStudiedOnBothComputersIsAskedAtTheLogin_data() {
        QTest::addColumn<QString>("button");
        QTest::newRow("this computer's version") << "ButtonKeepLocal";
        QTest::newRow("the server's version") << "ButtonKeepRemote";
    }
    void aLibraryStudiedOnBothComputersIsAskedAtTheLogin() {
        QFETCH(QString, button);
        QTemporaryDir laptopDir;
        const fs::path laptop = laptopDir.path().toStdString();
        SyncRunner runner;
        Learner b("conflict", 0);
        b.StartStudying();
        b.SetUpSync(*server, true);
        QTest::mouseClick(b.Settings().ButtonSyncNow, Qt::LeftButton);
        b.LeaveSettings();
        QTest::mouseClick(Child<QPushButton>(b.study, "ButtonReturn"), Qt::LeftButton);

        // The laptop studies 3 words, this computer 8 meanwhile.
        fs::create_directories(laptop / "users" / "user0");
        fs::copy_file(b.UserDir(0) / kLibrary, laptop / "users" / "user0" / kLibrary);
        QVERIFY(SyncFolder(laptop, *server, runner).ok);
        b.Library(0, kLibrary, 12, 3);
        fs::copy_file(b.UserDir(0) / kLibrary, laptop / "users" / "user0" / kLibrary,
                      fs::copy_options::overwrite_existing);
        QVERIFY(SyncFolder(laptop, *server, runner).ok);
        const std::string theirs = ReadBytes(laptop / "users" / "user0" / kLibrary);
        b.Library(0, kLibrary, 12, 8);
        const std::string mine = b.Bytes();

        QString localStats, remoteStats, remoteComputer;
        bool asked = false;
        {
            ModalAnswerer<SyncConflictDialog> answer([&](SyncConflictDialog* dialog) {
                asked = true;
                localStats = dialog->findChild<QLabel*>("LabelLocalStats")->text();
                remoteStats = dialog->findChild<QLabel*>("LabelRemoteStats")->text();
                remoteComputer = dialog->findChild<QLabel*>("LabelRemoteComputer")->text();
                QTest::mouseClick(dialog->findChild<QPushButton*>(button), Qt::LeftButton);
            });
            b.StartStudying();  // the login syncs before the study window opens
        }
        QVERIFY2(asked, qPrintable(b.Messages().join("|")));
        QVERIFY2(localStats.contains(U("学过 8 词")), qPrintable(localStats));
        QVERIFY2(remoteStats.contains(U("学过 3 词")), qPrintable(remoteStats));
        QCOMPARE(remoteComputer, QString("laptop"));
        QVERIFY(b.study->isVisible());

        const bool keptMine = button == "ButtonKeepLocal";
        QCOMPARE(b.Bytes(), keptMine ? mine : theirs);
        QCOMPARE(b.StudiedInWindow(), keptMine ? 8 : 3);
        bool otherBackedUp = false;
        for (const std::string& name : ListBackups(b.f.gbkProgramFolder, 0))
            otherBackedUp = otherBackedUp || ReadBytes(b.f.programFolder / "backups" / "user0" / name / kLibrary) ==
                                                 (keptMine ? theirs : mine);
        QVERIFY(otherBackedUp);
        // The laptop comes to the version kept.
        QVERIFY(SyncFolder(laptop, *server, runner).ok);
        QCOMPARE(ReadBytes(laptop / "users" / "user0" / kLibrary), keptMine ? mine : theirs);
    }

    void anAddressThatWouldSendThePasswordInTheClearIsRefused() {
        Learner a("address", 1);
        a.StartStudying();
        a.SetUpSync(*server, true);
        a.Settings().EditSyncAddress->setText("http://dav.example.org/dav/");
        QTest::mouseClick(a.Settings().findChild<QPushButton*>("PanelSyncReturn"), Qt::LeftButton);
        QCOMPARE(a.Settings().FrontPage(), a.Settings().PanelSync);  // stays, to be mended
        QVERIFY2(a.Messages().join("|").contains("https://"), qPrintable(a.Messages().join("|")));
        QVERIFY(!fs::exists(a.UserDir(0) / "sync.ini"));
    }
};

QTEST_MAIN(TestFormMakeWordLibSync)
#include "tst_formmakewordlib_sync.moc"
