// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <chrono>
#include <csignal>
#include <future>
#include <memory>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/linux/LocalSocketInstance.h"
#include "platform/linux/PrivateDirectory.h"
#include "support/EventWait.h"

namespace {

using Claim = platform::ISingleInstance::ClaimResult;
using platform::LocalSocketInstance;
using platform::PrivateDirectory;

// A later start asks from elsewhere (here another thread) while the running instance answers from
// this thread's event loop.
bool SignalFromElsewhere(const QString& folder)
{
    auto answer = std::async(std::launch::async, [folder] { return LocalSocketInstance(folder).SignalRunning(); });
    WaitUntil([&] { return answer.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }, 60000);
    return answer.get();
}

int ModeOf(const QString& path)
{
    struct stat info = {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? static_cast<int>(info.st_mode & 07777) : -1;
}

bool LockIsFree(const QString& folder)
{
    const int fd = ::open(QFile::encodeName(folder + QStringLiteral("/mnemora-xp.lock")).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return true;
    const bool free = ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    ::close(fd);
    return free;
}

int OpenDescriptors()
{
    return static_cast<int>(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files | QDir::System).size());
}

class InstanceFolder : public ::testing::Test {
protected:
    QString Folder() const { return root.filePath(QStringLiteral("run")); }
    QTemporaryDir root;
};

TEST_F(InstanceFolder, ALaterStartAsksTheRunningOneToShowItselfAndLeavesItsSocketAlone)
{
    LocalSocketInstance running(Folder());
    ASSERT_EQ(running.Claim(), Claim::Claimed) << running.Problem().toStdString();
    int shown = 0;
    running.OnShowRequest = [&] { ++shown; };

    LocalSocketInstance later(Folder());
    EXPECT_EQ(later.Claim(), Claim::HeldElsewhere);
    EXPECT_TRUE(QFile::exists(running.SocketPath())) << "a live instance's socket is never removed";
    EXPECT_TRUE(SignalFromElsewhere(Folder()));
    EXPECT_TRUE(WaitUntil([&] { return shown == 1; }));
    EXPECT_TRUE(SignalFromElsewhere(Folder()));
    EXPECT_TRUE(WaitUntil([&] { return shown == 2; }));
}

TEST_F(InstanceFolder, TheClaimEndsWithTheInstance)
{
    QString socketPath;
    {
        LocalSocketInstance first(Folder());
        ASSERT_EQ(first.Claim(), Claim::Claimed);
        socketPath = first.SocketPath();
        EXPECT_EQ(first.Claim(), Claim::Claimed) << "claiming again keeps the claim";
    }
    EXPECT_FALSE(QFile::exists(socketPath)) << "an orderly end takes its socket away";
    LocalSocketInstance next(Folder());
    EXPECT_EQ(next.Claim(), Claim::Claimed);
}

TEST_F(InstanceFolder, ASocketLeftByACrashedInstanceIsTakenOverNotObeyed)
{
    ASSERT_TRUE(PrivateDirectory::Open(Folder(), ::getuid()).fd >= 0);
    LocalSocketInstance next(Folder());
    // What a killed instance leaves: a bound socket file nobody listens on, and a lock nobody holds.
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray encoded = QFile::encodeName(next.SocketPath());
    std::memcpy(address.sun_path, encoded.constData(), encoded.size());
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(fd);
    QFile(Folder() + QStringLiteral("/mnemora-xp.lock")).open(QIODevice::WriteOnly);

    ASSERT_EQ(next.Claim(), Claim::Claimed) << next.Problem().toStdString();
    bool shown = false;
    next.OnShowRequest = [&] { shown = true; };
    EXPECT_TRUE(SignalFromElsewhere(Folder()));
    EXPECT_TRUE(WaitUntil([&] { return shown; }));
}

TEST_F(InstanceFolder, AFolderOthersCanWriteIsNeitherUsedNorAsked)
{
    // Another user's listener at the socket path, in a folder anyone may write.
    ASSERT_TRUE(QDir().mkpath(Folder()));
    ASSERT_EQ(::chmod(QFile::encodeName(Folder()).constData(), 0777), 0);
    QLocalServer stranger;
    ASSERT_TRUE(stranger.listen(Folder() + QStringLiteral("/mnemora-xp.instance")));

    LocalSocketInstance instance(Folder());
    EXPECT_EQ(instance.Claim(), Claim::Refused);
    EXPECT_TRUE(instance.Problem().contains(Folder())) << instance.Problem().toStdString();
    EXPECT_FALSE(instance.SignalRunning());
    QCoreApplication::processEvents();
    EXPECT_FALSE(stranger.hasPendingConnections()) << "nothing was sent to the stranger";
    EXPECT_FALSE(QFile::exists(Folder() + QStringLiteral("/mnemora-xp.lock")));
}

TEST_F(InstanceFolder, OnlyAFolderOfTheUsersOwnThatNoOneElseMayWriteIsTrusted)
{
    const uid_t me = ::getuid();
    {
        const PrivateDirectory created = PrivateDirectory::Open(Folder(), me);
        ASSERT_GE(created.fd, 0) << created.problem.toStdString();
        ::close(created.fd);
        EXPECT_EQ(ModeOf(Folder()), 0700) << "made private";
    }
    ASSERT_EQ(::chmod(QFile::encodeName(Folder()).constData(), 0755), 0);
    const PrivateDirectory readable = PrivateDirectory::Open(Folder(), me);
    EXPECT_GE(readable.fd, 0) << "others may look, not write";
    ::close(readable.fd);

    // Tests run as whoever runs them, often root: the owner the folder must have is the input.
    const PrivateDirectory someoneElses = PrivateDirectory::Open(Folder(), me + 1);
    EXPECT_EQ(someoneElses.fd, -1);
    EXPECT_TRUE(someoneElses.problem.contains(QStringLiteral("appartient"))) << someoneElses.problem.toStdString();

    for (const int mode : {0770, 0702, 01777}) {
        ASSERT_EQ(::chmod(QFile::encodeName(Folder()).constData(), static_cast<mode_t>(mode)), 0);
        const PrivateDirectory open = PrivateDirectory::Open(Folder(), me);
        EXPECT_EQ(open.fd, -1) << std::oct << mode;
        EXPECT_TRUE(open.problem.contains(Folder())) << open.problem.toStdString();
    }
    ASSERT_EQ(::chmod(QFile::encodeName(Folder()).constData(), 0700), 0);

    const QString link = root.filePath(QStringLiteral("link"));
    ASSERT_TRUE(QFile::link(Folder(), link));
    EXPECT_EQ(PrivateDirectory::Open(link, me).fd, -1) << "a symbolic link, even to a good folder";
    const QString file = root.filePath(QStringLiteral("file"));
    QFile(file).open(QIODevice::WriteOnly);
    EXPECT_EQ(PrivateDirectory::Open(file, me).fd, -1);
    EXPECT_EQ(PrivateDirectory::Open(root.filePath(QStringLiteral("missing/deeper")), me).fd, -1);
}

TEST_F(InstanceFolder, AClaimThatCannotListenIsRefusedAndLetsGoOfTheLock)
{
    // Longer than a local socket's address can be.
    const QString deep = Folder() + QLatin1Char('/') + QString(120, QLatin1Char('x'));
    ASSERT_TRUE(QDir().mkpath(deep));
    LocalSocketInstance instance(deep);
    EXPECT_EQ(instance.Claim(), Claim::Refused);
    EXPECT_TRUE(instance.Problem().contains(QStringLiteral("mnemora-xp.instance"))) << instance.Problem().toStdString();
    EXPECT_TRUE(LockIsFree(deep));
}

TEST(LocalSocketInstance, TheDefaultFolderIsTheRuntimeFolderElseAPrivateOneInTheTemporaryFolder)
{
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(LocalSocketInstance::DefaultFolder(), QString::fromLocal8Bit(runtime));
    const QString fallback = QDir(QDir::tempPath()).filePath(QStringLiteral("mnemora-xp-%1").arg(::getuid()));
    qunsetenv("XDG_RUNTIME_DIR");
    EXPECT_EQ(LocalSocketInstance::DefaultFolder(), fallback);
    qputenv("XDG_RUNTIME_DIR", "relative/run");
    EXPECT_EQ(LocalSocketInstance::DefaultFolder(), fallback);
    qputenv("XDG_RUNTIME_DIR", runtime);
}

TEST_F(InstanceFolder, ClientsThatSayTooMuchOrTheWrongThingAreDropped)
{
    LocalSocketInstance running(Folder());
    ASSERT_EQ(running.Claim(), Claim::Claimed);
    int shown = 0;
    running.OnShowRequest = [&] { ++shown; };
    for (const QByteArray& request : {QByteArray(1000, 's'), QByteArray("hide\n"), QByteArray("show")}) {
        QLocalSocket client;
        client.connectToServer(running.SocketPath());
        ASSERT_TRUE(client.waitForConnected(10000));
        client.write(request);
        client.flush();
        EXPECT_TRUE(WaitUntil([&] { return client.state() == QLocalSocket::UnconnectedState; }, 30000))
            << request.left(10).toStdString();
    }
    EXPECT_EQ(shown, 0);
    EXPECT_TRUE(SignalFromElsewhere(Folder()));
    EXPECT_TRUE(WaitUntil([&] { return shown == 1; }));
}

TEST_F(InstanceFolder, AFloodOfClientsCannotUseUpTheDescriptorsNorTakeTheSocketAway)
{
    LocalSocketInstance running(Folder());
    ASSERT_EQ(running.Claim(), Claim::Claimed);
    bool shown = false;
    running.OnShowRequest = [&] { shown = true; };

    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const QByteArray path = QFile::encodeName(running.SocketPath());
    const pid_t flooder = ::fork();
    ASSERT_GE(flooder, 0);
    if (flooder == 0) {
        // Connections that never say a word and never go away.
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path, path.constData(), path.size());
        for (int i = 0; i < 100; ++i) {
            const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0);
            ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
        }
        [[maybe_unused]] const ssize_t written = ::write(ready[1], "1", 1);
        ::pause();
        ::_exit(0);
    }
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    ::close(ready[0]);
    ::close(ready[1]);

