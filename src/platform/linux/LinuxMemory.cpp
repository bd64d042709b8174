// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/LinuxMemory.h"

#include <algorithm>
#include <cerrno>
#include <string_view>

#include <sys/mman.h>

#include "platform/linux/KernelFiles.h"

namespace platform {

namespace {

constexpr int kBlocksPerReading = 16;

// "MemTotal:       24578016 kB" -> bytes; -1 when absent or too large to be true.
std::int64_t MeminfoBytes(std::string_view text, std::string_view key)
{
    const std::int64_t kib = KernelField(text, key);
    return kib >= 0 && kib <= INT64_MAX / 1024 ? kib * 1024 : -1;
}

}  // namespace

LinuxMemory::LinuxMemory(const QString& procDir)
    : meminfo_(procDir + QStringLiteral("/meminfo")), cgroups_(procDir)
{
}

LinuxMemory::Reading LinuxMemory::Read() const
{
    const std::string_view text = meminfo_.Read();
    Reading reading;
    reading.total = std::max<std::int64_t>(0, MeminfoBytes(text, "MemTotal"));
    reading.available = std::max<std::int64_t>(0, MeminfoBytes(text, "MemAvailable"));
    reading.swapFree = std::max<std::int64_t>(0, MeminfoBytes(text, "SwapFree"));
    reading.cached = std::max<std::int64_t>(0, MeminfoBytes(text, "Cached"));
    const CgroupLimits::Reading groups = cgroups_.Read(reading.swapFree);
    if (groups.limit >= 0) {
        reading.total = std::min(reading.total, groups.limit);
        reading.groupHeadroom = groups.headroom;
        reading.groupReserve = groups.reserve;
    }
    return reading;
}

MemoryStatus LinuxMemory::Status()
{
    const Reading reading = Read();
    MemoryStatus status{reading.total, reading.available, reading.cached};
    if (reading.groupHeadroom >= 0)
        status.availPhys = std::min(status.availPhys, reading.groupHeadroom);
    return status;
}

std::int64_t LinuxMemory::SafetyFloor()
{
    return FloorFor(Read().total);
}

std::int64_t LinuxMemory::FloorFor(std::int64_t total) const
{
    const std::int64_t floor = std::max(kMinFloor, total / 20);
    return widened_ ? 2 * floor : floor;
}

void* LinuxMemory::CommitBlock()
{
    if (blocksSinceReading_ == 0 || blocksSinceReading_ >= kBlocksPerReading || headroom_ < kBlockSize) {
        const Reading reading = Read();
        // Swap takes pages off the machine's memory and, in cgroup v2, off a group's limit too,
        // as far as the group may swap; cgroup v1 may not account swap at all, so there a
        // group's headroom counts without it.
        std::int64_t reserve = reading.available + reading.swapFree;
        if (reading.groupReserve >= 0)
            reserve = std::min(reserve, reading.groupReserve);
        headroom_ = reserve - FloorFor(reading.total);
        blocksSinceReading_ = 0;
    }
    if (headroom_ < kBlockSize) {
        blocksSinceReading_ = 0;  // read afresh next time: memory may have come back
        return nullptr;
    }
    void* block = ::mmap(nullptr, kBlockSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (block == MAP_FAILED)
        return nullptr;
    // A kernel before 5.14 does not know the advice (EINVAL): the block is then backed page by
    // page as it is written. Out of memory, the kernel could not back it: the block is refused.
    if (Populate(block) == ENOMEM) {
        ::munmap(block, kBlockSize);
        blocksSinceReading_ = 0;
        return nullptr;
    }
    headroom_ -= kBlockSize;
    ++blocksSinceReading_;
    return block;
}

int LinuxMemory::Populate(void* block)
{
    return ::madvise(block, kBlockSize, MADV_POPULATE_WRITE) == 0 ? 0 : errno;
}

void LinuxMemory::ReleaseBlock(void* block)
{
    ::munmap(block, kBlockSize);
}

}  // namespace platform
