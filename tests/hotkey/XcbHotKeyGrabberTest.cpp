// SPDX-License-Identifier: GPL-3.0-or-later
// The X11 hot key against a real X server. The tests that need one skip unless the program runs
// on Qt's xcb platform with DISPLAY set, e.g.:
//   Xvfb :91 -nolisten tcp & DISPLAY=:91 QT_QPA_PLATFORM=xcb ./XcbHotKeyGrabberTest
// Key presses are typed with xdotool.
#include <gmock/gmock.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QKeyEvent>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <QWidget>
#include <QWindow>
#include <QtGui/qguiapplication_platform.h>
#include <X11/keysym.h>
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <cstdlib>
#include <functional>

#include "hotkey/GlobalHotKey.h"
#include "platform/linux/XcbHotKeyGrabber.h"

namespace {

using platform::XcbHotKeyGrabber;

const QKeyCombination kCtrlShiftR(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_R);
const QKeyCombination kCtrlAltT(Qt::ControlModifier | Qt::AltModifier, Qt::Key_T);
constexpr std::uint16_t kCtrlAlt = XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1;

xcb_connection_t* QtXConnection()
{
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 != nullptr ? x11->connection() : nullptr;
}

TEST(XcbHotKeyGrabberWithoutX, RegisteringFailsQuietly)
{
    if (QtXConnection() != nullptr)
        GTEST_SKIP() << "an X server is there";
    XcbHotKeyGrabber grabber;
    EXPECT_FALSE(grabber.Register(kCtrlShiftR));
    grabber.Unregister();
}

// Another X client of the same server, to hold keys or to find out whether we still hold them.
class OtherClient {
public:
    OtherClient() : connection_(xcb_connect(nullptr, nullptr))
    {
        root_ = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
    }
    ~OtherClient() { xcb_disconnect(connection_); }

    bool Grab(xcb_keysym_t keySym, std::uint16_t modifiers)
    {
        xcb_key_symbols_t* symbols = xcb_key_symbols_alloc(connection_);
        xcb_keycode_t* keyCodes = xcb_key_symbols_get_keycode(symbols, keySym);
        const xcb_keycode_t keyCode = keyCodes != nullptr ? keyCodes[0] : XCB_NO_SYMBOL;
        std::free(keyCodes);
        xcb_key_symbols_free(symbols);
        xcb_generic_error_t* error = xcb_request_check(
            connection_, xcb_grab_key_checked(connection_, 0, root_, modifiers, keyCode, XCB_GRAB_MODE_ASYNC,
                                              XCB_GRAB_MODE_ASYNC));
        std::free(error);
        return keyCode != XCB_NO_SYMBOL && error == nullptr;
    }

private:
    xcb_connection_t* connection_;
    xcb_window_t root_;
};

class XcbHotKeyGrabberLiveX : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (QtXConnection() == nullptr)
            GTEST_SKIP() << "needs QT_QPA_PLATFORM=xcb and DISPLAY on a live X server";
        if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
            GTEST_SKIP() << "needs xdotool";
        grabber.OnPressed = [this] { ++presses; };
    }

    static void Type(const char* keys)
    {
        ASSERT_EQ(QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("key"), QString::fromLatin1(keys)}),
                  0);
    }

    // Turns the event loop until the condition holds; the deadline only ends a test that would
    // otherwise hang.
    static bool WaitFor(const std::function<bool()>& condition)
    {
        const QDeadlineTimer deadline(20000);
        while (!condition()) {
            if (deadline.hasExpired())
                return false;
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
            QThread::msleep(5);
        }
        return true;
    }

    XcbHotKeyGrabber grabber;
    int presses = 0;
};

TEST_F(XcbHotKeyGrabberLiveX, PressArrivesWhateverTheLocks)
{
    ASSERT_TRUE(grabber.Register(kCtrlShiftR));
    Type("ctrl+shift+r");
    EXPECT_TRUE(WaitFor([this] { return presses == 1; }));

    Type("Num_Lock");
    Type("ctrl+shift+r");
    EXPECT_TRUE(WaitFor([this] { return presses == 2; }));
    Type("Caps_Lock");
    Type("ctrl+shift+r");
    EXPECT_TRUE(WaitFor([this] { return presses == 3; }));
    Type("Num_Lock");
    Type("Caps_Lock");
}

// What was typed into a widget.
class TypedText : public QObject {
public:
    QString text;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress)
            text += static_cast<QKeyEvent*>(event)->text();
        return false;
    }
};

TEST_F(XcbHotKeyGrabberLiveX, PressIntoOurOwnWindowIsTheHotKeyNotTyping)
{
    QWidget window;
    TypedText typed;
    window.installEventFilter(&typed);
    window.show();
    ASSERT_TRUE(WaitFor([&] { return window.windowHandle()->isExposed(); }));
    window.activateWindow();
    ASSERT_TRUE(WaitFor([&] { return window.isActiveWindow(); }));
    Type("x");  // only once a key reaches the window does it have the focus
    ASSERT_TRUE(WaitFor([&] { return typed.text == QStringLiteral("x"); }));

    ASSERT_TRUE(grabber.Register(kCtrlShiftR));
    Type("ctrl+shift+r");
    Type("y");
    ASSERT_TRUE(WaitFor([&] { return typed.text.endsWith(QLatin1Char('y')); }));
    EXPECT_EQ(typed.text, QStringLiteral("xy"));
    EXPECT_EQ(presses, 1);
}

