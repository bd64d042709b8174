// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QObject>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <optional>

#include "platform/Processor.h"
#include "platform/TickClock.h"

// The processor clock measured as MeasureCpuMhz does (time-stamp counter ticks from the tick
// count's first change to one second after the start, divided as a full second), without holding
// the thread for that second: the wait is a timer, and only its last millisecond is watched. The
// window is shown and answers meanwhile; the figure comes to `done` when ready.
class TCpuClockMeasure : public QObject {
public:
    TCpuClockMeasure(platform::ITickClock& clock, platform::IProcessor& processor, QObject* parent = nullptr);

    // Starts a measurement; one still running is dropped. Without a usable counter `done` gets
    // 0 at once.
    void Start(std::function<void(double mhz)> done);
    bool Running() const { return wait_.isActive(); }

private:
    void Finish();

    platform::ITickClock& clock_;
    platform::IProcessor& processor_;
    QTimer wait_;
    std::function<void(double)> done_;
    std::uint32_t start_ = 0;      // t0, the tick count the second is counted from
    std::uint32_t firstTick_ = 0;  // the tick count at its first change, when c1 was read
    std::optional<std::uint64_t> c1_;
};
