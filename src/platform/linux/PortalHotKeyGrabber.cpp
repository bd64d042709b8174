// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/PortalHotKeyGrabber.h"

#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>

namespace platform {
namespace {

constexpr char kService[] = "org.freedesktop.portal.Desktop";
constexpr char kPath[] = "/org/freedesktop/portal/desktop";
constexpr char kInterface[] = "org.freedesktop.portal.GlobalShortcuts";
constexpr char kRequestInterface[] = "org.freedesktop.portal.Request";
constexpr char kSessionInterface[] = "org.freedesktop.portal.Session";
// The portal is started on demand the first time it is asked; that may take a moment.
constexpr int kProbeTimeoutMs = 5000;
constexpr uint kResponseSuccess = 0;

QString Latin(const char* text)
{
    return QString::fromLatin1(text);
}

QString KeyName(int key)
{
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return QString(QChar(key)).toLower();
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return QString(QChar(key));
    if (key >= Qt::Key_F1 && key <= Qt::Key_F35)
        return QStringLiteral("F%1").arg(key - Qt::Key_F1 + 1);
    static const QHash<int, QString> named{
        {Qt::Key_Return, QStringLiteral("Return")},     {Qt::Key_Enter, QStringLiteral("KP_Enter")},
        {Qt::Key_Escape, QStringLiteral("Escape")},     {Qt::Key_Tab, QStringLiteral("Tab")},
        {Qt::Key_Backspace, QStringLiteral("BackSpace")}, {Qt::Key_Insert, QStringLiteral("Insert")},
        {Qt::Key_Delete, QStringLiteral("Delete")},     {Qt::Key_Pause, QStringLiteral("Pause")},
        {Qt::Key_Print, QStringLiteral("Print")},       {Qt::Key_Home, QStringLiteral("Home")},
        {Qt::Key_End, QStringLiteral("End")},           {Qt::Key_Left, QStringLiteral("Left")},
        {Qt::Key_Up, QStringLiteral("Up")},             {Qt::Key_Right, QStringLiteral("Right")},
        {Qt::Key_Down, QStringLiteral("Down")},         {Qt::Key_PageUp, QStringLiteral("Page_Up")},
        {Qt::Key_PageDown, QStringLiteral("Page_Down")}, {Qt::Key_Space, QStringLiteral("space")},
    };
    return named.value(key);
}

}  // namespace

QDBusArgument& operator<<(QDBusArgument& argument, const PortalShortcut& shortcut)
{
    argument.beginStructure();
    argument << shortcut.id << shortcut.options;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, PortalShortcut& shortcut)
{
    argument.beginStructure();
    argument >> shortcut.id >> shortcut.options;
    argument.endStructure();
    return argument;
}

PortalHotKeyGrabber::PortalHotKeyGrabber(std::optional<QDBusConnection> bus) : bus_(std::move(bus)) {}

PortalHotKeyGrabber::~PortalHotKeyGrabber()
{
    CloseSession();
}

QDBusConnection& PortalHotKeyGrabber::Bus() const
{
    if (!bus_)
        bus_ = QDBusConnection::sessionBus();
    return *bus_;
}

bool PortalHotKeyGrabber::CanHoldKeys() const
{
    if (!portalOffersShortcuts_) {
        QDBusMessage probe = QDBusMessage::createMethodCall(Latin(kService), Latin(kPath),
                                                            QStringLiteral("org.freedesktop.DBus.Properties"),
                                                            QStringLiteral("Get"));
        probe << Latin(kInterface) << QStringLiteral("version");
        portalOffersShortcuts_ =
            Bus().isConnected() && Bus().call(probe, QDBus::Block, kProbeTimeoutMs).type() == QDBusMessage::ReplyMessage;
    }
    return *portalOffersShortcuts_;
}

QString PortalHotKeyGrabber::Trigger(QKeyCombination combination)
{
    const QString key = KeyName(combination.key());
    if (key.isEmpty())
        return {};
    QStringList parts;
    const Qt::KeyboardModifiers modifiers = combination.keyboardModifiers();
    if (modifiers & Qt::ControlModifier)
        parts << QStringLiteral("CTRL");
    if (modifiers & Qt::AltModifier)
        parts << QStringLiteral("ALT");
    if (modifiers & Qt::ShiftModifier)
        parts << QStringLiteral("SHIFT");
    if (modifiers & Qt::MetaModifier)
        parts << QStringLiteral("LOGO");
    parts << key;
    return parts.join(QLatin1Char('+'));
}

bool PortalHotKeyGrabber::Register(QKeyCombination combination)
{
    Unregister();
    if (!CanHoldKeys())
        return false;
    if (!listening_) {
        qDBusRegisterMetaType<PortalShortcut>();
        qDBusRegisterMetaType<QList<PortalShortcut>>();
        Bus().connect(Latin(kService), Latin(kPath), Latin(kInterface), QStringLiteral("Activated"), this,
                      SLOT(OnActivated(QDBusMessage)));
        listening_ = true;
    }
    trigger_ = Trigger(combination);
    sessionRequest_ = Request(QStringLiteral("CreateSession"), {});
    return !sessionRequest_.isEmpty();
}

void PortalHotKeyGrabber::Unregister()
{
    CloseSession();
    sessionRequest_.clear();
    bindRequest_.clear();
}

// A portal call answers with a request object whose Response signal carries the result. Its path
// is known before the call, so the answer is listened for before it can come.
QString PortalHotKeyGrabber::Request(const QString& method, const QVariantList& arguments)
{
    const QString token = QStringLiteral("mnemora_xp_%1").arg(++tokens_);
    QString sender = Bus().baseService().mid(1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    const QString path = QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2").arg(sender, token);
    Bus().connect(Latin(kService), path, Latin(kRequestInterface), QStringLiteral("Response"), this,
                 SLOT(OnResponse(uint, QVariantMap, QDBusMessage)));

    QVariantMap options{{QStringLiteral("handle_token"), token}};
    if (method == QLatin1String("CreateSession"))
        options.insert(QStringLiteral("session_handle_token"), token);
    QDBusMessage call = QDBusMessage::createMethodCall(Latin(kService), Latin(kPath), Latin(kInterface), method);
    call.setArguments(QVariantList(arguments) << options);
    // A portal that refuses the call answers no request: the key is then not held.
    auto* watcher = new QDBusPendingCallWatcher(Bus().asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, path](QDBusPendingCallWatcher* finished) {
        finished->deleteLater();
        if (finished->isError()) {
            if (sessionRequest_ == path)
                sessionRequest_.clear();
            if (bindRequest_ == path)
                bindRequest_.clear();
        }
    });
    return path;
}

void PortalHotKeyGrabber::OnResponse(uint response, const QVariantMap& results, const QDBusMessage& message)
{
    const QString path = message.path();
    Bus().disconnect(Latin(kService), path, Latin(kRequestInterface), QStringLiteral("Response"), this,
                    SLOT(OnResponse(uint, QVariantMap, QDBusMessage)));
    const QVariant handle = results.value(QStringLiteral("session_handle"));
    const QString session =
        handle.canConvert<QDBusObjectPath>() ? handle.value<QDBusObjectPath>().path() : handle.toString();
    if (path == sessionRequest_) {
        sessionRequest_.clear();
        if (response != kResponseSuccess || session.isEmpty())
            return;
        session_ = session;
        QVariantMap shortcut{{QStringLiteral("description"), QStringLiteral("Optimiser la RAM")}};
        if (!trigger_.isEmpty())
            shortcut.insert(QStringLiteral("preferred_trigger"), trigger_);
        const QList<PortalShortcut> shortcuts{{Latin(kShortcutId), shortcut}};
        bindRequest_ = Request(QStringLiteral("BindShortcuts"),
                               {QVariant::fromValue(QDBusObjectPath(session_)), QVariant::fromValue(shortcuts), QString()});
    } else if (path == bindRequest_) {
        bindRequest_.clear();
        bound_ = response == kResponseSuccess;
    } else if (!session.isEmpty()) {
        // The answer to a key changed since: that session is not wanted any more.
        Bus().call(QDBusMessage::createMethodCall(Latin(kService), session, Latin(kSessionInterface),
                                                 QStringLiteral("Close")),
                  QDBus::NoBlock);
    }
}

void PortalHotKeyGrabber::OnActivated(const QDBusMessage& message)
{
    const QVariantList arguments = message.arguments();
    if (arguments.size() < 2 || !bound_)
        return;
    const QString session = arguments.at(0).value<QDBusObjectPath>().path();
    if (session == session_ && arguments.at(1).toString() == QLatin1String(kShortcutId) && OnPressed)
        OnPressed();
}

void PortalHotKeyGrabber::CloseSession()
{
    if (!session_.isEmpty())
        Bus().call(QDBusMessage::createMethodCall(Latin(kService), session_, Latin(kSessionInterface),
                                                 QStringLiteral("Close")),
                  QDBus::NoBlock);
    session_.clear();
    bound_ = false;
}

}  // namespace platform
