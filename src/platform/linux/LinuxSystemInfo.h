// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "platform/SystemInfo.h"

namespace platform {

// The machine as Linux describes it: host and user names, the interfaces' IPv4 addresses, the
// mount table and statvfs.
class LinuxSystemInfo : public ISystemInfo {
public:
    std::string ComputerName() override;
    std::string UserName() override;
    // The addresses of the interfaces that are up, loopback left out unless it is all there is.
    std::optional<std::vector<std::string>> HostAddresses() override;
    std::vector<MountEntry> Mounts() override;
    DiskSpace SpaceOf(const std::string& mountPoint) override;
    // By the machine name uname reports (i386 ... i686; x86_64 as 686); 0 for other processors.
    std::uint32_t ProcessorType() override;
};

}  // namespace platform
