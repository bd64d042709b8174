// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QSystemTrayIcon>
#include <vector>

#include "support/EventWait.h"
#include "support/PrivateBus.h"
#include "support/StandInNotifications.h"
#include "platform/linux/QtTrayHost.h"

namespace {

using platform::TrayNotice;

QImage Checkerboard()
{
    QImage image(16, 16, QImage::Format_ARGB32);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            image.setPixel(x, y, (x + y) % 2 ? qRgb(255, 0, 0) : qRgb(0, 0, 255));
    return image;
}

class QtTrayHostFixture : public ::testing::Test {
protected:
    QtTrayHostFixture() : savedDoubleClickTime(QApplication::doubleClickInterval())
    {
        host.SetReceiver([this](TrayNotice notice) { notices.push_back(notice); });
        // The icon is made when first added, and stays made, hidden, once taken out.
        host.Add({QImage(), QString(), std::nullopt});
        host.Delete();
        tray = host.findChild<QSystemTrayIcon*>();
    }
    ~QtTrayHostFixture() override { QApplication::setDoubleClickInterval(savedDoubleClickTime); }

    // A picture that tells its size by its colour.
    static QImage Plain(int size)
    {
        QImage image(size, size, QImage::Format_ARGB32);
        image.fill(qRgb(size, 0, 0));
        return image;
    }

