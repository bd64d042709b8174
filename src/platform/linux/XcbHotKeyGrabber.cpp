// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/XcbHotKeyGrabber.h"

#include "platform/linux/PhysicalKeys.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <array>
#include <cstdlib>
#include <optional>

namespace platform {

namespace {

// The lock modifiers a grab must not depend on: CapsLock, and NumLock where X11 usually puts it.
constexpr std::array<std::uint16_t, 4> kLockVariants = {
    0, XCB_MOD_MASK_LOCK, XCB_MOD_MASK_2, XCB_MOD_MASK_LOCK | XCB_MOD_MASK_2};

constexpr std::uint16_t kModifierBits = 0xFF;  // the rest of an event's state are mouse buttons

// Qt's connection to the X server, or null: under offscreen the X11 interface may be there with
// no connection behind it.
xcb_connection_t* XConnection()
{
    auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    if (app == nullptr)
        return nullptr;
    auto* x11 = app->nativeInterface<QNativeInterface::QX11Application>();
    return x11 != nullptr ? x11->connection() : nullptr;
}

std::optional<std::uint16_t> ModifierMask(Qt::KeyboardModifiers modifiers)
{
    if (modifiers & ~(Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier |
                      Qt::KeypadModifier))
        return std::nullopt;
    std::uint16_t mask = 0;
    if (modifiers & Qt::ShiftModifier)
        mask |= XCB_MOD_MASK_SHIFT;
    if (modifiers & Qt::ControlModifier)
        mask |= XCB_MOD_MASK_CONTROL;
    if (modifiers & Qt::AltModifier)
        mask |= XCB_MOD_MASK_1;
    if (modifiers & Qt::MetaModifier)
        mask |= XCB_MOD_MASK_4;
    return mask;
}

// The current layout's first group, read from the server each time: the user may switch layouts
// while the program runs.
PhysicalKeys CurrentLayout(xcb_connection_t* connection)
{
    std::vector<PhysicalKeys::Row> rows;
    xcb_key_symbols_t* symbols = xcb_key_symbols_alloc(connection);
    if (symbols == nullptr)
        return PhysicalKeys(rows);
    const xcb_setup_t* setup = xcb_get_setup(connection);
    for (int keyCode = setup->min_keycode; keyCode <= setup->max_keycode; ++keyCode) {
        const auto code = static_cast<xcb_keycode_t>(keyCode);
        rows.push_back({code, xcb_key_symbols_get_keysym(symbols, code, 0), xcb_key_symbols_get_keysym(symbols, code, 1)});
    }
    xcb_key_symbols_free(symbols);
    return PhysicalKeys(std::move(rows));
}

}  // namespace

XcbHotKeyGrabber::XcbHotKeyGrabber()
{
    if (QCoreApplication* app = QCoreApplication::instance())
        app->installNativeEventFilter(this);
}

XcbHotKeyGrabber::~XcbHotKeyGrabber()
{
    Unregister();
}

std::optional<QKeyCombination> XcbHotKeyGrabber::KeyOf(std::uint32_t nativeScanCode) const
{
    xcb_connection_t* connection = XConnection();
    if (connection == nullptr || nativeScanCode > 0xFF)
        return std::nullopt;
    return CurrentLayout(connection).KeyOf(static_cast<std::uint8_t>(nativeScanCode));
}

bool XcbHotKeyGrabber::Register(QKeyCombination combination)
{
    Unregister();
    xcb_connection_t* connection = XConnection();
    const std::optional<std::uint16_t> modifiers = ModifierMask(combination.keyboardModifiers());
    if (connection == nullptr || !modifiers)
        return false;
    const std::vector<std::uint8_t> keyCodes = CurrentLayout(connection).KeyCodesOf(combination);
    if (keyCodes.empty())
        return false;

    struct Request {
        Grab grab;
        xcb_void_cookie_t cookie;
    };
    std::vector<Request> requests;
    for (xcb_screen_iterator_t screen = xcb_setup_roots_iterator(xcb_get_setup(connection)); screen.rem;
         xcb_screen_next(&screen)) {
        for (const std::uint8_t keyCode : keyCodes) {
            for (std::uint16_t lock : kLockVariants) {
                const Grab grab{screen.data->root, keyCode, static_cast<std::uint16_t>(*modifiers | lock)};
                // Not owner_events: even a press into one of our own windows must come as the
                // hot key, reported on the root window, rather than as typing.
                requests.push_back({grab, xcb_grab_key_checked(connection, 0, grab.root, grab.modifiers,
                                                               grab.keyCode, XCB_GRAB_MODE_ASYNC,
                                                               XCB_GRAB_MODE_ASYNC)});
            }
        }
    }
    // Another client holding any variant answers BadAccess; then the key is not ours, and the
    // variants that did succeed are given back rather than left half-working.
    bool refused = false;
    for (const Request& request : requests) {
        if (xcb_generic_error_t* error = xcb_request_check(connection, request.cookie)) {
            std::free(error);
            refused = true;
        } else {
            grabs_.push_back(request.grab);
        }
    }
    if (refused) {
        Unregister();
        return false;
    }
    return true;
}

void XcbHotKeyGrabber::Unregister()
{
    if (grabs_.empty())
        return;
    // Without the connection the server has already dropped our grabs with it.
    if (xcb_connection_t* connection = XConnection()) {
        for (const Grab& grab : grabs_)
            xcb_ungrab_key(connection, grab.keyCode, grab.root, grab.modifiers);
        xcb_flush(connection);
    }
    grabs_.clear();
}

bool XcbHotKeyGrabber::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (grabs_.empty() || eventType != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7F) != XCB_KEY_PRESS)
        return false;
    const auto* press = reinterpret_cast<const xcb_key_press_event_t*>(event);
    const std::uint16_t state = press->state & kModifierBits;
    for (const Grab& grab : grabs_) {
        if (grab.root == press->event && grab.keyCode == press->detail && grab.modifiers == state) {
            // The handler may change or drop the grab: nothing of it is used after the call.
            if (OnPressed)
                OnPressed();
            return true;
        }
    }
    return false;
}

}  // namespace platform
