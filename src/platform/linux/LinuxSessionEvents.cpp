// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/LinuxSessionEvents.h"

#include <QGuiApplication>
#include <QSessionManager>
#include <csignal>

namespace platform {

LinuxSessionEvents::LinuxSessionEvents() : signals_({SIGTERM, SIGHUP})
{
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        connect(app, &QGuiApplication::commitDataRequest, this, [this](QSessionManager&) {
            if (OnQueryEnd)
                OnQueryEnd();
        });
    }
    connect(&signals_, &UnixSignalNotifier::Raised, this, [this] {
        if (OnEnd)
            OnEnd();
    });
}

}  // namespace platform