    const int savedDoubleClickTime;
    platform::QtTrayHost host;
    QSystemTrayIcon* tray = nullptr;
    std::vector<TrayNotice> notices;
};

TEST(QtTrayHost, AChangeBeforeTheFirstAddStartsNothing)
{
    platform::QtTrayHost host;
    host.Modify({Checkerboard(), QStringLiteral("RAM Libre : 512 MB"), platform::TrayBalloon{}});
    EXPECT_EQ(host.findChild<QSystemTrayIcon*>(), nullptr);
    host.Add({Checkerboard(), QStringLiteral("RAM Libre : 500 MB"), std::nullopt});
    QSystemTrayIcon* tray = host.findChild<QSystemTrayIcon*>();
    ASSERT_NE(tray, nullptr);
    EXPECT_EQ(tray->toolTip(), QStringLiteral("RAM Libre : 500 MB")) << "the Add brings the whole content";
}

TEST_F(QtTrayHostFixture, AddModifyAndDeleteDriveTheSystemTrayIcon)
{
    ASSERT_NE(tray, nullptr);
    EXPECT_FALSE(tray->isVisible());

    host.Add({Checkerboard(), QStringLiteral("RAM Libre : 512 MB"), std::nullopt});
    EXPECT_TRUE(tray->isVisible());
    EXPECT_EQ(tray->toolTip(), QStringLiteral("RAM Libre : 512 MB"));

    // With one picture, a larger slot gets it scaled by a whole factor, pixel by pixel: a blended
    // pixel would blur the icon's text.
    const QImage doubled = tray->icon().pixmap(QSize(32, 32)).toImage();
    ASSERT_EQ(doubled.size(), QSize(32, 32));
    for (const QPoint blue : {QPoint(0, 0), QPoint(1, 1), QPoint(4, 0), QPoint(2, 2)})
        EXPECT_EQ(doubled.pixel(blue) & RGB_MASK, 0x0000FFu) << blue.x() << "," << blue.y();
    for (const QPoint red : {QPoint(2, 0), QPoint(3, 1), QPoint(1, 2), QPoint(31, 29)})
        EXPECT_EQ(doubled.pixel(red) & RGB_MASK, 0xFF0000u) << red.x() << "," << red.y();

    // A slot between the two sizes gets the picture unscaled and centred, not a smoothed shrink.
    const QImage slot = tray->icon().pixmap(QSize(22, 22)).toImage();
    ASSERT_EQ(slot.size(), QSize(22, 22));
    EXPECT_EQ(slot.pixel(3, 3) & RGB_MASK, 0x0000FFu);
    EXPECT_EQ(slot.pixel(4, 3) & RGB_MASK, 0xFF0000u);
    EXPECT_EQ(slot.pixel(18, 18) & RGB_MASK, 0x0000FFu);
    EXPECT_EQ(qAlpha(slot.pixel(2, 2)), 0);
    EXPECT_EQ(qAlpha(slot.pixel(19, 19)), 0);

    const qint64 iconKey = tray->icon().cacheKey();
    host.Modify({Checkerboard(), QStringLiteral("RAM Libre : 500 MB"), platform::TrayBalloon{}});
    EXPECT_EQ(tray->toolTip(), QStringLiteral("RAM Libre : 500 MB"));
    EXPECT_EQ(tray->icon().cacheKey(), iconKey) << "an unchanged picture is not sent again";

    host.Modify({Checkerboard(), QStringLiteral("x"),
                 platform::TrayBalloon{QStringLiteral("Mnemora XP"), QStringLiteral("Optimisation"),
                                       platform::BalloonIcon::Information, 10000}});
    EXPECT_TRUE(tray->isVisible());

    host.Delete();
    EXPECT_FALSE(tray->isVisible());
    host.Modify({QImage(), QString(), std::nullopt});
    EXPECT_FALSE(tray->isVisible()) << "a change does not bring a deleted icon back";
    EXPECT_TRUE(tray->icon().isNull());
}

// Each size a tray asks for is the picture drawn for it; sizes in between come from the largest
// picture that fits.
TEST_F(QtTrayHostFixture, ThePictureIsOfferedAtEverySizeItWasDrawnAt)
{
    platform::TrayIconData data{Plain(16), QString(), std::nullopt, {Plain(22), Plain(24), Plain(32), Plain(48)}};
    host.Add(data);
    EXPECT_EQ(tray->icon().availableSizes(),
              (QList<QSize>{QSize(16, 16), QSize(22, 22), QSize(24, 24), QSize(32, 32), QSize(48, 48)}));
    for (const int size : {16, 22, 24, 32, 48}) {
        const QImage drawn = tray->icon().pixmap(QSize(size, size)).toImage();
        ASSERT_EQ(drawn.size(), QSize(size, size));
        EXPECT_EQ(qRed(drawn.pixel(0, 0)), size);
        EXPECT_EQ(qRed(drawn.pixel(size - 1, size - 1)), size);
    }
    const QImage slot = tray->icon().pixmap(QSize(40, 40)).toImage();
    EXPECT_EQ(qRed(slot.pixel(20, 20)), 32);
    EXPECT_EQ(qAlpha(slot.pixel(0, 0)), 0);
    EXPECT_EQ(qRed(tray->icon().pixmap(QSize(96, 96)).toImage().pixel(0, 0)), 48) << "48 doubled";

    const qint64 iconKey = tray->icon().cacheKey();
    data.largerIcons[3] = Plain(47).scaled(48, 48);
    host.Modify(data);
    EXPECT_NE(tray->icon().cacheKey(), iconKey) << "a change in a larger picture alone is shown too";
}

TEST_F(QtTrayHostFixture, TheTraysSignalsBecomeNotices)
{
    QApplication::setDoubleClickInterval(0);  // no two clicks can pair up
    emit tray->activated(QSystemTrayIcon::Trigger);
    emit tray->activated(QSystemTrayIcon::Trigger);
    emit tray->activated(QSystemTrayIcon::DoubleClick);
    emit tray->activated(QSystemTrayIcon::Context);
    emit tray->activated(QSystemTrayIcon::MiddleClick);
    emit tray->activated(QSystemTrayIcon::Unknown);
    emit tray->messageClicked();
    EXPECT_EQ(notices, (std::vector<TrayNotice>{TrayNotice::Click, TrayNotice::Click, TrayNotice::DoubleClick,
                                               TrayNotice::ContextClick, TrayNotice::MiddleClick,
                                               TrayNotice::BalloonClicked}));
}

// A StatusNotifierItem host reports each click as a trigger: the second one within the
// double-click time is the double-click, and a third one starts over.
TEST_F(QtTrayHostFixture, TwoTriggersWithinTheDoubleClickTimeAreADoubleClick)
{
    QApplication::setDoubleClickInterval(3600 * 1000);
    EXPECT_EQ(host.DoubleClickTime(), 3600 * 1000);
    emit tray->activated(QSystemTrayIcon::Trigger);
    emit tray->activated(QSystemTrayIcon::Trigger);
    emit tray->activated(QSystemTrayIcon::Trigger);
    emit tray->activated(QSystemTrayIcon::DoubleClick);
    emit tray->activated(QSystemTrayIcon::Trigger);
    EXPECT_EQ(notices, (std::vector<TrayNotice>{TrayNotice::Click, TrayNotice::DoubleClick, TrayNotice::Click,
                                               TrayNotice::DoubleClick, TrayNotice::Click}));
}

// On a StatusNotifierItem host the menu is the host's to open, and its activation (one click on
// most panels) is what a double-click is on an XEmbed tray.
TEST(QtTrayHostProtocols, AStatusNotifierItemGetsTheMenuAndItsActivationBringsTheWindow)
{
    QMenu menu;
    platform::QtTrayHost host(platform::QtTrayHost::Protocol::StatusNotifierItem);
    std::vector<TrayNotice> notices;
    host.SetReceiver([&](TrayNotice notice) { notices.push_back(notice); });
    host.SetMenu(&menu);
    host.Delete();
    EXPECT_EQ(host.findChild<QSystemTrayIcon*>(), nullptr) << "nothing is made before the icon is needed";
    host.Add({Checkerboard(), QString(), std::nullopt});
    auto* tray = host.findChild<QSystemTrayIcon*>();
    ASSERT_NE(tray, nullptr);
    EXPECT_EQ(tray->contextMenu(), &menu) << "the menu given before the icon was made";
    emit tray->activated(QSystemTrayIcon::Trigger);
    emit tray->activated(QSystemTrayIcon::Trigger);
    emit tray->activated(QSystemTrayIcon::Context);
    EXPECT_EQ(notices, (std::vector<TrayNotice>{TrayNotice::DoubleClick, TrayNotice::DoubleClick,
                                               TrayNotice::ContextClick}));
    host.SetMenu(nullptr);
    EXPECT_EQ(tray->contextMenu(), nullptr);
}

TEST(QtTrayHostProtocols, AnXEmbedTrayLeavesTheMenuToTheProgram)
{
    QMenu menu;
    platform::QtTrayHost host(platform::QtTrayHost::Protocol::XEmbed);
    host.SetMenu(&menu);
    host.Add({Checkerboard(), QString(), std::nullopt});
    EXPECT_EQ(host.findChild<QSystemTrayIcon*>()->contextMenu(), nullptr) << "it would open twice";
}

// On Wayland Qt's XEmbed icon only hooks a signal its X11 platform has, and complains at every
// start: the host does not ask for it there.
TEST(QtTrayHostProtocols, XEmbedIsNotTriedOnWayland)
{
    EXPECT_TRUE(platform::QtTrayHost::XEmbedPossible(QStringLiteral("xcb")));
    EXPECT_FALSE(platform::QtTrayHost::XEmbedPossible(QStringLiteral("wayland")));
    EXPECT_FALSE(platform::QtTrayHost::XEmbedPossible(QStringLiteral("wayland-egl")));
}

TEST(QtTrayHostProtocols, WithoutAHostOnTheBusQtTakesXEmbed)
{
    PrivateBus bus;  // an empty session: no StatusNotifierWatcher
    ASSERT_TRUE(bus.IsUp());
    qputenv("DBUS_SESSION_BUS_ADDRESS", bus.Address().toLocal8Bit());
    EXPECT_EQ(platform::QtTrayHost::ProtocolQtChooses(), platform::QtTrayHost::Protocol::XEmbed);
}

TEST(QtTrayHostBalloons, BalloonsGoToTheNotificationServiceWhereOneRuns)
{
    PrivateBus bus;
    ASSERT_TRUE(bus.IsUp());
    QDBusConnection serviceBus = bus.Connect(QStringLiteral("service"));
    StandInNotifications service({QStringLiteral("actions")});
    ServiceThread thread;  // stops before the service's object goes
    service.moveToThread(thread.Thread());
    serviceBus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &service,
                              QDBusConnection::ExportAllSlots);

