// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/LinuxTickClock.h"

#include <ctime>

namespace platform {

std::uint32_t LinuxTickClock::TickCount()
{
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    const auto ms = static_cast<std::uint64_t>(now.tv_sec) * 1000 + static_cast<std::uint64_t>(now.tv_nsec) / 1'000'000;
    return static_cast<std::uint32_t>(ms);
}

}  // namespace platform
