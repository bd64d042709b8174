// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>

#include "platform/MemoryApi.h"
#include "platform/linux/CgroupLimits.h"
#include "platform/linux/KernelFiles.h"

namespace platform {

// Memory on Linux: figures from /proc/meminfo, lowered to what the process's control groups
// (v1 and v2, every level) allow; blocks are anonymous private mappings, populated by the kernel
// before they are handed out.
//
// A run must never make the kernel kill another program, so a block is refused when taking it
// would leave MemAvailable + SwapFree, or any limited group's headroom (with the swap a cgroup v2
// group may still fill), below the safety floor.
class LinuxMemory : public IMemory {
public:
    static constexpr std::int64_t kMinFloor = std::int64_t{256} << 20;

    explicit LinuxMemory(const QString& procDir = QStringLiteral("/proc"));

    MemoryStatus Status() override;
    void* CommitBlock() override;
    void ReleaseBlock(void* block) override;

    // max(256 MiB, 5 % of the memory this process can have: MemTotal or the tightest group
    // limit, whichever is smaller); twice that once widened.
    std::int64_t SafetyFloor();
    // For when the kernel could not be told to end this program first (oom_score_adj): the run
    // then stays far enough from the edge that the kernel never has to choose.
    void WidenFloor() { widened_ = true; }

protected:
    // Has the kernel back a new block with pages before it is written: one call instead of a
    // user-mode fault per page. 0 when done, else the errno.
    virtual int Populate(void* block);

private:
    struct Reading {
        std::int64_t total = 0;      // what the process can have: MemTotal, lowered to its groups' limit
        std::int64_t available = 0;  // MemAvailable
        std::int64_t swapFree = 0;
        std::int64_t cached = 0;
        std::int64_t groupHeadroom = -1;  // what the tightest group still leaves; -1: no limit
        std::int64_t groupReserve = -1;   // the same with the swap a v2 group may still fill
    };
    std::int64_t FloorFor(std::int64_t total) const;
    Reading Read() const;

    // Read every second by the live monitor: kept open (a reading changes nothing the caller sees).
    mutable KernelFile meminfo_;
    CgroupLimits cgroups_;
    bool widened_ = false;
    // Bytes still free to take above the floor, by the last reading; re-read every few blocks so
    // that a fast run stays fast and a sudden demand from elsewhere is still seen.
    std::int64_t headroom_ = 0;
    int blocksSinceReading_ = 0;
};

}  // namespace platform
