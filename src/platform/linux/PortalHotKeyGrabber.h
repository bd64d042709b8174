// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QKeyCombination>
#include <QObject>
#include <QString>
#include <QVariantMap>
#include <optional>

#include "platform/HotKeyGrabber.h"

namespace platform {

// One shortcut as the GlobalShortcuts portal takes it: (sa{sv}).
struct PortalShortcut {
    QString id;
    QVariantMap options;
};
QDBusArgument& operator<<(QDBusArgument& argument, const PortalShortcut& shortcut);
const QDBusArgument& operator>>(const QDBusArgument& argument, PortalShortcut& shortcut);

// The hot key on a Wayland desktop, through the desktop portal's global shortcuts
// (org.freedesktop.portal.GlobalShortcuts): the combination is offered as the preferred trigger
// of the program's one shortcut, and the desktop (often after asking the user) binds it. The
// portal answers later; Register() only says whether it was asked.
class PortalHotKeyGrabber : public QObject, public IHotKeyGrabber {
    Q_OBJECT
public:
    static constexpr char kShortcutId[] = "recover";

    // bus: the session bus when not given, connected to at the first use: a start on X11 never asks.
    explicit PortalHotKeyGrabber(std::optional<QDBusConnection> bus = std::nullopt);
    ~PortalHotKeyGrabber() override;

    bool Register(QKeyCombination combination) override;
    void Unregister() override;
    bool CanHoldKeys() const override;

    // The shortcut in the portal's trigger notation ("CTRL+SHIFT+r"); empty when it has none.
    static QString Trigger(QKeyCombination combination);
    // The session's handle once the portal made it, then bound (for the tests).
    const QString& Session() const { return session_; }
    bool Bound() const { return bound_; }

private slots:
    void OnResponse(uint response, const QVariantMap& results, const QDBusMessage& message);
    // Activated(o session, s shortcut, t time stamp, a{sv} options).
    void OnActivated(const QDBusMessage& message);

private:
    QDBusConnection& Bus() const;
    QString Request(const QString& method, const QVariantList& arguments);
    void CloseSession();

    mutable std::optional<QDBusConnection> bus_;
    bool listening_ = false;  // for the presses of a bound key
    mutable std::optional<bool> portalOffersShortcuts_;
    QString trigger_;
    QString sessionRequest_;  // the request path that answers with our session
    QString bindRequest_;
    QString session_;
    bool bound_ = false;
    int tokens_ = 0;
};

}  // namespace platform

Q_DECLARE_METATYPE(platform::PortalShortcut)
