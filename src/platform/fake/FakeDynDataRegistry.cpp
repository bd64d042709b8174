// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/fake/FakeDynDataRegistry.h"

namespace platform {

std::optional<IDynDataRegistry::Key> FakeDynDataRegistry::OpenKey(std::string_view path, Access access)
{
    const std::string name(path);
    log.push_back("open " + name + (access == Access::Read ? " read" : " all"));
    if (unopenable.contains(name))
        return std::nullopt;
    openKeys[nextKey_] = name;
    return nextKey_++;
}

bool FakeDynDataRegistry::ReadDword(Key key, std::string_view valueName, std::uint32_t& value)
{
    const auto open = openKeys.find(key);
    if (open == openKeys.end())
        return false;
    log.push_back("read " + open->second + " " + std::string(valueName));
    if (valueName != "KERNEL\\CPUUsage")
        return false;
    if (open->second == "PerfStats\\StartStat") {
        statisticOn = true;
        ++starts;
    } else if (open->second == "PerfStats\\StopStat") {
        statisticOn = false;
        ++stops;
    }
    value = statisticOn ? cpuUsage : 0;
    return true;
}

void FakeDynDataRegistry::CloseKey(Key key)
{
    const auto open = openKeys.find(key);
    log.push_back("close " + (open == openKeys.end() ? std::string("?") : open->second));
    if (open != openKeys.end())
        openKeys.erase(open);
}

}  // namespace platform
