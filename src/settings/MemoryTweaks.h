// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>
#include <array>
#include <cstdint>
#include <functional>

class ITweakControls;
class TAppRegistry;

// Five values of the machine's memory-management key that the "Optimisations Windows " controls
// write as soon as the user changes them, and a refresh that keeps the controls in step with the
// key, changes made by other programs included. The key is only opened, never created, and opens
// for an administrator only; nothing here ever shows a message.
class TMemoryTweaks {
public:
    // "IOPageLockLimit" written for each item of CbCache; the last, "( Défaut non optimisé )",
    // also stands for any number not in the list.
    static constexpr std::array<std::int32_t, 6> kCacheSizes = {4096, 8192, 16384, 32768, 65536, 512};

    TMemoryTweaks(TAppRegistry& registry, ITweakControls& controls);

    // The write handlers, one value each.
    void WriteCacheSize();
    void WriteSecondLevelCache(std::int32_t cacheLevel2);
    void WriteLargeSystemCache();
    void WriteKernelPaging();
    void WriteClearSwap();

    // Sets the five controls from the key; a value that cannot be read leaves its control alone.
    // Boxes whose state changes run their handlers, which write the new state back. On a system
    // outside the NT family the "LargeSystemCache" group is disabled instead.
    void Refresh(std::int32_t cacheLevel2, bool ntFamily);

    // The "Optimiser les performances du noyau système" box is offered on the NT family with at
    // least 511 MB installed.
    static bool KernelPagingOffered(bool ntFamily, std::int64_t installedMb) { return ntFamily && installedMb >= 511; }

private:
    void WriteValue(const char* name, std::int32_t value);
    // Reads one value from the open key, closes the key, and hands the value to apply; a value
    // that cannot be read is handed to nobody.
    void ReadInto(const char* name, const std::function<void(std::int32_t)>& apply);

    TAppRegistry& registry_;
    ITweakControls& controls_;
};
