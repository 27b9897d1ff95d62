#include "pages/app/single_instance.h"

#include <QLocalSocket>

#include "platform/user_files.h"

namespace twk {
namespace {

// A running instance answers from its event loop; a busy one is not waited for long.
constexpr int kCallMs = 3000;

// Asks the instance that holds the lock to show its main window. One that is still starting
// shows it anyway, so a call that reaches nobody is no failure.
void callRunningInstance(const QString& socketPath) {
    QLocalSocket socket;
    socket.connectToServer(socketPath);
    if (!socket.waitForConnected(kCallMs)) return;
    socket.write("show\n");
    socket.waitForBytesWritten(kCallMs);
    socket.disconnectFromServer();
}

}  // namespace

bool SingleInstance::claim() {
    if (claimed_) return true;
    const QString folder = QString::fromLocal8Bit(platform::instanceFolder());
    // Without a folder of the user's own there is no lock another user could not meddle with:
    // this start runs rather than be kept out.
    if (folder.isEmpty()) return claimed_ = true;
    const QString socketPath = folder + QStringLiteral("/tarnwick.socket");
    auto lock = std::make_unique<QLockFile>(folder + QStringLiteral("/tarnwick.lock"));
    // Only a lock whose process has died counts as stale, never one that is merely old.
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0)) {
        if (lock->error() != QLockFile::LockFailedError) return claimed_ = true;
        callRunningInstance(socketPath);
        return false;
    }
    lock_ = std::move(lock);
    listen(socketPath);
    return claimed_ = true;
}

void SingleInstance::listen(const QString& socketPath) {
    // A socket left by a crashed instance: the lock says none other listens there now.
    QLocalServer::removeServer(socketPath);
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&server_, &QLocalServer::newConnection, this, &SingleInstance::answer);
    server_.listen(socketPath);
}

void SingleInstance::answer() {
    while (QLocalSocket* caller = server_.nextPendingConnection()) {
        connect(caller, &QLocalSocket::disconnected, caller, &QObject::deleteLater);
        caller->disconnectFromServer();
    }
    emit showRequested();
}

}  // namespace twk
