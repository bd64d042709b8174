// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "monitor/ComposedPerfData.h"
#include "monitor/CpuFallback.h"
#include "monitor/CpuPercent.h"
#include "monitor/CpuUsage.h"
#include "platform/ProgramError.h"
#include "platform/fake/FakeDynDataRegistry.h"
#include "platform/fake/FakePerfDataRegistry.h"
#include "platform/fake/FakeTickClock.h"

using namespace composed;
using Answer = platform::IPerfDataRegistry::Answer;

namespace {

const std::string kNoObject = "Unable to locate the \"Processor\" performance object";
const std::string kNoCounter = "Unable to locate the \"% of CPU usage\" performance counter";
const std::string kBadIndex = "CPU index out of bounds";

// The message of the ProgramError a call raises; "" when it raises none.
template <typename Call>
std::string ErrorOf(Call call)
{
    try {
        call();
    } catch (const ProgramError& error) {
        return error.what();
    }
    return {};
}

// Byte offsets in a block with one processor object of one counter, instances named "0".."9".
constexpr std::size_t kObject = 88;
constexpr std::size_t kFirstCounterDefinition = kObject + 64;
constexpr std::size_t kFirstInstance = kObject + 64 + 40;
constexpr std::size_t kInstanceStride = 32 + 16;  // definition with its name, then counter block

class NtSampler : public ::testing::Test {
protected:
    NtSampler() { sampler.SetUp(); }

    void Deliver(const std::vector<std::int64_t>& idle, std::int64_t time) { perfData.block = CpuBlock(idle, time); }

