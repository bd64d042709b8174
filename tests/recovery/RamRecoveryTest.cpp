// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/fake/FakeEventQueue.h"
#include "platform/fake/FakeMemory.h"
#include "recovery/RamRecovery.h"

namespace {

constexpr std::int64_t kMiB = 1 << 20;

// Records the engine's events in order: "before", progress values, "after".
class RecoveryFixture : public ::testing::Test {
protected:
    RecoveryFixture()
    {
        memory.status = {2048 * kMiB, 1000 * kMiB, 0};
        engine = std::make_unique<TRamRecovery>(memory, events);
        engine->OnBeforeDefrag = [this](QObject* sender) {
            EXPECT_EQ(sender, engine.get());
            EXPECT_TRUE(engine->IsBusy());
            log.push_back("before");
        };
        engine->OnProgress = [this](QObject*, int progress) {
            progressValues.push_back(progress);
            log.push_back(std::to_string(progress));
        };
        engine->OnAfterDefrag = [this](QObject*) {
            EXPECT_FALSE(engine->IsBusy());
            EXPECT_TRUE(memory.live.empty()) << "every block is released before the end event";
            log.push_back("after");
        };
    }

    int Count(const std::string& entry) const { return static_cast<int>(std::count(log.begin(), log.end(), entry)); }

