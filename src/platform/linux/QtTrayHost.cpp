// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/QtTrayHost.h"

#include <QApplication>
#include <QCursor>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusServiceWatcher>
#include <QIcon>
#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <QWidget>
#include <algorithm>
#include <cstdlib>
#include <xcb/xcb.h>

namespace platform {
namespace {

// Offers the icon's pictures at the sizes they were drawn for, and draws any other size from the
// largest picture that fits, scaled by a whole factor only and centred: a 16-pixel picture in a
// 20-pixel slot stays 16 pixels sharp instead of being smoothed into a blur. Requests below the
// smallest picture are shrunk smoothly, as there is no sharp way to do that.
class PictureSetIconEngine : public QIconEngine {
public:
    explicit PictureSetIconEngine(QList<QImage> pictures) : pictures_(std::move(pictures))
    {
        std::ranges::sort(pictures_, {}, [](const QImage& picture) { return picture.width(); });
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode, QIcon::State) override
    {
        const qreal ratio = painter->device() != nullptr ? painter->device()->devicePixelRatioF() : 1.0;
        QPixmap drawn = Draw(rect.size() * ratio);
        drawn.setDevicePixelRatio(ratio);
        painter->drawPixmap(rect.topLeft(), drawn);
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode, QIcon::State) override { return Draw(size); }
    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return size; }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        QList<QSize> sizes;
        for (const QImage& picture : pictures_)
            sizes.append(picture.size());
        return sizes;
    }
    QIconEngine* clone() const override { return new PictureSetIconEngine(pictures_); }

private:
    QPixmap Draw(const QSize& size) const
    {
        const QImage* base = &pictures_.front();
        for (const QImage& picture : pictures_) {
            if (picture.width() <= size.width() && picture.height() <= size.height())
                base = &picture;
        }
        if (base->size() == size)
            return QPixmap::fromImage(*base);
        const int factor = std::min(size.width() / base->width(), size.height() / base->height());
        if (factor < 1)
            return QPixmap::fromImage(base->scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation));
        QImage canvas(size, QImage::Format_ARGB32_Premultiplied);
        canvas.fill(Qt::transparent);
        const QImage scaled = base->scaled(base->size() * factor, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        QPainter painter(&canvas);
        painter.drawImage((size.width() - scaled.width()) / 2, (size.height() - scaled.height()) / 2, scaled);
        painter.end();
        return QPixmap::fromImage(canvas);
    }

    QList<QImage> pictures_;
};

QIcon TrayPicture(const TrayIconData& data)
{
    if (data.icon.isNull())
        return {};
    QList<QImage> pictures{data.icon};
    for (const QImage& larger : data.largerIcons) {
        if (!larger.isNull())
            pictures.append(larger);
    }
    return QIcon(new PictureSetIconEngine(std::move(pictures)));
}

QSystemTrayIcon::MessageIcon MessageIconOf(BalloonIcon icon)
{
    switch (icon) {
    case BalloonIcon::Information:
        return QSystemTrayIcon::Information;
    case BalloonIcon::Warning:
        return QSystemTrayIcon::Warning;
    case BalloonIcon::Error:
        return QSystemTrayIcon::Critical;
    case BalloonIcon::None:
        break;
    }
    return QSystemTrayIcon::NoIcon;
}

// Qt's own balloon, drawn where the tray has no notification service of its own (XEmbed).
bool QtBalloonShown()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    return std::ranges::any_of(windows, [](const QWidget* window) {
        return window->inherits("QBalloonTip") && window->isVisible();
    });
}

// The balloon text comes with Windows line ends, in either order: each pair is one line break.
QString BalloonLines(QString text)
{
    return text.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1String("\n\r"), QLatin1String("\n"));
}

xcb_atom_t InternAtom(xcb_connection_t* connection, const QByteArray& name)
{
    const xcb_intern_atom_cookie_t cookie =
        xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(name.size()), name.constData());
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookie, nullptr);
    if (reply == nullptr)
        return XCB_ATOM_NONE;
    const xcb_atom_t atom = reply->atom;
    std::free(reply);
    return atom;
}

}  // namespace

QtTrayHost::QtTrayHost(std::optional<Protocol> protocol, std::optional<QDBusConnection> notificationBus)
    : protocol_(protocol), notificationBus_(std::move(notificationBus))
{
}

QtTrayHost::~QtTrayHost() = default;

