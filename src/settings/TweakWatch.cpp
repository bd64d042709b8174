// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/TweakWatch.h"

#include "settings/AppRegistry.h"
#include "settings/TweakControls.h"

bool TTweakWatch::NeedsRefresh(TAppRegistry& registry, const ITweakControls& controls) const
{
    if (!refreshed_ || !stamp_)
        return true;
    return registry.ChangeStamp(platform::RegistryRoot::LocalMachine) != stamp_ || ShownBy(controls) != shown_;
}

void TTweakWatch::Refreshed(TAppRegistry& registry, const ITweakControls& controls)
{
    refreshed_ = true;
    stamp_ = registry.ChangeStamp(platform::RegistryRoot::LocalMachine);
    shown_ = ShownBy(controls);
}

TTweakWatch::Shown TTweakWatch::ShownBy(const ITweakControls& controls)
{
    using Box = ITweakControls::Box;
    return {controls.IsTicked(Box::KernelPaging), controls.IsTicked(Box::SecondLevelCache),
            controls.IsTicked(Box::ClearSwap), controls.CacheItem(), controls.LargeCacheItem()};
}
