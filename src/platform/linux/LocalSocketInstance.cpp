#include "platform/linux/LocalSocketInstance.h"

#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>

#include <unistd.h>

namespace platform {

namespace {

constexpr int kConnectTimeoutMs = 2000;
constexpr char kShowRequest[] = "show\n";

}  // namespace

LocalSocketInstance::LocalSocketInstance(QString socketPath) : socketPath_(std::move(socketPath))
{
    QObject::connect(&server_, &QLocalServer::newConnection, &server_, [this] {
        while (QLocalSocket* client = server_.nextPendingConnection()) {
            QObject::connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
            QObject::connect(client, &QLocalSocket::readyRead, client, [this, client] {
                if (client->readAll().contains('\n') && OnShowRequest)
                    OnShowRequest();
            });
        }
    });
}

QString LocalSocketInstance::DefaultSocketPath()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QDir(runtime).exists())
        return QDir(runtime).filePath(QStringLiteral("mnemora-xp.instance"));
    return QDir(QDir::tempPath()).filePath(QStringLiteral("mnemora-xp-%1.instance").arg(::getuid()));
}

bool LocalSocketInstance::SignalRunning()
{
    QLocalSocket socket;
    socket.connectToServer(socketPath_);
    if (!socket.waitForConnected(kConnectTimeoutMs))
        return false;
    socket.write(kShowRequest);
    const bool sent = socket.waitForBytesWritten(kConnectTimeoutMs);
    socket.disconnectFromServer();
    return sent;
}

bool LocalSocketInstance::Claim()
{
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    if (server_.listen(socketPath_))
        return true;
    // Nobody answered SignalRunning, so whatever is at the path is a leftover.
    QLocalServer::removeServer(socketPath_);
    return server_.listen(socketPath_);
}

}  // namespace platform
