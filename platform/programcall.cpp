#include "platform/programcall.h"

#include <QCryptographicHash>
#include <QLocalServer>
#include <QLocalSocket>

namespace {

constexpr int kWaitMs = 3000;
const char kCall = 'R';

// Socket names are short on every platform; the folder's hash keeps two
// program folders apart whatever their length or characters.
QString CallName(const std::string& gbkProgramFolder) {
    const QByteArray hash =
        QCryptographicHash::hash(QByteArray::fromStdString(gbkProgramFolder), QCryptographicHash::Sha1);
    return QStringLiteral("lexilark-") + QString::fromLatin1(hash.toHex().left(24));
}

}  // namespace

ProgramCallListener::ProgramCallListener(const std::string& gbkProgramFolder, QObject* parent)
    : QObject(parent), server_(new QLocalServer(this)) {
    const QString name = CallName(gbkProgramFolder);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    // The folder's lock is held here, so a socket of that name can only be
    // left over from a program that was killed.
    if (!server_->listen(name)) {
        QLocalServer::removeServer(name);
        server_->listen(name);
    }
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (!socket->readAll().contains(kCall)) return;
                socket->write(&kCall, 1);
                socket->flush();
                emit called();
            });
        }
    });
}

bool ProgramCallListener::IsListening() const { return server_->isListening(); }

bool CallRunningProgram(const std::string& gbkProgramFolder) {
    QLocalSocket socket;
    socket.connectToServer(CallName(gbkProgramFolder));
    if (!socket.waitForConnected(kWaitMs)) return false;
    socket.write(&kCall, 1);
    if (!socket.waitForBytesWritten(kWaitMs)) return false;
    // The answer says the running program took the call, so the message of
    // this start is shown after that program came forward and stays above it.
    return socket.waitForReadyRead(kWaitMs) && socket.read(1) == QByteArray(1, kCall);
}
