#include "platform/passwordstore.h"

#include <qt6keychain/keychain.h>
#include <QDir>
#include <QEventLoop>
#include <QStandardPaths>
#include <QTimer>

#include "core/plainfile.h"
#include "core/safewrite.h"

namespace {

constexpr const char* kService = "Lexilark sync";
constexpr int kKeyStoreLimitMs = 5000;

// Runs a key-store job to its end (or the time limit); true on success.
bool RunJob(QKeychain::Job& job) {
    QEventLoop loop;
    bool done = false;
    QObject::connect(&job, &QKeychain::Job::finished, &loop, [&] {
        done = true;
        loop.quit();
    });
    QTimer::singleShot(kKeyStoreLimitMs, &loop, &QEventLoop::quit);
    job.setAutoDelete(false);
    job.start();
    if (!done) loop.exec();
    return done && job.error() == QKeychain::NoError;
}

// Lines "base64(key) TAB base64(password)".
QList<QPair<QByteArray, QByteArray>> ReadFallback() {
    QList<QPair<QByteArray, QByteArray>> entries;
    const auto text = ReadPlainFile(PasswordFallbackFile().toStdString());
    if (!text) return entries;
    for (const QByteArray& line : QByteArray::fromStdString(*text).split('\n')) {
        const QList<QByteArray> fields = line.split('\t');
        if (fields.size() == 2) entries.append({QByteArray::fromBase64(fields[0]), QByteArray::fromBase64(fields[1])});
    }
    return entries;
}

bool WriteFallback(const QList<QPair<QByteArray, QByteArray>>& entries) {
    QByteArray text;
    for (const auto& [key, password] : entries) text += key.toBase64() + '\t' + password.toBase64() + '\n';
    const QString file = PasswordFallbackFile();
    QDir().mkpath(QFileInfo(file).absolutePath());
    return static_cast<bool>(SafeWriteFile(file.toStdString(), text.toStdString(), NewFileAccess::OwnerOnly));
}

}  // namespace

QString PasswordFallbackFile() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/Lexilark/sync-passwords";
}

StoredPassword ReadSyncPassword(const QString& key) {
    StoredPassword stored;
    QKeychain::ReadPasswordJob job(kService);
    job.setKey(key);
    if (RunJob(job)) {
        stored.password = job.textData();
        stored.inKeyStore = true;
        stored.found = true;
        return stored;
    }
    for (const auto& [name, password] : ReadFallback()) {
        if (name == key.toUtf8()) {
            stored.password = QString::fromUtf8(password);
            stored.found = true;
        }
    }
    return stored;
}

bool StoreSyncPassword(const QString& key, const QString& password, bool* saved) {
    QKeychain::WritePasswordJob job(kService);
    job.setKey(key);
    job.setTextData(password);
    auto entries = ReadFallback();
    for (auto it = entries.begin(); it != entries.end();) {
        it = it->first == key.toUtf8() ? entries.erase(it) : it + 1;
    }
    if (RunJob(job)) {
        // Not left behind in the file once the key store holds it.
        WriteFallback(entries);
        if (saved) *saved = true;
        return true;
    }
    entries.append({key.toUtf8(), password.toUtf8()});
    const bool written = WriteFallback(entries);
    if (saved) *saved = written;
    return false;
}
