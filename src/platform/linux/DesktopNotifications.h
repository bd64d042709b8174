// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <functional>
#include <optional>

#include "platform/TrayHost.h"

class QDBusPendingCallWatcher;

namespace platform {

// Balloons as desktop notifications (org.freedesktop.Notifications): each one replaces the one
// shown before, a click on it is the balloon click, and it can be taken away.
class DesktopNotifications : public QObject {
    Q_OBJECT
public:
    static constexpr char kService[] = "org.freedesktop.Notifications";
    static constexpr char kDesktopEntry[] = "mnemora-xp";

    explicit DesktopNotifications(QDBusConnection bus = QDBusConnection::sessionBus());

    // A notification service is running on the bus now.
    bool ServiceRunning() const;
    // Replaces the notification shown (if any) with this one.
    void Show(const TrayBalloon& balloon);
    // Closes the notification shown, unless another one takes its place before the event loop
    // turns: a balloon that clears the old one before it shows replaces it without a flicker.
    void Close();

    // The service's id of the notification shown; 0 while none is (or its id is not in yet).
    uint ShownId() const { return shownId_; }

    std::function<void()> OnClicked;

    // The notification's body: the line breaks the program writes as "\n\r" become one, and the
    // text is escaped where the service reads markup.
    static QString Body(const QString& text, bool markup);

private slots:
    void OnActionInvoked(uint id, const QString& action);
    void OnNotificationClosed(uint id, uint reason);

private:
    void Send(const TrayBalloon& balloon);
    void SendClose();
    void OnNotifyReply(QDBusPendingCallWatcher* watcher);
    bool ServiceReadsMarkup();

    QDBusConnection bus_;
    uint shownId_ = 0;  // the service's id of the notification shown; 0: none
    bool replyPending_ = false;
    std::optional<TrayBalloon> queued_;  // waits for the pending reply, whose id it replaces
    bool closeQueued_ = false;
    bool closeScheduled_ = false;
    std::optional<bool> markup_;
};

}  // namespace platform
