// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "platform/TickClock.h"

namespace platform {

// CLOCK_MONOTONIC in milliseconds, cut to 32 bits: it wraps like the Windows tick count.
class LinuxTickClock : public ITickClock {
public:
    std::uint32_t TickCount() override;
};

}  // namespace platform
