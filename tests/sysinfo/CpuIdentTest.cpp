// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "ComposedProcessor.h"
#include "sysinfo/CpuIdent.h"
#include "sysinfo/CpuModelName.h"
#include "sysinfo/CpuPage.h"

namespace {

// The page as the user reads it: the name, the three verdicts, the four cache sizes, the vendor
// and the 30 rows ('+' supported, '-' not), in the page's order.
struct TExpectedPage {
    const char* name;
    bool mmx, simd, threeDNow;
    int l1Code, l1Data, level1, level2;
    const char* vendor;
    const char* rows;
};

std::string Rows(const TCpuPage& page)
{
    std::string marks;
    for (const TFeatureRow& row : page.features)
        marks += row.supported ? '+' : '-';
    return marks;
}

void ExpectPage(platform::FakeProcessor& processor, const TExpectedPage& expected, std::uint32_t systemType = 586)
{
    TCpuIdent cpu(processor, systemType);
    cpu.Loaded();
    const TCpuPage page = CpuPage(cpu);
    EXPECT_EQ(page.name.toStdString(), expected.name);
    EXPECT_EQ(page.mmx, expected.mmx ? QStringLiteral("MMX Instructions Supportées") : QStringLiteral("MMX Instructions pas supported"));
    EXPECT_EQ(page.simd, expected.simd ? QStringLiteral("SIMD Instructions Supportées")
                                       : QStringLiteral("SIMD Instructions pas supportées"));
    EXPECT_EQ(page.threeDNow, expected.threeDNow ? QStringLiteral("3DNow! Instructions Supportées")
                                                 : QStringLiteral("3DNow! Instructions pas supportées"));
    EXPECT_EQ(page.CacheL1Code, expected.l1Code);
    EXPECT_EQ(page.CacheL1Data, expected.l1Data);
    EXPECT_EQ(page.CacheLevel1, expected.level1);
    EXPECT_EQ(page.CacheLevel2, expected.level2);
    EXPECT_EQ(cpu.Vendor().toStdString(), expected.vendor);
    EXPECT_EQ(Rows(page), expected.rows);
}

// A Pentium III (Coppermine): family 6, model 8, brand index 2, no extended leaves.
ComposedProcessor PentiumIII()
{
    ComposedProcessor p;
    p.Vendor("GenuineIntel", 2)
        .Leaf(1, 0x00000683, 0x00000002, 0, 0x0387FBFF)
        .Leaf(2, 0x03020101, 0, 0, 0x0C040882);  // L1 code 16 (08), L1 data 16 (0C), L2 256 (82)
    return p;
}

TEST(ProcessorPage, PentiumIIIByItsBrandIndex)
{
    ComposedProcessor p = PentiumIII();
    ExpectPage(p.cpu, {"Intel Pentium III", true, true, false, 16, 16, 0, 256, "Intel Corporation",
                       "++++++++++++++++++---+++------"});
}

TEST(ProcessorPage, CeleronModel5IsToldFromPentiumIIByItsL2)
{
    struct TCase {
        std::uint32_t l2Descriptors;
        const char* name;
        int level2;
    };
    // 0x40 says "no L2": the search ends there, whatever follows.
    for (const TCase& c : {TCase{0x00004440, "Intel Celeron (Model 5)", 0}, TCase{0x41, "Intel Pentium II (Model 5)", 128},
                           TCase{0x43, "Intel Pentium II (Model 5)", 512}, TCase{0x44, "Intel Pentium II Xeon", 1024}}) {
        ComposedProcessor p;
        p.Vendor("GenuineIntel", 2).Leaf(1, 0x00000652, 0, 0, 0x0183FBFF).Leaf(2, 0x03020101, 0, c.l2Descriptors, 0x0C040800);
        SCOPED_TRACE(c.name);
        ExpectPage(p.cpu, {c.name, true, false, false, 16, 16, 0, c.level2, "Intel Corporation",
                           "+++++++++++++++++----++-------"});
    }
}

TEST(ProcessorPage, AmdK6_2NamesItselfAndTakesL1FromTheExtendedLeaf)
{
    ComposedProcessor p;
    p.Vendor("AuthenticAMD", 1)
        .Leaf(1, 0x0000058C, 0, 0, 0x008021BF)
        .Leaf(0x80000000, 0x80000005, 0, 0, 0)
        .Leaf(0x80000001, 0x0000068C, 0, 0, 0x808029BF)
        .Leaf(0x80000005, 0, 0x02800140, 0x20020220, 0x20020220)
        .Brand("AMD-K6(tm) 3D processor");
    // The TLB figures of leaf 0x80000005 hold a 0x80 byte, which the descriptor search reads as a
    // 16 KB unified L1: the period result, kept.
    ExpectPage(p.cpu, {"AMD-K6(tm) 3D processor", true, false, true, 32, 32, 16, 0, "Advanced Micro Devices",
                       "++++++-++---+--------+-----+--"});
    TCpuIdent cpu(p.cpu, 586);
    EXPECT_EQ(cpu.CPU(), QStringLiteral("K6-2"));
    EXPECT_EQ(cpu.FullName(), QStringLiteral("AMD K6-2"));  // until the resource is read
}

TEST(ProcessorPage, DuronModel3ShowsA64KbL2WhateverLeaf80000006Says)
{
    ComposedProcessor p;
    p.Vendor("AuthenticAMD", 1)
        .Leaf(1, 0x00000630, 0, 0, 0x0183F9FF)
        .Leaf(0x80000000, 0x80000006, 0, 0, 0)
        .Leaf(0x80000001, 0x00000730, 0, 0, 0xC1C3F9FF)
        .Leaf(0x80000005, 0x0408FF08, 0xFF18FF0C, 0x40020140, 0x40020140)
        .Leaf(0x80000006, 0, 0x41004100, 0x01004120, 0)
        .Brand("AMD Duron(tm) Processor");
    ExpectPage(p.cpu, {"AMD Duron(tm) Processor", true, false, true, 64, 64, 0, 64, "Advanced Micro Devices",
                       "+++++++++-+++++++----++----+++"});
}

TEST(ProcessorPage, AthlonTakesItsL2FromLeaf80000006)
{
    ComposedProcessor p;
    p.Vendor("AuthenticAMD", 1)
        .Leaf(1, 0x00000642, 0, 0, 0x0183F9FF)
        .Leaf(0x80000000, 0x80000006, 0, 0, 0)
        .Leaf(0x80000001, 0x00000742, 0, 0, 0xC1C3F9FF)
        .Leaf(0x80000005, 0x0408FF08, 0xFF18FF0C, 0x40020140, 0x40020140)
        .Leaf(0x80000006, 0, 0x41004100, 0x01004120, 0)
        .Brand("AMD Athlon(tm) Processor");
    TCpuIdent cpu(p.cpu, 586);
    EXPECT_EQ(cpu.CPU(), QStringLiteral("Athlon (Model 4)"));
    EXPECT_EQ(cpu.Cache().Level2, 256);
    EXPECT_EQ(cpu.Cache().L1Data, 64);
    EXPECT_TRUE(cpu.FeatureSetEx().AMD3DNowEx);
    EXPECT_TRUE(cpu.FeatureSetEx().MMXEx);  // AMD's bit 22
}

TEST(ProcessorPage, CyrixReadsDescriptorsFromTheExtendedLeaves)
{
    ComposedProcessor p;
    p.Vendor("CyrixInstead", 1)
        .Leaf(1, 0x00000652, 0, 0, 0x0080A135)
        .Leaf(0x80000000, 0x80000006, 0, 0, 0)
        .Leaf(0x80000001, 0x00000652, 0, 0, 0x81800000)  // Cyrix's extended MMX is bit 24
        .Leaf(0x80000005, 0, 0, 0x00000080, 0)          // one 16 KB unified L1
        .Leaf(0x80000006, 0, 0, 0x00000042, 0)          // 256 KB L2
        .Brand("Cyrix III");
    ExpectPage(p.cpu, {"Cyrix III", true, false, true, 0, 0, 16, 256, "Cyrix Corporation",
                       "+-+-++--+---+-+------+-----+-+"});
    TCpuIdent cpu(p.cpu, 586);
    EXPECT_EQ(cpu.CPU(), QStringLiteral("VIA Cyrix III"));
}

TEST(ProcessorPage, WithoutCpuidEverythingIsUnknownAndNothingIsSupported)
{
    ComposedProcessor p = PentiumIII();
    p.cpu.present = false;
    ExpectPage(p.cpu, {"Unknown Pentium class", false, false, false, 0, 0, 0, 0, "Unknown Vendor",
                       "------------------------------"});
    for (const auto& [type, name] : {std::pair{386u, "Unknown 386 class"}, {486u, "Unknown 486 class"},
                                     {686u, "Unknown Pentium II class"}, {8664u, "Unknown 8664 class"}}) {
        TCpuIdent cpu(p.cpu, type);
        cpu.Loaded();
        EXPECT_EQ(cpu.FullName().toStdString(), name);
    }
    EXPECT_TRUE(p.cpu.executions.empty()) << "CPUID executed on a processor without it";
}

TEST(ProcessorPage, ExtendedLeavesMissingWhenLeaf80000000IsBelow80000001)
{
    ComposedProcessor p;
    p.Vendor("AuthenticAMD", 1)
        .Leaf(1, 0x00000562, 0, 0, 0x008021BF)
        .Leaf(0x80000000, 0x80000000, 0, 0, 0)
        .Leaf(0x80000001, 0, 0, 0, 0xC0C00000);  // never read
    ExpectPage(p.cpu, {"AMD K6 (Model 6)", true, false, false, 0, 0, 0, 0, "Advanced Micro Devices",
                       "++++++-++---+--------+--------"});
}

TEST(ProcessorPage, VendorsOutsideTheTableShowUnknownAndTheSystemClass)
{
    ComposedProcessor p;
    p.Vendor("HygonGenuine", 0xD).Leaf(1, 0x00900F01, 0, 0, 0x178BFBFF);
    TCpuIdent cpu(p.cpu, 686);
    cpu.Loaded();
    EXPECT_EQ(cpu.Vendor(), QStringLiteral("Unknown Vendor"));
    EXPECT_EQ(cpu.FullName(), QStringLiteral("Unknown Pentium II class"));

    ComposedProcessor shortId;  // a NUL inside the vendor ID makes it shorter than 12 characters
    shortId.Vendor("Genuine", 1);
    EXPECT_EQ(TCpuIdent(shortId.cpu, 586).Vendor(), QStringLiteral("Unknown Vendor"));
}

// An Intel Core of 2020 (Tiger Lake: family 6, 4-bit model 12): its leaf 2 says "see leaf 4",
// and leaf 0x80000000 reports 0x80000008.
ComposedProcessor TigerLake()
{
    ComposedProcessor p;
    p.Vendor("GenuineIntel", 0x1B)
        .Leaf(1, 0x000806C1, 0x00100800, 0x7FFAFBBF, 0xBFEBFBFF)
        .Leaf(2, 0x00FEFF01, 0x000000F0, 0, 0)
        .Leaf(4, 0x1C004121, 0x02C0003F, 63, 0, 0)     // 48 KB L1 data
        .Leaf(4, 0x1C004122, 0x01C0003F, 63, 0, 1)     // 32 KB L1 code
        .Leaf(4, 0x1C004143, 0x04C0003F, 1023, 0, 2)   // 1280 KB L2
        .Leaf(4, 0x1C03C163, 0x02C0003F, 16383, 0, 3)  // 12 MB L3
        .Leaf(0x80000000, 0x80000008, 0, 0, 0)
        .Leaf(0x80000001, 0, 0, 0x00000121, 0x2C100800)
        .Leaf(0x80000006, 0, 0, 0x05007040, 0)
        .Brand("11th Gen Intel(R) Core(TM) i7-1165G7 @ 2.80GHz");
    return p;
}

TEST(ProcessorPage, RecentIntelShowsItsBrandStringAndTheCachesOfLeaf4)
{
    ComposedProcessor p = TigerLake();
    ExpectPage(p.cpu, {"11th Gen Intel(R) Core(TM) i7-1165G7 @ 2.80GHz", true, true, false, 32, 48, 0, 1280,
                       "Intel Corporation", "+++++++++++++++++-+++++++++---"});
    TCpuIdent cpu(p.cpu, 686);
    EXPECT_EQ(cpu.CPUID().MaxLevelEx, 0);
    EXPECT_EQ(cpu.CPU(), QStringLiteral("Pentium II/III class"));  // the period table, kept for the old ones
}

TEST(ProcessorPage, RecentIntelWithoutLeaf80000006StillHasAnL2)
{
    ComposedProcessor p = TigerLake();
    p.cpu.table.erase({0x80000006, 0});
    TCpuIdent cpu(p.cpu, 686);
    EXPECT_EQ(CpuPage(cpu).CacheLevel2, 1280);
}

// An AMD Ryzen of 2022 (Zen 4: 4-bit family 15, model 1), leaf 0x80000000 at 0x80000028.
ComposedProcessor Zen4()
{
    ComposedProcessor p;
    p.Vendor("AuthenticAMD", 0x10)
        .Leaf(1, 0x00A60F12, 0x00100800, 0x7EF8320B, 0x178BFBFF)
        .Leaf(0x80000000, 0x80000028, 0, 0, 0)
        .Leaf(0x80000001, 0x00A60F12, 0, 0x75C237FF, 0x2FD3FBFF)
        .Leaf(0x80000005, 0xFF48FF40, 0xFF48FF40, 0x20080140, 0x20080140)
        .Leaf(0x80000006, 0x5C002200, 0x6C004200, 0x04006140, 0x02009140)
        .Leaf(0x8000001D, 0x00004121, 0x01C0003F, 63, 0, 0)
        .Leaf(0x8000001D, 0x00004122, 0x01C0003F, 63, 0, 1)
        .Leaf(0x8000001D, 0x00004143, 0x01C0003F, 2047, 2, 2)
        .Brand("AMD Ryzen 7 7700X 8-Core Processor             ");
    return p;
}

TEST(ProcessorPage, RecentAmdIsNeverABareAmd)
{
    ComposedProcessor p = Zen4();
    ExpectPage(p.cpu, {"AMD Ryzen 7 7700X 8-Core Processor             ", true, true, false, 32, 32, 0, 1024,
                       "Advanced Micro Devices", "+++++++++++++++++-+--++++----+"});
    TCpuIdent cpu(p.cpu, 686);
    EXPECT_EQ(cpu.CPU(), QString());
    EXPECT_EQ(cpu.FullName(), QStringLiteral("AMD "));  // what the brand string replaces
}

TEST(ProcessorPage, AmdWithoutTheOldCacheLeavesTakesLeaf8000001D)
{
    ComposedProcessor p = Zen4();
    p.cpu.table.erase({0x80000005, 0});
    p.cpu.table.erase({0x80000006, 0});
    TCpuIdent cpu(p.cpu, 686);
    const TCpuPage page = CpuPage(cpu);
    EXPECT_EQ(page.CacheL1Data, 32);
    EXPECT_EQ(page.CacheL1Code, 32);
    EXPECT_EQ(page.CacheLevel2, 1024);
}

TEST(CpuidQueries, GuardedQueryFailsBeyondBothRangesAndRepeatsTheLeaf)
{
    ComposedProcessor p = PentiumIII();
    TCpuIdent cpu(p.cpu, 586);
    EXPECT_EQ(cpu.CpuidQuery(0x80000001, 1).errorCode, -2);
    EXPECT_EQ(cpu.LastError(), -2);
    EXPECT_EQ(cpu.CpuidQuery(2, 1).errorCode, 0);
    EXPECT_EQ(cpu.LastError(), 0);

    p.cpu.executions.clear();
    cpu.CpuidQuery(2, 3);
    EXPECT_EQ((p.cpu.executions[{2, 0}]), 3);

    p.cpu.present = false;
    EXPECT_EQ(cpu.CpuidQuery(0, 1).errorCode, -1);
    EXPECT_EQ(cpu.CpuidQueryRaw(0x80000005).ecx, 0u);
}

TEST(CpuidQueries, Leaf2AskingForMoreRunsKeepsOnlyTheLastAnswer)
{
    ComposedProcessor p;
    p.Vendor("GenuineIntel", 2).Leaf(1, 0x00000683, 2, 0, 0x0387FBFF);
    p.Leaf(2, 0x03020102, 0, 0, 0x0C040843);  // first run: asks for two, L2 512
    p.Leaf(2, 0x03020102, 0, 0, 0x0C040882);  // second run: L2 256
    TCpuIdent cpu(p.cpu, 586);
    EXPECT_EQ(cpu.Cache().Level2, 256);
}

TEST(CpuidQueries, TheBrandStringKeepsLeadingBlanksAndEndsAtTheFirstNul)
{
    ComposedProcessor p;
    p.Vendor("GenuineIntel", 2).Leaf(1, 0x00000F24, 0x00000008, 0, 0x3FEBFBFF).Leaf(0x80000000, 0x80000004, 0, 0, 0);
    p.Brand("              Intel(R) Pentium(R) 4 CPU 2.40GHz");
    TCpuIdent cpu(p.cpu, 586);
    EXPECT_EQ(cpu.FullName(), QStringLiteral("Intel Pentium 4 class"));
    cpu.Loaded();
    EXPECT_EQ(cpu.FullName().size(), 48);
    EXPECT_EQ(CpuPage(cpu).name, QStringLiteral("              Intel(R) Pentium(R) 4 CPU 2.40GHz"));

    // An extended maximum that is no 0x8000nnnn value is no promise of a brand string.
    ComposedProcessor old = PentiumIII();
    old.Leaf(0x80000000, 0x03020101, 0, 0, 0).Brand("garbage");
    TCpuIdent pentium(old.cpu, 586);
    pentium.Loaded();
    EXPECT_EQ(pentium.FullName(), QStringLiteral("Intel Pentium III"));
}

TEST(ModelNames, PeriodRulesByVendorFamilyAndModel)
{
    struct TCase {
        TCpuModelKey key;
        const char* name;
    };
    const TCase cases[] = {
        {{.vendorNumber = 1, .family = 4, .model = 8}, "80486DX4"},
        {{.vendorNumber = 1, .family = 5, .model = 4}, "Pentium MMX"},
        {{.vendorNumber = 1, .family = 6, .model = 3, .processorType = 1}, "Pentium II Overdrive"},
        {{.vendorNumber = 1, .family = 6, .model = 3}, "Pentium II (Model 3)"},
        {{.vendorNumber = 1, .family = 6, .model = 6, .level2 = 256}, "Mobile Pentium II"},
        {{.vendorNumber = 1, .family = 6, .model = 6, .level2 = 128, .standardFeatures = 1u << 18}, "Mobile Celeron"},
        {{.vendorNumber = 1, .family = 6, .model = 6, .level2 = 128}, "Celeron"},
        {{.vendorNumber = 1, .family = 6, .model = 7, .level2 = 1024}, "Pentium III Xeon"},
        {{.vendorNumber = 1, .family = 6, .model = 8, .brandIndex = 8}, "Pentium 4"},
        {{.vendorNumber = 1, .family = 6, .model = 8, .brandIndex = 5}, "Pentium III class"},
        {{.vendorNumber = 1, .family = 15, .model = 0}, "Pentium 4"},
        {{.vendorNumber = 1, .family = 15, .model = 2}, "Pentium 4 class"},
        {{.vendorNumber = 1, .family = 7}, ""},
        {{.vendorNumber = 2, .family = 6, .model = 1}, "Atlhon (Model 1)"},
        {{.vendorNumber = 2, .family = 4, .model = 14}, "Am5x86"},
        {{.vendorNumber = 3, .family = 6, .model = 2}, "M2 Class"},
        {{.vendorNumber = 4, .family = 5, .model = 9}, "C3"},
        {{.vendorNumber = 5, .family = 5, .model = 0}, "Nx586"},
        {{.vendorNumber = 6, .family = 4, .model = 2}, "U5S"},
        {{.vendorNumber = 7, .family = 5, .model = 2}, "mP6"},
        {{.vendorNumber = 0, .family = 6, .systemProcessorType = 586}, "Pentium class"},
    };
    for (const TCase& c : cases)
        EXPECT_EQ(CpuModelName(c.key).toStdString(), c.name) << c.key.vendorNumber << '/' << c.key.family << '/' << c.key.model;
}

}  // namespace
