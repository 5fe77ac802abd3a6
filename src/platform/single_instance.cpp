#include "platform/single_instance.h"

#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>

namespace isp {

TSingleInstance::TSingleInstance(const QString& name, const QString& folder)
    : socketPath_(QDir(folder).filePath("." + name + ".socket")),
      lock_(std::make_unique<QLockFile>(QDir(folder).filePath("." + name + ".lock"))) {
    lock_->setStaleLockTime(0); // a crashed copy's lock is found stale by its dead process id
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_.nextPendingConnection()) {
            socket->disconnectFromServer();
            socket->deleteLater();
            if (OnActivate) {
                OnActivate();
            }
        }
    });
}

TSingleInstance::~TSingleInstance() {
    server_.close();
}

bool TSingleInstance::Acquire() {
    if (lock_->tryLock(0)) {
        QLocalServer::removeServer(socketPath_); // left behind by a copy that crashed
        server_.listen(socketPath_);
        return true;
    }
    QLocalSocket socket;
    socket.connectToServer(socketPath_);
    if (socket.waitForConnected(2000)) {
        socket.write("show\n");
        socket.waitForBytesWritten(1000);
        socket.disconnectFromServer();
    }
    return false;
}

QString InstanceName(const QString& executablePath) {
    return QFileInfo(executablePath).fileName().toUpper();
}

} // namespace isp
