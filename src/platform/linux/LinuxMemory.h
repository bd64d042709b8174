#pragma once
#include <QString>

#include "platform/MemoryApi.h"

namespace platform {

// Memory on Linux: figures from /proc/meminfo, lowered to what the process's cgroup v2 limits
// leave; blocks are anonymous private mappings, populated by the kernel before they are handed out.
//
// A run must never make the kernel kill another program, so a block is refused when taking it
// would leave MemAvailable + SwapFree (or the cgroup's headroom) below the safety floor,
// max(256 MiB, 5 % of MemTotal).
class LinuxMemory : public IMemory {
public:
    static constexpr std::int64_t kMinFloor = std::int64_t{256} << 20;

    explicit LinuxMemory(QString procDir = QStringLiteral("/proc"),
                         QString cgroupDir = QStringLiteral("/sys/fs/cgroup"));

    MemoryStatus Status() override;
    void* CommitBlock() override;
    void ReleaseBlock(void* block) override;

    std::int64_t SafetyFloor();

protected:
    // Has the kernel back a new block with pages before it is written: one call instead of a
    // user-mode fault per page. 0 when done, else the errno.
    virtual int Populate(void* block);

private:
    struct Reading {
        std::int64_t total = 0;
        std::int64_t available = 0;
        std::int64_t swapFree = 0;
        std::int64_t cached = 0;
        std::int64_t cgroupLimit = -1;     // smallest memory.max on the way to the root; -1: none
        std::int64_t cgroupHeadroom = -1;  // smallest memory.max - memory.current; -1: none
    };
    static std::int64_t FloorFor(std::int64_t total);
    Reading Read() const;
    void ReadCgroup(Reading& reading) const;

    QString meminfoPath_;
    QString cgroupDir_;
    QString selfCgroupPath_;
    // Bytes still free to take above the floor, by the last reading; re-read every few blocks so
    // that a fast run stays fast and a sudden demand from elsewhere is still seen.
    std::int64_t headroom_ = 0;
    int blocksSinceReading_ = 0;
};

}  // namespace platform
