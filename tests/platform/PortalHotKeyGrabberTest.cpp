// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QMutex>
#include <QMutexLocker>
#include <functional>

#include "platform/linux/PortalHotKeyGrabber.h"
#include "support/EventWait.h"
#include "support/PrivateBus.h"

namespace {

using platform::PortalHotKeyGrabber;
using platform::PortalShortcut;

// One session the stand-in portal made: closing it is recorded.
class StandInSession : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Session")
public:
    StandInSession(QString path, std::function<void(const QString&)> onClose)
        : path_(std::move(path)), onClose_(std::move(onClose))
    {
    }
public slots:
    void Close() { onClose_(path_); }

private:
    QString path_;
    std::function<void(const QString&)> onClose_;
};

// The desktop portal's global shortcuts as a desktop runs them: every session is granted, every
// binding accepted as asked; what it was asked is recorded. It answers from its own thread.
class StandInPortal : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.GlobalShortcuts")
    Q_PROPERTY(uint version READ version)
public:
    explicit StandInPortal(QDBusConnection bus) : bus_(std::move(bus)) {}

    uint version() const { return 1; }

    struct Binding {
        QString session;
        QList<PortalShortcut> shortcuts;
    };
    std::vector<Binding> Bindings() const
    {
        QMutexLocker lock(&mutex_);
        return bindings_;
    }
    std::vector<QString> Closed() const
    {
        QMutexLocker lock(&mutex_);
        return closed_;
    }

public slots:
    QDBusObjectPath CreateSession(const QVariantMap& options, const QDBusMessage& message)
    {
        const QString session = QStringLiteral("/org/freedesktop/portal/desktop/session/%1/%2")
                                    .arg(Sender(message), options.value(QStringLiteral("session_handle_token")).toString());
        auto* object = new StandInSession(session, [this](const QString& path) {
            QMutexLocker lock(&mutex_);
            closed_.push_back(path);
        });
        object->setParent(this);
        bus_.registerObject(session, object, QDBusConnection::ExportAllSlots);
        return Answer(message, options, {{QStringLiteral("session_handle"), session}});
    }
    QDBusObjectPath BindShortcuts(const QDBusObjectPath& session, const QList<platform::PortalShortcut>& shortcuts,
                                  const QString&, const QVariantMap& options, const QDBusMessage& message)
    {
        {
            QMutexLocker lock(&mutex_);
            bindings_.push_back({session.path(), shortcuts});
        }
        return Answer(message, options, {});
    }

private:
    static QString Sender(const QDBusMessage& message) { return message.service().mid(1).replace('.', '_'); }

    // The request's answer comes as its Response signal, after the call's reply.
    QDBusObjectPath Answer(const QDBusMessage& message, const QVariantMap& options, const QVariantMap& results)
    {
        const QString request = QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2")
                                    .arg(Sender(message), options.value(QStringLiteral("handle_token")).toString());
        QMetaObject::invokeMethod(
            this,
            [this, request, results] {
                QDBusMessage response = QDBusMessage::createSignal(
                    request, QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"));
                response << 0u << results;
                bus_.send(response);
            },
            Qt::QueuedConnection);
        return QDBusObjectPath(request);
    }

    QDBusConnection bus_;
    mutable QMutex mutex_;
    std::vector<Binding> bindings_;
    std::vector<QString> closed_;
};

class PortalHotKeyGrabberFixture : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(bus.IsUp()); }

    void StartPortal()
    {
        qDBusRegisterMetaType<PortalShortcut>();
        qDBusRegisterMetaType<QList<PortalShortcut>>();
        portal = std::make_unique<StandInPortal>(portalBus);
        portal->moveToThread(portalThread.Thread());
        ASSERT_TRUE(portalBus.registerObject(QStringLiteral("/org/freedesktop/portal/desktop"), portal.get(),
                                             QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllProperties));
        ASSERT_TRUE(portalBus.registerService(QStringLiteral("org.freedesktop.portal.Desktop")));
    }
    void Press(const QString& session, const QString& shortcut)
    {
        QDBusMessage activated = QDBusMessage::createSignal(QStringLiteral("/org/freedesktop/portal/desktop"),
                                                            QStringLiteral("org.freedesktop.portal.GlobalShortcuts"),
                                                            QStringLiteral("Activated"));
        activated << QVariant::fromValue(QDBusObjectPath(session)) << shortcut << qulonglong(0) << QVariantMap();
        portalBus.send(activated);
    }

    PrivateBus bus;
    QDBusConnection portalBus = bus.Connect(QStringLiteral("portal"));
    QDBusConnection programBus = bus.Connect(QStringLiteral("program"));
    std::unique_ptr<StandInPortal> portal;
    ServiceThread portalThread;  // stops before the portal's object goes
};

TEST_F(PortalHotKeyGrabberFixture, WithoutThePortalNoKeyCanBeHeld)
{
    PortalHotKeyGrabber grabber(programBus);
    EXPECT_FALSE(grabber.CanHoldKeys());
    EXPECT_FALSE(grabber.Register(QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_R)));
}

