// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "platform/Processor.h"

namespace platform {

// CPUID and the time-stamp counter of the x86 processor the program runs on; elsewhere CPUID is
// absent and there is no counter.
class LinuxProcessor : public IProcessor {
public:
    bool CpuidPresent() override;
    CpuidRegisters Cpuid(std::uint32_t leaf, std::uint32_t subleaf) override;
    std::optional<std::uint64_t> TimeStampCounter() override;
};

}  // namespace platform
