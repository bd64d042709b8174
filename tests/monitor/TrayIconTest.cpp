// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QMenu>
#include <QTimer>
#include <QWidget>
#include <memory>

#include "monitor/TrayIcon.h"
#include "platform/fake/FakeTrayHost.h"

namespace {

using platform::FakeTrayHost;
using platform::TrayNotice;

// Lets the event loop run until done() holds; the deadline only ends a broken test.
template <typename Done>
bool ProcessEventsUntil(Done done)
{
    const QDeadlineTimer deadline(10000);
    while (!done() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

class TrayIconFixture : public ::testing::Test {
protected:
    TrayIconFixture()
    {
        icon = std::make_unique<TTrayIcon>(host);
        icon->OnClick = [this](QObject* sender) {
            EXPECT_EQ(sender, icon.get());
            ++clicks;
        };
        icon->OnBalloonHintClick = [this](QObject*) { ++balloonClicks; };
    }

    void BindDoubleClick()
    {
        icon->OnDblClick = [this](QObject*) { ++doubleClicks; };
    }
    QTimer* ClickTimer() const { return icon->findChild<QTimer*>(QStringLiteral("clickTimer")); }
    const FakeTrayHost::Record& LastCall() const { return host.calls.back(); }

    FakeTrayHost host;
    std::unique_ptr<TTrayIcon> icon;
    int clicks = 0;
    int doubleClicks = 0;
    int balloonClicks = 0;
};

TEST_F(TrayIconFixture, TheTipIsTheHintCutTo127CharactersAndEmptyWhenHintsAreOff)
{
    const QString longHint = QString(200, QLatin1Char('h'));
    icon->SetHint(longHint);
    EXPECT_EQ(LastCall().call, FakeTrayHost::Call::Modify) << "a new hint is refreshed at once";
    EXPECT_EQ(LastCall().data.tip, longHint.left(127));

    icon->SetHint(QStringLiteral("RAM Libre : 512 MB"));
    EXPECT_EQ(LastCall().data.tip, QStringLiteral("RAM Libre : 512 MB"));

    icon->SetShowHint(false);
    EXPECT_TRUE(LastCall().data.tip.isEmpty());
    EXPECT_EQ(icon->Hint(), QStringLiteral("RAM Libre : 512 MB")) << "the hint itself is kept";
    icon->SetShowHint(true);
    EXPECT_EQ(LastCall().data.tip, QStringLiteral("RAM Libre : 512 MB"));

    icon->SetHint(QString());
    EXPECT_TRUE(LastCall().data.tip.isEmpty());

    // A character outside the basic plane at the cut goes whole, never half of it.
    icon->SetHint(QString(126, QLatin1Char('h')) + QString::fromUtf8("\xF0\x9F\x92\xBE") + QStringLiteral("tail"));
    EXPECT_EQ(LastCall().data.tip, QString(126, QLatin1Char('h')));
}

TEST_F(TrayIconFixture, IconVisibleAddsAndRemovesAndTheStateSetMeanwhileIsShownAtTheNextAdd)
{
    QImage picture(16, 16, QImage::Format_RGB32);
    picture.fill(Qt::red);

    icon->SetHint(QStringLiteral("before"));
    EXPECT_FALSE(host.inTray) << "a new icon is not in the tray";
    icon->SetIconVisible(true);
    EXPECT_TRUE(icon->IconVisible());
    EXPECT_EQ(LastCall().call, FakeTrayHost::Call::Add);
    EXPECT_EQ(host.shown.tip, QStringLiteral("before"));

    icon->SetIcon(picture);
    EXPECT_EQ(host.shown.icon, picture);

    icon->SetIconVisible(false);
    EXPECT_FALSE(icon->IconVisible());
    EXPECT_EQ(LastCall().call, FakeTrayHost::Call::Delete);
    EXPECT_FALSE(host.inTray);

    icon->SetHint(QStringLiteral("while hidden"));
    EXPECT_EQ(LastCall().call, FakeTrayHost::Call::Modify) << "refreshed even when not in the tray";
    EXPECT_FALSE(host.inTray);

    icon->SetIconVisible(true);
    EXPECT_EQ(host.shown.tip, QStringLiteral("while hidden"));
    EXPECT_EQ(host.shown.icon, picture);
    icon->SetIconVisible(true);
    EXPECT_EQ(host.Count(FakeTrayHost::Call::Add), 3) << "showing a shown icon adds it again, harmlessly";
}

TEST_F(TrayIconFixture, ABalloonFirstClearsTheOldOneAndIsCutToTheTraysLimits)
{
    icon->SetIconVisible(true);
    const auto before = host.calls.size();
    icon->PopBalloon(QString(70, QLatin1Char('t')), QString(300, QLatin1Char('x')),
                     platform::BalloonIcon::Information, 10);

    ASSERT_EQ(host.calls.size(), before + 2);
    const FakeTrayHost::Record& clear = host.calls[before];
    const FakeTrayHost::Record& show = host.calls[before + 1];
    EXPECT_EQ(clear.call, FakeTrayHost::Call::Modify);
    ASSERT_TRUE(clear.data.balloon.has_value());
    EXPECT_TRUE(clear.data.balloon->text.isEmpty());
    EXPECT_EQ(show.call, FakeTrayHost::Call::Modify);
    ASSERT_TRUE(show.data.balloon.has_value());
    EXPECT_EQ(show.data.balloon->title, QString(63, QLatin1Char('t')));
    EXPECT_EQ(show.data.balloon->text, QString(255, QLatin1Char('x')));
    EXPECT_EQ(show.data.balloon->icon, platform::BalloonIcon::Information);
    EXPECT_EQ(show.data.balloon->timeoutMs, 10000);
    EXPECT_EQ(host.balloons.size(), 1u);

    icon->SetHint(QStringLiteral("next tick"));
    EXPECT_FALSE(LastCall().data.balloon.has_value()) << "an ordinary refresh shows the balloon no second time";

    icon->PopBalloon(QStringLiteral("a"), QStringLiteral("b"), platform::BalloonIcon::Warning, 300);
    EXPECT_EQ(LastCall().data.balloon->timeoutMs, 255000) << "the time is a byte of seconds, not wrapped";
    icon->PopBalloon(QStringLiteral("a"), QStringLiteral("b"), platform::BalloonIcon::Error, -4);
    EXPECT_EQ(LastCall().data.balloon->timeoutMs, 0);
}

TEST_F(TrayIconFixture, WithoutADoubleClickHandlerAClickFiresAtOnce)
{
    host.Raise(TrayNotice::Click);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(ClickTimer()->isActive());
    host.Raise(TrayNotice::DoubleClick);
    EXPECT_EQ(clicks, 1);
}

TEST_F(TrayIconFixture, AClickWaitsOutTheDoubleClickTimeAndADoubleClickNeverAlsoCountsAsAClick)
{
    BindDoubleClick();
    host.doubleClickTime = 0;

    // A double-click: the first click's wait is running when the second click comes.
    host.Raise(TrayNotice::Click);
    EXPECT_EQ(clicks, 0);
    host.Raise(TrayNotice::DoubleClick);
    EXPECT_EQ(doubleClicks, 1);
    ASSERT_TRUE(ProcessEventsUntil([this] { return !ClickTimer()->isActive(); }));
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(doubleClicks, 1);

    // A lone click counts once its wait is over; the double-click seen before does not linger.
    host.Raise(TrayNotice::Click);
    EXPECT_EQ(clicks, 0);
    ASSERT_TRUE(ProcessEventsUntil([this] { return clicks == 1; }));
    EXPECT_EQ(doubleClicks, 1);
}

TEST_F(TrayIconFixture, TheClickWaitIsTheDesktopsDoubleClickTime)
{
    BindDoubleClick();
    host.doubleClickTime = 4321;
    host.Raise(TrayNotice::Click);
    EXPECT_TRUE(ClickTimer()->isActive());
    EXPECT_EQ(ClickTimer()->interval(), 4321);
}

TEST_F(TrayIconFixture, ADisabledIconIgnoresClicksButNotBalloonClicks)
{
    BindDoubleClick();
    QMenu menu;
    icon->SetPopupMenu(&menu);
    icon->SetEnabled(false);

    host.Raise(TrayNotice::Click);
    host.Raise(TrayNotice::DoubleClick);
    host.Raise(TrayNotice::ContextClick);
    EXPECT_FALSE(ClickTimer()->isActive());
    EXPECT_EQ(doubleClicks, 0);
    EXPECT_FALSE(menu.isVisible());

    host.Raise(TrayNotice::BalloonClicked);
    EXPECT_EQ(balloonClicks, 1);
    EXPECT_EQ(clicks, 0);
}

TEST_F(TrayIconFixture, ARightClickOpensTheMenuAtTheCursor)
{
    host.Raise(TrayNotice::ContextClick);  // no menu: nothing to open

    auto menu = std::make_unique<QMenu>();
    menu->addAction(QStringLiteral("&Quitter"));
    icon->SetPopupMenu(menu.get());
    EXPECT_EQ(host.menu, menu.get()) << "a desktop that opens the menu itself has it too";

    host.cursor.reset();
    host.Raise(TrayNotice::ContextClick);
    EXPECT_FALSE(menu->isVisible()) << "without a cursor position there is nowhere to open it";

    host.cursor = QPoint(300, 200);
    host.Raise(TrayNotice::ContextClick);
    EXPECT_TRUE(menu->isVisible());
    menu->close();

    host.Raise(TrayNotice::MiddleClick);
    EXPECT_FALSE(menu->isVisible());

    menu.reset();  // the owner may free its menu first
    EXPECT_EQ(icon->PopupMenu(), nullptr);
    host.Raise(TrayNotice::ContextClick);
}

TEST_F(TrayIconFixture, ARestartedTrayHostGetsAVisibleIconBackButNotAHiddenOne)
{
    icon->SetHint(QStringLiteral("hint"));
    host.Raise(TrayNotice::HostRecreated);
    EXPECT_EQ(host.Count(FakeTrayHost::Call::Add), 0);

    icon->SetIconVisible(true);
    host.inTray = false;  // the tray host died with its icons
    icon->SetHint(QStringLiteral("latest hint"));
    host.Raise(TrayNotice::HostRecreated);
    EXPECT_TRUE(host.inTray);
    EXPECT_EQ(host.Count(FakeTrayHost::Call::Add), 2);
    EXPECT_EQ(host.shown.tip, QStringLiteral("latest hint"));

    icon->SetIconVisible(false);
    host.Raise(TrayNotice::HostRecreated);
    EXPECT_FALSE(host.inTray);
    EXPECT_EQ(host.Count(FakeTrayHost::Call::Add), 2);
}

TEST_F(TrayIconFixture, DestroyingTheIconTakesItOutOfTheTrayAndStopsItsNotices)
{
    icon->SetIconVisible(true);
    icon.reset();
    EXPECT_FALSE(host.inTray);
    EXPECT_FALSE(host.HasReceiver());
}

TEST(TrayIconMinimize, MinimisingTheOwnerWindowHidesItIntoTheTray)
{
    FakeTrayHost host;
    QWidget window;
    auto* icon = new TTrayIcon(host, &window);  // owned by its window, as on the main form
    icon->SetMinimizeToTray(true);
    window.show();

    window.showMinimized();
    ASSERT_TRUE(ProcessEventsUntil([&] { return !window.isVisible(); }));
    EXPECT_TRUE(host.inTray);
    EXPECT_TRUE(icon->IconVisible());
    // Un-minimising a hidden window maps it again on X11, where it stays black: the state is left
    // for the restore to clear.
    EXPECT_TRUE(window.windowState() & Qt::WindowMinimized);
    QCoreApplication::processEvents();
    EXPECT_FALSE(window.isVisible());

    window.setWindowState(window.windowState() & ~Qt::WindowMinimized);  // what a restore from the tray does
    window.show();
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(window.isMinimized());
}

TEST(TrayIconHost, ATrayThatGoesAwayIsTold)
{
    FakeTrayHost host;
    TTrayIcon icon(host);
    int gone = 0;
    icon.OnHostGone = [&](QObject*) { ++gone; };
    icon.SetIconVisible(true);
    host.GoAway();
    EXPECT_EQ(gone, 1);
    EXPECT_TRUE(icon.IconVisible()) << "the icon shows again with the next tray";
    host.available = true;
    host.Raise(TrayNotice::HostRecreated);
    EXPECT_TRUE(host.inTray);
}

TEST(TrayIconMinimize, WithoutMinimizeToTrayTheWindowJustMinimises)
{
    FakeTrayHost host;
    QWidget window;
    new TTrayIcon(host, &window);
    window.show();

    window.showMinimized();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.isMinimized());
    EXPECT_FALSE(host.inTray);
}

}  // namespace

// With no notification area, a window hidden into it could never be brought back.
TEST(TrayIconMinimize, WithoutATrayTheWindowStaysInTheTaskBar)
{
    FakeTrayHost host;
    host.available = false;
    QWidget window;
    auto* icon = new TTrayIcon(host, &window);
    icon->SetMinimizeToTray(true);
    EXPECT_FALSE(icon->TrayAvailable());
    window.show();

    window.showMinimized();
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.isMinimized());
    EXPECT_FALSE(host.inTray);
}
