// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/fake/FakeSystemInfo.h"

namespace platform {

DiskSpace FakeSystemInfo::SpaceOf(const std::string& mountPoint)
{
    spaceQuestions.push_back(mountPoint);
    const auto found = space.find(mountPoint);
    return found == space.end() ? DiskSpace{} : found->second;
}

void FakeSystemInfo::AddDisk(const std::string& mountPoint, std::int64_t freeBytes, std::int64_t totalBytes,
                             const std::string& fsType)
{
    mounts.push_back({"/dev/disk" + std::to_string(mounts.size()), mountPoint, fsType});
    space[mountPoint] = {freeBytes, totalBytes};
}

}  // namespace platform
