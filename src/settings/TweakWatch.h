// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <array>
#include <cstdint>
#include <optional>

class ITweakControls;
class TAppRegistry;

// Spares the memory-tweak refresh its reads when there is nothing new to read: the machine's key
// is read again only when the store's stamp says it may have changed (another program's change
// included) or when the controls no longer show what the last refresh left them showing. A store
// that cannot tell is read every time.
class TTweakWatch {
public:
    bool NeedsRefresh(TAppRegistry& registry, const ITweakControls& controls) const;
    // After a refresh: what it read from and what it left shown.
    void Refreshed(TAppRegistry& registry, const ITweakControls& controls);

private:
    using Shown = std::array<int, 5>;
    static Shown ShownBy(const ITweakControls& controls);

    bool refreshed_ = false;
    std::optional<std::uint64_t> stamp_;
    Shown shown_{};
};
