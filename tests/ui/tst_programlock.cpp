// One program per program folder, with real processes: this test program
// starts copies of itself that take the folder's lock and hold it until
// their standard input closes, or until they are killed.

#include <unistd.h>
#include <QCoreApplication>
#include <QProcess>
#include <QSocketNotifier>
#include <QTemporaryDir>
#include <QtTest>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <string>

#include "core/gbktext.h"
#include "platform/programcall.h"
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
// and holds the lock until its input ends; while it holds it, it says
// "called" each time a later start calls it forward.
int HoldLock(const char* folder) {
    SetMessageSink([](const std::string&, int) { return kIdOk; });
    const std::string gbkFolder = GbkFolder(QFile::decodeName(folder));
    ProgramFolderLock lock(gbkFolder);
    if (!lock.Take()) {
        std::puts("refused");
        return 2;
    }
    ProgramCallListener calls(gbkFolder);
    QObject::connect(&calls, &ProgramCallListener::called, [] {
        std::puts("called");
        std::fflush(stdout);
    });
    std::puts(calls.IsListening() ? "held" : "held, not listening");
    std::fflush(stdout);
    QSocketNotifier input(0, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&input] {
        char buffer[64];
        if (read(0, buffer, sizeof buffer) <= 0) {
            input.setEnabled(false);
            QCoreApplication::quit();
        }
    });
    return QCoreApplication::exec();
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
        // The program that runs was called forward before the refusal.
        QCOMPARE(first.Answer(), QString("called"));

        MessageRecorder messages;
        ProgramFolderLock here(GbkFolder(dir.path()));
        QVERIFY(!here.Take());
        QCOMPARE(messages.Texts(), std::vector<std::string>{kAlreadyRunning});
        QVERIFY(!here.IsHeld());
        QCOMPARE(first.Answer(), QString("called"));

        // A call to a folder where nothing runs is not answered.
        QTemporaryDir idle;
        QVERIFY(!CallRunningProgram(GbkFolder(idle.path())));

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

        {
            MessageRecorder messages;
            ProgramFolderLock next(GbkFolder(dir.path()));
            QVERIFY(next.Take());
            QVERIFY(messages.Texts().empty());

            // Held again by this program, the folder refuses a further start.
            Holder late(dir.path());
            QCOMPARE(late.Answer(), QString("refused"));
        }

        // The socket the killed program left behind does not keep the next
        // program from being called forward.
        Holder after(dir.path());
        QCOMPARE(after.Answer(), QString("held"));
        Holder again(dir.path());
        QCOMPARE(again.Answer(), QString("refused"));
        QCOMPARE(after.Answer(), QString("called"));
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
