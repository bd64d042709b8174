// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QAbstractNativeEventFilter>
#include <QElapsedTimer>
#include <QObject>
#include <QSystemTrayIcon>
#include <memory>
#include <optional>
#include <vector>

#include "platform/TrayHost.h"
#include "platform/TrayPresence.h"
#include "platform/linux/DesktopNotifications.h"

namespace platform {

// The icon as a QSystemTrayIcon (StatusNotifierItem or XEmbed, whichever the desktop offers).
// On X11 a tray host announces itself with a MANAGER client message on the root window when it
// takes the tray selection; that message is the "tray re-created" notice. Balloons go to the
// desktop's notification service where one runs, and are Qt's own bubble otherwise.
//
// Nothing is set up before the icon is first needed (Add, Modify): the session bus, the tray
// protocol's choice and the tray watchers cost a start nothing while its window is being shown.
class QtTrayHost : public QObject, public ITrayHost, public ITrayPresence, private QAbstractNativeEventFilter {
public:
    enum class Protocol { XEmbed, StatusNotifierItem };

    // Without a protocol, the one Qt chooses; without a bus, the session bus.
    explicit QtTrayHost(std::optional<Protocol> protocol = std::nullopt,
                        std::optional<QDBusConnection> notificationBus = std::nullopt);
    ~QtTrayHost() override;
    // Qt takes a StatusNotifierItem when a host for one is registered as its first tray icon is
    // made, and keeps that choice for the life of the program.
    static Protocol ProtocolQtChooses();
    // Whether an XEmbed tray icon can be made on this Qt platform (not on Wayland).
    static bool XEmbedPossible(const QString& platformName);

    void Add(const TrayIconData& data) override;
    void Modify(const TrayIconData& data) override;
    void Delete() override;
    bool Available() const override;
    void SetMenu(QMenu* menu) override;
    void SetReceiver(NoticeReceiver receiver) override { receiver_ = std::move(receiver); }
    void SetGoneReceiver(std::function<void()> receiver) override { goneReceiver_ = std::move(receiver); }
    std::optional<QPoint> CursorPosition() const override;
    int DoubleClickTime() const override;

private:
    // Makes the icon (and chooses its protocol), the notifications' link and the tray watchers.
    void Start();
    void Apply(const TrayIconData& data);
    void OnActivated(QSystemTrayIcon::ActivationReason reason);
    void Notify(TrayNotice notice);
    void WatchTrayManagers();
    void WatchTrayWindow(std::uint32_t window);
    void WatchStatusNotifierWatcher();
    void NotifyIfGone();
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

    std::optional<Protocol> protocol_;
    std::optional<QDBusConnection> notificationBus_;
    QSystemTrayIcon* icon_ = nullptr;  // made by Start
    std::unique_ptr<DesktopNotifications> notifications_;
    QMenu* menu_ = nullptr;
    NoticeReceiver receiver_;
    std::function<void()> goneReceiver_;
    QImage shownImage_;
    QList<QImage> shownLargerImages_;
    QElapsedTimer sinceClick_;  // a host that reports no double-click gets one from two clicks
    std::uint32_t managerAtom_ = 0;
    std::vector<std::uint32_t> traySelections_;
    std::vector<std::uint32_t> trayWindows_;  // the XEmbed trays' windows, watched for their end
};

}  // namespace platform
