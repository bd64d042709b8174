// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QCoreApplication>

#include "support/EventWait.h"
#include "widgets/Timer.h"

namespace {

TEST(Timer, AnIntervalOfZeroNeverFires)
{
    TTimer timer(nullptr, 0, true);
    int fired = 0;
    timer.OnTimer = [&](QObject*) { ++fired; };
    EXPECT_FALSE(timer.IsCounting());
    for (int i = 0; i < 20; ++i)
        QCoreApplication::processEvents();
    EXPECT_EQ(fired, 0);
}

TEST(Timer, EnablingOrANewIntervalRestartsTheCountdownAndTheSameValueDoesNot)
{
    TTimer timer(nullptr, 60000, false);
    EXPECT_FALSE(timer.IsCounting());
    timer.SetEnabled(true);
    EXPECT_GT(timer.RemainingTime(), 59000);

    WaitUntil([&] { return timer.RemainingTime() <= 59800; });  // let the countdown run down a little
    const int before = timer.RemainingTime();
    timer.SetInterval(60000);
    timer.SetEnabled(true);
    EXPECT_LE(timer.RemainingTime(), before) << "the same values leave the countdown alone";

    timer.SetInterval(90000);
    EXPECT_GT(timer.RemainingTime(), 89000);
    timer.SetInterval(0);
    EXPECT_FALSE(timer.IsCounting());
    timer.SetInterval(1000);
    EXPECT_TRUE(timer.IsCounting());
    timer.SetEnabled(false);
    EXPECT_FALSE(timer.IsCounting());
}

// Qt counts a timer of 20 s or more in whole seconds, which could hide a restart; a shorter one
// keeps its remaining time to the millisecond (within 5 %), so a restart would show as a jump
// back above 9.5 s.
TEST(Timer, TheSameValuesLeaveTheCountdownWhereItIs)
{
    TTimer timer(nullptr, 10000, true);
    ASSERT_TRUE(WaitUntil([&] { return timer.RemainingTime() <= 9000; }, 60000));
    timer.SetInterval(10000);
    timer.SetEnabled(true);
    EXPECT_LE(timer.RemainingTime(), 9000) << "a restart would count 10 s afresh";
}

TEST(Timer, FiresWithItselfAsSender)
{
    TTimer timer(nullptr, 1, true);
    QObject* sender = nullptr;
    timer.OnTimer = [&](QObject* from) { sender = from; };
    EXPECT_TRUE(WaitUntil([&] { return sender != nullptr; }));
    EXPECT_EQ(sender, &timer);
}

}  // namespace
