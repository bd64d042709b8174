// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// One line of the mount table.
struct MountEntry {
    std::string source;  // the device or server the filesystem comes from
    std::string mountPoint;
    std::string fsType;
};

// Space of one filesystem in bytes; -1 where the question failed.
struct DiskSpace {
    std::int64_t freeBytes = -1;  // what the calling user may still write
    std::int64_t totalBytes = -1;
};

// The machine's names, network addresses, filesystems and processor class.
class ISystemInfo {
public:
    virtual ~ISystemInfo() = default;
    virtual std::string ComputerName() = 0;  // empty when it cannot be had
    virtual std::string UserName() = 0;      // empty when it cannot be had
    // The host's IPv4 addresses in dotted-decimal, in the order the system lists them; nothing
    // when the host cannot be looked up.
    virtual std::optional<std::vector<std::string>> HostAddresses() = 0;
    virtual std::vector<MountEntry> Mounts() = 0;
    virtual DiskSpace SpaceOf(const std::string& mountPoint) = 0;
    // The processor class as a number (386, 486, 586, 686), for a processor CPUID cannot name.
    virtual std::uint32_t ProcessorType() = 0;
};

}  // namespace platform
