// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>
#include <functional>

#include "platform/PerfDataRegistry.h"
#include "platform/linux/KernelFiles.h"

namespace platform {

// The processor object of the performance data, composed from /proc/stat: a first instance,
// "_Total", holding the mean of the CPUs, then one instance per listed CPU ("0", "1", ...). Its one counter,
// "% Processor Time", is the CPU's idle time (idle + iowait) in 100 ns units; the block's time
// stamp comes from the monotonic clock in the same unit, so a clock set by hand or by NTP never
// turns into a false load.
class ProcStatPerfData : public IPerfDataRegistry {
public:
    using MonotonicClock = std::function<std::int64_t()>;  // 100 ns units

    static std::int64_t MonotonicNow();

    explicit ProcStatPerfData(QString statPath = QStringLiteral("/proc/stat"), MonotonicClock clock = MonotonicNow);

    // Only the processor object ("238") is known; /proc/stat unreadable or without CPU lines is
    // a failure.
    Answer Query(std::string_view valueName, std::uint8_t* buffer, std::uint32_t& size) override;

private:
    KernelFile stat_;  // read every second: kept open
    MonotonicClock clock_;
    std::int64_t unitsPerTick_;
};

}  // namespace platform
