// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QObject>
#include <cstdint>
#include <exception>
#include <functional>

#include "hotkey/ShortCut.h"
#include "platform/Platform.h"

// A key combination that works from anywhere on the desktop, not only in this program's windows.
// While active, the combination of HotKey is held with the desktop; a press of it fires
// OnKeyDown. A combination the desktop refuses (taken by another program) is simply not held.
class TGlobalHotKey : public QObject {
public:
    using TKeyEvent = std::function<void(QObject* sender, std::uint16_t key, Qt::KeyboardModifiers shift)>;
    // The application's general error handler: shows the error and lets the program carry on.
    using TErrorHandler = std::function<void(const std::exception& error)>;

    TGlobalHotKey(platform::IHotKeyGrabber& grabber, TErrorHandler errorHandler, QObject* owner = nullptr);
    ~TGlobalHotKey() override;

    // False on a desktop that lets no program hold a system-wide key.
    bool CanBeHeld() const { return grabber_.CanHoldKeys(); }
    bool Active() const { return active_; }
    void SetActive(bool active);
    TShortCut HotKey() const { return hotKey_; }
    void SetHotKey(TShortCut hotKey);

    // Called with the key and the shift state of HotKey.
    TKeyEvent OnKeyDown;

private:
    void Grab();
    void Pressed();

    platform::IHotKeyGrabber& grabber_;
    TErrorHandler errorHandler_;
    bool active_ = true;
    TShortCut hotKey_ = 0;
};
