// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/fake/FakeProcessor.h"

#include <algorithm>
#include <cstring>

namespace platform {

CpuidRegisters FakeProcessor::Cpuid(std::uint32_t leaf, std::uint32_t subleaf)
{
    const auto key = std::make_pair(leaf, subleaf);
    const int run = executions[key]++;
    const auto answers = table.find(key);
    if (answers == table.end() || answers->second.empty())
        return {};
    const auto& list = answers->second;
    return list[std::min<std::size_t>(static_cast<std::size_t>(run), list.size() - 1)];
}

std::optional<std::uint64_t> FakeProcessor::TimeStampCounter()
{
    const auto value = timeStampCounter;
    if (timeStampCounter)
        *timeStampCounter += counterStep;
    return value;
}

void FakeProcessor::Set(std::uint32_t leaf, CpuidRegisters answer, std::uint32_t subleaf)
{
    table[{leaf, subleaf}].push_back(answer);
}

void FakeProcessor::SetBrandString(const char* text)
{
    char bytes[48] = {};
    std::memcpy(bytes, text, std::min(std::strlen(text), sizeof bytes));
    for (std::uint32_t part = 0; part < 3; ++part) {
        std::uint32_t words[4];
        std::memcpy(words, bytes + part * 16, sizeof words);
        table[{0x80000002 + part, 0}] = {{words[0], words[1], words[2], words[3]}};
    }
}

}  // namespace platform
