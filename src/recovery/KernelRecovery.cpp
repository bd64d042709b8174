// SPDX-License-Identifier: GPL-3.0-or-later
#include "recovery/KernelRecovery.h"

#include <algorithm>
#include <cerrno>
#include <vector>

TKernelRecovery::TKernelRecovery(platform::IKernelReclaim& kernel, platform::IEventQueue& events, QObject* owner)
    : QObject(owner), kernel_(kernel), events_(events)
{
}

void TKernelRecovery::Reclaim(std::int32_t sizeMb)
{
    // As the engine's run: a call during a run withdraws any pending cancel, then is rejected.
    cancelRequested_ = false;
    if (busy_)
        return;
    busy_ = true;
    reclaimed_ = 0;

    struct Ending {
        TKernelRecovery& run;
        ~Ending()
        {
            // A throwing handler still leaves the object ready for the next run.
            run.busy_ = false;
        }
    } ending{*this};

    if (OnBeforeDefrag)
        OnBeforeDefrag(this);
    const std::int64_t target = std::int64_t{std::max(sizeMb, 0)} << 20;
    std::vector<int> groups;
    if (kernel_.Unavailable().isEmpty()) {
        for (int i = 0; i < kernel_.Groups().size(); ++i)
            groups.push_back(i);
    }
    while (reclaimed_ < target && !groups.empty() && !cancelRequested_) {
        for (auto group = groups.begin(); group != groups.end() && reclaimed_ < target && !cancelRequested_;) {
            const std::int64_t held = kernel_.Held(*group);
            const int error = kernel_.Reclaim(*group, std::min(kStep, target - reclaimed_));
            const std::int64_t heldAfter = kernel_.Held(*group);
            const std::int64_t taken = held >= 0 && heldAfter >= 0 ? std::max<std::int64_t>(0, held - heldAfter) : 0;
            reclaimed_ = std::min(target, reclaimed_ + taken);
            // The kernel answers EAGAIN when, after all its tries, the group had less to give than
            // asked: it is spent. Going on would only take back the pages its programs (this one
            // too) fault in again. A step cut short by a signal says nothing: the cancel comes next.
            if (error == EAGAIN || (taken < kNothing && error != EINTR))
                group = groups.erase(group);
            else
                ++group;
            events_.Drain();
            if (OnProgress)
                OnProgress(this, static_cast<int>(RoundHalfEven(100.0 * static_cast<double>(reclaimed_) / static_cast<double>(target))));
        }
    }
    busy_ = false;
    if (OnAfterDefrag)
        OnAfterDefrag(this);
}