void QtTrayHost::Start()
{
    if (icon_ != nullptr)
        return;
    // Chosen as Qt makes its first icon: Qt's own choice is made then too.
    if (!protocol_)
        protocol_ = ProtocolQtChooses();
    icon_ = new QSystemTrayIcon(this);
    notifications_ = std::make_unique<DesktopNotifications>(notificationBus_ ? *notificationBus_ : QDBusConnection::sessionBus());
    connect(icon_, &QSystemTrayIcon::activated, this, &QtTrayHost::OnActivated);
    // On an XEmbed tray Qt reports any press on the icon as a balloon click while its balloon is
    // up; a press on the balloon itself closes the balloon before it is reported.
    connect(icon_, &QSystemTrayIcon::messageClicked, this, [this] {
        if (!QtBalloonShown())
            Notify(TrayNotice::BalloonClicked);
    });
    notifications_->OnClicked = [this] { Notify(TrayNotice::BalloonClicked); };
    WatchTrayManagers();
    WatchStatusNotifierWatcher();
    if (menu_ != nullptr)
        SetMenu(menu_);
}

QtTrayHost::Protocol QtTrayHost::ProtocolQtChooses()
{
    const QString watcher = QStringLiteral("org.kde.StatusNotifierWatcher");
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface()->isServiceRegistered(watcher).value())
        return Protocol::XEmbed;
    QDBusInterface host(watcher, QStringLiteral("/StatusNotifierWatcher"), watcher, bus);
    return host.property("IsStatusNotifierHostRegistered").toBool() ? Protocol::StatusNotifierItem
                                                                     : Protocol::XEmbed;
}

bool QtTrayHost::XEmbedPossible(const QString& platformName)
{
    return !platformName.startsWith(QLatin1String("wayland"));
}

bool QtTrayHost::Available() const
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void QtTrayHost::SetMenu(QMenu* menu)
{
    // A StatusNotifierItem host shows the menu itself, from Qt's D-Bus export of it. On XEmbed
    // the program opens it on the right-click notice; given to Qt too, it would open twice.
    menu_ = menu;
    if (icon_ != nullptr && protocol_ == Protocol::StatusNotifierItem)
        icon_->setContextMenu(menu);
}

void QtTrayHost::Apply(const TrayIconData& data)
{
    Start();
    // The tip is refreshed every second; re-sending an unchanged picture would make the tray
    // host redraw (or a StatusNotifierItem host re-fetch) it each time.
    if (data.icon != shownImage_ || data.largerIcons != shownLargerImages_) {
        shownImage_ = data.icon;
        shownLargerImages_ = data.largerIcons;
        icon_->setIcon(TrayPicture(data));
    }
    if (icon_->toolTip() != data.tip)
        icon_->setToolTip(data.tip);
}

void QtTrayHost::Add(const TrayIconData& data)
{
    Apply(data);
    // On Wayland only a StatusNotifierItem can show an icon; Qt's XEmbed path would only try to
    // hook a signal of its X11 platform, which is not there, and say so at every start.
    if (protocol_ == Protocol::XEmbed && !XEmbedPossible(QGuiApplication::platformName()))
        return;
    icon_->show();
}

void QtTrayHost::Modify(const TrayIconData& data)
{
    // Before the first Add there is no icon to change: the Add brings the whole content. The
    // host is not started for it, so a start-up that sets the icon up does not wait on the bus.
    if (icon_ == nullptr)
        return;
    Apply(data);
    // A hidden icon shows no balloon.
    if (!data.balloon || !icon_->isVisible())
        return;
    TrayBalloon balloon = *data.balloon;
    balloon.text = BalloonLines(balloon.text);
    if (notifications_->ServiceRunning()) {
        if (balloon.text.isEmpty())
            notifications_->Close();
        else
            notifications_->Show(balloon);
        return;
    }
    // Qt can't take its bubble away; the next one replaces it, so clearing needs nothing here.
    if (!balloon.text.isEmpty())
        icon_->showMessage(balloon.title, balloon.text, MessageIconOf(balloon.icon), balloon.timeoutMs);
}

void QtTrayHost::Delete()
{
    if (icon_ != nullptr)
        icon_->hide();
}

std::optional<QPoint> QtTrayHost::CursorPosition() const
{
    return QCursor::pos();
}

int QtTrayHost::DoubleClickTime() const
{
    return QApplication::doubleClickInterval();
}