    platform::FakeMemory memory;
    platform::FakeEventQueue events;
    std::unique_ptr<TRamRecovery> engine;
    std::vector<std::string> log;
    std::vector<int> progressValues;
};

TEST_F(RecoveryFixture, ProgressClimbsToFiftyWhileFillingAndToAHundredWhileReleasing)
{
    engine->Defrag(3);
    EXPECT_EQ(log, (std::vector<std::string>{"before", "17", "33", "50", "67", "83", "100", "after"}));

    log.clear();
    engine->Defrag(4);  // 12.5 -> 12, 37.5 -> 38, 62.5 -> 62, 87.5 -> 88
    EXPECT_EQ(log, (std::vector<std::string>{"before", "12", "25", "38", "50", "62", "75", "88", "100", "after"}));

    log.clear();
    engine->Defrag(1);
    EXPECT_EQ(log, (std::vector<std::string>{"before", "50", "100", "after"}));

    EXPECT_EQ(memory.commits, 8);
    EXPECT_EQ(memory.releases, 8);
    EXPECT_EQ(events.drains, 8) << "the queue is drained once per filled block, never while releasing";
}

TEST_F(RecoveryFixture, EveryByteOfABlockIsWrittenBeforeTheQueueIsDrained)
{
    std::vector<std::size_t> unwritten;
    events.onDrain = [&](int) {
        for (void* block : memory.live) {
            const auto* bytes = static_cast<const unsigned char*>(block);
            unwritten.push_back(static_cast<std::size_t>(std::count(bytes, bytes + kMiB, platform::FakeMemory::kFreshByte)));
        }
        return false;
    };
    engine->Defrag(3);
    EXPECT_EQ(unwritten, (std::vector<std::size_t>{0, 0, 0, 0, 0, 0}));
}

TEST_F(RecoveryFixture, NoBlocksForZeroOrNegativeSizesButBothEventsFire)
{
    for (const int size : {0, -1, INT32_MIN}) {
        log.clear();
        engine->Defrag(size);
        EXPECT_EQ(log, (std::vector<std::string>{"before", "after"})) << size;
    }
    EXPECT_EQ(memory.commits, 0);
    EXPECT_EQ(events.drains, 0);
}

TEST_F(RecoveryFixture, ARunIsCappedAtOneGibibyte)
{
    engine->Defrag(5000);
    EXPECT_EQ(memory.commits, TRamRecovery::kMaxBlocks);
    EXPECT_EQ(progressValues.size(), 2u * TRamRecovery::kMaxBlocks);
    EXPECT_EQ(progressValues.back(), 100);
    EXPECT_EQ(memory.releases, TRamRecovery::kMaxBlocks);
}

TEST_F(RecoveryFixture, DefragAllTakesTheTruncatedTotalInMegabytes)
{
    memory.status.totalPhys = 511 * kMiB + kMiB / 2;
    TRamRecovery smallMachine(memory, events);
    smallMachine.DefragAll();
    EXPECT_EQ(memory.commits, 511);

    memory.commits = 0;
    engine->DefragAll();  // 2048 MiB: capped
    EXPECT_EQ(memory.commits, TRamRecovery::kMaxBlocks);
}

TEST_F(RecoveryFixture, CancelDuringFillStepEndsTheRunAtThatStep)
{
    for (const int k : {1, 3, 5}) {
        log.clear();
        progressValues.clear();
        memory.commits = memory.releases = 0;
        events.drains = 0;
        events.onDrain = [&, k](int drain) {
            if (drain == k)
                engine->CancelDefrag();
            return false;
        };
        engine->Defrag(5);
        ASSERT_EQ(progressValues.size(), static_cast<std::size_t>(k)) << "no release-phase progress, k=" << k;
        EXPECT_EQ(progressValues.back(), static_cast<int>(RoundHalfEven(100.0 * k / 10)));
        EXPECT_EQ(memory.commits, k);
        EXPECT_EQ(memory.releases, k);
        EXPECT_EQ(Count("before"), 1);
        EXPECT_EQ(Count("after"), 1);
        EXPECT_EQ(log.back(), "after");
    }
}

TEST_F(RecoveryFixture, FailedAllocationEndsTheRunLikeACancelAtThatStep)
{
    memory.failAtCommit = 3;
    engine->Defrag(6);
    EXPECT_EQ(log, (std::vector<std::string>{"before", "8", "17", "25", "after"}));
    EXPECT_EQ(memory.releases, 2) << "the step without a block releases nothing";
    EXPECT_EQ(events.drains, 3) << "the failed step still drains the queue";

    // The engine is idle again and the next run is whole.
    memory.failAtCommit = 0;
    log.clear();
    engine->Defrag(1);
    EXPECT_EQ(log, (std::vector<std::string>{"before", "50", "100", "after"}));
}

TEST_F(RecoveryFixture, CancelDuringReleaseReleasesTheRestWithoutProgress)
{
    engine->OnProgress = [this](QObject*, int progress) {
        progressValues.push_back(progress);
        if (progressValues.size() == 4)  // first release step of a run of 3
            engine->CancelDefrag();
    };
    engine->Defrag(3);
    EXPECT_EQ(progressValues, (std::vector<int>{17, 33, 50, 67}));
    EXPECT_EQ(memory.releases, 3);
    EXPECT_EQ(Count("after"), 1);
}

TEST_F(RecoveryFixture, DefragDuringARunIsRejectedAndWithdrawsAPendingCancel)
{
    events.onDrain = [&](int drain) {
        if (drain == 2) {
            engine->CancelDefrag();
            const std::size_t eventsSoFar = log.size();
            engine->Defrag(10);
            EXPECT_EQ(log.size(), eventsSoFar) << "a rejected call fires nothing";
        }
        return false;
    };
    engine->Defrag(4);
    EXPECT_EQ(progressValues.size(), 8u) << "the cancel was withdrawn, so the run went to its end";
    EXPECT_EQ(memory.commits, 4);
    EXPECT_EQ(Count("before"), 1);
}

TEST_F(RecoveryFixture, CancelWithNoRunIsClearedByTheNextRun)
{
    engine->CancelDefrag();
    engine->Defrag(2);
    EXPECT_EQ(progressValues, (std::vector<int>{25, 50, 75, 100}));
}

TEST_F(RecoveryFixture, AQuitRequestNeitherCancelsNorShortensTheRun)
{
    events.onDrain = [](int drain) { return drain >= 2; };
    engine->Defrag(3);
    EXPECT_EQ(progressValues.size(), 6u);
    EXPECT_EQ(events.drains, 3);
}

TEST_F(RecoveryFixture, AThrowingHandlerEndsTheRunWithItsEndEventAndLeavesTheEngineUsable)
{
    engine->OnProgress = [](QObject*, int progress) {
        if (progress == 30)
            throw std::runtime_error("handler failed");
    };
    EXPECT_THROW(engine->Defrag(5), std::runtime_error);
    EXPECT_TRUE(memory.live.empty());
    EXPECT_FALSE(engine->IsBusy());
    EXPECT_EQ(log, (std::vector<std::string>{"before", "after"})) << "the owner learns that the run is over";

    engine->OnProgress = nullptr;
    const auto before = engine->OnBeforeDefrag;
    engine->OnBeforeDefrag = [](QObject*) { throw std::runtime_error("before failed"); };
    log.clear();
    EXPECT_THROW(engine->Defrag(5), std::runtime_error);
    EXPECT_FALSE(engine->IsBusy());
    EXPECT_EQ(log, (std::vector<std::string>{"after"}));

    engine->OnBeforeDefrag = before;
    log.clear();
    engine->Defrag(2);
    EXPECT_EQ(log, (std::vector<std::string>{"before", "after"}));
    EXPECT_EQ(memory.commits, 3 + 0 + 2) << "the throwing start event came before any block";
    EXPECT_TRUE(memory.live.empty());
}

TEST_F(RecoveryFixture, AThrowingEndEventIsNotFiredTwiceAndTheFirstErrorGoesOn)
{
    int ends = 0;
    engine->OnAfterDefrag = [&](QObject*) {
        ++ends;
        throw std::logic_error("end failed");
    };
    EXPECT_THROW(engine->Defrag(2), std::logic_error);
    EXPECT_EQ(ends, 1);
    EXPECT_FALSE(engine->IsBusy());

    ends = 0;
    engine->OnProgress = [](QObject*, int) { throw std::runtime_error("progress failed"); };
    EXPECT_THROW(engine->Defrag(2), std::runtime_error) << "the end event's own error does not replace it";
    EXPECT_EQ(ends, 1);
    EXPECT_TRUE(memory.live.empty());
}

TEST_F(RecoveryFixture, EventsWithoutHandlersAreSkipped)
{
    TRamRecovery bare(memory, events);
    bare.Defrag(2);
    EXPECT_EQ(memory.commits, 2);
    EXPECT_TRUE(memory.live.empty());
}

TEST_F(RecoveryFixture, TotalIsReadOnceAndFreeOnEveryAccess)
{
    memory.status = {4096 * kMiB, 100 * kMiB, 0};
    EXPECT_EQ(engine->TotalMemory(), 2048 * kMiB);
    EXPECT_EQ(engine->FreeMemory(), 100 * kMiB);
    memory.status.availPhys = 3000 * kMiB;  // beyond 2 GiB: no wrap
    EXPECT_EQ(engine->FreeMemory(), 3000 * kMiB);
}

}  // namespace
