// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "cli/CountingMemory.h"
#include "platform/fake/FakeEventQueue.h"
#include "platform/fake/FakeMemory.h"
#include "recovery/RamRecovery.h"

namespace {

TEST(CountingMemory, TheWrittenMemoryLeavesOutTheBlockThatWasRefused)
{
    platform::FakeMemory fake;
    fake.status.totalPhys = std::int64_t{64} << 20;
    fake.failAtCommit = 5;
    platform::FakeEventQueue events;
    CountingMemory memory(fake);
    TRamRecovery engine(memory, events);
    int fillSteps = 0;
    engine.OnProgress = [&](QObject*, int progress) { fillSteps += progress <= 50 ? 1 : 0; };
    engine.Defrag(10);
    EXPECT_EQ(fillSteps, 5) << "the refused block still ends its step";
    EXPECT_EQ(memory.committed, 4);
    EXPECT_TRUE(fake.live.empty());
}

TEST(CountingMemory, ACancelledRunCountsWhatItTook)
{
    platform::FakeMemory fake;
    platform::FakeEventQueue events;
    CountingMemory memory(fake);
    TRamRecovery engine(memory, events);
    engine.OnProgress = [&](QObject*, int progress) {
        if (progress == 15)
            engine.CancelDefrag();
    };
    engine.Defrag(20);  // 40 steps: the 6th reports 15 %
    EXPECT_EQ(memory.committed, 6);
}

}  // namespace
