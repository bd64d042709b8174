// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/FreeMemoryReading.h"

#include "monitor/NamedColors.h"
#include "platform/Rounding.h"

namespace {

constexpr int kMegabytesMode = 1;

}  // namespace

TFreeMemoryReading TFreeMemoryReading::Of(std::int64_t freeBytes, std::int64_t totalBytes)
{
    TFreeMemoryReading reading;
    reading.freeBytes = freeBytes;
    reading.freeMb = RoundHalfEven(static_cast<double>(freeBytes) / 1024 / 1024);
    reading.mbText = QString::number(reading.freeMb).left(5);
    // A system that reports no total memory reads as 0 % free rather than dividing by zero.
    reading.freePercent =
        totalBytes > 0 ? RoundHalfEven(static_cast<double>(freeBytes) / static_cast<double>(totalBytes) * 100) : 0;
    return reading;
}

QColor TFreeMemoryReading::TrayColour() const
{
    return freePercent <= 25 ? clRed : freePercent <= 45 ? clYellow : clLime;
}

QString TFreeMemoryReading::TrayText(int displayMode) const
{
    return displayMode == kMegabytesMode ? mbText : QStringLiteral("%1%").arg(freePercent);
}

QString TFreeMemoryReading::PanelText(int displayMode) const
{
    return displayMode == kMegabytesMode ? QStringLiteral(" ") + mbText + QStringLiteral(" MB")
                                         : QStringLiteral(" %1 %").arg(freePercent);
}

QString TFreeMemoryReading::Hint(std::int64_t installedMb) const
{
    return QStringLiteral("RAM Libre : ") + mbText + QStringLiteral(" MB") + QStringLiteral(" sur ") +
           QString::number(installedMb) + QStringLiteral(" MB") + QStringLiteral(" RAM Installée");
}

QString TFreeMemoryReading::LabelText() const
{
    return QStringLiteral("%1 MB").arg(freeMb);
}
