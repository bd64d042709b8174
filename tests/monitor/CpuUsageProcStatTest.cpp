// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <unistd.h>

#include "monitor/CpuFallback.h"
#include "monitor/CpuPercent.h"
#include "monitor/CpuUsage.h"
#include "platform/fake/FakeTickClock.h"
#include "platform/linux/ProcStatPerfData.h"

namespace {

// The sampler and the fallback over the performance data Linux composes from /proc/stat: the
// production path, with a /proc/stat and clocks the test writes.
class LinuxCpuLoad : public ::testing::Test {
protected:
    LinuxCpuLoad() { sampler.SetUp(); }

    // Idle (and iowait) ticks of two CPUs; `seconds` of monotonic time since the first reading.
    void Write(long idle0, long iowait0, long idle1, long iowait1, int seconds)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(QStringLiteral("cpu  9 9 9 %1 %2 0 0 0 0 0\ncpu0 5 0 4 %3 %4 0 0 0 0 0\ncpu1 4 9 5 %5 %6 0 0 0 0 0\n")
                       .arg(idle0 + idle1)
                       .arg(iowait0 + iowait1)
                       .arg(idle0)
                       .arg(iowait0)
                       .arg(idle1)
                       .arg(iowait1)
                       .toLatin1());
        now = kBoot + seconds * 10'000'000LL;
        clock.now = static_cast<std::uint32_t>(kBoot / 10'000 + seconds * 1000);
    }

    static constexpr std::int64_t kBoot = 5 * 3'600 * 10'000'000LL;
    const long ticksPerSecond = ::sysconf(_SC_CLK_TCK);
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("stat"));
    std::int64_t now = 0;
    platform::ProcStatPerfData perfData{path, [this] { return now; }};
    platform::FakeTickClock clock;
    TCpuUsage sampler{perfData};
    TCpuFallback fallback{perfData, clock};
};

TEST_F(LinuxCpuLoad, ABusyCpuAndAnIdleOneBetweenTwoReadings)
{
    Write(1000, 10, 2000, 20, 0);
    EXPECT_EQ(MeasureCpuPercent(sampler, fallback), 0) << "the first reading after start-up";
    EXPECT_EQ(sampler.CpuCount(), 3);

    // Over 2 s: CPU 0 idles a quarter of it, CPU 1 all of it (partly waiting for I/O).
    Write(1000 + ticksPerSecond / 4, 10 + ticksPerSecond / 4, 2000 + ticksPerSecond, 20 + ticksPerSecond, 2);
    sampler.TakeCpuSample();
    EXPECT_DOUBLE_EQ(sampler.CpuLoadFraction(0), 0.375) << "first, the machine: the mean of the CPUs";
    EXPECT_DOUBLE_EQ(sampler.CpuLoadFraction(1), 0.75);
    EXPECT_DOUBLE_EQ(sampler.CpuLoadFraction(2), 0.0);
}

TEST_F(LinuxCpuLoad, TheFallbackReadsTheWholeMachine)
{
    Write(1000, 0, 2000, 0, 0);
    EXPECT_EQ(fallback.FallbackCpuPercent(), 0);
    Write(1000 + ticksPerSecond / 10, 0, 2000, 0, 1);
    EXPECT_EQ(fallback.FallbackCpuPercent(), 95) << "one CPU idled a tenth of the second, the other not at all";
}

TEST_F(LinuxCpuLoad, AVanishedProcStatFallsBackWithoutAnError)
{
    Write(1000, 0, 2000, 0, 0);
    MeasureCpuPercent(sampler, fallback);
    QFile::remove(path);
    EXPECT_EQ(MeasureCpuPercent(sampler, fallback), 0) << "the last sample repeats: equal stamps";
}

}  // namespace
