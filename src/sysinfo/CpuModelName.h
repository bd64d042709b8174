// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>
#include <cstdint>

// What the model-name table looks a processor up by.
struct TCpuModelKey {
    int vendorNumber = 0;  // 1 Intel, 2 AMD, 3 Cyrix, 4 IDT/Centaur, 5 NexGen, 6 UMC, 7 Rise; 0 other
    int family = 0;        // the 4-bit fields, no extended family or model
    int model = 0;
    int processorType = 0;         // leaf 1 EAX bits 13-12
    int brandIndex = 0;            // leaf 1 EBX bits 7-0
    int level2 = 0;                // the component's own L2 size in KB
    std::uint32_t standardFeatures = 0;
    std::uint32_t systemProcessorType = 0;  // the system's class number, for vendor 0
};

// The model name of the period table; empty for a family or model it does not name.
QString CpuModelName(const TCpuModelKey& key);
