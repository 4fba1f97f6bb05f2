// One program per program folder, with real processes: this test program
// starts copies of itself that take the folder's lock and hold it until
// their standard input closes, or until they are killed.

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>

#include "core/gbktext.h"
#include "shell/programlock.h"
#include "support/message_recorder.h"

namespace {

const char* const kHoldArgument = "--hold-lock";
const char* const kAlreadyRunning =
    "澜悦单词已经在运行！\r\n\r\n同一个程序文件夹中只能运行一个澜悦单词，请使用已经打开的澜悦单词。";

std::string GbkFolder(const QString& path) {
    return FromNativePath(std::filesystem::path(QFile::encodeName(path).toStdString())) + "/";
}

// The child: takes the lock of the folder given, says "held" or "refused",
// and holds the lock until its input ends.
int HoldLock(const char* folder) {
    SetMessageSink([](const std::string&, int) { return kIdOk; });
    ProgramFolderLock lock(GbkFolder(QFile::decodeName(folder)));
    if (!lock.Take()) {
        std::puts("refused");
        return 2;
    }
    std::puts("held");
    std::fflush(stdout);
    std::string line;
    while (std::getline(std::cin, line)) {
    }
    return 0;
}

// A second program on the folder of the test.
struct Holder {
    QProcess process;

    explicit Holder(const QString& folder) {
        process.start(QCoreApplication::applicationFilePath(), {kHoldArgument, folder});
    }
    ~Holder() {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished();
        }
    }
    // The first line the child writes ("held" or "refused").
    QString Answer() {
        while (!process.canReadLine() && process.waitForReadyRead(60000)) {
        }
        return QString::fromUtf8(process.readLine()).trimmed();
    }
};

}  // namespace

class TestProgramLock : public QObject {
    Q_OBJECT

private slots:
    void secondProgramOnTheFolderIsRefusedWithAMessage() {
        QTemporaryDir dir;
        Holder first(dir.path());
        QCOMPARE(first.Answer(), QString("held"));

        Holder second(dir.path());
        QCOMPARE(second.Answer(), QString("refused"));
        QVERIFY(second.process.waitForFinished(60000));
        QCOMPARE(second.process.exitCode(), 2);

        MessageRecorder messages;
        ProgramFolderLock here(GbkFolder(dir.path()));
        QVERIFY(!here.Take());
        QCOMPARE(messages.Texts(), std::vector<std::string>{kAlreadyRunning});
        QVERIFY(!here.IsHeld());

        // Another folder is another program's.
        QTemporaryDir other;
        ProgramFolderLock elsewhere(GbkFolder(other.path()));
        QVERIFY(elsewhere.Take());
    }

    void lockOfAKilledProgramDoesNotBlockTheNextStart() {
        QTemporaryDir dir;
        {
            Holder killed(dir.path());
            QCOMPARE(killed.Answer(), QString("held"));
            killed.process.kill();
            QVERIFY(killed.process.waitForFinished(60000));
        }
        QVERIFY(QFile::exists(dir.filePath("lexilark.lock")));  // left behind

        MessageRecorder messages;
        ProgramFolderLock next(GbkFolder(dir.path()));
        QVERIFY(next.Take());
        QVERIFY(messages.Texts().empty());

        // Held again by this program, the folder refuses a further start.
        Holder late(dir.path());
        QCOMPARE(late.Answer(), QString("refused"));
    }

    void programThatEndsReleasesTheFolder() {
        QTemporaryDir dir;
        Holder first(dir.path());
        QCOMPARE(first.Answer(), QString("held"));
        first.process.closeWriteChannel();
        QVERIFY(first.process.waitForFinished(60000));
        QCOMPARE(first.process.exitCode(), 0);
        QVERIFY(!QFile::exists(dir.filePath("lexilark.lock")));

        Holder second(dir.path());
        QCOMPARE(second.Answer(), QString("held"));
    }
};

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], kHoldArgument) == 0) {
        QCoreApplication app(argc, argv);
        return HoldLock(argv[2]);
    }
    QCoreApplication app(argc, argv);
    TestProgramLock test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_programlock.moc"