void QtTrayHost::OnActivated(QSystemTrayIcon::ActivationReason reason)
{
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        // A StatusNotifierItem host's activation (a single click on most panels) is what a
        // double-click is on an XEmbed tray: it brings the program's window.
        if (protocol_ == Protocol::StatusNotifierItem) {
            Notify(TrayNotice::DoubleClick);
            break;
        }
        // XEmbed reports the second click of a pair as the double-click itself; a host that
        // reports every click as a trigger gets one from two quick ones.
        if (sinceClick_.isValid() && sinceClick_.elapsed() < DoubleClickTime()) {
            sinceClick_.invalidate();
            Notify(TrayNotice::DoubleClick);
        } else {
            sinceClick_.start();
            Notify(TrayNotice::Click);
        }
        break;
    case QSystemTrayIcon::DoubleClick:
        sinceClick_.invalidate();
        Notify(TrayNotice::DoubleClick);
        break;
    case QSystemTrayIcon::Context:
        Notify(TrayNotice::ContextClick);
        break;
    case QSystemTrayIcon::MiddleClick:
        Notify(TrayNotice::MiddleClick);
        break;
    case QSystemTrayIcon::Unknown:
        break;
    }
}

void QtTrayHost::Notify(TrayNotice notice)
{
    if (receiver_)
        receiver_(notice);
}

void QtTrayHost::WatchTrayManagers()
{
    // Offscreen and Wayland sessions have no X connection: no notice then (Qt re-registers a
    // StatusNotifierItem by itself).
    auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (x11 == nullptr || x11->connection() == nullptr)
        return;
    xcb_connection_t* connection = x11->connection();
    managerAtom_ = InternAtom(connection, "MANAGER");
    const int screens = xcb_setup_roots_length(xcb_get_setup(connection));
    for (int screen = 0; screen < screens; ++screen)
        traySelections_.push_back(InternAtom(connection, "_NET_SYSTEM_TRAY_S" + QByteArray::number(screen)));
    for (const xcb_atom_t selection : traySelections_) {
        xcb_get_selection_owner_reply_t* owner =
            xcb_get_selection_owner_reply(connection, xcb_get_selection_owner(connection, selection), nullptr);
        if (owner != nullptr && owner->owner != XCB_WINDOW_NONE)
            WatchTrayWindow(owner->owner);
        std::free(owner);
    }
    QCoreApplication::instance()->installNativeEventFilter(this);
}

// The tray's window ends with the tray: its destruction is the notice that the tray is gone.
void QtTrayHost::WatchTrayWindow(std::uint32_t window)
{
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (std::ranges::find(trayWindows_, window) != trayWindows_.end())
        return;
    trayWindows_.push_back(window);
    // The same mask Qt's own tray tracker asks for on that window: setting it changes nothing for Qt.
    const std::uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_change_window_attributes(x11->connection(), window, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(x11->connection());
}

// A StatusNotifierItem host's panel holds the watcher service: the service leaving the bus is
// the panel going away.
void QtTrayHost::WatchStatusNotifierWatcher()
{
    if (protocol_ != Protocol::StatusNotifierItem || !QDBusConnection::sessionBus().isConnected())
        return;
    auto* watcher = new QDBusServiceWatcher(QStringLiteral("org.kde.StatusNotifierWatcher"),
                                            QDBusConnection::sessionBus(),
                                            QDBusServiceWatcher::WatchForUnregistration, this);
    connect(watcher, &QDBusServiceWatcher::serviceUnregistered, this, [this] { NotifyIfGone(); });
}

void QtTrayHost::NotifyIfGone()
{
    if (!Available() && goneReceiver_)
        goneReceiver_();
}

bool QtTrayHost::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7f) == XCB_DESTROY_NOTIFY) {
        const auto* destroyed = static_cast<const xcb_destroy_notify_event_t*>(message);
        const auto tray = std::ranges::find(trayWindows_, destroyed->window);
        if (tray == trayWindows_.end())
            return false;
        trayWindows_.erase(tray);
        // Queued: Qt notes the tray's end from this same event; Available() then knows.
        QMetaObject::invokeMethod(this, [this] { NotifyIfGone(); }, Qt::QueuedConnection);
        return false;
    }
    if ((event->response_type & 0x7f) != XCB_CLIENT_MESSAGE)
        return false;
    const auto* client = static_cast<const xcb_client_message_event_t*>(message);
    const bool trayManager = client->type == managerAtom_ && client->format == 32 &&
                             std::ranges::find(traySelections_, client->data.data32[1]) != traySelections_.end();
    // Queued: Qt docks its icons to the new host from this same message, let it finish first.
    if (trayManager) {
        WatchTrayWindow(client->data.data32[2]);
        QMetaObject::invokeMethod(this, [this] { Notify(TrayNotice::HostRecreated); }, Qt::QueuedConnection);
    }
    return false;
}

}  // namespace platform
