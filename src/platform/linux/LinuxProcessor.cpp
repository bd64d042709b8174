// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/LinuxProcessor.h"

#include <sys/prctl.h>

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#include <x86intrin.h>
#define MNEMORA_X86 1
#endif

namespace platform {

bool LinuxProcessor::CpuidPresent()
{
#if defined(__x86_64__)
    return true;  // every 64-bit x86 processor has CPUID
#elif defined(MNEMORA_X86)
    // On a 32-bit build this is the EFLAGS bit-21 test; it answers 0 without CPUID.
    return __get_cpuid_max(0, nullptr) != 0;
#else
    return false;
#endif
}

CpuidRegisters LinuxProcessor::Cpuid([[maybe_unused]] std::uint32_t leaf, [[maybe_unused]] std::uint32_t subleaf)
{
    CpuidRegisters answer;
#ifdef MNEMORA_X86
    __cpuid_count(leaf, subleaf, answer.eax, answer.ebx, answer.ecx, answer.edx);
#endif
    return answer;
}

std::optional<std::uint64_t> LinuxProcessor::TimeStampCounter()
{
#ifdef MNEMORA_X86
    constexpr std::uint32_t kTscBit = 1u << 4;
    if (!CpuidPresent() || !(Cpuid(1, 0).edx & kTscBit))
        return std::nullopt;
    // A process may have been forbidden the instruction (it would then die of SIGSEGV).
    int mode = 0;
    if (::prctl(PR_GET_TSC, &mode, 0, 0, 0) == 0 && mode != PR_TSC_ENABLE)
        return std::nullopt;
    return __rdtsc();
#else
    return std::nullopt;
#endif
}

}  // namespace platform
