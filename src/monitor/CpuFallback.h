// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>

#include "platform/PerfDataRegistry.h"
#include "platform/TickClock.h"

// The stand-in for the sampler when it fails: the idle counter of the first processor instance,
// read twice a timer tick apart, gives the percentage of processor use. It never raises: every
// failure reads as an idle counter of 0.
class TCpuFallback {
public:
    static constexpr std::uint32_t kInitialBufferSize = 65536;

    TCpuFallback(platform::IPerfDataRegistry& perfData, platform::ITickClock& clock);

    // The first instance's idle counter (100 ns units), 0 when it can't be read.
    std::int64_t ReadIdleTime();
    // 0 at the first call and when two calls fall on the same tick count; otherwise 0 to 100.
    std::int32_t FallbackCpuPercent();

private:
    platform::IPerfDataRegistry& perfData_;
    platform::ITickClock& clock_;
    std::uint32_t fallbackTick_ = 0;
    std::int64_t fallbackIdle_ = 0;
};