TEST_F(PortalHotKeyGrabberFixture, TheKeyIsBoundInASessionAndItsPressesArrive)
{
    StartPortal();
    PortalHotKeyGrabber grabber(programBus);
    int presses = 0;
    grabber.OnPressed = [&] { ++presses; };
    EXPECT_TRUE(grabber.CanHoldKeys());
    EXPECT_TRUE(grabber.Register(QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_R)));
    ASSERT_TRUE(WaitUntil([&] { return grabber.Bound(); }));

    const std::vector<StandInPortal::Binding> bindings = portal->Bindings();
    ASSERT_EQ(bindings.size(), 1u);
    EXPECT_EQ(bindings[0].session, grabber.Session());
    ASSERT_EQ(bindings[0].shortcuts.size(), 1);
    EXPECT_EQ(bindings[0].shortcuts[0].id, QStringLiteral("recover"));
    EXPECT_EQ(bindings[0].shortcuts[0].options.value(QStringLiteral("preferred_trigger")).toString(),
              QStringLiteral("CTRL+SHIFT+r"));
    EXPECT_FALSE(bindings[0].shortcuts[0].options.value(QStringLiteral("description")).toString().isEmpty());

    Press(QStringLiteral("/org/freedesktop/portal/desktop/session/other/x"), QStringLiteral("recover"));
    Press(grabber.Session(), QStringLiteral("another"));
    Press(grabber.Session(), QStringLiteral("recover"));
    ASSERT_TRUE(WaitUntil([&] { return presses == 1; })) << "only our session's shortcut is our key";
}

TEST_F(PortalHotKeyGrabberFixture, ANewKeyOrNoneClosesTheSessionOfTheOldOne)
{
    StartPortal();
    PortalHotKeyGrabber grabber(programBus);
    int presses = 0;
    grabber.OnPressed = [&] { ++presses; };
    grabber.Register(QKeyCombination(Qt::ControlModifier, Qt::Key_F5));
    ASSERT_TRUE(WaitUntil([&] { return grabber.Bound(); }));
    const QString first = grabber.Session();

    grabber.Register(QKeyCombination(Qt::AltModifier | Qt::MetaModifier, Qt::Key_Space));
    ASSERT_TRUE(WaitUntil([&] { return grabber.Bound(); }));
    EXPECT_NE(grabber.Session(), first);
    ASSERT_TRUE(WaitUntil([&] { return portal->Closed().size() == 1; }));
    EXPECT_EQ(portal->Closed()[0], first);
    EXPECT_EQ(portal->Bindings().back().shortcuts[0].options.value(QStringLiteral("preferred_trigger")).toString(),
              QStringLiteral("ALT+LOGO+space"));

    Press(first, QStringLiteral("recover"));  // the old session's key, pressed late
    const QString second = grabber.Session();
    grabber.Unregister();
    Press(second, QStringLiteral("recover"));
    ASSERT_TRUE(WaitUntil([&] { return portal->Closed().size() == 2; }));
    EXPECT_EQ(portal->Closed()[1], second);
    QCoreApplication::processEvents();
    EXPECT_EQ(presses, 0);
}

// A key typed while the portal is still answering for the one before: the late answer's session
// is closed, never bound.
TEST_F(PortalHotKeyGrabberFixture, AnAnswerForAKeyChangedSinceIsClosed)
{
    StartPortal();
    PortalHotKeyGrabber grabber(programBus);
    grabber.Register(QKeyCombination(Qt::ControlModifier, Qt::Key_A));
    grabber.Register(QKeyCombination(Qt::ControlModifier, Qt::Key_B));
    ASSERT_TRUE(WaitUntil([&] { return grabber.Bound() && !portal->Closed().empty(); }));
    const std::vector<StandInPortal::Binding> bindings = portal->Bindings();
    ASSERT_EQ(bindings.size(), 1u);
    EXPECT_EQ(bindings[0].shortcuts[0].options.value(QStringLiteral("preferred_trigger")).toString(),
              QStringLiteral("CTRL+b"));
    EXPECT_NE(portal->Closed()[0], grabber.Session());
}

TEST(PortalTrigger, KeysAreWrittenInThePortalsNotation)
{
    EXPECT_EQ(PortalHotKeyGrabber::Trigger(QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_R)),
              QStringLiteral("CTRL+SHIFT+r"));
    EXPECT_EQ(PortalHotKeyGrabber::Trigger(QKeyCombination(Qt::NoModifier, Qt::Key_F12)), QStringLiteral("F12"));
    EXPECT_EQ(PortalHotKeyGrabber::Trigger(QKeyCombination(Qt::AltModifier, Qt::Key_7)), QStringLiteral("ALT+7"));
    EXPECT_EQ(PortalHotKeyGrabber::Trigger(QKeyCombination(Qt::ControlModifier, Qt::Key_PageDown)),
              QStringLiteral("CTRL+Page_Down"));
    EXPECT_EQ(PortalHotKeyGrabber::Trigger(QKeyCombination(Qt::ControlModifier, Qt::Key_Eacute)), QString())
        << "a key it has no name for is left to the user to choose";
}

}  // namespace

#include "PortalHotKeyGrabberTest.moc"
