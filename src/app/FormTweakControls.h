// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "settings/TweakControls.h"

namespace Ui {
class TfMainMem;
}

// The memory tweaks' view of the group "Optimisations Windows ".
class TFormTweakControls : public ITweakControls {
public:
    explicit TFormTweakControls(Ui::TfMainMem& ui) : ui_(ui) {}

    bool IsTicked(Box box) const override;
    void SetTicked(Box box, bool ticked) override;
    int CacheItem() const override;
    void SelectCacheItem(int index) override;
    int LargeCacheItem() const override;
    void SelectLargeCacheItem(int index) override;
    void DisableLargeCache() override;

private:
    class QCheckBox* CheckBox(Box box) const;

    Ui::TfMainMem& ui_;
};
