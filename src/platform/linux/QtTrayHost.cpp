#include "platform/linux/QtTrayHost.h"

#include <QApplication>
#include <QCursor>
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

// Draws the icon's picture at whatever size the tray asks for, scaled by a whole factor only and
// centred: a 16-pixel picture in a 22-pixel slot stays 16 pixels sharp instead of being smoothed
// into a blur. Smaller requests are shrunk smoothly, as there is no sharp way to do that.
class WholeScaleIconEngine : public QIconEngine {
public:
    explicit WholeScaleIconEngine(QImage picture) : picture_(std::move(picture)) {}

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
        return {picture_.size(), picture_.size() * 2};
    }
    QIconEngine* clone() const override { return new WholeScaleIconEngine(picture_); }

private:
    QPixmap Draw(const QSize& size) const
    {
        const int factor = std::min(size.width() / picture_.width(), size.height() / picture_.height());
        if (factor < 1)
            return QPixmap::fromImage(picture_.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation));
        QImage canvas(size, QImage::Format_ARGB32_Premultiplied);
        canvas.fill(Qt::transparent);
        const QImage scaled = picture_.scaled(picture_.size() * factor, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        QPainter painter(&canvas);
        painter.drawImage((size.width() - scaled.width()) / 2, (size.height() - scaled.height()) / 2, scaled);
        painter.end();
        return QPixmap::fromImage(canvas);
    }

    QImage picture_;
};

QIcon TrayPicture(const QImage& image)
{
    if (image.isNull())
        return {};
    return QIcon(new WholeScaleIconEngine(image));
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

QtTrayHost::QtTrayHost() : icon_(new QSystemTrayIcon(this))
{
    connect(icon_, &QSystemTrayIcon::activated, this, &QtTrayHost::OnActivated);
    // On an XEmbed tray Qt reports any press on the icon as a balloon click while its balloon is
    // up; a press on the balloon itself closes the balloon before it is reported.
    connect(icon_, &QSystemTrayIcon::messageClicked, this, [this] {
        if (!QtBalloonShown())
            Notify(TrayNotice::BalloonClicked);
    });
    WatchTrayManagers();
}

void QtTrayHost::Apply(const TrayIconData& data)
{
    // The tip is refreshed every second; re-sending an unchanged picture would make the tray
    // host redraw (or a StatusNotifierItem host re-fetch) it each time.
    if (data.icon != shownImage_) {
        shownImage_ = data.icon;
        icon_->setIcon(TrayPicture(data.icon));
    }
    if (icon_->toolTip() != data.tip)
        icon_->setToolTip(data.tip);
}

void QtTrayHost::Add(const TrayIconData& data)
{
    Apply(data);
    icon_->show();
}

void QtTrayHost::Modify(const TrayIconData& data)
{
    Apply(data);
    // Qt can't take a balloon away; the next one replaces it, so clearing needs nothing here.
    // A hidden icon shows no balloon (QSystemTrayIcon checks).
    if (data.balloon && !data.balloon->text.isEmpty())
        icon_->showMessage(data.balloon->title, BalloonLines(data.balloon->text), MessageIconOf(data.balloon->icon),
                           data.balloon->timeoutMs);
}

void QtTrayHost::Delete()
{
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
        // StatusNotifierItem hosts report every left click as a trigger and never a
        // double-click; XEmbed reports the second click of a pair as the double-click itself.
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
    QCoreApplication::instance()->installNativeEventFilter(this);
}

bool QtTrayHost::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7f) != XCB_CLIENT_MESSAGE)
        return false;
    const auto* client = static_cast<const xcb_client_message_event_t*>(message);
    const bool trayManager = client->type == managerAtom_ && client->format == 32 &&
                             std::ranges::find(traySelections_, client->data.data32[1]) != traySelections_.end();
    // Queued: Qt docks its icons to the new host from this same message, let it finish first.
    if (trayManager)
        QMetaObject::invokeMethod(this, [this] { Notify(TrayNotice::HostRecreated); }, Qt::QueuedConnection);
    return false;
}

}  // namespace platform
