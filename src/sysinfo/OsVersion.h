// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>
#include <cstdint>

#include "platform/VersionInfo.h"

enum TOsVersion {
    osUnknown,
    osWin95,
    osWin95OSR2,
    osWin98,
    osWin98SE,
    osWinME,
    osWinNT31,
    osWinNT35,
    osWinNT351,
    osWinNT4,
    osWin2000,
    osWinXP,
};

// The Windows version and its flags, identified once when the program starts.
struct TWindowsVersion {
    TOsVersion OsVersion = osUnknown;
    bool OsIsWindows = false;  // a Windows version record exists (none on Linux)
    bool OsIsWinNT = false;    // the NT platform, whatever OsVersion is
    bool OsIsWin98 = false;    // the first edition only
    bool OsIsWin2000 = false;
    bool OsIsWinXP = false;
    std::uint32_t Kernel32ProductVersion = 0;  // major << 16 | minor; read on the 95 family only
    std::uint32_t MinorVersion = 0;            // the NT names carry it
};

TWindowsVersion IdentifyWindowsVersion(platform::IVersionInfo& info);
QString OsVersionName(const TWindowsVersion& version);
int ServicePackNumber(const TWindowsVersion& version, platform::IVersionInfo& info);
// "SP" and the number from 1 on, else nothing.
QString ServicePackText(int servicePackNumber);
