// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/LocalSocketInstance.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QThread>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>

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
constexpr int kQueuedClients = 16;  // waiting in the kernel, holding none of our descriptors
// The running instance may hold the claim and not yet listen, or be slow on a loaded machine: a
// later start keeps trying for a generous while before it gives up.
constexpr int kAnswerTimeoutMs = 30000;
constexpr int kRetryPauseMs = 20;

QString SystemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

// The socket's address; false when the path does not fit in one.
bool AddressOf(const QString& path, sockaddr_un& address)
{
    const QByteArray encoded = QFile::encodeName(path);
    address = {};
    address.sun_family = AF_UNIX;
    if (encoded.size() >= static_cast<qsizetype>(sizeof(address.sun_path)))
        return false;
    std::memcpy(address.sun_path, encoded.constData(), static_cast<std::size_t>(encoded.size()));
    return true;
}

// Waits for the descriptor to be ready for `events`, within the deadline.
bool WaitFor(int fd, short events, const QDeadlineTimer& deadline)
{
    pollfd watched{fd, events, 0};
    for (;;) {
        const int ready = ::poll(&watched, 1, static_cast<int>(deadline.remainingTime()));
        if (ready > 0)
            return true;
        if (ready == 0 || errno != EINTR)
            return false;
    }
}

// One exchange with the running instance: the request sent, its answer read (up to the line feed,
// the end of the connection or the deadline). Empty when no connection could be made, also when
// the instance's queue is full: never a wait without end on an instance that hangs.
QByteArray Exchange(const sockaddr_un& address, const QByteArray& request, const QDeadlineTimer& deadline)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return {};
    QByteArray answer;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0 &&
        ::send(fd, request.constData(), static_cast<std::size_t>(request.size()), MSG_NOSIGNAL) == request.size()) {
        char buffer[InstanceProtocol::kMaxLineBytes];
        while (!answer.contains('\n') && WaitFor(fd, POLLIN, deadline)) {
            const ssize_t got = ::recv(fd, buffer, sizeof(buffer), 0);
            if (got == 0 || (got < 0 && errno != EINTR && errno != EAGAIN))
                break;
            if (got > 0)
                answer.append(buffer, got);
        }
    }
    ::close(fd);
    return answer;
}

}  // namespace

LocalSocketInstance::LocalSocketInstance(QString folder, uid_t owner) : folder_(std::move(folder)), owner_(owner) {}

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
    if (!Listen()) {
        ReleaseClaim();
        return ClaimResult::Refused;
    }
    return ClaimResult::Claimed;
}

bool LocalSocketInstance::Listen()
{
    sockaddr_un address;
    if (!AddressOf(SocketPath(), address)) {
        problem_ = QStringLiteral("impossible d'écouter sur %1 : %2").arg(SocketPath(), SystemError(ENAMETOOLONG));
        return false;
    }
    const auto failed = [this] {
        problem_ = QStringLiteral("impossible d'écouter sur %1 : %2").arg(SocketPath(), SystemError(errno));
        return false;
    };
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return failed();
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0) {
        const bool result = failed();
        ::close(fd);
        return result;
    }
    serverFd_ = fd;  // bound: the socket file is ours to remove
    // Only the user may connect: the folder is theirs alone already, and so is the socket.
    if (::chmod(address.sun_path, 0600) != 0 || ::listen(fd, kQueuedClients) != 0)
        return failed();
    waiting_ = std::make_unique<QSocketNotifier>(serverFd_, QSocketNotifier::Read);
    QObject::connect(waiting_.get(), &QSocketNotifier::activated, waiting_.get(), [this] { TakeClients(); });
    return true;
}

void LocalSocketInstance::ReleaseClaim()
{
    // The socket goes first, while the lock still keeps every other start away from it.
    waiting_.reset();
    while (!clients_.empty())
        End(clients_.front());
    if (serverFd_ >= 0) {
        ::close(serverFd_);
        serverFd_ = -1;
        ::unlink(QFile::encodeName(SocketPath()).constData());
    }
    if (lockFd_ >= 0) {
        ::close(lockFd_);
        lockFd_ = -1;
    }
}

