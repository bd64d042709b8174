// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>

namespace platform {

// Physical-memory figures, in bytes. 64-bit: a large machine must not wrap.
struct MemoryStatus {
    std::int64_t totalPhys = 0;
    std::int64_t availPhys = 0;
    std::int64_t cached = 0;  // page cache; 0 where the system does not say
};

class IMemory {
public:
    static constexpr std::int64_t kBlockSize = 1 << 20;

    virtual ~IMemory() = default;
    virtual MemoryStatus Status() = 0;
    // One committed read-write block of kBlockSize bytes, or nullptr when it can't (or must not)
    // be had. Its pages are backed by physical memory once written.
    virtual void* CommitBlock() = 0;
    virtual void ReleaseBlock(void* block) = 0;
};

}  // namespace platform
