// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Keys every Windows machine has and that this program's settings and tuning code uses. The Linux
// registry gives them the same meaning: the machine hive holds the two machine keys from its
// creation, and the Run value is the user's autostart entry.
namespace platform::registry_locations {

inline constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";  // under the user's root
inline constexpr const char* kRunValue = "MnemoraXp";
inline constexpr const char* kExplorerKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";  // the machine's
inline constexpr const char* kMemoryManagementKey = "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Memory Management";

}  // namespace platform::registry_locations
