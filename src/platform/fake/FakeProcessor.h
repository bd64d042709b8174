// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <map>
#include <utility>
#include <vector>

#include "platform/Processor.h"

namespace platform {

// A processor whose CPUID answers a test composes. A leaf given several answers gives them in
// turn on repeated execution (leaf 2 of the older processors), the last one from then on; a leaf
// missing from the table answers zeros.
class FakeProcessor : public IProcessor {
public:
    bool CpuidPresent() override { return present; }
    CpuidRegisters Cpuid(std::uint32_t leaf, std::uint32_t subleaf) override;
    std::optional<std::uint64_t> TimeStampCounter() override;

    void Set(std::uint32_t leaf, CpuidRegisters answer, std::uint32_t subleaf = 0);
    // Leaves 0x80000002 to 0x80000004 hold a 48-byte brand string, NUL-padded.
    void SetBrandString(const char* text);

    bool present = true;
    std::map<std::pair<std::uint32_t, std::uint32_t>, std::vector<CpuidRegisters>> table;
    std::map<std::pair<std::uint32_t, std::uint32_t>, int> executions;
    std::optional<std::uint64_t> timeStampCounter;  // none: no usable counter
    std::uint64_t counterStep = 0;                  // added after each read
};

}  // namespace platform
