// SPDX-License-Identifier: GPL-3.0-or-later
#include "recovery/RecoveryTriggers.h"

bool LoadAllowsRecovery(std::int64_t cpuPercent, int ceiling)
{
    return cpuPercent <= ceiling;
}

bool AlarmDue(bool alarmOn, std::int64_t freePercent, int alarmLevel, std::int64_t cpuPercent, int ceiling)
{
    return alarmOn && freePercent < alarmLevel && LoadAllowsRecovery(cpuPercent, ceiling);
}

bool IntervalDue(std::int64_t cpuPercent, int ceiling, bool recoveryRunning)
{
    return LoadAllowsRecovery(cpuPercent, ceiling) && !recoveryRunning;
}

int IntervalPeriodMs(int minutes)
{
    return minutes * 60000;
}
