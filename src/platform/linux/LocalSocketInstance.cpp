// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/LocalSocketInstance.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <QThread>
#include <QTimer>
#include <cerrno>
#include <cstring>
#include <memory>

#include <fcntl.h>
#include <sys/file.h>

#include "platform/linux/InstanceProtocol.h"
#include "platform/linux/PrivateDirectory.h"

namespace platform {

namespace {

constexpr char kSocketName[] = "mnemora-xp.instance";
constexpr char kLockName[] = "mnemora-xp.lock";
// A request is one short line. A client that sends more, or nothing for this long, is dropped,
// and only a few are served at once, so a flood of clients cannot use up the descriptors.
constexpr qsizetype kMaxRequestBytes = InstanceProtocol::kMaxLineBytes;
constexpr int kClientTimeoutMs = 2000;
constexpr int kMaxClients = 4;
// The running instance may hold the claim and not yet listen, or be slow on a loaded machine: a
// later start keeps trying for a generous while before it gives up.
constexpr int kAnswerTimeoutMs = 30000;
constexpr int kRetryPauseMs = 20;

QString SystemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

}  // namespace

LocalSocketInstance::LocalSocketInstance(QString folder, uid_t owner) : folder_(std::move(folder)), owner_(owner)
{
    server_.setMaxPendingConnections(kMaxClients);
    QObject::connect(&server_, &QLocalServer::newConnection, &server_, [this] { TakeClients(); });
}

LocalSocketInstance::~LocalSocketInstance()
{
    ReleaseClaim();
}

QString LocalSocketInstance::DefaultFolder()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (QDir::isAbsolutePath(runtime) && QDir(runtime).exists())
        return runtime;
    return QDir(QDir::tempPath()).filePath(QStringLiteral("mnemora-xp-%1").arg(::getuid()));
}

QString LocalSocketInstance::SocketPath() const
{
    return QDir(folder_).filePath(QLatin1String(kSocketName));
}

bool LocalSocketInstance::CheckFolder()
{
    const PrivateDirectory folder = PrivateDirectory::Open(folder_, owner_);
    if (folder.fd < 0) {
        problem_ = folder.problem;
        return false;
    }
    ::close(folder.fd);
    return true;
}

ISingleInstance::ClaimResult LocalSocketInstance::Claim()
{
    if (lockFd_ >= 0)
        return ClaimResult::Claimed;
    const PrivateDirectory folder = PrivateDirectory::Open(folder_, owner_);
    if (folder.fd < 0) {
        problem_ = folder.problem;
        return ClaimResult::Refused;
    }
    const int lock = ::openat(folder.fd, kLockName, O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (lock < 0) {
        problem_ = QStringLiteral("impossible de créer le verrou %1 : %2")
                       .arg(QDir(folder_).filePath(QLatin1String(kLockName)), SystemError(errno));
        ::close(folder.fd);
        return ClaimResult::Refused;
    }
    if (::flock(lock, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(lock);
        ::close(folder.fd);
        if (error == EWOULDBLOCK)
            return ClaimResult::HeldElsewhere;
        problem_ = QStringLiteral("impossible de verrouiller %1 : %2").arg(folder_, SystemError(error));
        return ClaimResult::Refused;
    }
    lockFd_ = lock;
    // With the lock held no live instance listens here: a socket at the path was left by one
    // that crashed, and is removed rather than obeyed.
    const int removed = ::unlinkat(folder.fd, kSocketName, 0);
    const int removeError = errno;
    ::close(folder.fd);
    if (removed != 0 && removeError != ENOENT) {
        problem_ = QStringLiteral("impossible de retirer l'ancien point de contact %1 : %2").arg(SocketPath(), SystemError(removeError));
        ReleaseClaim();
        return ClaimResult::Refused;
    }
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_.listen(SocketPath())) {
        problem_ = QStringLiteral("impossible d'écouter sur %1 : %2").arg(SocketPath(), server_.errorString());
        ReleaseClaim();
        return ClaimResult::Refused;
    }
    return ClaimResult::Claimed;
}

void LocalSocketInstance::ReleaseClaim()
{
    // The socket goes first, while the lock still keeps every other start away from it.
    server_.close();
    if (lockFd_ >= 0) {
        ::close(lockFd_);
        lockFd_ = -1;
    }
}

void LocalSocketInstance::TakeClients()
{
    while (clients_ < kMaxClients && server_.hasPendingConnections()) {
        QLocalSocket* client = server_.nextPendingConnection();
        ++clients_;
        // Counted out when it ends, whichever way comes first: a request, a hang-up, the time-out.
        auto ended = std::make_shared<bool>(false);
        auto end = [this, client, ended] {
            if (*ended)
                return;
            *ended = true;
            --clients_;
            client->abort();
            client->deleteLater();
            TakeClients();
        };
        QObject::connect(client, &QLocalSocket::disconnected, client, end);
        QTimer::singleShot(kClientTimeoutMs, client, end);
        auto request = std::make_shared<QByteArray>();
        QObject::connect(client, &QLocalSocket::readyRead, client, [this, client, request, end] {
            request->append(client->read(kMaxRequestBytes + 1 - request->size()));
            const qsizetype lineEnd = request->indexOf('\n');
            if (lineEnd < 0 && request->size() <= kMaxRequestBytes)
                return;
            const InstanceProtocol::Reading reading =
                lineEnd >= 0 ? InstanceProtocol::Read(QByteArrayView(*request).first(lineEnd)) : InstanceProtocol::Reading{};
            if (reading.verdict != InstanceProtocol::Verdict::Garbage) {
                client->write(reading.verdict == InstanceProtocol::Verdict::Taken ? InstanceProtocol::kTaken
                                                                                   : InstanceProtocol::kRefused);
                client->flush();
            }
            end();
            // The client has its answer before the request runs, from the event loop rather than
            // from inside this socket's handler: a recovery takes seconds.
            if (reading.verdict == InstanceProtocol::Verdict::Taken) {
                const std::function<void()>& handler = reading.request == Request::Recover ? OnRecoverRequest
                                                       : reading.request == Request::RecoverByKernel
                                                           ? OnRecoverByKernelRequest
                                                           : OnShowRequest;
                if (handler)
                    QMetaObject::invokeMethod(&server_, handler, Qt::QueuedConnection);
            }
        });
    }
}

bool LocalSocketInstance::SignalRunning(Request request)
{
    if (!CheckFolder())
        return false;
    const QDeadlineTimer deadline(kAnswerTimeoutMs);
    for (;;) {
        QLocalSocket socket;
        socket.connectToServer(SocketPath());
        if (socket.waitForConnected(static_cast<int>(deadline.remainingTime()))) {
            socket.write(InstanceProtocol::RequestLine(request));
            socket.flush();
            // Only the answer tells that the request was taken: a busy instance may have dropped
            // the connection before reading it.
            QByteArray answer;
            while (!answer.contains('\n') && socket.waitForReadyRead(static_cast<int>(deadline.remainingTime())))
                answer += socket.readAll();
            answer += socket.readAll();
            if (answer == InstanceProtocol::kTaken)
                return true;
            if (answer == InstanceProtocol::kRefused)
                return false;  // an instance of another version: asking again changes nothing
        }
        if (deadline.hasExpired())
            return false;
        QThread::msleep(kRetryPauseMs);
    }
}
}  // namespace platform
