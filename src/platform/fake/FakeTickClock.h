// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "platform/TickClock.h"

namespace platform {

// A tick count the test sets and advances; it wraps at 32 bits like the real one.
class FakeTickClock : public ITickClock {
public:
    std::uint32_t TickCount() override { return now += stepPerRead; }
    void Advance(std::uint32_t ms) { now += ms; }

    std::uint32_t now = 0;
    std::uint32_t stepPerRead = 0;  // for code that waits on the clock
};

}  // namespace platform
