// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QLocale>
#include <QString>
#include <cstdint>

#include "platform/Processor.h"
#include "platform/SystemInfo.h"
#include "platform/TickClock.h"

// The routines behind the information page's lines.

// The last address the host lists, or nothing when it cannot be looked up.
QString LocalIpAddress(platform::ISystemInfo& system);

// A filesystem on a local disk: not remote, not a pseudo filesystem without storage behind it.
bool IsLocalDisk(const platform::MountEntry& mount);

// The disk lines of up to four local disk filesystems with free space, "/" first, each shown by
// its mount point: the first replaces the current text and ends in a blank, each further one is
// appended after CR LF. With none of them the current text stays as it is.
QString DiskLines(const QString& current, platform::ISystemInfo& system);

// Bytes in whole megabytes, a half to even.
std::int64_t Megabytes(std::int64_t bytes);

// The processor clock in MHz: time-stamp counter ticks over one second of the tick count, from
// its first change on. 0 without a usable counter.
double MeasureCpuMhz(platform::ITickClock& clock, platform::IProcessor& processor);

// "Vitesse réelle Processeur : " and the clock to two decimals in the locale's writing.
QString CpuSpeedText(double mhz, const QLocale& locale);
// The line's start alone, while the clock is still being measured.
QString CpuSpeedCaption();
