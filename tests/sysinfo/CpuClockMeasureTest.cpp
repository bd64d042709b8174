// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QElapsedTimer>

#include "platform/fake/FakeProcessor.h"
#include "platform/fake/FakeTickClock.h"
#include "platform/linux/LinuxProcessor.h"
#include "platform/linux/LinuxTickClock.h"
#include "support/EventWait.h"
#include "sysinfo/CpuClockMeasure.h"
#include "sysinfo/SysInfo.h"

namespace {

// A clock 10 ms on at each reading and a counter 1994.87 million on at each, from the same start.
struct SteppingMachine {
    SteppingMachine()
    {
        clock.now = 5000;
        clock.stepPerRead = 10;
        processor.timeStampCounter = 0;
        processor.counterStep = 1'994'870'000;
    }
    platform::FakeTickClock clock;
    platform::FakeProcessor processor;
};

// The measurement gives the figure the spinning one gives, from the same clock and counter
// readings: counter ticks from the first change of the tick count to one second after it began.
TEST(CpuClockMeasure, TheFigureOfTheSpinningMeasurementWithoutHoldingTheThread)
{
    SteppingMachine machine;
    TCpuClockMeasure measure(machine.clock, machine.processor);
    std::optional<double> figure;
    measure.Start([&](double mhz) { figure = mhz; });
    EXPECT_FALSE(figure.has_value()) << "Start came back before the second was over";
    EXPECT_TRUE(measure.Running());
    ASSERT_TRUE(WaitUntil([&] { return figure.has_value(); }));
    EXPECT_DOUBLE_EQ(*figure, 1994.87);

    SteppingMachine same;
    EXPECT_DOUBLE_EQ(MeasureCpuMhz(same.clock, same.processor), *figure);
}

TEST(CpuClockMeasure, NoCounterGivesZeroAtOnceAndARestartDropsTheFirst)
{
    platform::FakeTickClock clock;
    platform::FakeProcessor processor;  // no counter
    TCpuClockMeasure measure(clock, processor);
    std::optional<double> figure;
    measure.Start([&](double mhz) { figure = mhz; });
    EXPECT_EQ(figure, 0.0);

    processor.timeStampCounter = 0;
    processor.counterStep = 1'000'000;
    clock.stepPerRead = 10;
    int first = 0;
    int second = 0;
    measure.Start([&](double) { ++first; });
    measure.Start([&](double) { ++second; });
    ASSERT_TRUE(WaitUntil([&] { return second > 0; }));
    EXPECT_EQ(first, 0);
    EXPECT_EQ(second, 1);
}

// On the real clock the thread sleeps through the second: the processor time it takes is a
// small part of the second it measures (the spinning one took all of it).
TEST(CpuClockMeasure, OnTheRealClockTheSecondIsSleptNotSpun)
{
    platform::LinuxTickClock clock;
    platform::LinuxProcessor processor;
    if (!processor.TimeStampCounter())
        GTEST_SKIP() << "no time-stamp counter here";
    TCpuClockMeasure measure(clock, processor);
    std::optional<double> figure;
    timespec cpuBefore{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpuBefore);
    measure.Start([&](double mhz) { figure = mhz; });
    ASSERT_TRUE(WaitUntil([&] { return figure.has_value(); }));
    timespec cpuAfter{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &cpuAfter);
    const double cpuMs = (cpuAfter.tv_sec - cpuBefore.tv_sec) * 1e3 + (cpuAfter.tv_nsec - cpuBefore.tv_nsec) / 1e6;
    EXPECT_GT(*figure, 0.0);
    EXPECT_LT(cpuMs, 500.0) << "the thread spun through the second";
}

}  // namespace
