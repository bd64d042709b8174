#include "platform/linux/XcbHotKeyGrabber.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>
#include <X11/XF86keysym.h>
#include <X11/keysym.h>
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

struct NamedKey {
    Qt::Key key;
    std::uint32_t keySym;
};

constexpr std::array kNamedKeys = {
    NamedKey{Qt::Key_Backspace, XK_BackSpace},   NamedKey{Qt::Key_Tab, XK_Tab},
    NamedKey{Qt::Key_Clear, XK_Clear},           NamedKey{Qt::Key_Return, XK_Return},
    NamedKey{Qt::Key_Pause, XK_Pause},           NamedKey{Qt::Key_Escape, XK_Escape},
    NamedKey{Qt::Key_Space, XK_space},           NamedKey{Qt::Key_PageUp, XK_Prior},
    NamedKey{Qt::Key_PageDown, XK_Next},         NamedKey{Qt::Key_End, XK_End},
    NamedKey{Qt::Key_Home, XK_Home},             NamedKey{Qt::Key_Left, XK_Left},
    NamedKey{Qt::Key_Up, XK_Up},                 NamedKey{Qt::Key_Right, XK_Right},
    NamedKey{Qt::Key_Down, XK_Down},             NamedKey{Qt::Key_Select, XK_Select},
    NamedKey{Qt::Key_Print, XK_Print},           NamedKey{Qt::Key_Insert, XK_Insert},
    NamedKey{Qt::Key_Delete, XK_Delete},         NamedKey{Qt::Key_Help, XK_Help},
    NamedKey{Qt::Key_Menu, XK_Menu},             NamedKey{Qt::Key_Sleep, XF86XK_Sleep},
    NamedKey{Qt::Key_Semicolon, XK_semicolon},   NamedKey{Qt::Key_Equal, XK_equal},
    NamedKey{Qt::Key_Comma, XK_comma},           NamedKey{Qt::Key_Minus, XK_minus},
    NamedKey{Qt::Key_Period, XK_period},         NamedKey{Qt::Key_Slash, XK_slash},
    NamedKey{Qt::Key_QuoteLeft, XK_grave},       NamedKey{Qt::Key_BracketLeft, XK_bracketleft},
    NamedKey{Qt::Key_Backslash, XK_backslash},   NamedKey{Qt::Key_BracketRight, XK_bracketright},
    NamedKey{Qt::Key_Apostrophe, XK_apostrophe},
};

constexpr std::array kKeypadKeys = {
    NamedKey{Qt::Key_Asterisk, XK_KP_Multiply}, NamedKey{Qt::Key_Plus, XK_KP_Add},
    NamedKey{Qt::Key_Minus, XK_KP_Subtract},    NamedKey{Qt::Key_Period, XK_KP_Decimal},
    NamedKey{Qt::Key_Slash, XK_KP_Divide},
};

constexpr int kFunctionKeys = 35;

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

// The keys that type the symbol in the first layout group, unshifted or shifted. Later groups
// are left out: there the symbol sits on another key, and grabbing that one would fire the hot
// key from a key the user never chose.
std::vector<xcb_keycode_t> KeyCodes(xcb_connection_t* connection, std::uint32_t keySym)
{
    std::vector<xcb_keycode_t> keyCodes;
    xcb_key_symbols_t* symbols = xcb_key_symbols_alloc(connection);
    if (symbols == nullptr)
        return keyCodes;
    const xcb_setup_t* setup = xcb_get_setup(connection);
    for (int keyCode = setup->min_keycode; keyCode <= setup->max_keycode; ++keyCode) {
        for (int column = 0; column < 2; ++column) {
            if (xcb_key_symbols_get_keysym(symbols, static_cast<xcb_keycode_t>(keyCode), column) == keySym) {
                keyCodes.push_back(static_cast<xcb_keycode_t>(keyCode));
                break;
            }
        }
    }
    xcb_key_symbols_free(symbols);
    return keyCodes;
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

std::uint32_t XcbHotKeyGrabber::KeySymOf(QKeyCombination combination)
{
    const Qt::Key key = combination.key();
    if (combination.keyboardModifiers() & Qt::KeypadModifier) {
        if (key >= Qt::Key_0 && key <= Qt::Key_9)
            return XK_KP_0 + (key - Qt::Key_0);
        for (const NamedKey& named : kKeypadKeys) {
            if (named.key == key)
                return named.keySym;
        }
        return 0;
    }
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return XK_a + (key - Qt::Key_A);
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return XK_0 + (key - Qt::Key_0);
    if (key >= Qt::Key_F1 && key < Qt::Key_F1 + kFunctionKeys)
        return XK_F1 + (key - Qt::Key_F1);
    for (const NamedKey& named : kNamedKeys) {
        if (named.key == key)
            return named.keySym;
    }
    return 0;
}

bool XcbHotKeyGrabber::Register(QKeyCombination combination)
{
    Unregister();
    xcb_connection_t* connection = XConnection();
    const std::uint32_t keySym = KeySymOf(combination);
    const std::optional<std::uint16_t> modifiers = ModifierMask(combination.keyboardModifiers());
    if (connection == nullptr || keySym == 0 || !modifiers)
        return false;
    const std::vector<xcb_keycode_t> keyCodes = KeyCodes(connection, keySym);
    if (keyCodes.empty())
        return false;

    struct Request {
        Grab grab;
        xcb_void_cookie_t cookie;
    };
    std::vector<Request> requests;
    for (xcb_screen_iterator_t screen = xcb_setup_roots_iterator(xcb_get_setup(connection)); screen.rem;
         xcb_screen_next(&screen)) {
        for (xcb_keycode_t keyCode : keyCodes) {
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
