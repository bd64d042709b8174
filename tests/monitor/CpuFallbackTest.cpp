// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "monitor/ComposedPerfData.h"
#include "monitor/CpuFallback.h"
#include "platform/fake/FakePerfDataRegistry.h"
#include "platform/fake/FakeTickClock.h"

using namespace composed;
using Answer = platform::IPerfDataRegistry::Answer;

namespace {

class Fallback : public ::testing::Test {
protected:
    // Idle time of processor 0 in 100 ns units; the other processors are busy.
    void Idle(std::int64_t idle) { perfData.block = CpuBlock({idle, 0, 0}, kStart); }

    platform::FakePerfDataRegistry perfData;
    platform::FakeTickClock clock;
    TCpuFallback fallback{perfData, clock};
};

TEST_F(Fallback, ReadsTheFirstInstancesIdleCounter)
{
    perfData.block = Block({Memory(), Processor({4242, 1, 2}, {kOtherCounter, 6})}, kStart);
    EXPECT_EQ(fallback.ReadIdleTime(), 4242);
    EXPECT_EQ(perfData.valueNames, std::vector<std::string>{"238"});
}

TEST_F(Fallback, StepsCounterDefinitionsBy40BytesWhateverTheyAnnounce)
{
    perfData.block = Block({Processor({4242}, {kOtherCounter, 6})}, kStart);
    constexpr std::size_t kFirstCounterDefinition = 88 + 64;
    composed::Set<std::uint32_t>(perfData.block, kFirstCounterDefinition, 0);
    EXPECT_EQ(fallback.ReadIdleTime(), 4242);
}

TEST_F(Fallback, ReadsZeroWhenThereIsNothingToRead)
{
    perfData.block = Block({Memory()}, kStart);
    EXPECT_EQ(fallback.ReadIdleTime(), 0) << "no processor object";
    perfData.block = Block({Processor({4242}, {kOtherCounter})}, kStart);
    EXPECT_EQ(fallback.ReadIdleTime(), 0) << "no counter 6";
    perfData.block = CpuBlock({}, kStart);
    EXPECT_EQ(fallback.ReadIdleTime(), 0) << "no instance";
    perfData.block = CpuBlock({4242}, kStart);
    composed::Set<std::uint32_t>(perfData.block, 88 + 64 + 40, 0x7fff'fff0);
    EXPECT_EQ(fallback.ReadIdleTime(), 0) << "an instance pointing outside the block";
    perfData.block = CpuBlock({4242}, kStart);
    perfData.forcedAnswer = Answer::Failure;
    EXPECT_EQ(fallback.ReadIdleTime(), 0) << "a failed query";
    perfData.forcedAnswer = Answer::MoreData;
    EXPECT_EQ(fallback.ReadIdleTime(), 0) << "a source that always wants more room";
}

TEST_F(Fallback, EveryReadStartsAt64KiBAndDoublesWhileMoreRoomIsWanted)
{
    perfData.block = CpuBlock(std::vector<std::int64_t>(2000, 77), kStart);
    ASSERT_GT(perfData.block.size(), 65536u * 1);
    ASSERT_LE(perfData.block.size(), 65536u * 2);
    EXPECT_EQ(fallback.ReadIdleTime(), 77);
    EXPECT_EQ(fallback.ReadIdleTime(), 77);
    EXPECT_EQ(perfData.offeredSizes, (std::vector<std::uint32_t>{65536, 131072, 65536, 131072}));
}

TEST_F(Fallback, PercentIsZeroAtTheFirstCallAndWithinOneTick)
{
    clock.now = 5000;
    Idle(kSecond);
    EXPECT_EQ(fallback.FallbackCpuPercent(), 0);
    Idle(kSecond * 2);
    EXPECT_EQ(fallback.FallbackCpuPercent(), 0) << "same tick count";
    clock.Advance(1000);
    Idle(kSecond * 2 + kSecond / 4);
    EXPECT_EQ(fallback.FallbackCpuPercent(), 75);
}

TEST_F(Fallback, PercentIsRoundedHalfToEvenAfterATruncatingDivision)
{
    clock.now = 1;
    Idle(0);
    fallback.FallbackCpuPercent();

    clock.Advance(1000);
    Idle(1'250'000);  // 12.5 % idle
    EXPECT_EQ(fallback.FallbackCpuPercent(), 88);

    clock.Advance(1000);
    Idle(1'250'000 + 3'750'000);  // 37.5 % idle
    EXPECT_EQ(fallback.FallbackCpuPercent(), 62);

    clock.Advance(1);
    Idle(1'250'000 + 3'750'000 + 199);  // 199 units / 100 = 1, not 1.99
    EXPECT_EQ(fallback.FallbackCpuPercent(), 99);
}

TEST_F(Fallback, TheTickCountWrapsAround)
{
    clock.now = 0xffff'ff00;
    Idle(0);
    fallback.FallbackCpuPercent();
    clock.Advance(512);
    EXPECT_EQ(clock.now, 0x100u);
    Idle(512 * 10'000 / 2);
    EXPECT_EQ(fallback.FallbackCpuPercent(), 50);
}

TEST_F(Fallback, UnreadableDataReadsAFullLoadAndNeverAnAbsurdOne)
{
    perfData.forcedAnswer = Answer::Failure;
    clock.now = 1000;
    EXPECT_EQ(fallback.FallbackCpuPercent(), 0);
    for (int i = 0; i < 3; ++i) {
        clock.Advance(1000);
        EXPECT_EQ(fallback.FallbackCpuPercent(), 100);
    }

    // Next to an unreadable reading a whole idle counter is differenced.
    perfData.forcedAnswer.reset();
    Idle(kSecond * 3600);
    clock.Advance(1000);
    EXPECT_EQ(fallback.FallbackCpuPercent(), 0);
    perfData.forcedAnswer = Answer::Failure;
    clock.Advance(1000);
    EXPECT_EQ(fallback.FallbackCpuPercent(), 100);
}

}  // namespace
