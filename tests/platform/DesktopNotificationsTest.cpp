// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <vector>

#include "support/EventWait.h"
#include "support/PrivateBus.h"
#include "support/StandInNotifications.h"
#include "platform/linux/DesktopNotifications.h"

namespace {

using platform::BalloonIcon;
using platform::DesktopNotifications;
using platform::TrayBalloon;

class DesktopNotificationsFixture : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(bus.IsUp()) << "no dbus-daemon to run a private bus"; }

    // The service appears on the bus; it answers from its own thread.
    StandInNotifications* StartService(QStringList capabilities = {QStringLiteral("actions"), QStringLiteral("body")})
    {
        service = std::make_unique<StandInNotifications>(std::move(capabilities));
        service->moveToThread(serviceThread.Thread());
        serviceBus.registerObject(QStringLiteral("/org/freedesktop/Notifications"), service.get(),
                                  QDBusConnection::ExportAllSlots);
        EXPECT_TRUE(serviceBus.registerService(QStringLiteral("org.freedesktop.Notifications")));
        return service.get();
    }

    size_t CallCount() const { return service->Calls().size(); }
    // A round trip to the service: whatever the program sent before has been handled after it.
    void Settle()
    {
        QDBusMessage ping = QDBusMessage::createMethodCall(QStringLiteral("org.freedesktop.Notifications"),
                                                           QStringLiteral("/org/freedesktop/Notifications"),
                                                           QStringLiteral("org.freedesktop.Notifications"),
                                                           QStringLiteral("Ping"));
        QCoreApplication::processEvents();  // lets a queued close go out first
        EXPECT_EQ(programBus.call(ping).type(), QDBusMessage::ReplyMessage);
    }

    PrivateBus bus;
    QDBusConnection serviceBus = bus.Connect(QStringLiteral("notification-service"));
    QDBusConnection programBus = bus.Connect(QStringLiteral("program"));
    std::unique_ptr<StandInNotifications> service;
    ServiceThread serviceThread;  // stops before the service's object goes
};

TEST_F(DesktopNotificationsFixture, TheServiceIsSeenOnlyWhileItRuns)
{
    DesktopNotifications notifications(programBus);
    EXPECT_FALSE(notifications.ServiceRunning());
    StartService();
    EXPECT_TRUE(notifications.ServiceRunning());
    serviceBus.unregisterService(QStringLiteral("org.freedesktop.Notifications"));
    EXPECT_FALSE(notifications.ServiceRunning());
}

TEST_F(DesktopNotificationsFixture, ABalloonBecomesANotificationAndTheNextOneReplacesIt)
{
    StartService();
    DesktopNotifications notifications(programBus);
    notifications.Show(TrayBalloon{QStringLiteral("Mnemora XP"), QStringLiteral("Optimisation en cours ..."),
                                   BalloonIcon::Information, 10000});
    // The reply with the first one's id must be in before the second can name it.
    ASSERT_TRUE(WaitUntil([&] { return notifications.ShownId() == 1; }));
    notifications.Close();  // the balloon clears the old one first, then shows: one replacement
    notifications.Show(TrayBalloon{QStringLiteral("Mnemora XP"),
                                   QStringLiteral("Optimisation terminée!\n\rQuantitée récupérée : 12 MB."),
                                   BalloonIcon::Warning, 0});
    ASSERT_TRUE(WaitUntil([&] { return CallCount() == 2; }));

    const std::vector<NotifyCall> calls = service->Calls();
    EXPECT_EQ(calls[0].appName, QStringLiteral("Mnemora XP"));
    EXPECT_EQ(calls[0].replacesId, 0u);
    EXPECT_EQ(calls[0].icon, QStringLiteral("dialog-information"));
    EXPECT_EQ(calls[0].summary, QStringLiteral("Mnemora XP"));
    EXPECT_EQ(calls[0].body, QStringLiteral("Optimisation en cours ..."));
    EXPECT_EQ(calls[0].timeout, 10000);
    EXPECT_EQ(calls[0].hints.value(QStringLiteral("desktop-entry")).toString(), QStringLiteral("mnemora-xp"));
    EXPECT_TRUE(calls[0].actions.contains(QStringLiteral("default")));

    EXPECT_EQ(calls[1].replacesId, 1u);
    EXPECT_EQ(calls[1].icon, QStringLiteral("dialog-warning"));
    EXPECT_EQ(calls[1].body, QStringLiteral("Optimisation terminée!\nQuantitée récupérée : 12 MB."));
    EXPECT_EQ(calls[1].timeout, -1) << "no time is the desktop's usual time, not a notification that stays";
    Settle();
    EXPECT_TRUE(service->Closed().empty()) << "a balloon that replaces the old one closes nothing";
}

