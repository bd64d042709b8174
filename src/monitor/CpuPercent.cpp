// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/CpuPercent.h"

#include "monitor/CpuFallback.h"
#include "monitor/CpuUsage.h"
#include "platform/ProgramError.h"
#include "platform/Rounding.h"

std::int64_t MeasureCpuPercent(TCpuUsage& sampler, TCpuFallback& fallback)
{
    for (const std::int32_t index : {0, 1}) {
        try {
            sampler.TakeCpuSample();
            return RoundHalfEven(sampler.CpuLoadFraction(index) * 100);
        } catch (const ProgramError&) {
        }
    }
    return fallback.FallbackCpuPercent();
}
