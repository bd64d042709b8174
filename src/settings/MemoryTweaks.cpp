// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/MemoryTweaks.h"

#include <algorithm>

#include "platform/RegistryLocations.h"
#include "settings/AppRegistry.h"
#include "settings/TweakControls.h"

namespace {

using Box = ITweakControls::Box;

const QString kKey = QLatin1String(platform::registry_locations::kMemoryManagementKey);

bool OpenKey(TAppRegistry& registry)
{
    registry.SetRootKey(platform::RegistryRoot::LocalMachine);
    return registry.OpenKey(kKey, false);
}

}  // namespace

TMemoryTweaks::TMemoryTweaks(TAppRegistry& registry, ITweakControls& controls)
    : registry_(registry), controls_(controls)
{
}

void TMemoryTweaks::WriteValue(const char* name, std::int32_t value)
{
    if (!OpenKey(registry_))
        return;
    try {
        registry_.WriteInteger(QLatin1String(name), value);
    } catch (const ERegistryException&) {
        // These values are the system's business: a write that fails is let go without a word.
    }
    registry_.CloseKey();
}

void TMemoryTweaks::WriteCacheSize()
{
    // A typed text picks no item and writes nothing.
    const int item = controls_.CacheItem();
    if (item >= 0 && item < static_cast<int>(kCacheSizes.size()))
        WriteValue("IOPageLockLimit", kCacheSizes[static_cast<std::size_t>(item)]);
}

void TMemoryTweaks::WriteSecondLevelCache(std::int32_t cacheLevel2)
{
    WriteValue("SecondLevelDataCache", controls_.IsTicked(Box::SecondLevelCache) ? cacheLevel2 : 0);
}

void TMemoryTweaks::WriteLargeSystemCache()
{
    WriteValue("LargeSystemCache", controls_.LargeCacheItem() == 0 ? 0 : 1);
}

void TMemoryTweaks::WriteKernelPaging()
{
    WriteValue("DisablePagingExecutive", controls_.IsTicked(Box::KernelPaging) ? 1 : 0);
}

void TMemoryTweaks::WriteClearSwap()
{
    WriteValue("ClearPageFileAtShutdown", controls_.IsTicked(Box::ClearSwap) ? 1 : 0);
}

void TMemoryTweaks::ReadInto(const char* name, const std::function<void(std::int32_t)>& apply)
{
    std::int32_t value = 0;
    try {
        value = registry_.ReadInteger(QLatin1String(name));
    } catch (const ERegistryException&) {
        registry_.CloseKey();
        return;
    }
    // The control is set with the key closed: a box's handler opens the key for itself.
    registry_.CloseKey();
    apply(value);
}

void TMemoryTweaks::Refresh(std::int32_t cacheLevel2, bool ntFamily)
{
    if (!OpenKey(registry_))
        return;
    ReadInto("DisablePagingExecutive", [this](std::int32_t value) { controls_.SetTicked(Box::KernelPaging, value == 1); });
    OpenKey(registry_);
    ReadInto("SecondLevelDataCache",
             [&](std::int32_t value) { controls_.SetTicked(Box::SecondLevelCache, value == cacheLevel2); });
    if (ntFamily) {
        OpenKey(registry_);
        ReadInto("LargeSystemCache", [this](std::int32_t value) { controls_.SelectLargeCacheItem(value == 1 ? 1 : 0); });
    } else {
        controls_.DisableLargeCache();
    }
    OpenKey(registry_);
    ReadInto("IOPageLockLimit", [this](std::int32_t value) {
        const auto known = std::find(kCacheSizes.begin(), kCacheSizes.end(), value);
        controls_.SelectCacheItem(known == kCacheSizes.end() ? static_cast<int>(kCacheSizes.size()) - 1
                                                             : static_cast<int>(known - kCacheSizes.begin()));
    });
    OpenKey(registry_);
    ReadInto("ClearPageFileAtShutdown", [this](std::int32_t value) { controls_.SetTicked(Box::ClearSwap, value == 1); });
}
