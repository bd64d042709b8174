#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include "platform/linux/LocalSocketInstance.h"
#include "support/EventWait.h"

namespace {

void WaitFor(const bool& flag)
{
    WaitUntil([&] { return flag; });
}

TEST(LocalSocketInstance, ALaterStartAsksTheRunningOneToShowItself)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("instance");
    platform::LocalSocketInstance running(path);
    EXPECT_FALSE(running.SignalRunning()) << "nobody runs yet";
    ASSERT_TRUE(running.Claim());
    bool shown = false;
    running.OnShowRequest = [&] { shown = true; };

    platform::LocalSocketInstance later(path);
    EXPECT_TRUE(later.SignalRunning());
    WaitFor(shown);
    EXPECT_TRUE(shown);
}

TEST(LocalSocketInstance, ASocketLeftByACrashedInstanceIsTakenOver)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("instance");
    // What a killed instance leaves: a bound socket file with nobody listening.
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray encoded = QFile::encodeName(path);
    std::memcpy(address.sun_path, encoded.constData(), encoded.size());
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(fd);
    ASSERT_TRUE(QFile::exists(path));

    platform::LocalSocketInstance next(path);
    EXPECT_FALSE(next.SignalRunning());
    ASSERT_TRUE(next.Claim());
    bool shown = false;
    next.OnShowRequest = [&] { shown = true; };
    EXPECT_TRUE(platform::LocalSocketInstance(path).SignalRunning());
    WaitFor(shown);
    EXPECT_TRUE(shown);
}

TEST(LocalSocketInstance, TheDefaultSocketIsPerUserInTheRuntimeFolder)
{
    EXPECT_TRUE(platform::LocalSocketInstance::DefaultSocketPath().startsWith(qEnvironmentVariable("XDG_RUNTIME_DIR")));
}

}  // namespace
