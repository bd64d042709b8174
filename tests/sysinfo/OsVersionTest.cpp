// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "platform/fake/FakeVersionInfo.h"
#include "sysinfo/OsVersion.h"

namespace {

using platform::VersionRecord;
constexpr std::uint32_t k95 = VersionRecord::kPlatformWindows;
constexpr std::uint32_t kNt = VersionRecord::kPlatformNt;
const std::string kCsdKey = "SYSTEM\\CurrentControlSet\\Control\\Windows\\";

struct TVersionCase {
    VersionRecord record;
    std::uint32_t kernel32;  // product version of kernel32.dll; 0: none readable
    TOsVersion expected;
    const char* name;
};

// clang-format off
const TVersionCase kVersionTable[] = {
    {{k95, 4, 0, ""}, 0, osWin95, "Windows 95"},
    {{k95, 4, 0, " C "}, 0, osWin95, "Windows 95"},
    {{k95, 4, 0, " B "}, 0, osWin95OSR2, "Windows 95 OSR2"},
    {{k95, 4, 3, "\tB\r\n"}, 0, osWin95OSR2, "Windows 95 OSR2"},
    {{k95, 4, 0, "BB"}, 0, osWin95, "Windows 95"},
    {{k95, 4, 10, ""}, 0x4000A, osWin98, "Windows 98"},
    {{k95, 4, 10, " A "}, 0x4000A, osWin98SE, "Windows 98 SE"},
    {{k95, 4, 10, "a"}, 0x4000A, osWin98, "Windows 98"},
    {{k95, 4, 10, " A "}, 0x4005A, osWinME, "Windows ME"},   // a Me that calls itself 98
    {{k95, 4, 89, ""}, 0, osWin98, "Windows 98"},
    {{k95, 4, 90, ""}, 0, osWinME, "Windows ME"},
    {{k95, 4, 91, ""}, 0, osUnknown, ""},
    {{kNt, 3, 1, ""}, 0, osWinNT31, "Windows NT 3.1"},
    {{kNt, 3, 5, ""}, 0, osWinNT35, "Windows NT 3.5"},
    {{kNt, 3, 51, ""}, 0, osWinNT351, "Windows NT 3.51"},
    {{kNt, 3, 2, ""}, 0, osUnknown, ""},
    {{kNt, 4, 0, "Service Pack 6"}, 0, osWinNT4, "Windows NT 4.0"},
    {{kNt, 5, 0, ""}, 0, osWin2000, "Windows 2000"},
    {{kNt, 5, 1, ""}, 0, osWinXP, "Windows XP"},
    {{kNt, 5, 2, ""}, 0, osUnknown, ""},   // Server 2003
    {{kNt, 6, 0, ""}, 0, osUnknown, ""},
    {{0, 3, 11, ""}, 0, osUnknown, ""},    // Win32s
    {{3, 4, 0, ""}, 0, osUnknown, ""},
};
// clang-format on

TEST(WindowsVersion, EveryRowOfTheTableAndItsName)
{
    for (const TVersionCase& row : kVersionTable) {
        platform::FakeVersionInfo info;
        info.version = row.record;
        if (row.kernel32)
            info.SetKernel32ProductVersion(row.kernel32);
        const TWindowsVersion version = IdentifyWindowsVersion(info);
        SCOPED_TRACE(row.name);
        EXPECT_EQ(version.OsVersion, row.expected) << row.record.platformId << ' ' << row.record.majorVersion << '.'
                                                   << row.record.minorVersion << " \"" << row.record.csdVersion << '"';
        EXPECT_EQ(OsVersionName(version).toStdString(), row.name);
        EXPECT_EQ(version.OsIsWinNT, row.record.platformId == kNt);
        EXPECT_EQ(version.OsIsWin98, row.expected == osWin98);
        EXPECT_EQ(version.OsIsWin2000, row.expected == osWin2000);
        EXPECT_EQ(version.OsIsWinXP, row.expected == osWinXP);
    }
}

TEST(WindowsVersion, Kernel32IsReadOnlyOffNtAndOnlyFromAFixedInfoBlockOf52Bytes)
{
    platform::FakeVersionInfo info;
    info.version = VersionRecord{k95, 4, 10, ""};
    info.SetKernel32ProductVersion(0x4005A);
    EXPECT_EQ(IdentifyWindowsVersion(info).Kernel32ProductVersion, 0x4005Au);

    info.kernel32RootBlock->push_back(0);  // 53 bytes: no fixed file information
    EXPECT_EQ(IdentifyWindowsVersion(info).Kernel32ProductVersion, 0u);
    EXPECT_EQ(IdentifyWindowsVersion(info).OsVersion, osWin98);
    info.kernel32RootBlock.reset();
    EXPECT_EQ(IdentifyWindowsVersion(info).Kernel32ProductVersion, 0u);

    info.version = VersionRecord{kNt, 5, 1, ""};
    info.SetKernel32ProductVersion(0x50001);
    EXPECT_EQ(IdentifyWindowsVersion(info).Kernel32ProductVersion, 0u);
}

TEST(WindowsVersion, LinuxIsNoWindowsVersion)
{
    platform::FakeVersionInfo info;  // no record at all
    const TWindowsVersion version = IdentifyWindowsVersion(info);
    EXPECT_EQ(version.OsVersion, osUnknown);
    EXPECT_FALSE(version.OsIsWindows);
    EXPECT_FALSE(version.OsIsWinNT || version.OsIsWin98 || version.OsIsWin2000 || version.OsIsWinXP);
    EXPECT_EQ(OsVersionName(version), QString());
    EXPECT_EQ(ServicePackNumber(version, info), 0);
}

TEST(ServicePack, Windows2000AndXpTakeTheExtendedRecord)
{
    platform::FakeVersionInfo info;
    info.version = VersionRecord{kNt, 5, 1, "Service Pack 2"};
    info.SetMachineDword(kCsdKey, "CSDVersion", 0x0300);  // not asked on XP
    const TWindowsVersion xp = IdentifyWindowsVersion(info);
    info.servicePackMajor = 2;
    EXPECT_EQ(ServicePackNumber(xp, info), 2);
    info.servicePackMajor.reset();
    EXPECT_EQ(ServicePackNumber(xp, info), 0);  // the call failed
}

TEST(ServicePack, OthersReadCsdVersionsHexDigitsAsADecimalNumber)
{
    platform::FakeVersionInfo info;
    info.version = VersionRecord{kNt, 4, 0, ""};
    info.servicePackMajor = 9;  // not asked on NT 4
    const TWindowsVersion nt4 = IdentifyWindowsVersion(info);
    EXPECT_EQ(ServicePackNumber(nt4, info), 0);  // no value

    const std::pair<std::uint32_t, int> cases[] = {
        {0x0300, 3}, {0x0600, 6}, {0x0100, 1}, {0x0099, 0}, {0x1200, 12}, {0x0A00, 0}, {0x030F, 0}, {0x0000, 0},
    };
    for (const auto& [value, number] : cases) {
        info.SetMachineDword(kCsdKey, "CSDVersion", value);
        EXPECT_EQ(ServicePackNumber(nt4, info), number) << std::hex << value;
    }

    info.machineValues[{kCsdKey, "CSDVersion"}].type = 1;  // a string: does not count
    EXPECT_EQ(ServicePackNumber(nt4, info), 0);
}

TEST(ServicePack, TextIsSpAndTheNumberFromOne)
{
    EXPECT_EQ(ServicePackText(0), QString());
    EXPECT_EQ(ServicePackText(-1), QString());
    EXPECT_EQ(ServicePackText(1), QStringLiteral("SP1"));
    EXPECT_EQ(ServicePackText(6), QStringLiteral("SP6"));
}

}  // namespace
