// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/PerfDataRegistry.h"

namespace platform {

// Writes performance data blocks in the published binary layout, so that what Linux measures
// is read by the very same walk as the system's own performance data. Each counter is a 64-bit
// value; each instance carries one value per counter of its object.
struct PerfCounterDefinition {
    std::uint32_t titleIndex = 0;
    std::uint32_t type = perf::kPerfLargeRawCount;
};

struct PerfInstance {
    std::u16string name;
    std::vector<std::int64_t> values;  // one per counter, in definition order
};

struct PerfObject {
    std::uint32_t titleIndex = 0;
    std::vector<PerfCounterDefinition> counters;
    std::vector<PerfInstance> instances;
};

// time100ns: the sample's time stamp (100 ns units from any fixed origin), written as the block's
// SystemTime and PerfTime100nSec alike.
std::vector<std::uint8_t> ComposePerfData(const std::vector<PerfObject>& objects, std::int64_t time100ns);

}  // namespace platform
