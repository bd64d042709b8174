#pragma once
#include <QAbstractNativeEventFilter>
#include <QKeyCombination>
#include <cstdint>
#include <vector>

#include "platform/HotKeyGrabber.h"

namespace platform {

// The hot key on an X11 desktop: a passive grab of the key on every root window, once for each
// state of NumLock and CapsLock so that neither lock disables it. The presses come back on Qt's
// own X connection. Without an X connection (Wayland, offscreen) nothing can be held. Build it
// after the application object.
class XcbHotKeyGrabber : public IHotKeyGrabber, private QAbstractNativeEventFilter {
public:
    XcbHotKeyGrabber();
    ~XcbHotKeyGrabber() override;

    bool Register(QKeyCombination combination) override;
    void Unregister() override;

    // The X key symbol of a combination's key (with the keypad modifier, the keypad's symbol);
    // 0 for a key that has none here.
    static std::uint32_t KeySymOf(QKeyCombination combination);

private:
    struct Grab {
        std::uint32_t root;
        std::uint8_t keyCode;
        std::uint16_t modifiers;
    };

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

    std::vector<Grab> grabs_;
};

}  // namespace platform
