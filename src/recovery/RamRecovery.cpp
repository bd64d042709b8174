// SPDX-License-Identifier: GPL-3.0-or-later
#include "recovery/RamRecovery.h"

#include <algorithm>
#include <array>

namespace {

// 32-bit stores over the whole block, first byte to last. A block that could not be had counts
// as a fault at this step.
bool FillBlock(void* block)
{
    if (block == nullptr)
        return false;
    std::fill_n(static_cast<std::uint32_t*>(block), TRamRecovery::kBlockSize / 4, 0u);
    return true;
}

}  // namespace

TRamRecovery::TRamRecovery(platform::IMemory& memory, platform::IEventQueue& events, QObject* owner)
    : QObject(owner), memory_(memory), events_(events), totalMemory_(memory.Status().totalPhys)
{
}

std::int64_t TRamRecovery::FreeMemory() const
{
    return memory_.Status().availPhys;
}

bool TRamRecovery::PumpMessages()
{
    return events_.Drain();
}

void TRamRecovery::FireProgress(int step, int total)
{
    if (OnProgress)
        OnProgress(this, static_cast<int>(RoundHalfEven(100.0 * step / total)));
}

void TRamRecovery::FireAfter()
{
    if (OnAfterDefrag)
        OnAfterDefrag(this);
}

void TRamRecovery::DefragAll()
{
    Defrag(static_cast<std::int32_t>(std::min<std::int64_t>(totalMemory_ / kBlockSize, INT32_MAX)));
}

void TRamRecovery::Defrag(std::int32_t sizeMb)
{
    // A call from a handler during a run is rejected here, after it has withdrawn any pending
    // cancel of that run: callers rely on that order.
    cancelRequested_ = false;
    if (busy_)
        return;
    busy_ = true;

    const int n = std::clamp(sizeMb, 0, kMaxBlocks);
    std::array<void*, kMaxBlocks + 1> blockTable;
    std::fill_n(blockTable.begin(), n + 1, nullptr);

    auto releaseFrom = [&](int first, int last) {
        for (int i = first; i <= last; ++i) {
            if (blockTable[i] != nullptr) {
                memory_.ReleaseBlock(blockTable[i]);
                blockTable[i] = nullptr;
            }
        }
    };

    try {
        if (OnBeforeDefrag)
            OnBeforeDefrag(this);

        const int total = 2 * n;
        int step = 0;
        for (int i = 0; i < n; ++i) {
            blockTable[i] = memory_.CommitBlock();
            if (!FillBlock(blockTable[i]))
                cancelRequested_ = true;
            ++step;
            PumpMessages();
            FireProgress(step, total);
            if (cancelRequested_) {
                releaseFrom(0, i);
                busy_ = false;
                FireAfter();
                return;
            }
        }
        for (int i = 0; i < n; ++i) {
            releaseFrom(i, i);
            ++step;
            FireProgress(step, total);
            if (cancelRequested_) {
                releaseFrom(i + 1, n - 1);
                busy_ = false;
                FireAfter();
                return;
            }
        }
        busy_ = false;
        FireAfter();
    } catch (...) {
        // A throwing handler must not leave memory committed, the engine stuck in a run, or its
        // owner waiting for an end event that never comes: the run ends as a failed one, then the
        // error goes on to the caller.
        releaseFrom(0, n - 1);
        const bool endReported = !busy_;
        busy_ = false;
        if (!endReported) {
            try {
                FireAfter();
            } catch (...) {
                // The first error is the one the caller hears about.
            }
        }
        throw;
    }
}
