// The system recording player: calls in any order are safe, the file name
// is kept for the study window to report, and nothing plays without a file.

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "platform/mediaplayer.h"

namespace {
// A valid, very short 8-bit mono wave file.
QByteArray TinyWave() {
    const quint32 samples = 800;
    QByteArray data;
    QDataStream out(&data, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("RIFF", 4);
    out << quint32(36 + samples);
    out.writeRawData("WAVEfmt ", 8);
    out << quint32(16) << quint16(1) << quint16(1) << quint32(8000) << quint32(8000) << quint16(1) << quint16(8);
    out.writeRawData("data", 4);
    out << samples;
    for (quint32 i = 0; i < samples; ++i) out << quint8(128 + ((i / 8) % 2 ? 40 : -40));
    return data;
}
}  // namespace

// Qt loads a sound on a worker thread of its global sample cache. When the
// program ends while a load is under way, the cache is torn down with the
// load's objects still waiting for that thread, and the leak check reports
// them; tests/sanitizer/lsan.supp names them. Their stacks lie wholly inside
// Qt, so the sanitizer build records whole stacks for this test only (it
// costs time in every allocation), else the suppressions find no Qt frame.
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
extern "C" const char* __asan_default_options() { return "fast_unwind_on_malloc=0"; }
#endif
#endif

class TestMediaPlayer : public QObject {
    Q_OBJECT
private slots:
    void keepsTheFileNameAndStopsCleanly();
    void nothingPlaysWithoutAFile();
};

void TestMediaPlayer::keepsTheFileNameAndStopsCleanly() {
    QTemporaryDir dir;
    const QString path = dir.filePath("neko.wav");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(TinyWave());
    file.close();

    auto player = CreateSystemMediaPlayer();
    player->SetFileName(path);
    QCOMPARE(player->FileName(), path);
    player->Open();
    player->Play();  // returns at once, whether or not an audio device exists
    player->Stop();
    QVERIFY(!player->IsPlaying());
    player->Close();
    player->Close();
    QVERIFY(!player->IsPlaying());
    QCOMPARE(player->FileName(), path);
}

void TestMediaPlayer::nothingPlaysWithoutAFile() {
    auto player = CreateSystemMediaPlayer();
    player->Stop();  // before anything was opened
    player->SetFileName(QString());
    player->Open();
    player->Play();
    QVERIFY(!player->IsPlaying());
    QCOMPARE(player->FileName(), QString());
}

QTEST_MAIN(TestMediaPlayer)
#include "tst_mediaplayer.moc"
