// SPDX-License-Identifier: GPL-3.0-or-later
#include "sysinfo/CpuPage.h"

namespace {

std::vector<TFeatureRow> FeatureRows(const TCpuIdent& cpu)
{
    const TFeatureSet& f = cpu.FeatureSet();
    const TExFeatureSet& x = cpu.FeatureSetEx();
    const auto row = [](const char* code, const char* description, bool supported) {
        return TFeatureRow{QString::fromLatin1(code), QString::fromLatin1(description), supported};
    };
    return {
        row("FPU", "Floating Point Processor", f.FPU),
        row("VME", "Virtual Mode Extension", f.VME),
        row("DE", "Debugging Extension", f.DE),
        row("PSE", "Page Size Extension", f.PSE),
        row("TSC", "Time Stamp Counter", f.TSC),
        row("MSR", "Model Specific Registers", f.MSR),
        row("PAE", "Physical Address Extension", f.PAE),
        row("MCE", "Machine Check Exception", f.MCE),
        row("CX8", "CMPXCHG8 Instruction", f.CX8),
        row("APIC", "On-chip APIC Hardware", f.APIC),
        row("SEP", "Fast System Call", f.SEP),
        row("MTRR", "Memory Type Range Registers", f.MTRR),
        row("PGE", "Page Global Enable", f.PGE),
        row("MCA", "Machine Check Architecture", f.MCA),
        row("CMOV", "Conditional Move Instruction", f.CMOV),
        row("PAT", "Page Attribute Table", f.PAT),
        row("PSE36", "36-bit Page Size Extension", f.PSE36),
        row("SERIAL", "Processor Serial Number", f.SERIAL),
        row("CLFLUSH", "CLFLUSH Instruction", f.CLFLUSH),
        row("DTS", "Debug Trace Store", f.DTS),
        row("ACPI", "Advanced Configuration and Power Management Interface", f.ACPI),
        row("MMX", "MMX Extensions", f.MMX),
        row("FXSR", "Floating Point Save and Restore", f.XSR),
        row("SIMD", "Streaming SIMD Extensions", f.SIMD),
        row("SIMD2", "Streaming SIMD Extensions 2", f.SIMD2),
        row("SS", "Self-Snoop", f.SS),
        row("TM", "Thermal Monitor Supported", f.TM),
        row("3DNOW", "3DNow! Extensions", x.AMD3DNow),
        row("3DNOWEX", "Enhanced 3DNow! Extensions", x.AMD3DNowEx),
        row("MMXEX", "Enhanced MMX Extensions", x.MMXEx),
    };
}

}  // namespace

TCpuPage CpuPage(TCpuIdent& cpu)
{
    TCpuPage page;
    const QString& fullName = cpu.FullName();
    page.name = fullName.left(fullName.indexOf(QChar(0)));
    page.mmx = cpu.MMX() ? QStringLiteral("MMX Instructions Supportées") : QStringLiteral("MMX Instructions pas supported");
    page.simd = cpu.FeatureSet().SIMD ? QStringLiteral("SIMD Instructions Supportées")
                                      : QStringLiteral("SIMD Instructions pas supportées");
    page.threeDNow = cpu.FeatureSetEx().AMD3DNow ? QStringLiteral("3DNow! Instructions Supportées")
                                                 : QStringLiteral("3DNow! Instructions pas supportées");

    const TCacheInfo& cache = cpu.Cache();
    page.CacheLevel1 = cache.Level1;
    page.CacheL1Code = cache.L1Code;
    page.CacheL1Data = cache.L1Data;
    if (page.CacheL1Data <= 0)
        page.CacheL1Data = cpu.ExtL1DataSize();
    if (page.CacheL1Code <= 0)
        page.CacheL1Code = cpu.ExtL1CodeSize();
    page.CacheLevel2 = cache.Level2;
    if (page.CacheLevel2 <= 0)
        page.CacheLevel2 = cpu.ExtL2Size();
    // Processors newer than the descriptor tables tell their sizes only in the deterministic
    // cache leaves; the older ones have no such leaf and keep what the tables gave.
    if (page.CacheL1Data <= 0 || page.CacheL1Code <= 0 || page.CacheLevel2 <= 0) {
        const TCacheInfo newer = cpu.DeterministicCache();
        if (page.CacheL1Data <= 0)
            page.CacheL1Data = newer.L1Data;
        if (page.CacheL1Code <= 0)
            page.CacheL1Code = newer.L1Code;
        if (page.CacheLevel2 <= 0)
            page.CacheLevel2 = newer.Level2;
    }
    page.features = FeatureRows(cpu);
    return page;
}

QString CacheText(int kilobytes)
{
    return QString::number(kilobytes) + QStringLiteral(" Kb");
}
