// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>

class TCpuUsage;
class TCpuFallback;

// The processor load in percent, as the CPU timer reads it: a fresh sample and the load of
// processor 0; should either fail, another sample and processor 1; should that fail too, the
// fallback reader. The sampler's errors are swallowed on the way.
std::int64_t MeasureCpuPercent(TCpuUsage& sampler, TCpuFallback& fallback);
