// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/LoadAverage.h"

#include "platform/Rounding.h"

std::int64_t TLoadAverage::Add(std::int64_t cpuPercent)
{
    fractionSum_ += static_cast<double>(cpuPercent) / 100;
    const std::int64_t mean = RoundHalfEven(fractionSum_ / static_cast<double>(sampleCount_) * 100);
    ++sampleCount_;
    return mean;
}

QString LoadPanelText(std::int64_t cpuPercent)
{
    return QStringLiteral(" %1 %").arg(cpuPercent);
}
