// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstring>

#include "platform/fake/FakeProcessor.h"

// A CPUID table put together leaf by leaf, as a processor of a given make answers.
class ComposedProcessor {
public:
    // Leaf 0: the highest standard leaf and the 12-character vendor ID.
    ComposedProcessor& Vendor(const char* id, std::uint32_t maxLeaf)
    {
        std::uint32_t words[3] = {};
        std::memcpy(words, id, std::min<std::size_t>(std::strlen(id), 12));
        cpu.Set(0, {maxLeaf, words[0], words[2], words[1]});
        return *this;
    }
    ComposedProcessor& Leaf(std::uint32_t leaf, std::uint32_t eax, std::uint32_t ebx, std::uint32_t ecx,
                            std::uint32_t edx, std::uint32_t subleaf = 0)
    {
        cpu.Set(leaf, {eax, ebx, ecx, edx}, subleaf);
        return *this;
    }
    ComposedProcessor& Brand(const char* text)
    {
        cpu.SetBrandString(text);
        return *this;
    }

    platform::FakeProcessor cpu;
};
