// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <algorithm>

// The window's opacity (0 to 1) for a position of the opacity track bar (0 to 255). The position
// is kept and stored as the user set it, but a window less than a tenth opaque could be neither
// seen nor clicked back to a higher setting: 26 of 255 is the least applied.
inline double WindowOpacity(int position)
{
    constexpr int kLeastPosition = 26;
    return std::max(position, kLeastPosition) / 255.0;
}
