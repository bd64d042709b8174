// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QLocalServer>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <chrono>
#include <future>

#include "platform/linux/InstanceProtocol.h"
#include "platform/linux/LocalSocketInstance.h"
#include "support/EventWait.h"

namespace {

using platform::ISingleInstance;
using platform::LocalSocketInstance;
using Request = platform::ISingleInstance::Request;
using Verdict = platform::InstanceProtocol::Verdict;
namespace Protocol = platform::InstanceProtocol;

TEST(InstanceProtocol, EachRequestIsOneVersionedLine)
{
    EXPECT_EQ(Protocol::RequestLine(Request::Show), QByteArray("mnemora-xp 1 show\n"));
    EXPECT_EQ(Protocol::RequestLine(Request::Recover), QByteArray("mnemora-xp 1 recover\n"));
    // A verb comes with the first version that has it: an instance of version 1 still takes
    // "show" and "recover" from this one, and a version 1 line never carries the new verb.
    EXPECT_EQ(Protocol::RequestLine(Request::RecoverByKernel), QByteArray("mnemora-xp 2 recover-kernel\n"));
    EXPECT_EQ(Protocol::Read("mnemora-xp 2 show").verdict, Verdict::Taken);
    EXPECT_EQ(Protocol::Read("mnemora-xp 1 recover-kernel").verdict, Verdict::Garbage);
    for (const Request request : {Request::Show, Request::Recover, Request::RecoverByKernel}) {
        const Protocol::Reading reading = Protocol::Read(Protocol::RequestLine(request).chopped(1));
        EXPECT_EQ(reading.verdict, Verdict::Taken);
        EXPECT_EQ(reading.request, request);
    }
}

TEST(InstanceProtocol, AnotherVersionIsRefusedAndAnythingElseIsGarbage)
{
    EXPECT_EQ(Protocol::Read("mnemora-xp 3 show").verdict, Verdict::OtherVersion);
    EXPECT_EQ(Protocol::Read("mnemora-xp 12 hide").verdict, Verdict::OtherVersion);
    for (const char* line : {"show", "mnemora-xp 1 hide", "", "mnemora-xp", "mnemora-xp 1", "mnemora-xp 1 show extra", "mnemora-xp x show",
                             "mnemora-xp 0 show", "mnemora-xp -1 show", "other 1 show", "mnemora-xp  1 show",
                             "mnemora-xp 1 show\r"})
        EXPECT_EQ(Protocol::Read(line).verdict, Verdict::Garbage) << line;
    EXPECT_EQ(Protocol::Read(QByteArray("mnemora-xp 1 ") + QByteArray(100, 'x')).verdict, Verdict::Garbage);
}

class InstanceRequests : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        ASSERT_EQ(running.Claim(), ISingleInstance::ClaimResult::Claimed);
        running.OnShowRequest = [this] { ++shown; };
        running.OnRecoverRequest = [this] { ++recovered; };
        running.OnRecoverByKernelRequest = [this] { ++byKernel; };
    }
    // A later start, from another thread while this one's event loop answers.
    bool Signal(Request request)
    {
        const QString path = folder.path();
        auto answer = std::async(std::launch::async, [path, request] { return LocalSocketInstance(path).SignalRunning(request); });
        WaitUntil([&] { return answer.wait_for(std::chrono::seconds(0)) == std::future_status::ready; }, 60000);
        return answer.get();
    }
    // What the running instance answers to a raw line, "" for no answer.
    QByteArray Answer(const QByteArray& line)
    {
        QLocalSocket client;
        client.connectToServer(running.SocketPath());
        EXPECT_TRUE(client.waitForConnected(10000));
        client.write(line);
        client.flush();
        QByteArray answer;
        WaitUntil([&] {
            answer += client.readAll();
            return client.state() == QLocalSocket::UnconnectedState;
        }, 30000);
        return answer + client.readAll();
    }

    QTemporaryDir folder;
    LocalSocketInstance running{folder.path()};
    int shown = 0;
    int recovered = 0;
    int byKernel = 0;
};

TEST_F(InstanceRequests, ALaterStartHandsOverItsRequest)
{
    EXPECT_TRUE(Signal(Request::Recover));
    EXPECT_TRUE(WaitUntil([&] { return recovered == 1; }));
    EXPECT_TRUE(Signal(Request::Show));
    EXPECT_TRUE(WaitUntil([&] { return shown == 1; }));
    EXPECT_EQ(recovered, 1);
}

TEST_F(InstanceRequests, AnotherVersionIsToldNoAndGarbageIsToldNothing)
{
    EXPECT_EQ(Answer("mnemora-xp 3 recover\n"), QByteArray("no\n"));
    EXPECT_EQ(Answer("show\n"), QByteArray());
    EXPECT_EQ(Answer(QByteArray(5000, 'x') + '\n'), QByteArray());
    EXPECT_EQ(Answer("mnemora-xp 1 recover\n"), QByteArray("ok\n"));
    EXPECT_TRUE(WaitUntil([&] { return recovered == 1; }));
    EXPECT_EQ(shown, 0);
    EXPECT_EQ(Answer("mnemora-xp 2 recover-kernel\n"), QByteArray("ok\n"));
    EXPECT_TRUE(WaitUntil([&] { return byKernel == 1; }));
    EXPECT_EQ(recovered, 1);
}

// An instance of another version says no: a later start takes that for its answer at once
// rather than asking again until its patience runs out.
TEST(InstanceRefusal, ALaterStartTakesNoForAnAnswerAndAsksOnlyOnce)
{
    QTemporaryDir folder;
    QLocalServer other;
    other.setSocketOptions(QLocalServer::UserAccessOption);
    ASSERT_TRUE(other.listen(LocalSocketInstance(folder.path()).SocketPath()));
    int asked = 0;
    QObject::connect(&other, &QLocalServer::newConnection, &other, [&] {
        while (QLocalSocket* client = other.nextPendingConnection()) {
            ++asked;
            QObject::connect(client, &QLocalSocket::readyRead, client, [client] {
                if (client->peek(Protocol::kMaxLineBytes + 1).contains('\n')) {
                    client->write(Protocol::kRefused);
                    client->flush();
                }
            });
            QObject::connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
        }
    });
    const QString path = folder.path();
    auto answer = std::async(std::launch::async, [path] { return LocalSocketInstance(path).SignalRunning(Request::Show); });
    const auto answered = [&] { return answer.wait_for(std::chrono::seconds(0)) == std::future_status::ready; };
    // A start that asks again does so within milliseconds: the second question ends the wait.
    WaitUntil([&] { return answered() || asked > 1; }, 60000);
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(answered()) << "the refusal is the answer";
    EXPECT_FALSE(answer.get());
}

}  // namespace
