// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QObject>

#include "platform/SessionEvents.h"
#include "platform/linux/UnixSignalNotifier.h"

namespace platform {

// The session manager's "save your data" request comes through QGuiApplication; the end itself
// arrives as SIGTERM (the session manager, systemd, kill) or SIGHUP (the terminal went away),
// turned into an orderly end through the event loop.
class LinuxSessionEvents : public QObject, public ISessionEvents {
public:
    LinuxSessionEvents();

private:
    UnixSignalNotifier signals_;
};

}  // namespace platform
