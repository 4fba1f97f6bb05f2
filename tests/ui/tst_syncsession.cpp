// Keeping a learner's progress in step through a real Apache WebDAV server:
// two program folders stand for two computers. What one studies the other
// finds; a library changed on both sides is asked about and the version
// not kept stays in the backups; failures (wrong password, full quota, the
// server stopped, a download cut short, a damaged or HTML file on the
// server, a redirect to another server, an https certificate not trusted)
// leave every file here as it was and say why in Chinese.

#include <QDir>
#include <QFile>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <filesystem>
#include <map>
#include <optional>
#include <set>

#include "core/backups.h"
#include "core/gbktext.h"
#include "core/journal.h"
#include "core/scrambledfile.h"
#include "core/syncplan.h"
#include "platform/syncrunner.h"
#include "support/apache_dav.h"
#include "widgets/screentext.h"

namespace fs = std::filesystem;

namespace {

std::string HeaderLine() { return "<editor>ed</editor><date>2026-12-10</date><version>1.0</version><lw>0</lw>"; }
std::string WordLine(const std::string& word, const std::string& times, const std::string& meaning,
                     const std::string& grade) {
    return "<e>" + word + "</e><t>" + times + "</t><c>" + meaning + "</c><g>" + grade + "</g>";
}

std::string ReadBytes(const fs::path& path) {
    QFile file(QString::fromStdString(path.string()));
    return file.open(QIODevice::ReadOnly) ? file.readAll().toStdString() : std::string();
}

const char* const kN5 = "日语N5词汇.lx";
const char* const kVerbs = "动词.lx";

// One computer: a program folder with the learner in slot 0.
struct Computer {
    explicit Computer(const fs::path& folder, const std::string& computerName) : root(folder), name(computerName) {
        fs::create_directories(User());
        program = FromNativePath(root) + "/";
    }
    fs::path User() const { return root / "users" / "user0"; }
    fs::path Backups() const { return root / "backups" / "user0"; }
    // A library of `n` words, the first `studied` shown `times` times at `grade`.
    void Library(const char* fileUtf8, int n, int studied = 0, int times = 1, int grade = 1) const {
        std::string text = HeaderLine();
        for (int i = 0; i < n; ++i) {
            const bool done = i < studied;
            text += "\n" + WordLine("w" + std::to_string(i), std::to_string(done ? times : 0), "m" + std::to_string(i),
                                    std::to_string(done ? grade : 0));
        }
        QVERIFY(WriteScrambledFile(User() / fileUtf8, text));
    }
    std::string Bytes(const char* fileUtf8) const { return ReadBytes(User() / fileUtf8); }
    // Every file of the learner's folder that travels, with its bytes.
    std::map<std::string, std::string> Files() const {
        std::map<std::string, std::string> files;
        for (const auto& entry : fs::directory_iterator(User())) {
            const std::string name = entry.path().filename().string();
            if (IsSyncedFile(Gbk(name))) files[name] = ReadBytes(entry.path());
        }
        return files;
    }
    std::map<std::string, std::string> AllFiles() const {
        std::map<std::string, std::string> files;
        for (const auto& entry : fs::directory_iterator(User()))
            files[entry.path().filename().string()] = ReadBytes(entry.path());
        return files;
    }
    SyncJob Job(const QString& address, const QString& password = ApacheDav::kPassword) const {
        SyncJob job;
        job.gbkProgramFolder = program;
        job.slot = 0;
        job.gbkLearnerName = Gbk("小林");
        job.settings.address = address.toStdString();
        job.settings.account = ApacheDav::kAccount;
        job.settings.enabled = true;
        job.settings.learnerId = learnerId;
        job.password = password;
        job.computer = name;
        job.timeoutMs = 5000;
        return job;
    }

    fs::path root;
    std::string name;
    std::string program;
    std::string learnerId;  // kept by the settings after a sync
};

}  // namespace

