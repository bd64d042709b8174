// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QObject>
#include <cstdint>
#include <functional>

#include "platform/Platform.h"

// The memory recovery engine: one run commits up to 1024 blocks of 1 MiB, writes every byte so
// that the kernel must find physical pages for them (taking them from idle pages of others), then
// releases them. The run is synchronous and drains the event queue after every block it fills, so
// the window stays alive and a cancel can come in.
class TRamRecovery : public QObject {
public:
    using TOnProgress = std::function<void(QObject* sender, int progress)>;

    static constexpr int kMaxBlocks = 1024;
    static constexpr std::int64_t kBlockSize = platform::IMemory::kBlockSize;

    TRamRecovery(platform::IMemory& memory, platform::IEventQueue& events, QObject* owner = nullptr);

    std::int64_t TotalMemory() const { return totalMemory_; }  // read once, at creation
    std::int64_t FreeMemory() const;                           // read on every call
    bool IsBusy() const { return busy_; }

    TNotifyEvent OnBeforeDefrag;
    TOnProgress OnProgress;
    TNotifyEvent OnAfterDefrag;

    void Defrag(std::int32_t sizeMb);
    void DefragAll();
    void CancelDefrag() { cancelRequested_ = true; }

private:
    bool PumpMessages();
    void FireProgress(int step, int total);
    void FireAfter();

    platform::IMemory& memory_;
    platform::IEventQueue& events_;
    bool cancelRequested_ = false;
    std::int64_t totalMemory_ = 0;
    bool busy_ = false;
};
