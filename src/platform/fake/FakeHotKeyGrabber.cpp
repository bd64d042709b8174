// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/fake/FakeHotKeyGrabber.h"

namespace platform {

bool FakeHotKeyGrabber::Register(QKeyCombination combination)
{
    Unregister();
    registrations.push_back(combination);
    if (taken.count(combination.toCombined()) != 0)
        return false;
    held = combination;
    return true;
}

void FakeHotKeyGrabber::Unregister()
{
    if (!held)
        return;
    held.reset();
    ++unregistrations;
}

std::optional<QKeyCombination> FakeHotKeyGrabber::KeyOf(std::uint32_t nativeScanCode) const
{
    const auto key = keyboard.find(nativeScanCode);
    return key != keyboard.end() ? std::optional(key->second) : std::nullopt;
}

void FakeHotKeyGrabber::Press(QKeyCombination combination)
{
    if (held == combination && OnPressed)
        OnPressed();
}

}  // namespace platform
