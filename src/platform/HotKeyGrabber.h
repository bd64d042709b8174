#pragma once
#include <QKeyCombination>
#include <functional>

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

    // Fired on every press of the held combination, on the user-interface thread.
    std::function<void()> OnPressed;
};

}  // namespace platform
