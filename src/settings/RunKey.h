// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>
#include <cstdint>

class TAppRegistry;

// The two options that reach outside the program: starting it with the user's session (the Run
// value "MnemoraXp", quoted executable path, no arguments) and asking the system to unload unused
// libraries (the machine's "AlwaysUnloadDLL", for an administrator only). A failed write raises
// the accessor's error to the caller.
void AddToRunKey(TAppRegistry& registry, const QString& executablePath);
void RemoveFromRunKey(TAppRegistry& registry);
void WriteAlwaysUnloadDll(TAppRegistry& registry, std::int32_t value);
// 0 when the key does not open or the value is missing or not a number.
std::int32_t ReadAlwaysUnloadDll(TAppRegistry& registry);

// The executable path as the registry keeps it: in double quotes.
QString QuotedPath(const QString& executablePath);
