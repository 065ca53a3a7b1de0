#include "SingleInstance.hpp"

#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>
#include <unistd.h>

namespace velmora {

namespace {

constexpr int kTimeoutMs = 1000;
constexpr char kHandover[] = "activate\n";

} // namespace

SingleInstance::SingleInstance(QString socketPath) : socketPath_(std::move(socketPath)) {}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::defaultSocketPath() {
    // $XDG_RUNTIME_DIR, else a directory of the user's own that Qt makes private: a socket
    // in a shared directory could be planted by someone else to keep Velmora from starting.
    return QDir(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation))
        .filePath(QStringLiteral("velmora-%1.socket").arg(getuid()));
}

bool SingleInstance::becomePrimary(HandoverHandler onHandover, bool replacing) {
    if (!replacing && handOver()) {
        return false;
    }
    // Nobody answered, or this start replaces the instance that did: what is left at the
    // path is from an instance that ended.
    QLocalServer::removeServer(socketPath_);
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(socketPath_)) {
        qWarning("Cannot listen on %s: %s", qPrintable(socketPath_),
                 qPrintable(server_->errorString()));
        // Running without the handover is better than not running.
        return true;
    }
    onHandover_ = std::move(onHandover);
    QObject::connect(server_.get(), &QLocalServer::newConnection, server_.get(), [this] {
        while (QLocalSocket* client = server_->nextPendingConnection()) {
            QObject::connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
            QObject::connect(client, &QLocalSocket::readyRead, client, [this, client] {
                if (client->canReadLine() && client->readLine() == kHandover && onHandover_) {
                    onHandover_();
                }
                client->disconnectFromServer();
            });
        }
    });
    return true;
}

bool SingleInstance::handOver() {
    QLocalSocket socket;
    socket.connectToServer(socketPath_);
    if (!socket.waitForConnected(kTimeoutMs)) {
        return false;
    }
    socket.write(kHandover);
    return socket.waitForBytesWritten(kTimeoutMs);
}

} // namespace velmora