    rlimit saved = {};
    ::getrlimit(RLIMIT_NOFILE, &saved);
    rlimit tight = saved;
    tight.rlim_cur = static_cast<rlim_t>(OpenDescriptors() + 16);
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &tight), 0);
    for (int round = 0; round < 300; ++round)
        QCoreApplication::processEvents();
    // Counted with the limit lifted again: at the limit, the count could not open its folder.
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &saved), 0);
    const int held = OpenDescriptors();
    EXPECT_TRUE(QFile::exists(running.SocketPath()));
    EXPECT_LT(held, static_cast<int>(tight.rlim_cur) - 2) << "the flood was kept waiting, not taken in";

    ::kill(flooder, SIGKILL);
    ::waitpid(flooder, nullptr, 0);
    EXPECT_TRUE(SignalFromElsewhere(Folder()));
    EXPECT_TRUE(WaitUntil([&] { return shown; }));
}

// Thirty starts of the program released at once, twenty times over: each time exactly one of them
// becomes the instance, and every other one reaches it.
TEST(LocalSocketInstanceStarts, ThirtySimultaneousStartsMakeExactlyOneInstance)
{
    constexpr int kStarts = 30;
    constexpr int kRounds = 20;
    for (int round = 0; round < kRounds; ++round) {
        QTemporaryDir root;
        const QString folder = root.filePath(QStringLiteral("run"));
        std::vector<std::unique_ptr<QProcess>> starts;
        std::vector<QByteArray> outputs(kStarts);
        for (int i = 0; i < kStarts; ++i) {
            starts.push_back(std::make_unique<QProcess>());
            starts.back()->start(QStringLiteral(INSTANCE_STARTER_PATH), {folder});
        }
        for (auto& start : starts)
            ASSERT_TRUE(start->waitForStarted(30000));
        for (auto& start : starts)
            start->write("g");

        auto finished = [&] {
            int count = 0;
            for (int i = 0; i < kStarts; ++i) {
                outputs[i] += starts[i]->readAllStandardOutput();
                count += starts[i]->state() == QProcess::NotRunning ? 1 : 0;
            }
            return count;
        };
        auto count = [&](const QByteArray& line) {
            int lines = 0;
            for (const QByteArray& output : outputs)
                lines += static_cast<int>(output.count(line));
            return lines;
        };
        // Every start has either ended or become an instance, and each ended one was heard.
        const bool settled = WaitUntil([&] { return finished() + count("claimed\n") == kStarts && count("shown\n") == finished(); }, 180000);
        for (int i = 0; i < kStarts && !settled; ++i) {
            if (starts[i]->state() == QProcess::NotRunning)
                ADD_FAILURE() << "start " << i << " ended with " << starts[i]->exitCode() << ": "
                              << starts[i]->readAllStandardError().toStdString();
        }
        ASSERT_TRUE(settled) << "round " << round << ": " << finished() << " ended, " << count("shown\n") << " shown";
        int claimed = 0;
        for (int i = 0; i < kStarts; ++i) {
            if (outputs[i].startsWith("claimed\n")) {
                ++claimed;
                EXPECT_EQ(starts[i]->state(), QProcess::Running);
            } else {
                EXPECT_EQ(starts[i]->exitCode(), 0) << "round " << round << " " << starts[i]->readAllStandardError().toStdString();
            }
        }
        EXPECT_EQ(claimed, 1) << "round " << round;
        for (auto& start : starts) {
            start->closeWriteChannel();
            EXPECT_TRUE(start->state() == QProcess::NotRunning || start->waitForFinished(30000));
        }
    }
}

}  // namespace
