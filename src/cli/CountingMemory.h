// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "platform/MemoryApi.h"

// The memory layer, counting the blocks it handed out: the blocks a run wrote. A refused block
// ends the run at its step but was never written.
class CountingMemory : public platform::IMemory {
public:
    explicit CountingMemory(platform::IMemory& memory) : memory_(memory) {}
    platform::MemoryStatus Status() override { return memory_.Status(); }
    void* CommitBlock() override
    {
        void* block = memory_.CommitBlock();
        committed += block != nullptr ? 1 : 0;
        return block;
    }
    void ReleaseBlock(void* block) override { memory_.ReleaseBlock(block); }

    int committed = 0;

private:
    platform::IMemory& memory_;
};
