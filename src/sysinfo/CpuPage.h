// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>
#include <vector>

#include "sysinfo/CpuIdent.h"

// One line of the feature list: its code, what it is, and whether the processor has it.
struct TFeatureRow {
    QString code;
    QString description;
    bool supported = false;
};

// What the processor page shows, settled once from the processor component.
struct TCpuPage {
    QString name;  // as a caption shows it: up to the first NUL
    QString mmx;
    QString simd;
    QString threeDNow;
    int CacheL1Code = 0;
    int CacheL1Data = 0;
    int CacheLevel1 = 0;
    int CacheLevel2 = 0;
    std::vector<TFeatureRow> features;  // the 30 rows, in their order
};

// The page of this processor. A size the component found none for falls back on the extended
// leaves, then on the deterministic cache leaves of newer processors.
TCpuPage CpuPage(TCpuIdent& cpu);

// The text of a cache size: the number and " Kb".
QString CacheText(int kilobytes);
