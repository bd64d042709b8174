// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <set>

#include "platform/MemoryApi.h"

namespace platform {

// Memory a test scripts: the figures it reports, and which commit fails. Blocks are real heap
// blocks, so that the engine's writes land somewhere, and they come filled with kFreshByte, so
// that a test sees which bytes were written; the live set shows what was not released.
class FakeMemory : public IMemory {
public:
    static constexpr unsigned char kFreshByte = 0xA5;

    ~FakeMemory() override;

    MemoryStatus Status() override;
    void* CommitBlock() override;
    void ReleaseBlock(void* block) override;

    MemoryStatus status;
    int failAtCommit = 0;       // the n-th commit (from 1) gives no block; 0: none fails
    int commits = 0;
    int releases = 0;
    int statusReads = 0;
    std::set<void*> live;
};

}  // namespace platform
