// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/TrayIcon.h"

#include <QEvent>
#include <QWidget>
#include <algorithm>

#include "platform/TrayPresence.h"

namespace {

// The tray takes at most `max` characters; half of a surrogate pair is never kept.
QString Cut(const QString& text, int max)
{
    if (text.size() <= max)
        return text;
    return text.left(text.at(max - 1).isHighSurrogate() ? max - 1 : max);
}

}  // namespace

TTrayIcon::TTrayIcon(platform::ITrayHost& host, QObject* owner) : QObject(owner), host_(host), clickTimer_(this)
{
    clickTimer_.setObjectName(QStringLiteral("clickTimer"));
    clickTimer_.setSingleShot(true);
    connect(&clickTimer_, &QTimer::timeout, this, [this] { ClickTimerExpired(); });
    host_.SetReceiver([this](platform::TrayNotice notice) { OnNotice(notice); });
    // A host that can tell when the tray goes away.
    if (auto* presence = dynamic_cast<platform::ITrayPresence*>(&host_))
        presence->SetGoneReceiver([this] { Fire(OnHostGone); });
    if (auto* window = qobject_cast<QWidget*>(owner))
        window->installEventFilter(this);
}

TTrayIcon::~TTrayIcon()
{
    host_.SetReceiver({});
    if (auto* presence = dynamic_cast<platform::ITrayPresence*>(&host_))
        presence->SetGoneReceiver({});
    if (!popupMenu_.isNull())
        host_.SetMenu(nullptr);
    RemoveFromTray();
}

void TTrayIcon::SetIcon(const QImage& icon, const QList<QImage>& largerIcons)
{
    icon_ = icon;
    largerIcons_ = largerIcons;
    RefreshInTray();
}

void TTrayIcon::SetPopupMenu(QMenu* menu)
{
    popupMenu_ = menu;
    host_.SetMenu(menu);
}

void TTrayIcon::SetIconVisible(bool visible)
{
    if (visible)
        AddToTray();
    else
        RemoveFromTray();
}

void TTrayIcon::SetHint(const QString& hint)
{
    hint_ = hint;
    RefreshInTray();
}

void TTrayIcon::SetShowHint(bool showHint)
{
    showHint_ = showHint;
    RefreshInTray();
}

void TTrayIcon::PopBalloon(const QString& title, const QString& text, platform::BalloonIcon icon, int seconds)
{
    ClearBalloon();
    RefreshInTray(platform::TrayBalloon{Cut(title, platform::ITrayHost::kMaxBalloonTitle),
                                        Cut(text, platform::ITrayHost::kMaxBalloonText), icon,
                                        std::clamp(seconds, 0, 255) * 1000});
}

void TTrayIcon::ClearBalloon()
{
    RefreshInTray(platform::TrayBalloon{});
}

platform::TrayIconData TTrayIcon::Record() const
{
    platform::TrayIconData data;
    data.icon = icon_;
    data.largerIcons = largerIcons_;
    if (showHint_ && !hint_.isEmpty())
        data.tip = Cut(hint_, platform::ITrayHost::kMaxTip);
    return data;
}

void TTrayIcon::AddToTray()
{
    iconVisible_ = true;
    host_.Add(Record());
}

void TTrayIcon::RemoveFromTray()
{
    iconVisible_ = false;
    host_.Delete();
}

// Runs whether or not the icon is in the tray: the host keeps the content for a later add.
void TTrayIcon::RefreshInTray(const std::optional<platform::TrayBalloon>& balloon)
{
    platform::TrayIconData data = Record();
    data.balloon = balloon;
    host_.Modify(data);
}

void TTrayIcon::OnNotice(platform::TrayNotice notice)
{
    using platform::TrayNotice;
    switch (notice) {
    case TrayNotice::Click:
        if (enabled_)
            Clicked();
        break;
    case TrayNotice::DoubleClick:
        if (enabled_)
            DoubleClicked();
        break;
    case TrayNotice::ContextClick:
        if (enabled_)
            OpenMenu();
        break;
    case TrayNotice::MiddleClick:
        break;  // the middle button means nothing to this icon
    case TrayNotice::BalloonClicked:
        Fire(OnBalloonHintClick);
        break;
    case TrayNotice::HostRecreated:
        // The new host knows no icons: a visible one comes back with its current content.
        if (iconVisible_)
            AddToTray();
        break;
    }
}

void TTrayIcon::Clicked()
{
    // With a double-click handler, the click waits out the double-click time: if the second
    // click of a pair comes, only the double-click counts.
    if (OnDblClick)
        clickTimer_.start(host_.DoubleClickTime());
    clickPending_ = true;
    if (!clickTimer_.isActive()) {
        clickPending_ = false;
        Fire(OnClick);
    }
}

void TTrayIcon::DoubleClicked()
{
    clickPending_ = false;
    doubleClickSeen_ = true;
    Fire(OnDblClick);
}

void TTrayIcon::ClickTimerExpired()
{
    const bool click = clickPending_ && !doubleClickSeen_;
    clickPending_ = false;
    doubleClickSeen_ = false;
    if (click)
        Fire(OnClick);
}

void TTrayIcon::OpenMenu()
{
    if (popupMenu_.isNull())
        return;
    if (const std::optional<QPoint> cursor = host_.CursorPosition())
        popupMenu_->popup(*cursor);
}

bool TTrayIcon::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::WindowStateChange && minimizeToTray_) {
        auto* window = static_cast<QWidget*>(watched);
        // Hiding a window from inside its own state change is not reliable on every window
        // system: do it once the change is through.
        if (window->isMinimized())
            QMetaObject::invokeMethod(this, [this, window = QPointer<QWidget>(window)] { MoveToTray(window); },
                                      Qt::QueuedConnection);
    }
    return false;
}

void TTrayIcon::MoveToTray(QWidget* window)
{
    // With no notification area a hidden window could not be brought back: it stays in the task bar.
    if (window == nullptr || !minimizeToTray_ || !window->isMinimized() || !host_.Available())
        return;
    // The window keeps its minimised state while hidden: clearing it here would map the hidden
    // window again on X11 (un-minimising is a map there), a black window Qt never paints. Whoever
    // shows the window again clears the state first.
    window->hide();
    AddToTray();
}

void TTrayIcon::Fire(const TNotifyEvent& event)
{
    if (event)
        event(this);
}
