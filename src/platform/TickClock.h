// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>

namespace platform {

// Milliseconds since an arbitrary start, as a 32-bit count that wraps about every 49.7 days:
// intervals are taken as unsigned 32-bit differences.
class ITickClock {
public:
    virtual ~ITickClock() = default;
    virtual std::uint32_t TickCount() = 0;
};

}  // namespace platform
