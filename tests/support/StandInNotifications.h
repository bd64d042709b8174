// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QDBusConnection>
#include <QDBusMessage>
#include <QMutex>
#include <QMutexLocker>
#include <QObject>
#include <QStringList>
#include <QVariantMap>
#include <vector>

struct NotifyCall {
    QString appName;
    uint replacesId;
    QString icon;
    QString summary;
    QString body;
    QStringList actions;
    QVariantMap hints;
    int timeout;
};

// A notification service as a desktop runs it (org.freedesktop.Notifications), recording what it
// is asked. Its calls may be read from any thread.
class StandInNotifications : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    explicit StandInNotifications(QStringList capabilities) : capabilities_(std::move(capabilities)) {}

    std::vector<NotifyCall> Calls() const
    {
        QMutexLocker lock(&mutex_);
        return calls_;
    }
    std::vector<uint> Closed() const
    {
        QMutexLocker lock(&mutex_);
        return closed_;
    }

    // The service's signals (ActionInvoked, NotificationClosed), sent on its connection.
    static void Emit(QDBusConnection& bus, const QString& name, const QVariantList& arguments)
    {
        QDBusMessage signal = QDBusMessage::createSignal(QStringLiteral("/org/freedesktop/Notifications"),
                                                         QStringLiteral("org.freedesktop.Notifications"), name);
        signal.setArguments(arguments);
        bus.send(signal);
    }

public slots:
    uint Notify(const QString& appName, uint replacesId, const QString& icon, const QString& summary,
                const QString& body, const QStringList& actions, const QVariantMap& hints, int timeout)
    {
        QMutexLocker lock(&mutex_);
        calls_.push_back({appName, replacesId, icon, summary, body, actions, hints, timeout});
        return replacesId != 0 ? replacesId : ++lastId_;
    }
    void CloseNotification(uint id)
    {
        QMutexLocker lock(&mutex_);
        closed_.push_back(id);
    }
    QStringList GetCapabilities() const { return capabilities_; }
    QString Ping() const { return QStringLiteral("pong"); }

private:
    mutable QMutex mutex_;
    QStringList capabilities_;
    std::vector<NotifyCall> calls_;
    std::vector<uint> closed_;
    uint lastId_ = 0;
};

