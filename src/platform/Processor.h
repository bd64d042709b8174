// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <optional>

namespace platform {

// One CPUID answer.
struct CpuidRegisters {
    std::uint32_t eax = 0;
    std::uint32_t ebx = 0;
    std::uint32_t ecx = 0;
    std::uint32_t edx = 0;
};

// The processor instructions the identification and the clock measurement use.
class IProcessor {
public:
    virtual ~IProcessor() = default;
    // The EFLAGS bit-21 test: whether the CPUID instruction exists.
    virtual bool CpuidPresent() = 0;
    // Executes CPUID once, without any range check; only meaningful when CpuidPresent().
    virtual CpuidRegisters Cpuid(std::uint32_t leaf, std::uint32_t subleaf) = 0;
    // The time-stamp counter, or nothing on a processor without a usable one.
    virtual std::optional<std::uint64_t> TimeStampCounter() = 0;
};

}  // namespace platform
