// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/fake/FakeMemory.h"

#include <cstring>
#include <new>

namespace platform {

FakeMemory::~FakeMemory()
{
    for (void* block : live)
        ::operator delete(block);
}

MemoryStatus FakeMemory::Status()
{
    ++statusReads;
    return status;
}

void* FakeMemory::CommitBlock()
{
    ++commits;
    if (commits == failAtCommit)
        return nullptr;
    void* block = ::operator new(static_cast<std::size_t>(kBlockSize));
    std::memset(block, kFreshByte, static_cast<std::size_t>(kBlockSize));
    live.insert(block);
    return block;
}

void FakeMemory::ReleaseBlock(void* block)
{
    ++releases;
    if (live.erase(block) == 1)
        ::operator delete(block);
}

}  // namespace platform
