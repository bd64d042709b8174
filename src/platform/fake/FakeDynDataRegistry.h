// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <map>
#include <set>
#include <string>
#include <vector>

#include "platform/DynDataRegistry.h"

namespace platform {

// The Windows 9x dynamic-data branch as a test scripts it: which keys open, the statistic's
// value, and the kernel's habit of starting or stopping a statistic when its StartStat or
// StopStat value is read. Every call is logged ("open <path> read|all", "read <path> <value>",
// "close <path>").
class FakeDynDataRegistry : public IDynDataRegistry {
public:
    std::optional<Key> OpenKey(std::string_view path, Access access) override;
    bool ReadDword(Key key, std::string_view valueName, std::uint32_t& value) override;
    void CloseKey(Key key) override;

    std::set<std::string> unopenable;  // key paths whose open fails
    std::uint32_t cpuUsage = 0;        // what StatData reports while the statistic is on
    bool statisticOn = false;
    int starts = 0;
    int stops = 0;
    std::map<Key, std::string> openKeys;
    std::vector<std::string> log;

private:
    Key nextKey_ = 1;
};

}  // namespace platform
