// SPDX-License-Identifier: GPL-3.0-or-later
#include "sysinfo/CpuClockMeasure.h"

namespace {

constexpr std::uint32_t kSecondMs = 1000;

}  // namespace

TCpuClockMeasure::TCpuClockMeasure(platform::ITickClock& clock, platform::IProcessor& processor, QObject* parent)
    : QObject(parent), clock_(clock), processor_(processor)
{
    wait_.setSingleShot(true);
    // A coarse timer may fire up to 5 % late, which would only lengthen the wait.
    wait_.setTimerType(Qt::PreciseTimer);
    connect(&wait_, &QTimer::timeout, this, &TCpuClockMeasure::Finish);
}

void TCpuClockMeasure::Start(std::function<void(double mhz)> done)
{
    wait_.stop();
    done_ = std::move(done);
    if (!processor_.TimeStampCounter()) {
        done_(0);
        return;
    }
    // The tick count moves every millisecond: watching for its change costs at most that.
    start_ = clock_.TickCount();
    do
        firstTick_ = clock_.TickCount();
    while (firstTick_ == start_);
    c1_ = processor_.TimeStampCounter();
    // Woken a millisecond early; the end of the second is then watched as closely as before.
    const std::uint32_t elapsed = firstTick_ - start_;
    wait_.start(elapsed + 1 < kSecondMs ? static_cast<int>(kSecondMs - elapsed - 1) : 0);
}

void TCpuClockMeasure::Finish()
{
    std::uint32_t now = clock_.TickCount();
    while (static_cast<std::uint32_t>(now - start_) < kSecondMs)
        now = clock_.TickCount();
    const std::optional<std::uint64_t> c2 = processor_.TimeStampCounter();
    if (!c2 || !c1_) {
        done_(0);
        return;
    }
    double mhz = static_cast<double>(*c2 - *c1_) / 1'000'000;
    // A timer that came late (the thread was busy past the second's end) counted for longer
    // than the second: the figure is brought back to the span the measurement stands for.
    const std::uint32_t measured = now - firstTick_;
    const std::uint32_t meant = kSecondMs - (firstTick_ - start_);
    if (now - start_ > kSecondMs && measured > 0)
        mhz = mhz * meant / measured;
    done_(mhz);
}