    platform::QtTrayHost host(platform::QtTrayHost::Protocol::XEmbed, bus.Connect(QStringLiteral("program")));
    int clicks = 0;
    host.SetReceiver([&](TrayNotice notice) { clicks += notice == TrayNotice::BalloonClicked ? 1 : 0; });
    const platform::TrayBalloon balloon{QStringLiteral("Mnemora XP"), QStringLiteral("Optimisation en cours ..."),
                                        platform::BalloonIcon::Information, 10000};
    host.Add({Checkerboard(), QString(), std::nullopt});

    // No service yet: Qt's own bubble, nothing on the bus.
    host.Modify({Checkerboard(), QString(), balloon});
    ASSERT_TRUE(serviceBus.registerService(QStringLiteral("org.freedesktop.Notifications")));
    host.Modify({Checkerboard(), QString(), platform::TrayBalloon{}});
    host.Modify({Checkerboard(), QString(), balloon});
    ASSERT_TRUE(WaitUntil([&] { return service.Calls().size() == 1; }));
    EXPECT_EQ(service.Calls()[0].body, QStringLiteral("Optimisation en cours ..."));

    // Whatever the tray, a click on the notification is the balloon click.
    ASSERT_TRUE(WaitUntil([&] {
        StandInNotifications::Emit(serviceBus, QStringLiteral("ActionInvoked"), {QVariant::fromValue(uint(1)), QVariant(QStringLiteral("default"))});
        return clicks > 0;
    }));

