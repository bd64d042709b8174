// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/PerfDataView.h"

#include "platform/PerfDataRegistry.h"

namespace perf = platform::perf;

std::optional<std::uint64_t> PerfDataView::FindObject(std::uint32_t titleIndex) const
{
    const auto header = U32(perf::kBlockHeaderLength);
    const auto count = U32(perf::kBlockNumObjectTypes);
    if (!header || !count)
        return std::nullopt;
    std::uint64_t at = *header;
    for (std::uint32_t i = 0; i < *count; ++i) {
        const auto index = U32(at + perf::kObjectNameTitleIndex);
        if (!index)
            return std::nullopt;
        if (*index == titleIndex)
            return at;
        // A step of 0 would show this same object for every remaining entry.
        const auto step = U32(at + perf::kObjectTotalByteLength);
        if (!step || *step == 0)
            return std::nullopt;
        at += *step;
    }
    return std::nullopt;
}

std::optional<std::uint64_t> PerfDataView::FindCounter(std::uint64_t object, std::uint32_t titleIndex,
                                                       std::uint32_t fixedStep) const
{
    const auto header = U32(object + perf::kObjectHeaderLength);
    const auto count = U32(object + perf::kObjectNumCounters);
    if (!header || !count)
        return std::nullopt;
    std::uint64_t at = object + *header;
    for (std::uint32_t i = 0; i < *count; ++i) {
        const auto index = U32(at + perf::kCounterNameTitleIndex);
        if (!index)
            return std::nullopt;
        if (*index == titleIndex)
            return at;
        const auto step = fixedStep != 0 ? std::optional<std::uint32_t>(fixedStep) : U32(at + perf::kCounterByteLength);
        if (!step || *step == 0)
            return std::nullopt;
        at += *step;
    }
    return std::nullopt;
}
