// SPDX-License-Identifier: GPL-3.0-or-later
#include "sysinfo/CpuModelName.h"

namespace {

QString Intel(const TCpuModelKey& key)
{
    const int l2 = key.level2;
    switch (key.family) {
    case 4:
        switch (key.model) {
        case 4: return QStringLiteral("80486SL");
        case 7: return QStringLiteral("80486DX2");
        case 8: return QStringLiteral("80486DX4");
        default: return QStringLiteral("486 class");
        }
    case 5:
        switch (key.model) {
        case 0: case 1: return QStringLiteral("Pentium (P5)");
        case 2: case 7: return QStringLiteral("Pentium (P54C)");
        case 3: return QStringLiteral("Pentium 486 OverDrive");
        case 4: return QStringLiteral("Pentium MMX");
        default: return QStringLiteral("Pentium class");
        }
    case 6:
        switch (key.model) {
        case 0: case 1: return QStringLiteral("Pentium Pro");
        case 3: return key.processorType == 1 ? QStringLiteral("Pentium II Overdrive") : QStringLiteral("Pentium II (Model 3)");
        case 5:
            if (l2 < 128)
                return QStringLiteral("Celeron (Model 5)");
            return l2 < 1024 ? QStringLiteral("Pentium II (Model 5)") : QStringLiteral("Pentium II Xeon");
        case 6:
            if (l2 > 128)
                return QStringLiteral("Mobile Pentium II");
            return key.standardFeatures & (1u << 18) ? QStringLiteral("Mobile Celeron") : QStringLiteral("Celeron");
        case 7: case 8:
            switch (key.brandIndex) {
            case 0: return l2 < 1024 ? QStringLiteral("Pentium III") : QStringLiteral("Pentium III Xeon");
            case 1: return QStringLiteral("Celeron");
            case 2: return QStringLiteral("Pentium III");
            case 3: return QStringLiteral("Pentium III Xeon");
            case 8: return QStringLiteral("Pentium 4");
            default: return QStringLiteral("Pentium III class");
            }
        case 10: return QStringLiteral("Pentium III Xeon");
        default: return QStringLiteral("Pentium II/III class");
        }
    case 15:
        return key.model == 0 ? QStringLiteral("Pentium 4") : QStringLiteral("Pentium 4 class");
    default:
        return {};
    }
}

QString Amd(const TCpuModelKey& key)
{
    switch (key.family) {
    case 4:
        switch (key.model) {
        case 3: case 7: case 8: case 9: return QStringLiteral("Am486");
        case 14: case 15: return QStringLiteral("Am5x86");
        default: return QStringLiteral("486 class");
        }
    case 5:
        switch (key.model) {
        case 0: return QStringLiteral("K5 (Model 0)");
        case 1: return QStringLiteral("K5 (Model 1)");
        case 2: return QStringLiteral("K5 (Model 2)");
        case 3: return QStringLiteral("K5 (Model 3)");
        case 6: return QStringLiteral("K6 (Model 6)");
        case 7: return QStringLiteral("K6 (Model 7)");
        case 8: return QStringLiteral("K6-2");
        case 9: return QStringLiteral("K6-III");
        case 13: return QStringLiteral("K6-2+/K6-III+");
        default: return QStringLiteral("Pentium class");
        }
    case 6:
        switch (key.model) {
        case 1: return QStringLiteral("Atlhon (Model 1)");
        case 2: return QStringLiteral("Athlon (Model 2)");
        case 3: return QStringLiteral("Duron (Model 3)");
        case 4: return QStringLiteral("Athlon (Model 4)");
        case 6: return QStringLiteral("Athlon/Duron (Model 6)");
        case 7: return QStringLiteral("Duron (Model 7)");
        case 8: return QStringLiteral("Athlon (Model 8)");
        default: return QStringLiteral("Athlon class");
        }
    default:
        return {};
    }
}

QString Cyrix(const TCpuModelKey& key)
{
    switch (key.family) {
    case 4:
        return key.model == 4 ? QStringLiteral("Media GX") : key.model == 9 ? QStringLiteral("Cx5x86") : QStringLiteral("486 class");
    case 5:
        return key.model == 2 ? QStringLiteral("6x86") : key.model == 4 ? QStringLiteral("GXm") : QStringLiteral("Pentium class");
    case 6:
        return key.model == 0 ? QStringLiteral("6x86MX") : key.model == 5 ? QStringLiteral("VIA Cyrix III") : QStringLiteral("M2 Class");
    default:
        return {};
    }
}

QString Others(const TCpuModelKey& key)
{
    switch (key.vendorNumber) {
    case 4:
        if (key.family != 5)
            return {};
        return key.model == 4 ? QStringLiteral("C6")
             : key.model == 8 ? QStringLiteral("C2")
             : key.model == 9 ? QStringLiteral("C3")
                              : QStringLiteral("Pentium class");
    case 5:
        if (key.family != 5)
            return {};
        return key.model == 0 ? QStringLiteral("Nx586") : QStringLiteral("Pentium class");
    case 6:
        if (key.family != 4)
            return {};
        return key.model == 1 ? QStringLiteral("U5D") : key.model == 2 ? QStringLiteral("U5S") : QStringLiteral("Pentium class");
    case 7:
        if (key.family != 5)
            return {};
        return key.model == 0 || key.model == 2 ? QStringLiteral("mP6") : QStringLiteral("Pentium class");
    default:
        return {};
    }
}

// A processor of no known vendor goes by the class the system reports, not by CPUID.
QString SystemClass(std::uint32_t processorType)
{
    switch (processorType) {
    case 386: return QStringLiteral("386 class");
    case 486: return QStringLiteral("486 class");
    case 586: return QStringLiteral("Pentium class");
    case 686: return QStringLiteral("Pentium II class");
    default: return QString::number(processorType) + QStringLiteral(" class");
    }
}

}  // namespace

QString CpuModelName(const TCpuModelKey& key)
{
    switch (key.vendorNumber) {
    case 0: return SystemClass(key.systemProcessorType);
    case 1: return Intel(key);
    case 2: return Amd(key);
    case 3: return Cyrix(key);
    default: return Others(key);
    }
}
