// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QKeyCombination>
#include <map>
#include <optional>
#include <set>
#include <vector>

#include "platform/HotKeyGrabber.h"

namespace platform {

// A desktop a test scripts: it records what was asked of it, refuses the combinations marked as
// taken by another program, and lets the test press a key.
class FakeHotKeyGrabber : public IHotKeyGrabber {
public:
    bool Register(QKeyCombination combination) override;
    void Unregister() override;
    bool CanHoldKeys() const override { return canHoldKeys; }
    std::optional<QKeyCombination> KeyOf(std::uint32_t nativeScanCode) const override;

    // Presses a combination anywhere on the desktop: only the one held reaches OnPressed.
    void Press(QKeyCombination combination);

    std::set<int> taken;                      // QKeyCombination::toCombined() of refused keys
    std::optional<QKeyCombination> held;      // what is grabbed now
    std::vector<QKeyCombination> registrations;
    int unregistrations = 0;                  // calls that gave back a held combination
    bool canHoldKeys = true;                  // false: a desktop with no way to hold keys
    std::map<std::uint32_t, QKeyCombination> keyboard;  // the keys by scan code, for KeyOf
};

}  // namespace platform
