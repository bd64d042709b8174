// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/EventWait.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

bool WaitUntil(const std::function<bool()>& condition, int deadlineMs)
{
    const QDeadlineTimer deadline(deadlineMs);
    while (!condition() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(2);
    }
    return condition();
}
