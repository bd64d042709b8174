// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/DesktopNotifications.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QVariantMap>

namespace platform {
namespace {

constexpr char kPath[] = "/org/freedesktop/Notifications";
constexpr char kInterface[] = "org.freedesktop.Notifications";
constexpr char kAppName[] = "Mnemora XP";
constexpr char kDefaultAction[] = "default";
constexpr int kCapabilitiesTimeoutMs = 2000;
constexpr int kServerDefaultTimeout = -1;

QString IconName(BalloonIcon icon)
{
    switch (icon) {
    case BalloonIcon::Information:
        return QStringLiteral("dialog-information");
    case BalloonIcon::Warning:
        return QStringLiteral("dialog-warning");
    case BalloonIcon::Error:
        return QStringLiteral("dialog-error");
    case BalloonIcon::None:
        break;
    }
    return {};
}

}  // namespace

DesktopNotifications::DesktopNotifications(QDBusConnection bus) : bus_(std::move(bus))
{
    bus_.connect(QString::fromLatin1(kService), QString::fromLatin1(kPath), QString::fromLatin1(kInterface),
                 QStringLiteral("ActionInvoked"), this, SLOT(OnActionInvoked(uint, QString)));
    bus_.connect(QString::fromLatin1(kService), QString::fromLatin1(kPath), QString::fromLatin1(kInterface),
                 QStringLiteral("NotificationClosed"), this, SLOT(OnNotificationClosed(uint, uint)));
}

bool DesktopNotifications::ServiceRunning() const
{
    return bus_.isConnected() && bus_.interface()->isServiceRegistered(QString::fromLatin1(kService)).value();
}

QString DesktopNotifications::Body(const QString& text, bool markup)
{
    QString body = text;
    body.replace(QLatin1String("\n\r"), QLatin1String("\n"));
    body.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    body.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return markup ? body.toHtmlEscaped() : body;
}

void DesktopNotifications::Show(const TrayBalloon& balloon)
{
    closeScheduled_ = false;
    closeQueued_ = false;
    if (replyPending_) {
        queued_ = balloon;
        return;
    }
    Send(balloon);
}

void DesktopNotifications::Close()
{
    if (closeScheduled_)
        return;
    closeScheduled_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (!closeScheduled_)
                return;
            closeScheduled_ = false;
            if (replyPending_) {
                queued_.reset();
                closeQueued_ = true;
            } else {
                SendClose();
            }
        },
        Qt::QueuedConnection);
}

bool DesktopNotifications::ServiceReadsMarkup()
{
    if (!markup_) {
        const QDBusMessage reply = bus_.call(
            QDBusMessage::createMethodCall(QString::fromLatin1(kService), QString::fromLatin1(kPath),
                                           QString::fromLatin1(kInterface), QStringLiteral("GetCapabilities")),
            QDBus::Block, kCapabilitiesTimeoutMs);
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
            return false;  // asked again next time
        markup_ = reply.arguments().front().toStringList().contains(QStringLiteral("body-markup"));
    }
    return *markup_;
}

void DesktopNotifications::Send(const TrayBalloon& balloon)
{
    QDBusMessage notify = QDBusMessage::createMethodCall(QString::fromLatin1(kService), QString::fromLatin1(kPath),
                                                         QString::fromLatin1(kInterface), QStringLiteral("Notify"));
    const QVariantMap hints{{QStringLiteral("desktop-entry"), QString::fromLatin1(kDesktopEntry)}};
    // A balloon of no time is the desktop's usual time, never one that stays for good.
    const int timeout = balloon.timeoutMs > 0 ? balloon.timeoutMs : kServerDefaultTimeout;
    notify << QString::fromLatin1(kAppName) << shownId_ << IconName(balloon.icon) << balloon.title
           << Body(balloon.text, ServiceReadsMarkup())
           << QStringList{QString::fromLatin1(kDefaultAction), QStringLiteral("Afficher")} << hints << timeout;
    replyPending_ = true;
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(notify), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, &DesktopNotifications::OnNotifyReply);
}

void DesktopNotifications::OnNotifyReply(QDBusPendingCallWatcher* watcher)
{
    watcher->deleteLater();
    replyPending_ = false;
    const QDBusPendingReply<uint> reply = *watcher;
    if (!reply.isError())
        shownId_ = reply.value();
    if (queued_) {
        const TrayBalloon next = *queued_;
        queued_.reset();
        Send(next);
    } else if (closeQueued_) {
        closeQueued_ = false;
        SendClose();
    }
}

void DesktopNotifications::SendClose()
{
    if (shownId_ == 0)
        return;
    QDBusMessage close = QDBusMessage::createMethodCall(QString::fromLatin1(kService), QString::fromLatin1(kPath),
                                                        QString::fromLatin1(kInterface),
                                                        QStringLiteral("CloseNotification"));
    close << shownId_;
    bus_.asyncCall(close);
    shownId_ = 0;
}

void DesktopNotifications::OnActionInvoked(uint id, const QString& action)
{
    if (id != 0 && id == shownId_ && action == QLatin1String(kDefaultAction) && OnClicked)
        OnClicked();
}

void DesktopNotifications::OnNotificationClosed(uint id, uint)
{
    // Gone by itself or by the user: the next balloon is a new notification.
    if (id == shownId_)
        shownId_ = 0;
}

}  // namespace platform
