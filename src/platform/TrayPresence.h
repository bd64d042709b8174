// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <functional>

namespace platform {

// Told when the desktop's notification area goes away (its panel quits or restarts): an icon is
// no longer seen, and a window hidden in the tray can no longer be reached there, until a tray
// comes back (ITrayHost's HostRecreated notice). Offered by tray hosts that can tell.
class ITrayPresence {
public:
    virtual ~ITrayPresence() = default;
    // Delivered on the user-interface thread; an empty receiver drops the notice.
    virtual void SetGoneReceiver(std::function<void()> receiver) = 0;
};

}  // namespace platform
