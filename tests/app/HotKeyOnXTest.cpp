// SPDX-License-Identifier: GPL-3.0-or-later
// The hot-key field and the desktop-wide hot key of the real window on a live X server, typed
// with xdotool on a US and a French layout. Skips unless run on Qt's xcb platform (the HotKeyOnX
// run under xsession.sh).
#include <QProcess>
#include <QStandardPaths>
#include <QtGui/qguiapplication_platform.h>

#include "app/MainWindowFixture.h"
#include "platform/linux/XcbHotKeyGrabber.h"
#include "support/EventWait.h"

namespace {

class HotKeyOnX : public MainWindowFixture {
protected:
    void SetUp() override
    {
        auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
        if (x11 == nullptr || x11->connection() == nullptr)
            GTEST_SKIP() << "needs QT_QPA_PLATFORM=xcb on a live X server";
        for (const char* tool : {"xdotool", "setxkbmap"})
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                GTEST_SKIP() << "needs " << tool;
        MainWindowFixture::SetUp();
        window = std::make_unique<TfMainMem>(TFormServices{memory, events, tray, grabber, cpuUsage, perfData, clock, version,
                                                           systemInfo, processor, IdentifyWindowsVersion(version), registry,
                                                           downloader, shell});
        window->Timer4->SetEnabled(false);  // the window stays up to be typed into
        window->show();
        window->activateWindow();
        ASSERT_TRUE(WaitUntil([this] { return window->isActiveWindow(); }));
        window->ui.Memoire->setCurrentWidget(window->ui.TabSheet3);
        window->ui.HotKey1->setFocus();
        ASSERT_TRUE(WaitUntil([this] { return window->ui.HotKey1->hasFocus(); }));
    }
    void TearDown() override
    {
        window.reset();
        SetLayout("us");
        MainWindowFixture::TearDown();
    }

    static bool SetLayout(const char* layout)
    {
        return QProcess::execute(QStringLiteral("setxkbmap"), {QString::fromLatin1(layout)}) == 0;
    }
    static void Type(const char* keys)
    {
        ASSERT_EQ(QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("key"), QString::fromLatin1(keys)}), 0);
    }

    // Types the combination into the field, checks what it shows, then presses it again from the
    // desktop: a recovery run starts.
    void TypeAndPress(const char* keys, const QString& shown)
    {
        Type(keys);
        ASSERT_TRUE(WaitUntil([&] { return window->ui.HotKey1->keySequence().toString(QKeySequence::PortableText) == shown; }))
            << keys << " shows " << window->ui.HotKey1->keySequence().toString().toStdString();
        memory.commits = 0;
        Type(keys);
        EXPECT_TRUE(WaitUntil([this] { return memory.commits > 0; })) << keys << " pressed again starts a run";
    }

    platform::XcbHotKeyGrabber grabber;
    std::unique_ptr<TfMainMem> window;
};

TEST_F(HotKeyOnX, OnAUsLayoutShiftedDigitsAreTheDigits)
{
    ASSERT_TRUE(SetLayout("us"));
    TypeAndPress("ctrl+shift+1", QStringLiteral("Ctrl+Shift+1"));
    TypeAndPress("alt+F9", QStringLiteral("Alt+F9"));
}

TEST_F(HotKeyOnX, OnAFrenchLayoutTheDigitRowAndTheAccentedKeysWork)
{
    ASSERT_TRUE(SetLayout("fr"));
    TypeAndPress("ctrl+alt+ampersand", QStringLiteral("Ctrl+Alt+1"));
    TypeAndPress("ctrl+alt+eacute", QStringLiteral("Ctrl+Alt+2"));
    TypeAndPress("ctrl+alt+ccedilla", QStringLiteral("Ctrl+Alt+9"));
    TypeAndPress("ctrl+alt+agrave", QStringLiteral("Ctrl+Alt+0"));
    TypeAndPress("ctrl+alt+ugrave", QStringLiteral("Ctrl+Alt+Ù"));
    TypeAndPress("ctrl+alt+a", QStringLiteral("Ctrl+Alt+A"));
}

}  // namespace
