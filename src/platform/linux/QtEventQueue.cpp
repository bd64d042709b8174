// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/QtEventQueue.h"

#include <QCoreApplication>
#include <QEvent>

namespace platform {

QtEventQueue::QtEventQueue()
{
    if (QCoreApplication* app = QCoreApplication::instance())
        app->installEventFilter(this);
}

bool QtEventQueue::Drain()
{
    quitSeen_ = false;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    return quitSeen_;
}

bool QtEventQueue::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Quit && watched == QCoreApplication::instance())
        quitSeen_ = true;
    return false;
}

}  // namespace platform
