// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>

#include "platform/Rounding.h"
#include "platform/MemoryApi.h"

// Installed memory in whole megabytes, as the program shows it and sizes its runs by.
inline std::int64_t InstalledMegabytes(std::int64_t totalBytes)
{
    return RoundHalfEven(static_cast<double>(totalBytes) / platform::IMemory::kBlockSize);
}

// The "Système" method recovers half of the installed memory (255 MB -> 128, 253 MB -> 126).
inline std::int32_t SystemMethodMegabytes(std::int64_t installedMb)
{
    return static_cast<std::int32_t>(RoundHalfEven(static_cast<double>(installedMb) / 2.0));
}

// Gain between two free-memory figures, in whole megabytes (may be zero or negative).
inline std::int64_t GainMegabytes(std::int64_t freeBefore, std::int64_t freeAfter)
{
    return RoundHalfEven(static_cast<double>(freeAfter - freeBefore) / 1024 / 1024);
}
