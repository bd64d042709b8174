// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>

// The automatic recovery's two triggers, tested at each tick of their timers with the monitor's
// latest readings. A tick held back is lost: neither trigger retries or catches up.

// The processor ceiling both triggers share: a load equal to it passes.
bool LoadAllowsRecovery(std::int64_t cpuPercent, int ceiling);

// The alarm trigger: ticked, free memory strictly below its level (so a level of 0 never fires)
// and the load within the ceiling.
bool AlarmDue(bool alarmOn, std::int64_t freePercent, int alarmLevel, std::int64_t cpuPercent, int ceiling);

// The interval trigger: the load within the ceiling and no run under way.
bool IntervalDue(std::int64_t cpuPercent, int ceiling, bool recoveryRunning);

// The interval trigger's period for its minutes field; 0 keeps the timer from firing.
int IntervalPeriodMs(int minutes);