    // A hidden icon shows no balloon.
    host.Delete();
    host.Modify({Checkerboard(), QString(), balloon});
    QCoreApplication::processEvents();
    EXPECT_EQ(service.Calls().size(), 1u);
}

TEST_F(QtTrayHostFixture, TheCursorPositionCanBeRead)
{
    EXPECT_TRUE(host.CursorPosition().has_value());
}

// Qt draws the balloon itself on an XEmbed tray; this case needs one (the TrayHostOnX run).
class QtTrayHostOnX : public QtTrayHostFixture {
protected:
    static QWidget* Shown(const char* className)
    {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->inherits(className) && window->isVisible())
                return window;
        return nullptr;
    }
    static void Press(QWidget* widget, Qt::MouseButton button)
    {
        const QPointF at(2, 2);
        QMouseEvent press(QEvent::MouseButtonPress, at, widget->mapToGlobal(at), button, button, Qt::NoModifier);
        QApplication::sendEvent(widget, &press);
    }
    QWidget* PopBalloon(const QString& text)
    {
        host.Modify({Checkerboard(), QString(),
                     platform::TrayBalloon{QStringLiteral("Mnemora XP"), text, platform::BalloonIcon::Information, 10000}});
        QWidget* balloon = nullptr;
        WaitUntil([&] { return (balloon = Shown("QBalloonTip")) != nullptr; });
        return balloon;
    }
};

TEST_F(QtTrayHostOnX, OnlyAClickOnTheBalloonItselfIsABalloonClick)
{
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        GTEST_SKIP() << "no XEmbed tray on this display";
    QApplication::setDoubleClickInterval(0);
    host.Add({Checkerboard(), QStringLiteral("tip"), std::nullopt});
    QWidget* icon = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (icon = Shown("QSystemTrayIconSys")) != nullptr; }));

    QWidget* balloon = PopBalloon(QStringLiteral("Optimisation terminée!\n\rQuantitée récupérée : 3 MB."));
    ASSERT_NE(balloon, nullptr);
    QStringList texts;
    for (const QLabel* label : balloon->findChildren<QLabel*>())
        texts << label->text();
    EXPECT_TRUE(texts.contains(QStringLiteral("Optimisation terminée!\nQuantitée récupérée : 3 MB.")))
        << texts.join(QLatin1Char('|')).toStdString();

    Press(icon, Qt::LeftButton);
    ASSERT_NE(PopBalloon(QStringLiteral("Optimisation en cours ...")), nullptr);
    Press(icon, Qt::RightButton);
    EXPECT_EQ(notices, (std::vector<TrayNotice>{TrayNotice::Click, TrayNotice::ContextClick}))
        << "a click on the icon is no balloon click, even with a balloon up";

    balloon = PopBalloon(QStringLiteral("Optimisation en cours ..."));
    ASSERT_NE(balloon, nullptr);
    Press(balloon, Qt::LeftButton);
    EXPECT_EQ(notices.back(), TrayNotice::BalloonClicked);
    EXPECT_EQ(notices.size(), 3u);
}

}  // namespace
