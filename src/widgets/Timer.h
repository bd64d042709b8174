// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QObject>
#include <QTimer>

#include "platform/Events.h"

// A form timer as the window's handlers expect one: an interval of 0 never fires (a Qt timer of
// 0 ms would fire continuously); enabling it or changing its interval restarts the countdown;
// setting the value it already has changes nothing.
class TTimer : public QObject {
public:
    explicit TTimer(QObject* owner = nullptr, int intervalMs = 1000, bool enabled = true);

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    int Interval() const { return intervalMs_; }
    void SetInterval(int intervalMs);
    bool IsCounting() const { return timer_.isActive(); }
    int RemainingTime() const { return timer_.remainingTime(); }  // -1 when not counting

    TNotifyEvent OnTimer;

private:
    void Restart();

    QTimer timer_;
    int intervalMs_;
    bool enabled_;
};
