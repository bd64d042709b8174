// SPDX-License-Identifier: GPL-3.0-or-later
#include "hotkey/GlobalHotKey.h"

#include <optional>
#include <utility>

TGlobalHotKey::TGlobalHotKey(platform::IHotKeyGrabber& grabber, TErrorHandler errorHandler, QObject* owner)
    : QObject(owner), grabber_(grabber), errorHandler_(std::move(errorHandler))
{
    grabber_.OnPressed = [this] { Pressed(); };
}

TGlobalHotKey::~TGlobalHotKey()
{
    SetHotKey(0);
    grabber_.OnPressed = nullptr;
}

void TGlobalHotKey::SetActive(bool active)
{
    if (active == active_)
        return;
    active_ = active;
    if (active_)
        Grab();
    else if (hotKey_ != 0)
        grabber_.Unregister();
}

void TGlobalHotKey::SetHotKey(TShortCut hotKey)
{
    if (hotKey == hotKey_)
        return;
    hotKey_ = hotKey;
    if (active_)
        Grab();
}

// The combination held so far is given back first, whether or not the new one can be had: a
// changed hot key must never leave the old one working.
void TGlobalHotKey::Grab()
{
    grabber_.Unregister();
    if (hotKey_ == 0)
        return;
    if (const std::optional<QKeyCombination> combination = ShortCutToKeyCombination(hotKey_))
        grabber_.Register(*combination);
}

// Presses arrive from the desktop's event dispatch: nothing may be thrown back into it.
void TGlobalHotKey::Pressed()
{
    if (!OnKeyDown)
        return;
    const TKeyAndShift decoded = ShortCutToKey(hotKey_);
    try {
        OnKeyDown(this, decoded.key, decoded.shift);
    } catch (const std::exception& error) {
        if (errorHandler_)
            errorHandler_(error);
    } catch (...) {
        if (errorHandler_)
            errorHandler_(ProgramError("Unknown error in the hot key handler"));
    }
}
