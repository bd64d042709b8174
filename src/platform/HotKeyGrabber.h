// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QKeyCombination>
#include <cstdint>
#include <functional>
#include <optional>

namespace platform {

// One system-wide key combination, pressed from any window of the desktop.
class IHotKeyGrabber {
public:
    virtual ~IHotKeyGrabber() = default;
    // Takes the combination in place of any held before. False when the desktop refuses it
    // (another program holds it, the key is not on the keyboard, no X server): nothing is held
    // then.
    virtual bool Register(QKeyCombination combination) = 0;
    // Gives back the combination held, if any.
    virtual void Unregister() = 0;
    // False when this desktop gives programs no way at all to hold a system-wide key (a Wayland
    // session whose desktop portal offers no global shortcuts): the user must bind one there.
    virtual bool CanHoldKeys() const { return true; }
    // The key a key event's native scan code stands for, named as Register() takes keys: by the
    // key pressed whatever it types (the French "1/&" key is Qt::Key_1), with Qt::KeypadModifier
    // on the keypad. Nothing where the desktop can't tell; the key Qt reports stands then.
    virtual std::optional<QKeyCombination> KeyOf(std::uint32_t /*nativeScanCode*/) const { return std::nullopt; }

    // Fired on every press of the held combination, on the user-interface thread.
    std::function<void()> OnPressed;
};

}  // namespace platform
