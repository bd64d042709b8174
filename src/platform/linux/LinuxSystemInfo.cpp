// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/LinuxSystemInfo.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <mntent.h>
#include <net/if.h>
#include <pwd.h>
#include <sys/statvfs.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstring>

namespace platform {

std::string LinuxSystemInfo::ComputerName()
{
    char name[HOST_NAME_MAX + 1] = {};
    if (::gethostname(name, sizeof name - 1) != 0)
        return {};
    return name;
}

std::string LinuxSystemInfo::UserName()
{
    passwd entry{};
    passwd* found = nullptr;
    char buffer[4096];
    if (::getpwuid_r(::geteuid(), &entry, buffer, sizeof buffer, &found) != 0 || !found)
        return {};
    return found->pw_name;
}

std::optional<std::vector<std::string>> LinuxSystemInfo::HostAddresses()
{
    ifaddrs* interfaces = nullptr;
    if (::getifaddrs(&interfaces) != 0)
        return std::nullopt;
    std::vector<std::string> outside;
    std::vector<std::string> loopback;
    for (const ifaddrs* entry = interfaces; entry; entry = entry->ifa_next) {
        if (!entry->ifa_addr || entry->ifa_addr->sa_family != AF_INET || !(entry->ifa_flags & IFF_UP))
            continue;
        char text[INET_ADDRSTRLEN] = {};
        const auto* address = reinterpret_cast<const sockaddr_in*>(entry->ifa_addr);
        if (!::inet_ntop(AF_INET, &address->sin_addr, text, sizeof text))
            continue;
        (entry->ifa_flags & IFF_LOOPBACK ? loopback : outside).emplace_back(text);
    }
    ::freeifaddrs(interfaces);
    // The page shows the last address listed: the machine's own, never 127.0.0.1 beside it.
    return outside.empty() ? loopback : outside;
}

std::vector<MountEntry> LinuxSystemInfo::Mounts()
{
    std::vector<MountEntry> mounts;
    FILE* table = ::setmntent("/proc/self/mounts", "r");
    if (!table)
        return mounts;
    mntent entry{};
    char buffer[8192];
    while (::getmntent_r(table, &entry, buffer, sizeof buffer))
        mounts.push_back({entry.mnt_fsname, entry.mnt_dir, entry.mnt_type});
    ::endmntent(table);
    return mounts;
}

DiskSpace LinuxSystemInfo::SpaceOf(const std::string& mountPoint)
{
    struct statvfs figures{};
    if (::statvfs(mountPoint.c_str(), &figures) != 0)
        return {};
    const auto unit = static_cast<std::int64_t>(figures.f_frsize);
    return {static_cast<std::int64_t>(figures.f_bavail) * unit, static_cast<std::int64_t>(figures.f_blocks) * unit};
}

std::uint32_t LinuxSystemInfo::ProcessorType()
{
    utsname names{};
    if (::uname(&names) != 0)
        return 0;
    const std::string machine = names.machine;
    if (machine == "i386")
        return 386;
    if (machine == "i486")
        return 486;
    if (machine == "i586")
        return 586;
    if (machine == "i686" || machine == "x86_64")
        return 686;
    return 0;
}

}  // namespace platform
