// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QDBusConnection>
#include <QProcess>
#include <QString>
#include <QThread>

// A D-Bus daemon of the test's own: services a test stands in for are registered there, so no
// other program on the session bus sees them or answers in their place.
class PrivateBus {
public:
    PrivateBus();
    ~PrivateBus();

    bool IsUp() const { return !address_.isEmpty(); }
    const QString& Address() const { return address_; }
    // A new connection to the bus under this name (each name is one connection).
    QDBusConnection Connect(const QString& name);

private:
    QProcess daemon_;
    QString address_;
    QStringList names_;
};

// Runs a stand-in service's object in a thread of its own, so that the code under test may make
// blocking calls to it from the test's thread.
class ServiceThread {
public:
    ServiceThread() { thread_.start(); }
    ~ServiceThread()
    {
        thread_.quit();
        thread_.wait();
    }
    QThread* Thread() { return &thread_; }

private:
    QThread thread_;
};
