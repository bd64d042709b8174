// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>
#include <csignal>
#include <unistd.h>

namespace {

struct Outcome {
    int exitCode = -1;
    QProcess::ExitStatus exitStatus = QProcess::CrashExit;
    QString out;
    QString err;
};

Outcome RunProgram(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    EXPECT_TRUE(process.waitForFinished(120000));
    return {process.exitCode(), process.exitStatus(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

// The program's output is a pipe whose reader is already gone, as in "mnemora-recover 64 | true"
// once true has ended: every write fails with EPIPE (and raises SIGPIPE) whatever the timing.
Outcome RunIntoAClosedPipe(const QString& program, const QStringList& arguments)
{
    int ends[2];
    if (::pipe(ends) != 0)
        return {};
    ::close(ends[0]);
    const int writeEnd = ends[1];
    QProcess process;
    process.setChildProcessModifier([writeEnd] { ::dup2(writeEnd, STDOUT_FILENO); });
    process.start(program, arguments);
    EXPECT_TRUE(process.waitForFinished(120000));
    ::close(writeEnd);
    return {process.exitCode(), process.exitStatus(), {}, QString::fromUtf8(process.readAllStandardError())};
}

Outcome Recover(const QStringList& arguments)
{
    return RunProgram(QStringLiteral(MNEMORA_RECOVER_PATH), arguments);
}

// Checks the report's lines; returns the megabytes the run wrote and those it set out to write.
std::pair<int, int> ExpectReport(const Outcome& outcome)
{
    const QStringList lines = outcome.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    EXPECT_EQ(lines.size(), 4) << outcome.out.toStdString();
    if (lines.size() != 4)
        return {-1, -1};
    EXPECT_TRUE(lines[0].contains(QRegularExpression(QStringLiteral("^ Quantité récupérée : -?\\d+ MB$"))))
        << lines[0].toStdString();
    EXPECT_TRUE(lines[1].contains(QRegularExpression(QStringLiteral("^Mémoire disponible : \\d+ MB avant, \\d+ MB après$"))));
    EXPECT_TRUE(lines[2].contains(QRegularExpression(QStringLiteral("^Cache libéré : -?\\d+ MB$"))));
    EXPECT_FALSE(outcome.out.contains(QLatin1Char('\r'))) << "no progress bar when the output is not a terminal";
    const QRegularExpressionMatch written =
        QRegularExpression(QStringLiteral("^Mémoire écrite : (\\d+) MB sur (\\d+) MB$")).match(lines[3]);
    EXPECT_TRUE(written.hasMatch()) << lines[3].toStdString();
    return {written.captured(1).toInt(), written.captured(2).toInt()};
}

TEST(RecoverProgram, BadArgumentsFailWithStatusTwoAndOneLine)
{
    for (const QStringList& arguments : {QStringList{"abc"}, QStringList{"-5"}, QStringList{"1", "2"}}) {
        const Outcome outcome = Recover(arguments);
        EXPECT_EQ(outcome.exitStatus, QProcess::NormalExit);
        EXPECT_EQ(outcome.exitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_EQ(outcome.err.count(QLatin1Char('\n')), 1) << outcome.err.toStdString();
        EXPECT_TRUE(outcome.err.contains(QLatin1String("usage : mnemora-recover")));
        EXPECT_TRUE(outcome.out.isEmpty());
    }
    EXPECT_TRUE(Recover({"abc"}).err.contains(QLatin1String("abc")));
}

TEST(RecoverProgram, HelpPrintsTheUsage)
{
    const Outcome outcome = Recover({"--help"});
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_TRUE(outcome.out.startsWith(QLatin1String("usage : mnemora-recover")));
}

TEST(RecoverProgram, ARunReportsTheAmountAndTheMemoryFigures)
{
    const Outcome outcome = Recover({"32"});
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err.toStdString();
    EXPECT_EQ(ExpectReport(outcome), std::make_pair(32, 32));
    EXPECT_EQ(ExpectReport(Recover({"5000"})), std::make_pair(1024, 1024)) << "a run takes 1024 MB at most";
}

TEST(RecoverProgram, AReportThatCannotBeWrittenIsAFailureSaidOnStandardError)
{
    QProcess full;
    full.setStandardOutputFile(QStringLiteral("/dev/full"));
    full.start(QStringLiteral(MNEMORA_RECOVER_PATH), {QStringLiteral("4")});
    ASSERT_TRUE(full.waitForFinished(120000));
    EXPECT_EQ(full.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(full.exitCode(), 1);
    EXPECT_TRUE(QString::fromUtf8(full.readAllStandardError()).contains(QStringLiteral("impossible d'écrire le rapport")));

    const Outcome closed = RunProgram(QStringLiteral("sh"), {QStringLiteral("-c"), QStringLiteral("exec \"$0\" 4 >&-"),
                                                         QStringLiteral(MNEMORA_RECOVER_PATH)});
    EXPECT_EQ(closed.exitCode, 1);
    EXPECT_TRUE(closed.err.contains(QStringLiteral("impossible d'écrire le rapport"))) << closed.err.toStdString();
    const Outcome help = RunProgram(QStringLiteral("sh"), {QStringLiteral("-c"), QStringLiteral("exec \"$0\" --help >/dev/full"),
                                                       QStringLiteral(MNEMORA_RECOVER_PATH)});
    EXPECT_EQ(help.exitCode, 1);

    // A reader that went away: status 1 and the line, never the silent 141 of SIGPIPE.
    for (const QStringList& arguments : {QStringList{QStringLiteral("4")}, QStringList{QStringLiteral("--version")}}) {
        const Outcome gone = RunIntoAClosedPipe(QStringLiteral(MNEMORA_RECOVER_PATH), arguments);
        EXPECT_EQ(gone.exitStatus, QProcess::NormalExit) << "killed by a signal";
        EXPECT_EQ(gone.exitCode, 1);
        EXPECT_TRUE(gone.err.contains(QStringLiteral("impossible d'écrire le rapport"))) << gone.err.toStdString();
    }
}

TEST(RecoverProgram, WhenTheKernelWillNotPickItFirstItSaysSoAndKeepsAWiderFloor)
{
    // A read-only /proc, as in some sandboxes, in a mount namespace of the run's own.
    const Outcome outcome = RunProgram(
        QStringLiteral("unshare"), {QStringLiteral("-m"), QStringLiteral("--propagation"), QStringLiteral("private"), QStringLiteral("sh"),
                                    QStringLiteral("-c"), QStringLiteral("mount -o remount,bind,ro /proc && exec \"$0\" 4"),
                                    QStringLiteral(MNEMORA_RECOVER_PATH)});
    if (outcome.exitCode != 0 && !outcome.err.contains(QStringLiteral("mnemora-recover")))
        GTEST_SKIP() << "no private read-only /proc here: " << outcome.err.toStdString();
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err.toStdString();
    EXPECT_TRUE(outcome.err.contains(QStringLiteral("oom_score_adj"))) << outcome.err.toStdString();
    EXPECT_EQ(ExpectReport(outcome), std::make_pair(4, 4));
    EXPECT_FALSE(Recover({"4"}).err.contains(QStringLiteral("oom_score_adj"))) << "said only when it failed";
}

// A child of this process's cgroup v1 memory group, made for one test and removed after it; its
// path is empty where the machine does not let the test make one.
class MemoryGroup {
public:
    explicit MemoryGroup(std::int64_t limitBytes)
    {
        QFile groups(QStringLiteral("/proc/self/cgroup"));
        if (!groups.open(QIODevice::ReadOnly))
            return;
        for (const QByteArray& line : groups.readAll().split('\n')) {
            const QList<QByteArray> fields = line.split(':');
            if (fields.size() == 3 && fields[1].split(',').contains("memory"))
                path_ = QStringLiteral("/sys/fs/cgroup/memory%1/mnemora-test-%2")
                            .arg(QString::fromLocal8Bit(fields[2]).chopped(fields[2].endsWith('/') ? 1 : 0))
                            .arg(QCoreApplication::applicationPid());
        }
        if (path_.isEmpty() || !QDir().mkdir(path_)) {
            path_.clear();
            return;
        }
        QFile limit(path_ + QStringLiteral("/memory.limit_in_bytes"));
        if (!limit.open(QIODevice::WriteOnly) || limit.write(QByteArray::number(limitBytes)) <= 0 || !limit.flush()) {
            limit.close();
            QDir().rmdir(path_);
            path_.clear();
        }
    }
    ~MemoryGroup()
    {
        if (!path_.isEmpty())
            QDir().rmdir(path_);
    }
    const QString& Path() const { return path_; }
    // program and its arguments, started inside the group.
    QStringList Inside(const QString& program, const QStringList& arguments) const
    {
        return QStringList{QStringLiteral("-c"), QStringLiteral("echo $$ > \"$0/cgroup.procs\" && exec \"$@\""), path_, program} + arguments;
    }

private:
    QString path_;
};

// The hybrid host's case: a 600 MiB cgroup v1 group on a machine with far more memory. The run
// takes what lies between the group's use and the floor, and nothing gets killed: neither the
// run nor the victim that holds 200 MiB beside it.
TEST(RecoverProgram, InsideALimitedMemoryGroupTheRunTakesWhatIsSafeAndAVictimSurvives)
{
    MemoryGroup group(std::int64_t{600} << 20);
    if (group.Path().isEmpty())
        GTEST_SKIP() << "no cgroup v1 memory hierarchy here, or no right to make a group in it";

    QProcess victim;
    victim.start(QStringLiteral("sh"), group.Inside(QStringLiteral(MEMORY_VICTIM_PATH), {QStringLiteral("200")}));
    ASSERT_TRUE(victim.waitForReadyRead(60000));
    ASSERT_EQ(victim.readAllStandardOutput(), "ready\n");

    const Outcome outcome = RunProgram(QStringLiteral("sh"), group.Inside(QStringLiteral(MNEMORA_RECOVER_PATH), {QStringLiteral("1024")}));
    EXPECT_EQ(outcome.exitStatus, QProcess::NormalExit);
    EXPECT_EQ(outcome.exitCode, 0) << "not ended by the group's OOM killer: " << outcome.err.toStdString();
    const auto [written, asked] = ExpectReport(outcome);
    EXPECT_EQ(asked, 1024);
    EXPECT_GT(written, 0) << "the floor comes from the group's 600 MiB, not from the host";
    EXPECT_LE(written, 600 - 200 - 256);

    EXPECT_EQ(victim.state(), QProcess::Running) << "the victim survived";
    victim.closeWriteChannel();
    ASSERT_TRUE(victim.waitForFinished(60000));
    EXPECT_EQ(victim.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(victim.exitCode(), 0);
}

TEST(RecoverProgram, ARunShortOfAddressSpaceEndsAsAFailedAllocation)
{
    // 1024 MB asked for with 600 MB of address space in all: the mappings fail part-way.
    const Outcome outcome = RunProgram(QStringLiteral("prlimit"), {QStringLiteral("--as=%1").arg(600 << 20),
                                                             QStringLiteral(MNEMORA_RECOVER_PATH), QStringLiteral("1024")});
    EXPECT_EQ(outcome.exitStatus, QProcess::NormalExit);
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err.toStdString();
    const auto [written, asked] = ExpectReport(outcome);
    EXPECT_EQ(asked, 1024);
    EXPECT_GT(written, 0);
    EXPECT_LT(written, 600);
}

std::int64_t ResidentKiB(qint64 pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').front().toLongLong();
    }
    return -1;
}

TEST(RecoverProgram, InterruptCancelsTheRunReportsAndExits130)
{
    QProcess process;
    process.start(QStringLiteral(MNEMORA_RECOVER_PATH), {QStringLiteral("1024")});
    ASSERT_TRUE(process.waitForStarted());
    // Interrupt once the run is visibly filling memory.
    for (int i = 0; i < 2000 && ResidentKiB(process.processId()) < 64 * 1024; ++i)
        QThread::msleep(2);
    ASSERT_GE(ResidentKiB(process.processId()), 64 * 1024);
    ::kill(static_cast<pid_t>(process.processId()), SIGINT);
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 130);
    const auto [written, asked] =
        ExpectReport({process.exitCode(), process.exitStatus(), QString::fromUtf8(process.readAllStandardOutput()), {}});
    EXPECT_GT(written, 0);
    EXPECT_LT(written, asked);
}

// A Ctrl+C that comes before the program has its handler (here: sent while the child still holds
// it back, as during start-up) must still cancel the run and give the report, never kill it bare.
TEST(RecoverProgram, AnInterruptBeforeTheHandlerIsInPlaceStillCancelsAndReports)
{
    QProcess process;
    process.setChildProcessModifier([] {
        sigset_t interrupt;
        sigemptyset(&interrupt);
        sigaddset(&interrupt, SIGINT);
        ::sigprocmask(SIG_BLOCK, &interrupt, nullptr);
    });
    process.start(QStringLiteral(MNEMORA_RECOVER_PATH), {QStringLiteral("1024")});
    ASSERT_TRUE(process.waitForStarted());
    ::kill(static_cast<pid_t>(process.processId()), SIGINT);
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(process.exitCode(), 130);
    const auto [written, asked] =
        ExpectReport({process.exitCode(), process.exitStatus(), QString::fromUtf8(process.readAllStandardOutput()), {}});
    EXPECT_LT(written, asked);
}

}  // namespace