TEST_F(DesktopNotificationsFixture, BalloonsThatComeBeforeTheServiceAnswersStillReplaceInOrder)
{
    StartService();
    DesktopNotifications notifications(programBus);
    notifications.Show(TrayBalloon{QStringLiteral("t"), QStringLiteral("un"), BalloonIcon::Information, 1000});
    notifications.Show(TrayBalloon{QStringLiteral("t"), QStringLiteral("deux"), BalloonIcon::Information, 1000});
    notifications.Show(TrayBalloon{QStringLiteral("t"), QStringLiteral("trois"), BalloonIcon::Information, 1000});
    ASSERT_TRUE(WaitUntil([&] { return CallCount() == 2; }));
    Settle();
    const std::vector<NotifyCall> calls = service->Calls();
    ASSERT_EQ(calls.size(), 2u) << "the one overtaken while waiting is never shown";
    EXPECT_EQ(calls[0].body, QStringLiteral("un"));
    EXPECT_EQ(calls[1].body, QStringLiteral("trois"));
    EXPECT_EQ(calls[1].replacesId, 1u);
}

TEST_F(DesktopNotificationsFixture, ClearingClosesTheShownNotification)
{
    StartService();
    DesktopNotifications notifications(programBus);
    notifications.Close();
    notifications.Show(TrayBalloon{QStringLiteral("t"), QStringLiteral("un"), BalloonIcon::Information, 1000});
    ASSERT_TRUE(WaitUntil([&] { return notifications.ShownId() == 1; }));
    notifications.Close();
    ASSERT_TRUE(WaitUntil([&] { return service->Closed().size() == 1; }));
    EXPECT_EQ(service->Closed().front(), 1u);

    // Closed, the next balloon is a new notification.
    notifications.Show(TrayBalloon{QStringLiteral("t"), QStringLiteral("deux"), BalloonIcon::Information, 1000});
    ASSERT_TRUE(WaitUntil([&] { return CallCount() == 2; }));
    EXPECT_EQ(service->Calls()[1].replacesId, 0u);
}

TEST_F(DesktopNotificationsFixture, AClickOnOurNotificationIsTheBalloonClick)
{
    StartService();
    DesktopNotifications notifications(programBus);
    int clicks = 0;
    notifications.OnClicked = [&] { ++clicks; };
    notifications.Show(TrayBalloon{QStringLiteral("t"), QStringLiteral("un"), BalloonIcon::Information, 1000});
    ASSERT_TRUE(WaitUntil([&] { return notifications.ShownId() == 1; }));

    // Another program's notification, another action, then ours.
    StandInNotifications::Emit(serviceBus, QStringLiteral("ActionInvoked"), {QVariant::fromValue(uint(7)), QVariant(QStringLiteral("default"))});
    StandInNotifications::Emit(serviceBus, QStringLiteral("ActionInvoked"), {QVariant::fromValue(uint(1)), QVariant(QStringLiteral("other"))});
    StandInNotifications::Emit(serviceBus, QStringLiteral("ActionInvoked"), {QVariant::fromValue(uint(1)), QVariant(QStringLiteral("default"))});
    ASSERT_TRUE(WaitUntil([&] { return clicks == 1; }));

    // Once it has expired, a late click on that id means nothing and the next one is new.
    StandInNotifications::Emit(serviceBus, QStringLiteral("NotificationClosed"), {QVariant::fromValue(uint(1)), QVariant::fromValue(uint(1))});
    ASSERT_TRUE(WaitUntil([&] { return notifications.ShownId() == 0; }));
    StandInNotifications::Emit(serviceBus, QStringLiteral("ActionInvoked"), {QVariant::fromValue(uint(1)), QVariant(QStringLiteral("default"))});
    notifications.Show(TrayBalloon{QStringLiteral("t"), QStringLiteral("deux"), BalloonIcon::Information, 1000});
    ASSERT_TRUE(WaitUntil([&] { return CallCount() == 2; }));
    EXPECT_EQ(service->Calls()[1].replacesId, 0u);
    EXPECT_EQ(clicks, 1);
}

TEST_F(DesktopNotificationsFixture, TextIsEscapedOnlyForAServiceThatReadsMarkup)
{
    StartService({QStringLiteral("body"), QStringLiteral("body-markup")});
    DesktopNotifications notifications(programBus);
    notifications.Show(TrayBalloon{QStringLiteral("t"), QStringLiteral("<b>1 & 2</b>"), BalloonIcon::None, 1000});
    ASSERT_TRUE(WaitUntil([&] { return CallCount() == 1; }));
    EXPECT_EQ(service->Calls()[0].body, QStringLiteral("&lt;b&gt;1 &amp; 2&lt;/b&gt;"));
    EXPECT_EQ(service->Calls()[0].icon, QString());

    EXPECT_EQ(DesktopNotifications::Body(QStringLiteral("a\n\rb\r\nc\rd"), false), QStringLiteral("a\nb\nc\nd"));
}

}  // namespace
