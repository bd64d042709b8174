// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <csignal>

#include "platform/linux/LinuxSessionEvents.h"
#include "support/EventWait.h"

namespace {

// The orderly ends the system asks for arrive through the event loop, never as a sudden death.
TEST(LinuxSessionEvents, SigtermAndSighupEachEndTheSessionThroughTheEventLoop)
{
    platform::LinuxSessionEvents session;
    int ends = 0;
    session.OnEnd = [&ends] { ++ends; };
    for (const int signalNumber : {SIGHUP, SIGTERM}) {
        const int before = ends;
        ASSERT_EQ(std::raise(signalNumber), 0);
        EXPECT_EQ(ends, before) << "not from inside the signal handler";
        EXPECT_TRUE(WaitUntil([&] { return ends == before + 1; })) << "signal " << signalNumber;
    }
}

}  // namespace
