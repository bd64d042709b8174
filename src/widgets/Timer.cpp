// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/Timer.h"

TTimer::TTimer(QObject* owner, int intervalMs, bool enabled) : QObject(owner), intervalMs_(intervalMs), enabled_(enabled)
{
    connect(&timer_, &QTimer::timeout, this, [this] {
        if (OnTimer)
            OnTimer(this);
    });
    Restart();
}

void TTimer::SetEnabled(bool enabled)
{
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    Restart();
}

void TTimer::SetInterval(int intervalMs)
{
    if (intervalMs == intervalMs_)
        return;
    intervalMs_ = intervalMs;
    Restart();
}

void TTimer::Restart()
{
    timer_.stop();
    if (enabled_ && intervalMs_ > 0)
        timer_.start(intervalMs_);
}
