// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QAbstractNativeEventFilter>
#include <QKeyCombination>
#include <cstdint>
#include <vector>

#include "platform/HotKeyGrabber.h"

namespace platform {

// The hot key on an X11 desktop: a passive grab of the key on every root window, once for each
// state of NumLock and CapsLock so that neither lock disables it. Keys are found by what they
// are on the current layout (PhysicalKeys), the way the hot-key field names them. The presses come back on Qt's
// own X connection. Without an X connection (Wayland, offscreen) nothing can be held. Build it
// after the application object.
class XcbHotKeyGrabber : public IHotKeyGrabber, private QAbstractNativeEventFilter {
public:
    XcbHotKeyGrabber();
    ~XcbHotKeyGrabber() override;

    bool Register(QKeyCombination combination) override;
    void Unregister() override;
    std::optional<QKeyCombination> KeyOf(std::uint32_t nativeScanCode) const override;

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
