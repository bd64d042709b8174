// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/CpuFallback.h"

#include <algorithm>
#include <vector>

#include "monitor/PerfDataView.h"
#include "platform/Rounding.h"

namespace perf = platform::perf;

TCpuFallback::TCpuFallback(platform::IPerfDataRegistry& perfData, platform::ITickClock& clock)
    : perfData_(perfData), clock_(clock)
{
}

std::int64_t TCpuFallback::ReadIdleTime()
{
    using Answer = platform::IPerfDataRegistry::Answer;
    std::vector<std::uint8_t> buffer(kInitialBufferSize);
    Answer answer;
    std::uint32_t size;
    for (;;) {
        size = static_cast<std::uint32_t>(buffer.size());
        answer = perfData_.Query(perf::kProcessorObjectName, buffer.data(), size);
        if (answer != Answer::MoreData || buffer.size() * 2 > kMaxPerfDataSize)
            break;
        buffer.resize(buffer.size() * 2);
    }
    if (answer != Answer::Success)
        return 0;

    const PerfDataView view(buffer.data(), std::min<std::size_t>(size, buffer.size()));
    const auto object = view.FindObject(perf::kProcessorObject);
    if (!object)
        return 0;
    // Counter definitions are taken to be of the published 40-byte size here.
    const auto counter = view.FindCounter(*object, perf::kProcessorTime, perf::kCounterDefinitionSize);
    if (!counter)
        return 0;
    const auto counterOffset = view.U32(*counter + perf::kCounterOffset);
    const auto definitionLength = view.U32(*object + perf::kObjectDefinitionLength);
    const auto instances = view.I32(*object + perf::kObjectNumInstances);
    if (!counterOffset || !definitionLength || !instances || *instances < 1)
        return 0;
    const std::uint64_t instance = *object + *definitionLength;
    const auto instanceLength = view.U32(instance + perf::kInstanceByteLength);
    if (!instanceLength)
        return 0;
    return view.I64(instance + *instanceLength + *counterOffset).value_or(0);
}

std::int32_t TCpuFallback::FallbackCpuPercent()
{
    const std::uint32_t now = clock_.TickCount();
    const std::int64_t idle = ReadIdleTime();
    std::int32_t result = 0;
    if (fallbackTick_ != 0 && now != fallbackTick_) {
        // 100 ns units / 100 = 10 us units; per millisecond, that is the idle percentage.
        const std::int64_t idleUnits = CounterDifference(idle, fallbackIdle_) / 100;
        const std::uint32_t elapsed = now - fallbackTick_;
        const double idlePercent = static_cast<double>(idleUnits) / elapsed;
        // A reading next to an unreadable one (counted as idle 0) differences a whole counter:
        // kept within 0 to 100, it can't spoil the running average.
        result = static_cast<std::int32_t>(std::clamp<std::int64_t>(100 - RoundHalfEven(idlePercent), 0, 100));
    }
    fallbackTick_ = now;
    fallbackIdle_ = idle;
    return result;
}
