// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "platform/PerfDataRegistry.h"
#include "platform/linux/PerfDataComposer.h"

// Performance data blocks for the processor-load tests, composed in the published layout.
namespace composed {

constexpr std::int64_t kSecond = 10'000'000;  // in 100 ns units
constexpr std::int64_t kStart = 3 * 86'400 * kSecond;  // three days of uptime, as Linux stamps a block
constexpr std::uint32_t kOtherCounter = 142;  // "% User Time"
constexpr std::int64_t kOtherValue = 0x7777'7777'7777;

// The processor object: one instance per idle value, named "0", "1", ...; counters in the given
// order, counter 6 carrying the idle value and every other one kOtherValue.
inline platform::PerfObject Processor(const std::vector<std::int64_t>& idle,
                                      const std::vector<std::uint32_t>& counters = {platform::perf::kProcessorTime})
{
    platform::PerfObject object{platform::perf::kProcessorObject, {}, {}};
    for (const std::uint32_t title : counters)
        object.counters.push_back({title, platform::perf::kPerf100nsTimerInv});
    for (std::size_t i = 0; i < idle.size(); ++i) {
        const std::string name = std::to_string(i);
        platform::PerfInstance instance{std::u16string(name.begin(), name.end()), {}};
        for (const std::uint32_t title : counters)
            instance.values.push_back(title == platform::perf::kProcessorTime ? idle[i] : kOtherValue);
        object.instances.push_back(instance);
    }
    return object;
}

// Another object (the memory object, 4) that the readers must step over.
inline platform::PerfObject Memory()
{
    return {4, {{26, platform::perf::kPerfLargeRawCount}}, {{u"", {123}}}};
}

inline std::vector<std::uint8_t> Block(const std::vector<platform::PerfObject>& objects, std::int64_t time)
{
    return platform::ComposePerfData(objects, time);
}

// A block of the processor object alone, with counter 6 only.
inline std::vector<std::uint8_t> CpuBlock(const std::vector<std::int64_t>& idle, std::int64_t time)
{
    return Block({Processor(idle)}, time);
}

template <typename T>
T Get(const std::vector<std::uint8_t>& block, std::size_t at)
{
    T value;
    std::memcpy(&value, block.data() + at, sizeof value);
    return value;
}

template <typename T>
void Set(std::vector<std::uint8_t>& block, std::size_t at, T value)
{
    std::memcpy(block.data() + at, &value, sizeof value);
}

}  // namespace composed
