// SPDX-License-Identifier: GPL-3.0-or-later
#include "PrivateBus.h"

#include <QDBusConnection>

PrivateBus::PrivateBus()
{
    daemon_.setProgram(QStringLiteral("dbus-daemon"));
    daemon_.setArguments({QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address=1")});
    daemon_.start();
    if (!daemon_.waitForStarted())
        return;
    while (!daemon_.canReadLine() && daemon_.waitForReadyRead()) {
    }
    address_ = QString::fromLocal8Bit(daemon_.readLine()).trimmed();
}

PrivateBus::~PrivateBus()
{
    for (const QString& name : names_)
        QDBusConnection::disconnectFromBus(name);
    daemon_.terminate();
    daemon_.waitForFinished();
}

QDBusConnection PrivateBus::Connect(const QString& name)
{
    names_.append(name);
    return QDBusConnection::connectToBus(address_, name);
}