// Clients past the few served at once wait in the socket's queue, taken as others end.
void LocalSocketInstance::TakeClients()
{
    while (clients_.size() < kMaxClients) {
        const int fd = ::accept4(serverFd_, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0)
            break;
        TClient& client = clients_.emplace_back();
        client.fd = fd;
        client.readable = new QSocketNotifier(fd, QSocketNotifier::Read);
        QObject::connect(client.readable, &QSocketNotifier::activated, client.readable, [this, &client] { ReadFrom(client); });
        client.timeout = new QTimer;
        client.timeout->setSingleShot(true);
        QObject::connect(client.timeout, &QTimer::timeout, client.timeout, [this, &client] { End(client); });
        client.timeout->start(kClientTimeoutMs);
    }
    waiting_->setEnabled(clients_.size() < kMaxClients);
}

void LocalSocketInstance::ReadFrom(TClient& client)
{
    char buffer[kMaxRequestBytes + 1];
    const auto room = static_cast<std::size_t>(kMaxRequestBytes + 1 - client.request.size());
    const ssize_t got = ::recv(client.fd, buffer, room, 0);
    if (got < 0 && (errno == EAGAIN || errno == EINTR))
        return;
    if (got <= 0) {  // hung up, or failed
        End(client);
        return;
    }
    client.request.append(buffer, got);
    const qsizetype lineEnd = client.request.indexOf('\n');
    if (lineEnd < 0 && client.request.size() <= kMaxRequestBytes)
        return;
    const InstanceProtocol::Reading reading =
        lineEnd >= 0 ? InstanceProtocol::Read(QByteArrayView(client.request).first(lineEnd)) : InstanceProtocol::Reading{};
    if (reading.verdict != InstanceProtocol::Verdict::Garbage) {
        const char* answer = reading.verdict == InstanceProtocol::Verdict::Taken ? InstanceProtocol::kTaken
                                                                                 : InstanceProtocol::kRefused;
        ::send(client.fd, answer, std::strlen(answer), MSG_NOSIGNAL | MSG_DONTWAIT);
    }
    End(client);
    // The client has its answer before the request runs, from the event loop rather than from
    // inside this socket's handler: a recovery takes seconds.
    if (reading.verdict == InstanceProtocol::Verdict::Taken) {
        const std::function<void()>& handler = reading.request == Request::Recover            ? OnRecoverRequest
                                               : reading.request == Request::RecoverByKernel ? OnRecoverByKernelRequest
                                                                                             : OnShowRequest;
        if (handler && waiting_)
            QTimer::singleShot(0, waiting_.get(), handler);
    }
}

// Whichever way it comes first: a request, a hang-up, the time-out, the end of the claim.
void LocalSocketInstance::End(TClient& client)
{
    client.readable->setEnabled(false);
    client.readable->deleteLater();
    client.timeout->stop();
    client.timeout->deleteLater();
    ::close(client.fd);
    clients_.remove_if([&client](const TClient& each) { return &each == &client; });
    if (waiting_)
        TakeClients();
}

bool LocalSocketInstance::SignalRunning(Request request)
{
    if (!CheckFolder())
        return false;
    sockaddr_un address;
    if (!AddressOf(SocketPath(), address))
        return false;
    const QDeadlineTimer deadline(kAnswerTimeoutMs);
    for (;;) {
        // Only the answer tells that the request was taken: a busy instance may have dropped
        // the connection before reading it.
        const QByteArray answer = Exchange(address, InstanceProtocol::RequestLine(request), deadline);
        if (answer == InstanceProtocol::kTaken)
            return true;
        if (answer == InstanceProtocol::kRefused)
            return false;  // an instance of another version: asking again changes nothing
        if (deadline.hasExpired())
            return false;
        QThread::msleep(kRetryPauseMs);
    }
}

}  // namespace platform