TEST_F(XcbHotKeyGrabberLiveX, ChangingOrDroppingTheKeyGivesItBack)
{
    ASSERT_TRUE(grabber.Register(kCtrlShiftR));
    EXPECT_FALSE(OtherClient().Grab(XK_r, XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_SHIFT));

    ASSERT_TRUE(grabber.Register(kCtrlAltT));
    EXPECT_TRUE(OtherClient().Grab(XK_r, XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_SHIFT));
    Type("ctrl+alt+t");
    EXPECT_TRUE(WaitFor([this] { return presses == 1; }));

    grabber.Unregister();
    EXPECT_TRUE(OtherClient().Grab(XK_t, kCtrlAlt));
}

TEST_F(XcbHotKeyGrabberLiveX, KeyHeldByAnotherProgramIsRefusedWhole)
{
    {
        OtherClient holder;
        // It holds only the CapsLock variant: the others must not stay half-grabbed by us.
        ASSERT_TRUE(holder.Grab(XK_t, kCtrlAlt | XCB_MOD_MASK_LOCK));
        EXPECT_FALSE(grabber.Register(kCtrlAltT));
        EXPECT_TRUE(OtherClient().Grab(XK_t, kCtrlAlt));
    }
    EXPECT_TRUE(grabber.Register(kCtrlAltT));
}

TEST_F(XcbHotKeyGrabberLiveX, DestructionGivesTheKeyBack)
{
    {
        XcbHotKeyGrabber other;
        ASSERT_TRUE(other.Register(kCtrlAltT));
    }
    EXPECT_TRUE(OtherClient().Grab(XK_t, kCtrlAlt));
}

TEST_F(XcbHotKeyGrabberLiveX, GlobalHotKeyFiresFromTheDesktop)
{
    TGlobalHotKey hotKey(grabber, nullptr);
    std::uint16_t key = 0;
    Qt::KeyboardModifiers shift;
    hotKey.OnKeyDown = [&](QObject*, std::uint16_t pressedKey, Qt::KeyboardModifiers pressedShift) {
        key = pressedKey;
        shift = pressedShift;
    };
    hotKey.SetHotKey(kDefaultHotKey);
    Type("ctrl+shift+r");
    ASSERT_TRUE(WaitFor([&] { return key != 0; }));
    EXPECT_EQ(key, 'R');
    EXPECT_EQ(shift, Qt::ControlModifier | Qt::ShiftModifier);
}

// Switches the display's keyboard layout for one test, and back to US after it.
class Layout {
public:
    explicit Layout(const char* name) { ok_ = Set(name); }
    ~Layout() { Set("us"); }
    bool Ok() const { return ok_; }

private:
    static bool Set(const char* name)
    {
        return QProcess::execute(QStringLiteral("setxkbmap"), {QString::fromLatin1(name)}) == 0;
    }
    bool ok_ = false;
};

TEST_F(XcbHotKeyGrabberLiveX, EveryKeyTheLayoutNamesMakesAShortCutThatComesBack)
{
    for (const char* name : {"us", "fr"}) {
        Layout layout(name);
        ASSERT_TRUE(layout.Ok()) << "needs setxkbmap";
        int named = 0;
        for (int keyCode = 8; keyCode <= 255; ++keyCode) {
            const std::optional<QKeyCombination> key = grabber.KeyOf(static_cast<std::uint32_t>(keyCode));
            if (!key)
                continue;
            ++named;
            const QKeyCombination withModifiers(key->keyboardModifiers() | Qt::ControlModifier | Qt::AltModifier, key->key());
            const TShortCut shortCut = KeyCombinationToShortCut(withModifiers);
            EXPECT_NE(shortCut, 0) << name << " key code " << keyCode;
            EXPECT_EQ(ShortCutToKeyCombination(shortCut), withModifiers) << name << " key code " << keyCode;
        }
        EXPECT_GT(named, 60) << name;
    }
}

TEST_F(XcbHotKeyGrabberLiveX, OnAFrenchLayoutTheDigitRowAndItsAccentedKeysAreHotKeys)
{
    Layout french("fr");
    ASSERT_TRUE(french.Ok()) << "needs setxkbmap";
    const std::vector<std::pair<Qt::Key, const char*>> keys = {
        {Qt::Key_1, "ctrl+alt+ampersand"}, {Qt::Key_2, "ctrl+alt+eacute"}, {Qt::Key_7, "ctrl+alt+egrave"},
        {Qt::Key_9, "ctrl+alt+ccedilla"},  {Qt::Key_0, "ctrl+alt+agrave"}, {Qt::Key_Apostrophe, "ctrl+alt+ugrave"},
        {Qt::Key_A, "ctrl+alt+a"},
    };
    for (const auto& [key, typed] : keys) {
        ASSERT_TRUE(grabber.Register(QKeyCombination(Qt::ControlModifier | Qt::AltModifier, key))) << typed;
        const int before = presses;
        Type(typed);
        EXPECT_TRUE(WaitFor([&] { return presses == before + 1; })) << typed;
    }
}

TEST_F(XcbHotKeyGrabberLiveX, ShiftedDigitsAreTheDigitKeys)
{
    ASSERT_TRUE(grabber.Register(QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_1)));
    Type("ctrl+shift+1");
    EXPECT_TRUE(WaitFor([this] { return presses == 1; }));
}

}  // namespace
