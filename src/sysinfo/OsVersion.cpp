// SPDX-License-Identifier: GPL-3.0-or-later
#include "sysinfo/OsVersion.h"

#include <algorithm>

namespace {

constexpr std::uint32_t kWindowsMe = 0x4005A;  // kernel32.dll's product version 4.90
constexpr std::size_t kFixedFileInfoSize = 52;
constexpr std::size_t kProductVersionHighOffset = 16;
// Stored with a leading backslash, which is dropped before the key is opened.
constexpr const char* kCsdVersionKey = "\\SYSTEM\\CurrentControlSet\\Control\\Windows\\";

std::uint32_t ReadDword(const std::vector<std::uint8_t>& bytes, std::size_t offset)
{
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | bytes[offset + i];
    return value;
}

std::uint32_t Kernel32ProductVersion(platform::IVersionInfo& info)
{
    const auto block = info.Kernel32RootBlock();
    if (!block || block->size() != kFixedFileInfoSize)
        return 0;
    return ReadDword(*block, kProductVersionHighOffset);
}

// Blanks and control characters off both ends, as the CSD text is compared.
std::string Trimmed(const std::string& text)
{
    const auto kept = [](char c) { return static_cast<unsigned char>(c) > ' '; };
    const auto first = std::find_if(text.begin(), text.end(), kept);
    const auto last = std::find_if(text.rbegin(), text.rend(), kept).base();
    return first < last ? std::string(first, last) : std::string();
}

TOsVersion Windows95Family(const platform::VersionRecord& record, std::uint32_t kernel32)
{
    const std::string csd = Trimmed(record.csdVersion);
    if (record.minorVersion < 10)
        return csd == "B" ? osWin95OSR2 : osWin95;
    if (record.minorVersion < 90) {
        if (kernel32 == kWindowsMe)
            return osWinME;
        return csd == "A" ? osWin98SE : osWin98;
    }
    return record.minorVersion == 90 ? osWinME : osUnknown;
}

TOsVersion NtFamily(const platform::VersionRecord& record)
{
    switch (record.majorVersion) {
    case 3:
        switch (record.minorVersion) {
        case 1:
            return osWinNT31;
        case 5:
            return osWinNT35;
        case 51:
            return osWinNT351;
        default:
            return osUnknown;
        }
    case 4:
        return osWinNT4;
    case 5:
        return record.minorVersion == 0 ? osWin2000 : record.minorVersion == 1 ? osWinXP : osUnknown;
    default:
        return osUnknown;
    }
}

}  // namespace

TWindowsVersion IdentifyWindowsVersion(platform::IVersionInfo& info)
{
    TWindowsVersion version;
    const auto record = info.Version();
    if (!record)
        return version;
    version.OsIsWindows = true;
    version.MinorVersion = record->minorVersion;
    version.OsIsWinNT = record->platformId == platform::VersionRecord::kPlatformNt;
    if (!version.OsIsWinNT)
        version.Kernel32ProductVersion = Kernel32ProductVersion(info);
    if (record->platformId == platform::VersionRecord::kPlatformWindows)
        version.OsVersion = Windows95Family(*record, version.Kernel32ProductVersion);
    else if (version.OsIsWinNT)
        version.OsVersion = NtFamily(*record);
    version.OsIsWin98 = version.OsVersion == osWin98;
    version.OsIsWin2000 = version.OsVersion == osWin2000;
    version.OsIsWinXP = version.OsVersion == osWinXP;
    return version;
}

QString OsVersionName(const TWindowsVersion& version)
{
    switch (version.OsVersion) {
    case osWin95:
        return QStringLiteral("Windows 95");
    case osWin95OSR2:
        return QStringLiteral("Windows 95 OSR2");
    case osWin98:
        return QStringLiteral("Windows 98");
    case osWin98SE:
        return QStringLiteral("Windows 98 SE");
    case osWinME:
        return QStringLiteral("Windows ME");
    case osWinNT31:
    case osWinNT35:
    case osWinNT351:
        return QStringLiteral("Windows NT 3.%1").arg(version.MinorVersion);
    case osWinNT4:
        return QStringLiteral("Windows NT 4.%1").arg(version.MinorVersion);
    case osWin2000:
        return QStringLiteral("Windows 2000");
    case osWinXP:
        return QStringLiteral("Windows XP");
    case osUnknown:
        break;
    }
    return {};
}

int ServicePackNumber(const TWindowsVersion& version, platform::IVersionInfo& info)
{
    if (version.OsIsWin2000 || version.OsIsWinXP)
        return info.ServicePackMajor().value_or(0);
    const auto value = info.MachineValue(kCsdVersionKey + 1, "CSDVersion");
    if (!value || value->type != platform::RegistryValue::kDword || value->data.size() < 4)
        return 0;
    // 0x0300 means service pack 3: its hexadecimal digits are read as a decimal number.
    const QString digits = QString::number(ReadDword(value->data, 0), 16).rightJustified(4, QLatin1Char('0'));
    bool decimal = false;
    const int hundreds = digits.toInt(&decimal, 10);
    return decimal ? hundreds / 100 : 0;
}

QString ServicePackText(int servicePackNumber)
{
    return servicePackNumber >= 1 ? QStringLiteral("SP%1").arg(servicePackNumber) : QString();
}
