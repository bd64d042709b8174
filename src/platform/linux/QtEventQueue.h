// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QObject>

#include "platform/EventQueue.h"

namespace platform {

// Drains the Qt event queue of the calling (user-interface) thread. A quit request made by a
// handler during the drain stays in force: Qt keeps the main loop's exit flag, so the program
// ends once control is back in the main loop.
class QtEventQueue : public QObject, public IEventQueue {
public:
    QtEventQueue();
    bool Drain() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool quitSeen_ = false;
};

}  // namespace platform