class TestSyncSession : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> folder;
    std::unique_ptr<ApacheDav> server;
    std::unique_ptr<Computer> a, b;
    SyncRunner runner;
    std::vector<SyncConflict> asked;
    std::function<ConflictChoice(const SyncConflict&)> answer;

    SyncOutcome Sync(Computer& computer, const QString& address = QString(),
                     const QString& password = ApacheDav::kPassword) {
        SyncOutcome outcome =
            runner.Run(nullptr, computer.Job(address.isEmpty() ? server->Address() : address, password));
        if (outcome.ok) computer.learnerId = outcome.learnerId;
        return outcome;
    }
    static QString Text(const SyncOutcome& outcome) { return QString::fromStdString(Utf8(outcome.gbkMessage)); }
    QString ServerFolder() const {
        const QStringList learners = QDir(server->Root() + "/Lexilark").entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        return learners.size() == 1 ? server->Root() + "/Lexilark/" + learners.front() : QString();
    }

private slots:
    void init() {
        folder = std::make_unique<QTemporaryDir>();
        server = std::make_unique<ApacheDav>();
        QVERIFY2(server->Start(), qPrintable(server->Error()));
        a = std::make_unique<Computer>(fs::path(folder->path().toStdString()) / "home", "home-pc");
        b = std::make_unique<Computer>(fs::path(folder->path().toStdString()) / "office", "office-pc");
        asked.clear();
        answer = [](const SyncConflict&) { return ConflictChoice::Undecided; };
        runner.SetConflictAsker([this](QWidget*, const SyncConflict& conflict) {
            asked.push_back(conflict);
            return answer(conflict);
        });
    }
    void cleanup() {
        server.reset();  // stopped here also when the test failed
        a.reset();
        b.reset();
        folder.reset();
    }

    void studyOnOneComputerIsFoundOnTheOther() {
        a->Library(kN5, 20, 8, 3, 2);
        a->Library("收藏库.lx", 2);
        // The other computer still has the untouched copy every new folder gets.
        b->Library(kN5, 20);

        SyncOutcome first = Sync(*a);
        QVERIFY2(first.ok, qPrintable(Text(first)));
        QCOMPARE(first.uploaded, 2);
        SyncOutcome second = Sync(*b);
        QVERIFY2(second.ok, qPrintable(Text(second)));
        QCOMPARE(second.learnerId, first.learnerId);  // found by the learner's name
        QVERIFY(asked.empty());                       // an untouched copy gives way without a question
        QCOMPARE(b->Files(), a->Files());
        QCOMPARE(LibraryStatsOf(b->Bytes(kN5)).studied, 8);
        QVERIFY(!ListBackups(b->program, 0).empty());  // the untouched copy is kept all the same

        // Study on the second computer comes back to the first.
        b->Library(kN5, 20, 12, 4, 3);
        QVERIFY(Sync(*b).ok);
        const SyncOutcome back = Sync(*a);
        QVERIFY2(back.ok, qPrintable(Text(back)));
        QCOMPARE(back.downloaded, 1);
        QCOMPARE(a->Files(), b->Files());
        QVERIFY(asked.empty());

        // Nothing changed: nothing travels.
        const SyncOutcome idle = Sync(*a);
        QVERIFY(idle.ok);
        QCOMPARE(idle.uploaded + idle.downloaded, 0);
        // The password is nowhere in the learner's folder or on the server.
        for (const auto& [file, bytes] : a->AllFiles())
            QVERIFY2(bytes.find(ApacheDav::kPassword) == std::string::npos, file.c_str());
    }

    void aLibraryChangedOnBothSidesIsAskedAndTheOtherVersionBackedUp_data() {
        QTest::addColumn<bool>("keepLocal");
        QTest::newRow("keep this computer's") << true;
        QTest::newRow("keep the server's") << false;
    }
    void aLibraryChangedOnBothSidesIsAskedAndTheOtherVersionBackedUp() {
        QFETCH(bool, keepLocal);
        a->Library(kN5, 10, 2);
        QVERIFY(Sync(*a).ok);
        QVERIFY(Sync(*b).ok);
        a->Library(kN5, 10, 5, 2, 1);  // home: 5 words studied
        b->Library(kN5, 10, 7, 1, 4);  // office: 7 words studied, at grade 4
        QVERIFY(Sync(*a).ok);
        const std::string home = a->Bytes(kN5), office = b->Bytes(kN5);

        answer = [keepLocal](const SyncConflict&) {
            return keepLocal ? ConflictChoice::KeepLocal : ConflictChoice::KeepRemote;
        };
        const SyncOutcome outcome = Sync(*b);
        QVERIFY2(outcome.ok, qPrintable(Text(outcome)));
        QCOMPARE(asked.size(), size_t(1));
        const SyncConflict& conflict = asked.front();
        QCOMPARE(conflict.name, Gbk(kN5));
        QCOMPARE(conflict.local.stats.studied, 7);
        QCOMPARE(conflict.local.stats.perGrade[4], 7);
        QCOMPARE(conflict.remote.stats.studied, 5);
        QCOMPARE(conflict.remote.stats.perGrade[1], 5);
        QCOMPARE(conflict.local.gbkComputer, std::string("office-pc"));
        QCOMPARE(conflict.remote.gbkComputer, std::string("home-pc"));
        QVERIFY(!conflict.remote.gbkTime.empty());

        const std::string kept = keepLocal ? office : home;
        const std::string other = keepLocal ? home : office;
        QCOMPARE(b->Bytes(kN5), kept);
        // The version not kept can be restored from the backups.
        bool inBackups = false;
        for (const std::string& name : ListBackups(b->program, 0))
            inBackups = inBackups || ReadBytes(b->Backups() / name / kN5) == other;
        QVERIFY(inBackups);
        // And the first computer comes to the same.
        QVERIFY(Sync(*a).ok);
        QCOMPARE(a->Bytes(kN5), kept);
        QCOMPARE(asked.size(), size_t(1));
    }

    void differentLibrariesChangedOnEachSideAreBothKeptWithoutAQuestion() {
        a->Library(kN5, 10);
        a->Library(kVerbs, 6);
        QVERIFY(Sync(*a).ok);
        QVERIFY(Sync(*b).ok);
        a->Library(kN5, 10, 4);
        b->Library(kVerbs, 6, 3, 2, 2);
        QVERIFY(Sync(*a).ok);
        const SyncOutcome outcome = Sync(*b);
        QVERIFY2(outcome.ok, qPrintable(Text(outcome)));
        QVERIFY(Sync(*a).ok);
        QVERIFY(asked.empty());
        QCOMPARE(LibraryStatsOf(b->Bytes(kN5)).studied, 4);
        QCOMPARE(LibraryStatsOf(a->Bytes(kVerbs)).studied, 3);
        QCOMPARE(a->Files(), b->Files());
    }

    void journalEventsOfBothComputersArePresentOnceEach() {
        // Each computer answers in its own journal; home keeps its journal
        // open throughout, so part of its events are still in the log file.
        const auto answer = [](const char* word, std::time_t at) {
            JournalAnswer made;
            made.at = at;
            made.library = Gbk("日语N5词汇");
            made.word = Gbk(word);
            made.right = true;
            return made;
        };
        const auto words = [](const fs::path& file) {
            Journal journal;
            journal.Open(file, std::string(32, 'f'));
            std::multiset<std::string> seen;
            for (const JournalAnswer& made : journal.Answers()) seen.insert(Utf8(made.word));
            return seen;
        };
        Journal home;
        home.Open(a->User() / kJournalFileName, std::string(32, 'a'));
        home.RecordAnswer(answer("水", 1765000000));
        a->Library(kN5, 10, 1);
        QVERIFY(Sync(*a).ok);
        {
            Journal office;
            office.Open(b->User() / kJournalFileName, std::string(32, 'b'));
            office.RecordAnswer(answer("山", 1765000100));
        }
        SyncOutcome outcome = Sync(*b);  // both sides have events of their own
        QVERIFY2(outcome.ok, qPrintable(Text(outcome)));
        home.RecordAnswer(answer("川", 1765000200));
        outcome = Sync(*a);
        QVERIFY2(outcome.ok, qPrintable(Text(outcome)));
        QVERIFY(Sync(*b).ok);
        QVERIFY(asked.empty());

        const std::multiset<std::string> all = {"山", "川", "水"};
        QCOMPARE(words(b->User() / kJournalFileName), all);
        home.Close();
        QCOMPARE(words(a->User() / kJournalFileName), all);
        // In step: nothing more travels.
        outcome = Sync(*a);
        QCOMPARE(outcome.uploaded + outcome.downloaded, 0);
        outcome = Sync(*b);
        QCOMPARE(outcome.uploaded + outcome.downloaded, 0);
    }

    void aFailedSyncChangesNothingHereAndSaysWhy_data() {
        QTest::addColumn<QString>("failure");
        QTest::addColumn<QString>("says");
        QTest::newRow("wrong password") << "password"
                                        << "账号或密码";
        QTest::newRow("quota full") << "quota"
                                    << "空间已满";
        QTest::newRow("server stopped mid-sync") << "stopped"
                                                 << "无法连接服务器";
        QTest::newRow("download cut short") << "cut"
                                            << "无法连接服务器";
        QTest::newRow("damaged library on the server") << "damaged"
                                                       << "已损坏";
        QTest::newRow("login page instead of the file") << "html"
                                                        << "网页";
        QTest::newRow("plain http to another computer") << "http"
                                                        << "https://";
        QTest::newRow("cancelled") << "cancel"
                                   << "同步已取消";
        QTest::newRow("redirect to another server") << "elsewhere"
                                                    << "另一个地址";
        QTest::newRow("https server with an unknown certificate") << "certificate"
                                                                  << "证书";
    }
    void aFailedSyncChangesNothingHereAndSaysWhy() {
        QFETCH(QString, failure);
        QFETCH(QString, says);
        // The server holds newer study of both libraries; this computer
        // holds its own change of the favourites.
        a->Library(kN5, 3000, 10);
        a->Library(kVerbs, 5, 1);
        a->Library("收藏库.lx", 1);
        QVERIFY(Sync(*a).ok);
        QVERIFY(Sync(*b).ok);
        a->Library(kN5, 3000, 50, 2, 3);
        a->Library(kVerbs, 5, 4);
        QVERIFY(Sync(*a).ok);
        b->Library("收藏库.lx", 3);
        const auto before = b->AllFiles();
        const QString folderOnServer = ServerFolder();
        QVERIFY(!folderOnServer.isEmpty());

        QString address = server->Address();
        QString password = ApacheDav::kPassword;
        QMetaObject::Connection watch;
        std::unique_ptr<ApacheDav> secure;
        if (failure == "elsewhere") address = server->Address("elsewhere");
        if (failure == "certificate") {
            secure = std::make_unique<ApacheDav>(ApacheDav::Tls::On);
            QVERIFY2(secure->Start(), qPrintable(secure->Error()));
            address = secure->Address();
        }
        if (failure == "password") password = "wrong";
        if (failure == "quota") {
            // The same files, behind a location whose uploads are refused.
            QVERIFY(QDir().rename(server->Root() + "/Lexilark", server->Root() + "/../full/Lexilark"));
            address = server->Address("full");
        }
        if (failure == "stopped") {
            watch = connect(&runner, &SyncRunner::progressed, this, [this](const QString& step) {
                if (step.contains(U("上传"))) server->Stop();
            });
        }
        if (failure == "cut") {
            address = server->Address("slow");
            watch = connect(&runner, &SyncRunner::progressed, this, [this](const QString& step) {
                if (step.contains(U(kN5))) QTimer::singleShot(700, this, [this] { server->Stop(); });
            });
        }
        if (failure == "damaged") {
            QFile file(folderOnServer + "/" + kVerbs);
            QVERIFY(file.open(QIODevice::ReadWrite));
            QVERIFY(file.resize(file.size() - 9));
        }
        if (failure == "html") {
            QFile file(folderOnServer + "/" + kVerbs);
            QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write("<!DOCTYPE html>\n<html><body>Please log in</body></html>\n");
        }
        if (failure == "http") address = "http://192.0.2.1/dav/";
        if (failure == "cancel") {
            watch = connect(&runner, &SyncRunner::progressed, this, [] {
                for (QWidget* window : QApplication::topLevelWidgets())
                    if (window->objectName() == "SyncProgress" && window->isVisible())
                        QTest::mouseClick(window->findChild<QPushButton*>(), Qt::LeftButton);  // "取消"
            });
        }

        const SyncOutcome outcome = Sync(*b, address, password);
        disconnect(watch);
        QVERIFY(!outcome.ok);
        QVERIFY2(Text(outcome).contains(says), qPrintable(Text(outcome)));
        if (failure == "damaged" || failure == "html")
            QVERIFY2(Text(outcome).contains(U(kVerbs)), qPrintable(Text(outcome)));
        // Nothing here changed but the record of what is known to be alike.
        auto after = b->AllFiles();
        auto expected = before;
        after.erase("sync.state");
        expected.erase("sync.state");
        QCOMPARE(after.size(), expected.size());
        for (const auto& [name, bytes] : expected) QVERIFY2(after[name] == bytes, name.c_str());
        QVERIFY(ListBackups(b->program, 0).empty());
        // The password went to no other server.
        QVERIFY2(server->RequestsOnSecondPort().isEmpty(), qPrintable(server->RequestsOnSecondPort().join("|")));
    }

    // https is used only with a certificate for the server's name from an
    // authority this computer trusts (the test's own, trusted by this test
    // process alone); otherwise nothing is sent, not even the password.
    void anHttpsServerIsUsedOnlyWithATrustedCertificateForItsName_data() {
        QTest::addColumn<bool>("trusted");
        QTest::addColumn<QString>("host");
        QTest::newRow("trusted, named as in the certificate") << true << "127.0.0.1";
        QTest::newRow("unknown authority") << false << "127.0.0.1";
        QTest::newRow("trusted, but another name") << true << "localhost";
    }
    void anHttpsServerIsUsedOnlyWithATrustedCertificateForItsName() {
        QFETCH(bool, trusted);
        QFETCH(QString, host);
        ApacheDav secure(ApacheDav::Tls::On);
        QVERIFY2(secure.Start(), qPrintable(secure.Error()));
        std::optional<TrustedAuthority> trust;
        if (trusted) {
            trust.emplace(secure.CaCertificateFile());
            QVERIFY(trust->Added());
        }
        a->Library(kN5, 10, 4);
        const auto before = a->AllFiles();
        const QString address = secure.Address("dav", host.toLatin1().constData());

        const SyncOutcome outcome = Sync(*a, address);
        if (trusted && host == "127.0.0.1") {
            QVERIFY2(outcome.ok, qPrintable(Text(outcome)));
            QVERIFY2(Sync(*b, address).ok, qPrintable(Text(outcome)));
            QCOMPARE(b->Bytes(kN5), a->Bytes(kN5));
            return;
        }
        QVERIFY(!outcome.ok);
        QVERIFY2(Text(outcome).contains(U("证书")), qPrintable(Text(outcome)));
        auto after = a->AllFiles();
        after.erase("sync.state");
        QVERIFY(after == before);
        QVERIFY(!QDir(secure.Root() + "/Lexilark").exists());
    }

    void aRedirectWithinTheServerIsFollowed() {
        a->Library(kN5, 10, 4);
        const SyncOutcome outcome = Sync(*a, server->Address("moved"));
        QVERIFY2(outcome.ok, qPrintable(Text(outcome)));
        QVERIFY(Sync(*b).ok);
        QCOMPARE(b->Bytes(kN5), a->Bytes(kN5));
    }

    void theNextSyncAfterAFailureCatchesUp() {
        a->Library(kN5, 10, 3);
        QVERIFY(Sync(*a).ok);
        server->Stop();
        a->Library(kN5, 10, 6);
        const SyncOutcome offline = Sync(*a);
        QVERIFY(!offline.ok);
        QVERIFY2(Text(offline).contains(U("照常学习")), qPrintable(Text(offline)));
        QVERIFY(server->Start());
        QVERIFY(Sync(*a).ok);
        QVERIFY(Sync(*b).ok);
        QCOMPARE(LibraryStatsOf(b->Bytes(kN5)).studied, 6);
    }
};

QTEST_MAIN(TestSyncSession)
#include "tst_syncsession.moc"
