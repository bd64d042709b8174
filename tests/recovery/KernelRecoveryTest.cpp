// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/fake/FakeEventQueue.h"
#include "platform/fake/FakeKernelReclaim.h"
#include "recovery/KernelRecovery.h"

namespace {

constexpr std::int64_t kMiB = 1 << 20;

class KernelRecoveryFixture : public ::testing::Test {
protected:
    KernelRecoveryFixture()
    {
        run.OnBeforeDefrag = [this](QObject* sender) {
            EXPECT_EQ(sender, &run);
            EXPECT_TRUE(run.IsBusy());
            log.push_back("before");
        };
        run.OnProgress = [this](QObject*, int progress) {
            progressValues.push_back(progress);
            if (onProgress)
                onProgress(progress);
        };
        run.OnAfterDefrag = [this](QObject*) {
            EXPECT_FALSE(run.IsBusy());
            log.push_back("after");
        };
    }

    platform::FakeKernelReclaim kernel;
    platform::FakeEventQueue events;
    TKernelRecovery run{kernel, events};
    std::vector<std::string> log;
    std::vector<int> progressValues;
    std::function<void(int)> onProgress;
};

TEST_F(KernelRecoveryFixture, AsksInStepsUntilTheAmountAndShowsProgressAfterEachStep)
{
    kernel.groups = {{"app", 900 * kMiB, 800 * kMiB}};
    run.Reclaim(200);
    ASSERT_EQ(kernel.calls.size(), 4u);
    EXPECT_EQ(kernel.calls[0].second, 64 * kMiB);
    EXPECT_EQ(kernel.calls[3].second, 8 * kMiB) << "the last step asks only what is left";
    EXPECT_EQ(run.Reclaimed(), 200 * kMiB);
    EXPECT_EQ(progressValues, (std::vector<int>{32, 64, 96, 100}));
    EXPECT_EQ(events.drains, 4) << "the window's events are taken between steps";
    EXPECT_EQ(log, (std::vector<std::string>{"before", "after"}));
}

TEST_F(KernelRecoveryFixture, AGroupLeavesWhenTheKernelFindsLessThanAskedAndTheRunEndsWithTheLast)
{
    kernel.groups = {{"app", 500 * kMiB, 100 * kMiB}, {"session", 50 * kMiB, 0}, {"background", 80 * kMiB, 70 * kMiB}};
    run.Reclaim(1024);
    // Round one: app 64 (full), session nothing (leaves), background 64 (full). Round two: app
    // 36 of 64 (EAGAIN: leaves), background 6 of 64 (leaves).
    ASSERT_EQ(kernel.calls.size(), 5u);
    EXPECT_EQ(kernel.calls[1].first, 1);
    EXPECT_EQ(kernel.calls[3].first, 0);
    EXPECT_EQ(kernel.calls[4].first, 2);
    EXPECT_EQ(run.Reclaimed(), 170 * kMiB);
    EXPECT_EQ(kernel.groups[0].reclaimable, 0);
    EXPECT_LT(progressValues.back(), 100) << "a run that found less than asked does not claim all of it";
    EXPECT_EQ(log.back(), "after");
}

TEST_F(KernelRecoveryFixture, WhatTheGroupsHoldFallsIsWhatIsCountedNotWhatWasAsked)
{
    // The kernel says it reclaimed all, but the group's programs took half of it back at once.
    struct Refaulting : platform::FakeKernelReclaim {
        int Reclaim(int group, std::int64_t bytes) override
        {
            const int error = FakeKernelReclaim::Reclaim(group, bytes);
            groups[group].held += bytes / 2;
            return error;
        }
    } refaulting;
    refaulting.groups = {{"app", 900 * kMiB, 128 * kMiB}};
    TKernelRecovery counted(refaulting, events);
    counted.Reclaim(128);
    EXPECT_EQ(counted.Reclaimed(), 64 * kMiB);
}

TEST_F(KernelRecoveryFixture, ACancelBetweenStepsEndsTheRunAndASignalDoesNotDropTheGroup)
{
    kernel.groups = {{"app", 900 * kMiB, 800 * kMiB}};
    onProgress = [this](int) { run.CancelReclaim(); };
    run.Reclaim(512);
    EXPECT_EQ(kernel.calls.size(), 1u);
    EXPECT_EQ(log, (std::vector<std::string>{"before", "after"}));

    // Ctrl+C during a write: the kernel answers EINTR, the cancel arrives with the events.
    kernel.calls.clear();
    onProgress = nullptr;
    kernel.nextError = EINTR;
    events.onDrain = [this](int) {
        if (kernel.calls.size() == 1)
            run.CancelReclaim();
        return false;
    };
    run.Reclaim(512);
    EXPECT_EQ(kernel.calls.size(), 1u);

    // And a pending cancel from before a run is withdrawn by the next run.
    events.onDrain = nullptr;
    kernel.calls.clear();
    run.CancelReclaim();
    run.Reclaim(64);
    EXPECT_EQ(kernel.calls.size(), 1u);
    EXPECT_EQ(run.Reclaimed(), 64 * kMiB);
}

TEST_F(KernelRecoveryFixture, WhereTheKernelCannotBeAskedNothingIsWrittenAndTheRunStillEnds)
{
    kernel.unavailable = "pas de cgroup v2";
    kernel.groups = {{"app", 900 * kMiB, 800 * kMiB}};
    run.Reclaim(512);
    EXPECT_TRUE(kernel.calls.empty());
    EXPECT_EQ(run.Reclaimed(), 0);
    EXPECT_EQ(log, (std::vector<std::string>{"before", "after"}));
}

TEST_F(KernelRecoveryFixture, ACallDuringARunIsRejectedAndAThrowingHandlerLeavesItReady)
{
    kernel.groups = {{"app", 900 * kMiB, 800 * kMiB}};
    onProgress = [this](int progress) {
        if (progress < 50)
            run.Reclaim(512);
    };
    run.Reclaim(128);
    EXPECT_EQ(kernel.calls.size(), 2u) << "the nested call asked nothing";
    EXPECT_EQ(std::count(log.begin(), log.end(), "before"), 1);

    onProgress = [](int) { throw std::runtime_error("handler"); };
    EXPECT_THROW(run.Reclaim(128), std::runtime_error);
    EXPECT_FALSE(run.IsBusy());
    onProgress = nullptr;
    kernel.calls.clear();
    run.Reclaim(64);
    EXPECT_EQ(kernel.calls.size(), 1u);
}

}  // namespace
