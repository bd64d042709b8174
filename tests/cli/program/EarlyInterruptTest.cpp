// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <chrono>
#include <csignal>
#include <functional>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

// How one run that got a Ctrl+C ended.
struct Ending {
    bool reported = false;          // ended by itself with the four report lines
    bool killedBareByInterrupt = false;  // ended by the signal's default action: no report
};

// Starts mnemora-recover on a small run; `interrupt` gets its process id and sends the Ctrl+C.
Ending RunInterrupted(const std::function<void(pid_t)>& interrupt)
{
    int out[2];
    if (::pipe(out) != 0)
        return {};
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(out[1], STDOUT_FILENO);
        ::close(out[0]);
        ::close(out[1]);
        ::execl(MNEMORA_RECOVER_PATH, "mnemora-recover", "64", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(out[1]);
    interrupt(child);
    QByteArray report;
    char buffer[4096];
    for (ssize_t got; (got = ::read(out[0], buffer, sizeof buffer)) > 0;)
        report.append(buffer, got);
    ::close(out[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    Ending ending;
    ending.killedBareByInterrupt = WIFSIGNALED(status) && WTERMSIG(status) == SIGINT;
    ending.reported = WIFEXITED(status) && (WEXITSTATUS(status) == 130 || WEXITSTATUS(status) == 0) &&
                      report.count('\n') == 4 && report.startsWith(" Quantité récupérée : ");
    return ending;
}

// Whether the process holds Ctrl+C back or has its handler (its masks in /proc show SIGINT
// blocked or caught).
bool HoldsInterrupt(pid_t process)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(process));
    if (!status.open(QIODevice::ReadOnly))
        return false;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if ((line.startsWith("SigBlk:") || line.startsWith("SigCgt:")) &&
            (line.mid(7).trimmed().toULongLong(nullptr, 16) & (1ULL << (SIGINT - 1))) != 0)
            return true;
    }
    return false;
}

// The headless program loads no more than it calls: no GUI, D-Bus or network library (with
// their own dozens of dependencies) stands between its start and its Ctrl+C handler.
TEST(EarlyInterrupt, TheProgramLinksOnlyWhatItUses)
{
    QProcess readelf;
    readelf.start(QStringLiteral("readelf"), {QStringLiteral("-d"), QStringLiteral(MNEMORA_RECOVER_PATH)});
    ASSERT_TRUE(readelf.waitForFinished(30000));
    const QString dynamic = QString::fromUtf8(readelf.readAllStandardOutput());
    QStringList needed;
    const QRegularExpression library(QStringLiteral("\\(NEEDED\\).*\\[(.*)\\]"));
    for (auto match = library.globalMatch(dynamic); match.hasNext();)
        needed << match.next().captured(1);
    ASSERT_FALSE(needed.isEmpty()) << dynamic.toStdString();
    for (const QString& name : needed) {
        EXPECT_FALSE(name.contains(QRegularExpression(QStringLiteral("Qt6(Gui|Widgets|DBus|Network)|xcb|GL|sqlite|dbus"))))
            << name.toStdString();
    }
}

// From the moment the libraries are loaded, Ctrl+C is held for the handler: sent then, it still
// cancels the run and gives the report.
TEST(EarlyInterrupt, FromTheFirstHeldMomentCtrlCGivesTheReport)
{
    for (int run = 0; run < 10; ++run) {
        const Ending ending = RunInterrupted([](pid_t process) {
            const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(30);
            while (!HoldsInterrupt(process) && std::chrono::steady_clock::now() < giveUp)
                std::this_thread::yield();
            ::kill(process, SIGINT);
        });
        EXPECT_TRUE(ending.reported) << "run " << run;
    }
}

// Ctrl+C at fixed delays after exec: the program either gives its report or, for a Ctrl+C before
// its libraries are even loaded, ends at once as any program does (as the man page says); from a
// few milliseconds on only the report. How many of the earliest ones came too early is recorded.
TEST(EarlyInterrupt, CtrlCAtFixedDelaysAfterExec)
{
    for (const int delayMs : {2, 5, 15, 50}) {
        int reported = 0;
        for (int run = 0; run < 8; ++run) {
            const Ending ending = RunInterrupted([delayMs](pid_t process) {
                std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
                ::kill(process, SIGINT);
            });
            EXPECT_TRUE(ending.reported || ending.killedBareByInterrupt) << delayMs << " ms, run " << run;
            if (delayMs >= 50)
                EXPECT_TRUE(ending.reported) << delayMs << " ms, run " << run;
            reported += ending.reported ? 1 : 0;
        }
        ::testing::Test::RecordProperty("reported of 8 at " + std::to_string(delayMs) + " ms", reported);
    }
}

}  // namespace
