// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QImage>
#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <optional>

#include "platform/Platform.h"

class QWidget;

// One icon in the notification area: it keeps itself in the tray (also across a restart of the
// tray host), turns the user's clicks into events, opens its menu on a right-click and takes its
// owner window into the tray when that window is minimised.
class TTrayIcon : public QObject {
public:
    // owner: the window this icon belongs to (and, when it is a widget, the one it minimises).
    explicit TTrayIcon(platform::ITrayHost& host, QObject* owner = nullptr);
    ~TTrayIcon() override;

    // While false, clicks are ignored; balloon clicks still count.
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled) { enabled_ = enabled; }

    const QImage& Icon() const { return icon_; }
    // largerIcons: the same picture drawn for the larger slots some trays have.
    void SetIcon(const QImage& icon, const QList<QImage>& largerIcons = {});

    bool IconVisible() const { return iconVisible_; }
    void SetIconVisible(bool visible);  // adds or removes the icon, also when already so

    const QString& Hint() const { return hint_; }
    void SetHint(const QString& hint);
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool showHint);

    QMenu* PopupMenu() const { return popupMenu_; }
    void SetPopupMenu(QMenu* menu);

    // Whether the desktop has a notification area now. Without one, nothing is moved into it.
    bool TrayAvailable() const { return host_.Available(); }

    bool MinimizeToTray() const { return minimizeToTray_; }
    void SetMinimizeToTray(bool minimize) { minimizeToTray_ = minimize; }

    // A balloon next to the icon; seconds is taken within 0 to 255.
    void PopBalloon(const QString& title, const QString& text, platform::BalloonIcon icon, int seconds);
    void ClearBalloon();

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;  // a double-click never also counts as a click
    TNotifyEvent OnBalloonHintClick;
    // The notification area went away: whatever was hidden in it can no longer be reached there.
    // The icon stays visible in name, and shows again when a tray comes back.
    TNotifyEvent OnHostGone;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void AddToTray();
    void RemoveFromTray();
    void RefreshInTray(const std::optional<platform::TrayBalloon>& balloon = std::nullopt);
    platform::TrayIconData Record() const;
    void OnNotice(platform::TrayNotice notice);
    void Clicked();
    void DoubleClicked();
    void ClickTimerExpired();
    void OpenMenu();
    void MoveToTray(QWidget* window);
    void Fire(const TNotifyEvent& event);

    platform::ITrayHost& host_;
    bool enabled_ = true;
    QImage icon_;
    QList<QImage> largerIcons_;
    bool iconVisible_ = false;
    QString hint_;
    bool showHint_ = true;
    QPointer<QMenu> popupMenu_;
    bool minimizeToTray_ = false;
    bool clickPending_ = false;
    bool doubleClickSeen_ = false;
    // Decides between a click and a double-click: runs for the desktop's double-click time.
    QTimer clickTimer_;
};
