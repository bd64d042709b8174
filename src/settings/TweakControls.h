// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The controls of the group "Optimisations Windows ", as the memory tweaks see them. Ticking or
// clearing a box goes through the box's own setter, so its handler runs when its state changes;
// selecting an item from code runs no handler.
class ITweakControls {
public:
    enum class Box {
        KernelPaging,      // Cbxnoyau: "DisablePagingExecutive"
        SecondLevelCache,  // cbxCacheNiveau2: "SecondLevelDataCache"
        ClearSwap,         // cbxSwap: "ClearPageFileAtShutdown"
    };

    virtual ~ITweakControls() = default;

    virtual bool IsTicked(Box box) const = 0;
    virtual void SetTicked(Box box, bool ticked) = 0;
    // CbCache's item, -1 when the user typed a text instead of picking one.
    virtual int CacheItem() const = 0;
    virtual void SelectCacheItem(int index) = 0;
    // RGLargeSystemCache's item.
    virtual int LargeCacheItem() const = 0;
    virtual void SelectLargeCacheItem(int index) = 0;
    virtual void DisableLargeCache() = 0;
};
