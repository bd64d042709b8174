// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cmath>
#include <cstdint>

// Every measured value becomes a whole number this way: to the nearest, a half to the even
// neighbour (12.5 -> 12, 37.5 -> 38). std::nearbyint rounds so in the default rounding mode.
inline std::int64_t RoundHalfEven(double value)
{
    return static_cast<std::int64_t>(std::nearbyint(value));
}