    platform::FakePerfDataRegistry perfData;
    TCpuUsage sampler{perfData};
};

TEST_F(NtSampler, LoadIsTheNonIdleShareOfTheTimeBetweenTwoSamples)
{
    Deliver({1000, 5000, 9000}, kStart);
    EXPECT_DOUBLE_EQ(sampler.CpuLoadFraction(0), 0.0) << "the first call samples, and a first sample has no predecessor";
    EXPECT_EQ(sampler.CpuCount(), 3);
    EXPECT_EQ(perfData.valueNames, std::vector<std::string>{"238"});

    Deliver({1000 + kSecond / 4, 5000 + kSecond, 9000}, kStart + kSecond);
    sampler.TakeCpuSample();
    EXPECT_DOUBLE_EQ(sampler.CpuLoadFraction(0), 0.75);
    EXPECT_DOUBLE_EQ(sampler.CpuLoadFraction(1), 0.0);
    EXPECT_DOUBLE_EQ(sampler.CpuLoadFraction(2), 1.0);

    // Each sample shifts the latest into the previous slots.
    Deliver({1000 + kSecond / 2, 5000 + kSecond, 9000 + kSecond}, kStart + 2 * kSecond);
    sampler.TakeCpuSample();
    EXPECT_DOUBLE_EQ(sampler.CpuLoadFraction(0), 0.75);
    EXPECT_DOUBLE_EQ(sampler.CpuLoadFraction(1), 1.0);
    EXPECT_DOUBLE_EQ(sampler.CpuLoadFraction(2), 0.0);
}

TEST_F(NtSampler, TheFirstReadingAfterStartUpIsZeroNotAFullLoad)
{
    Deliver({kSecond * 1000, 0}, kStart);
    sampler.TakeCpuSample();
    EXPECT_DOUBLE_EQ(sampler.CpuLoadFraction(0), 0.0);
    EXPECT_DOUBLE_EQ(sampler.CpuLoadFraction(1), 0.0);
}

TEST_F(NtSampler, EqualStampsReadZeroAndFractionsAreNotClamped)
{
    Deliver({0, 0}, kStart);
    sampler.TakeCpuSample();
    Deliver({kSecond, 0}, kStart);
    sampler.TakeCpuSample();
    EXPECT_DOUBLE_EQ(sampler.CpuLoadFraction(0), 0.0);
    EXPECT_DOUBLE_EQ(sampler.CpuLoadFraction(1), 0.0);

    Deliver({kSecond + kSecond * 101 / 100, 0}, kStart + kSecond);
    sampler.TakeCpuSample();
    EXPECT_NEAR(sampler.CpuLoadFraction(0), -0.01, 1e-12);
}

TEST_F(NtSampler, IndexesOutsideTheInstancesAreRefused)
{
    Deliver({0, 0, 0}, kStart);
    sampler.TakeCpuSample();
    EXPECT_EQ(ErrorOf([&] { sampler.CpuLoadFraction(-1); }), kBadIndex);
    EXPECT_EQ(ErrorOf([&] { sampler.CpuLoadFraction(3); }), kBadIndex);
    EXPECT_EQ(ErrorOf([&] { sampler.CpuLoadFraction(2); }), "");
}

TEST_F(NtSampler, ALargeBlockGrowsTheBufferIn4096ByteStepsOnce)
{
    Deliver(std::vector<std::int64_t>(400, 0), kStart);
    ASSERT_GT(perfData.block.size(), 16384u);
    sampler.TakeCpuSample();
    EXPECT_EQ(sampler.CpuCount(), 400);

    const std::vector<std::uint32_t>& sizes = perfData.offeredSizes;
    ASSERT_GE(sizes.size(), 3u);
    for (std::size_t i = 0; i < sizes.size(); ++i)
        EXPECT_EQ(sizes[i], 8192 + 4096 * i);
    EXPECT_GE(sizes.back(), perfData.block.size());
    EXPECT_LT(sizes.back() - 4096, perfData.block.size());

    const std::size_t queries = sizes.size();
    Deliver(std::vector<std::int64_t>(400, kSecond / 2), kStart + kSecond);
    sampler.TakeCpuSample();
    EXPECT_EQ(perfData.offeredSizes.size(), queries + 1) << "the grown buffer is kept";
    EXPECT_DOUBLE_EQ(sampler.CpuLoadFraction(399), 0.5);
}

TEST_F(NtSampler, ASourceThatAlwaysWantsMoreRoomEndsTheGrowth)
{
    perfData.forcedAnswer = Answer::MoreData;
    EXPECT_EQ(ErrorOf([&] { sampler.TakeCpuSample(); }), kNoObject);
    EXPECT_LE(perfData.offeredSizes.back(), 1u << 20);
}

TEST_F(NtSampler, TheProcessorObjectIsFoundAmongOthersByItsIndexOnly)
{
    perfData.block = Block({Memory(), Memory(), Processor({0, 0})}, kStart);
    sampler.TakeCpuSample();
    EXPECT_EQ(sampler.CpuCount(), 2);

    sampler.TearDown();
    sampler.SetUp();
    perfData.block = Block({Memory()}, kStart);
    EXPECT_EQ(ErrorOf([&] { sampler.TakeCpuSample(); }), kNoObject);
    EXPECT_EQ(sampler.CpuCount(), -1);

    // Only the objects the block announces count, even when more follow.
    perfData.block = Block({Memory(), Processor({0})}, kStart);
    Set<std::uint32_t>(perfData.block, 28, 1);
    EXPECT_EQ(ErrorOf([&] { sampler.TakeCpuSample(); }), kNoObject);
}

TEST_F(NtSampler, TheCounterIsFoundByItsIndexSteppingByEachDefinitionsLength)
{
    perfData.block = Block({Processor({kSecond, 0}, {kOtherCounter, kOtherCounter, 6})}, kStart);
    sampler.TakeCpuSample();
    perfData.block = Block({Processor({kSecond + kSecond / 4, kSecond}, {kOtherCounter, kOtherCounter, 6})},
                           kStart + kSecond);
    sampler.TakeCpuSample();
    EXPECT_DOUBLE_EQ(sampler.CpuLoadFraction(0), 0.75) << "the value of counter 6, not of the others";
    EXPECT_DOUBLE_EQ(sampler.CpuLoadFraction(1), 0.0);
}

TEST_F(NtSampler, AMissingCounterRaisesAndLeavesCountersAndStampsAlone)
{
    Deliver({0}, kStart);
    sampler.TakeCpuSample();

    perfData.block = Block({Processor({kSecond / 2}, {kOtherCounter, 144})}, kStart + kSecond);
    EXPECT_EQ(ErrorOf([&] { sampler.TakeCpuSample(); }), kNoCounter);

    // Only the announced definitions count, even when counter 6 follows them.
    perfData.block = Block({Processor({kSecond / 2}, {kOtherCounter, 6})}, kStart + kSecond);
    Set<std::uint32_t>(perfData.block, kObject + 32, 1);
    EXPECT_EQ(ErrorOf([&] { sampler.TakeCpuSample(); }), kNoCounter);

    Deliver({kSecond}, kStart + 2 * kSecond);
    sampler.TakeCpuSample();
    EXPECT_DOUBLE_EQ(sampler.CpuLoadFraction(0), 0.5) << "compared with the last good sample";
}

TEST_F(NtSampler, AFailedQueryRepeatsThePreviousSample)
{
    perfData.forcedAnswer = Answer::Failure;
    EXPECT_EQ(ErrorOf([&] { sampler.TakeCpuSample(); }), kNoObject) << "nothing was ever delivered";

    perfData.forcedAnswer.reset();
    Deliver({0}, kStart);
    sampler.TakeCpuSample();
    Deliver({kSecond / 2}, kStart + kSecond);
    sampler.TakeCpuSample();
    ASSERT_DOUBLE_EQ(sampler.CpuLoadFraction(0), 0.5);

    perfData.forcedAnswer = Answer::Failure;
    sampler.TakeCpuSample();
    EXPECT_DOUBLE_EQ(sampler.CpuLoadFraction(0), 0.0);
}

TEST_F(NtSampler, TheWalkCoversTheFirstSamplesInstancesOnly)
{
    Deliver({0, 0}, kStart);
    sampler.TakeCpuSample();
    Deliver({kSecond / 2, kSecond / 4, 0}, kStart + kSecond);
    sampler.TakeCpuSample();
    EXPECT_EQ(sampler.CpuCount(), 2);
    EXPECT_DOUBLE_EQ(sampler.CpuLoadFraction(1), 0.75);
    EXPECT_EQ(ErrorOf([&] { sampler.CpuLoadFraction(2); }), kBadIndex);

    // Fewer instances than the first sample had: nothing past the last one is read, not even
    // when the block goes on.
    perfData.block = Block({Processor({kSecond}), Memory(), Memory()}, kStart + 2 * kSecond);
    EXPECT_EQ(ErrorOf([&] { sampler.TakeCpuSample(); }), kNoCounter);
    EXPECT_DOUBLE_EQ(sampler.CpuLoadFraction(1), 0.75) << "the failed sample changed nothing";
}

TEST_F(NtSampler, ABlockPointingOutsideItselfIsRefusedNotRead)
{
    Deliver({0, 0}, kStart);
    sampler.TakeCpuSample();

    Deliver({kSecond / 2, kSecond / 2}, kStart + kSecond);
    Set<std::uint32_t>(perfData.block, kFirstInstance + kInstanceStride, 0x7fff'0000);
    EXPECT_EQ(ErrorOf([&] { sampler.TakeCpuSample(); }), kNoCounter);

    Deliver({kSecond / 2, kSecond / 2}, kStart + kSecond);
    Set<std::uint32_t>(perfData.block, kFirstCounterDefinition + 36, 0xffff'fff0);
    EXPECT_EQ(ErrorOf([&] { sampler.TakeCpuSample(); }), kNoCounter);

    Deliver({kSecond / 2, kSecond / 2}, kStart + kSecond);
    Set<std::uint32_t>(perfData.block, 24, 0xffff'ff00);
    EXPECT_EQ(ErrorOf([&] { sampler.TakeCpuSample(); }), kNoObject);

    Deliver({kSecond / 2, kSecond / 2}, kStart + kSecond);
    sampler.TakeCpuSample();
    EXPECT_DOUBLE_EQ(sampler.CpuLoadFraction(0), 0.5);
}

TEST_F(NtSampler, AnInstanceCountTheBlockCannotHoldIsNoProcessorObject)
{
    Deliver({0, 0}, kStart);
    Set<std::int32_t>(perfData.block, kObject + 40, 0x7fff'ffff);
    EXPECT_EQ(ErrorOf([&] { sampler.TakeCpuSample(); }), kNoObject);
    Set<std::int32_t>(perfData.block, kObject + 40, -1);
    EXPECT_EQ(ErrorOf([&] { sampler.TakeCpuSample(); }), kNoObject);
    EXPECT_EQ(sampler.CpuCount(), -1);
}

TEST_F(NtSampler, TheStampIsTheBlocksSystemTimeToTheMillisecond)
{
    Deliver({0}, kStart);
    sampler.TakeCpuSample();
    // The block's time has whole milliseconds: 0.75 ms more is no later.
    Deliver({kSecond}, kStart + 7'500);
    sampler.TakeCpuSample();
    EXPECT_DOUBLE_EQ(sampler.CpuLoadFraction(0), 0.0);

    Deliver({kSecond + 5'000}, kStart + 10'000);
    sampler.TakeCpuSample();
    EXPECT_DOUBLE_EQ(sampler.CpuLoadFraction(0), 0.5);

    // A month 13 is no time: the previous stamp stays, so no load is invented.
    Deliver({kSecond + 5'000}, kStart + kSecond);
    Set<std::uint16_t>(perfData.block, 36 + 2, 13);
    sampler.TakeCpuSample();
    EXPECT_DOUBLE_EQ(sampler.CpuLoadFraction(0), 0.0);
}

class Win9xSampler : public ::testing::Test {
protected:
    Win9xSampler() { sampler.SetUp(); }

    platform::FakePerfDataRegistry perfData;
    platform::FakeDynDataRegistry dynData;
    TCpuUsage sampler{perfData, TCpuUsage::Family::Windows9x, &dynData};
};

TEST_F(Win9xSampler, TheFirstSampleStartsTheStatisticAndKeepsItsDataKeyOpen)
{
    dynData.cpuUsage = 37;
    sampler.TakeCpuSample();
    EXPECT_EQ(dynData.log, (std::vector<std::string>{
                               "open PerfStats\\StartStat all",
                               "read PerfStats\\StartStat KERNEL\\CPUUsage",
                               "close PerfStats\\StartStat",
                               "open PerfStats\\StatData read",
                               "read PerfStats\\StatData KERNEL\\CPUUsage",
                           }));
    EXPECT_DOUBLE_EQ(sampler.CpuLoadFraction(0), 0.37);

    dynData.log.clear();
    dynData.cpuUsage = 80;
    sampler.TakeCpuSample();
    EXPECT_EQ(dynData.log, std::vector<std::string>{"read PerfStats\\StatData KERNEL\\CPUUsage"});
    EXPECT_TRUE(perfData.valueNames.empty()) << "no NT performance data on 9x";
}

TEST_F(Win9xSampler, OnlyIndexZeroExistsAndItIsNotReadAgainWithoutASample)
{
    dynData.cpuUsage = 12;
    EXPECT_DOUBLE_EQ(sampler.CpuLoadFraction(0), 0.12) << "the first call samples";
    dynData.cpuUsage = 90;
    EXPECT_DOUBLE_EQ(sampler.CpuLoadFraction(0), 0.12);
    EXPECT_EQ(ErrorOf([&] { sampler.CpuLoadFraction(1); }), kBadIndex);
    EXPECT_EQ(ErrorOf([&] { sampler.CpuLoadFraction(-1); }), kBadIndex);
}

TEST_F(Win9xSampler, KeysThatWontOpenRaiseAndAFailedStartIsRetried)
{
    dynData.unopenable = {"PerfStats\\StartStat"};
    EXPECT_EQ(ErrorOf([&] { sampler.TakeCpuSample(); }), "Unable to start performance monitoring");
    EXPECT_EQ(dynData.starts, 0);

    dynData.unopenable = {"PerfStats\\StatData"};
    EXPECT_EQ(ErrorOf([&] { sampler.TakeCpuSample(); }), "Unable to read performance data");
    EXPECT_EQ(dynData.starts, 1) << "the statistic was started all the same";
    EXPECT_TRUE(dynData.openKeys.empty());

    dynData.unopenable.clear();
    dynData.cpuUsage = 5;
    sampler.TakeCpuSample();
    EXPECT_EQ(dynData.starts, 2);
    EXPECT_DOUBLE_EQ(sampler.CpuLoadFraction(0), 0.05);
}

TEST_F(Win9xSampler, StoppingClosesTheKeyStopsTheStatisticOnceAndASampleRestartsIt)
{
    sampler.TakeCpuSample();
    dynData.log.clear();
    sampler.StopCpuStatistic();
    EXPECT_EQ(dynData.log, (std::vector<std::string>{
                               "close PerfStats\\StatData",
                               "open PerfStats\\StopStat all",
                               "read PerfStats\\StopStat KERNEL\\CPUUsage",
                               "close PerfStats\\StopStat",
                           }));
    EXPECT_FALSE(dynData.statisticOn);
    EXPECT_TRUE(dynData.openKeys.empty());

    dynData.log.clear();
    sampler.StopCpuStatistic();
    EXPECT_TRUE(dynData.log.empty());

    sampler.TakeCpuSample();
    EXPECT_TRUE(dynData.statisticOn);
    EXPECT_EQ(dynData.starts, 2);
}

TEST_F(Win9xSampler, AStopKeyThatWontOpenStillClosesTheDataKey)
{
    sampler.TakeCpuSample();
    dynData.unopenable = {"PerfStats\\StopStat"};
    sampler.StopCpuStatistic();
    EXPECT_TRUE(dynData.openKeys.empty());
    EXPECT_EQ(dynData.stops, 0);
}

TEST(CpuUsageLifecycle, AnUnidentifiedSystemDoesNotStart)
{
    platform::FakePerfDataRegistry perfData;
    TCpuUsage sampler(perfData, TCpuUsage::Family::Unidentified);
    EXPECT_EQ(ErrorOf([&] { sampler.SetUp(); }), "Can't get the Windows version");
    EXPECT_FALSE(sampler.IsSetUp());
}

TEST(CpuUsageLifecycle, OnlyTheFirstSetUpAndTheLastTearDownAct)
{
    platform::FakePerfDataRegistry perfData;
    platform::FakeDynDataRegistry dynData;
    TCpuUsage sampler(perfData, TCpuUsage::Family::Windows9x, &dynData);
    sampler.SetUp();
    sampler.SetUp();
    sampler.TakeCpuSample();

    sampler.TearDown();
    EXPECT_TRUE(sampler.IsSetUp());
    EXPECT_TRUE(dynData.statisticOn);

    sampler.TearDown();
    EXPECT_FALSE(sampler.IsSetUp());
    EXPECT_FALSE(dynData.statisticOn);
    EXPECT_TRUE(dynData.openKeys.empty());

    dynData.log.clear();
    sampler.TearDown();
    EXPECT_TRUE(dynData.log.empty());
    EXPECT_EQ(dynData.stops, 1);
}

TEST(CpuUsageLifecycle, ASecondLifeStartsFromAFreshState)
{
    platform::FakePerfDataRegistry perfData;
    TCpuUsage sampler(perfData);
    sampler.SetUp();
    perfData.block = CpuBlock({0, 0}, kStart);
    sampler.TakeCpuSample();
    sampler.TearDown();

    sampler.SetUp();
    EXPECT_EQ(sampler.CpuCount(), -1);
    perfData.block = CpuBlock({kSecond / 2, 0, 0}, kStart + kSecond);
    perfData.offeredSizes.clear();
    EXPECT_DOUBLE_EQ(sampler.CpuLoadFraction(0), 0.0) << "no predecessor from the first life";
    EXPECT_EQ(sampler.CpuCount(), 3);
    EXPECT_EQ(perfData.offeredSizes, std::vector<std::uint32_t>{8192});
}

TEST(CpuUsageLifecycle, OnNtStoppingTouchesNothing)
{
    platform::FakePerfDataRegistry perfData;
    platform::FakeDynDataRegistry dynData;
    {
        TCpuUsage sampler(perfData, TCpuUsage::Family::WindowsNt, &dynData);
        sampler.SetUp();
        perfData.block = CpuBlock({0}, kStart);
        sampler.TakeCpuSample();
        sampler.StopCpuStatistic();
        sampler.StopCpuStatistic();
        sampler.TearDown();
    }
    EXPECT_TRUE(dynData.log.empty());
}

TEST(CpuUsageLifecycle, ASamplerDestroyedWhileTheStatisticIsOnStopsIt)
{
    platform::FakePerfDataRegistry perfData;
    platform::FakeDynDataRegistry dynData;
    {
        TCpuUsage sampler(perfData, TCpuUsage::Family::Windows9x, &dynData);
        sampler.SetUp();
        sampler.TakeCpuSample();
    }
    EXPECT_TRUE(dynData.openKeys.empty());
    EXPECT_FALSE(dynData.statisticOn);
}

TEST(CpuUsageLifecycle, Win9xWithoutADynamicDataBranchCannotStart)
{
    platform::FakePerfDataRegistry perfData;
    TCpuUsage sampler(perfData, TCpuUsage::Family::Windows9x);
    sampler.SetUp();
    EXPECT_EQ(ErrorOf([&] { sampler.TakeCpuSample(); }), "Unable to start performance monitoring");
}

// The CPU timer's chain: processor 0, then processor 1, then the fallback reader.
class CpuPercentChain : public ::testing::Test {
protected:
    CpuPercentChain() { sampler.SetUp(); }

    platform::FakePerfDataRegistry perfData;
    platform::FakeTickClock clock;
    TCpuUsage sampler{perfData};
    TCpuFallback fallback{perfData, clock};
};

TEST_F(CpuPercentChain, ProcessorZeroRoundedHalfToEven)
{
    perfData.block = CpuBlock({0, 0}, kStart);
    EXPECT_EQ(MeasureCpuPercent(sampler, fallback), 0);
    perfData.block = CpuBlock({kSecond * 875 / 1000, 0}, kStart + kSecond);
    EXPECT_EQ(MeasureCpuPercent(sampler, fallback), 12) << "12.5 % rounds to 12";
    perfData.block = CpuBlock({kSecond * 875 / 1000 + kSecond * 625 / 1000, 0}, kStart + 2 * kSecond);
    EXPECT_EQ(MeasureCpuPercent(sampler, fallback), 38) << "37.5 % rounds to 38";
}

TEST_F(CpuPercentChain, ProcessorOneWhenTheFirstTryFails)
{
    int queries = 0;
    perfData.beforeQuery = [&] {
        ++queries;
        if (queries == 1)
            perfData.block = CpuBlock({0, 0}, kStart);
        else if (queries == 2)
            perfData.block = Block({Memory()}, kStart);
        else
            perfData.block = CpuBlock({0, kSecond / 4}, kStart + kSecond);
    };
    EXPECT_EQ(MeasureCpuPercent(sampler, fallback), 0);
    EXPECT_EQ(MeasureCpuPercent(sampler, fallback), 75) << "processor 1's load, sampled again after the failure";
    EXPECT_EQ(queries, 3);
}

TEST_F(CpuPercentChain, TheFallbackWhenBothTriesFail)
{
    perfData.block = Block({Processor({0}, {kOtherCounter})}, kStart);
    clock.now = 1000;
    EXPECT_EQ(MeasureCpuPercent(sampler, fallback), 0) << "the fallback's first call";
    clock.Advance(1000);
    EXPECT_EQ(MeasureCpuPercent(sampler, fallback), 100) << "no idle counter: idle difference 0";
}

}  // namespace
