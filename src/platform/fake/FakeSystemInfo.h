// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <map>

#include "platform/SystemInfo.h"

namespace platform {

// Names, addresses and filesystems as a test composes them. A mount point without a space entry
// answers as a failed question.
class FakeSystemInfo : public ISystemInfo {
public:
    std::string ComputerName() override { return computerName; }
    std::string UserName() override { return userName; }
    std::optional<std::vector<std::string>> HostAddresses() override { return hostAddresses; }
    std::vector<MountEntry> Mounts() override { return mounts; }
    DiskSpace SpaceOf(const std::string& mountPoint) override;
    std::uint32_t ProcessorType() override { return processorType; }

    // A local disk filesystem mounted at mountPoint with this much space.
    void AddDisk(const std::string& mountPoint, std::int64_t freeBytes, std::int64_t totalBytes,
                 const std::string& fsType = "ext4");

    std::string computerName;
    std::string userName;
    std::optional<std::vector<std::string>> hostAddresses;
    std::vector<MountEntry> mounts;
    std::map<std::string, DiskSpace> space;
    std::vector<std::string> spaceQuestions;
    std::uint32_t processorType = 586;
};

}  // namespace platform
