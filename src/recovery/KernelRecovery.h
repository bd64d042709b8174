// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QObject>
#include <cstdint>
#include <functional>

#include "platform/Platform.h"

// Recovery by the kernel: instead of taking memory so that the kernel must reclaim it from the
// others, the kernel is asked to reclaim it from the user's groups directly (IKernelReclaim), in
// steps, so that progress shows and a cancel comes in between them. A group leaves the run when
// a step reclaims nothing from it or the kernel finds less in it than asked; the run ends when
// the amount is reached or no group is left.
// Its events are those of the engine's run (TRamRecovery), for the same window and terminal.
class TKernelRecovery : public QObject {
public:
    using TOnProgress = std::function<void(QObject* sender, int progress)>;

    static constexpr std::int64_t kStep = std::int64_t{64} << 20;
    // Less than this from a step is nothing: the groups' own work moves their usage that much.
    static constexpr std::int64_t kNothing = std::int64_t{1} << 20;

    TKernelRecovery(platform::IKernelReclaim& kernel, platform::IEventQueue& events, QObject* owner = nullptr);

    bool IsBusy() const { return busy_; }
    // Bytes the groups gave back over the last run (the fall of what they hold).
    std::int64_t Reclaimed() const { return reclaimed_; }

    TNotifyEvent OnBeforeDefrag;
    TOnProgress OnProgress;
    TNotifyEvent OnAfterDefrag;

    void Reclaim(std::int32_t sizeMb);
    void CancelReclaim() { cancelRequested_ = true; }

private:
    platform::IKernelReclaim& kernel_;
    platform::IEventQueue& events_;
    bool cancelRequested_ = false;
    bool busy_ = false;
    std::int64_t reclaimed_ = 0;
};
