// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>
#include <functional>

namespace platform {

// One running instance per user: a later start asks the running one to show itself (or to run a
// recovery), then ends.
class ISingleInstance {
public:
    enum class Request {
        Show,     // bring the window forward
        Recover,  // start a recovery, as the hot key does
        RecoverByKernel,  // start a recovery by the kernel (cgroup v2 memory.reclaim)
    };

    enum class ClaimResult {
        Claimed,        // this process is now the running instance
        HeldElsewhere,  // another instance holds the claim: ask it with SignalRunning
        Refused,        // the claim cannot be made safely; Problem() says why
    };

    virtual ~ISingleInstance() = default;
    // Atomic: of any number of simultaneous starts, exactly one gets Claimed.
    virtual ClaimResult Claim() = 0;
    // Hands the running instance a request; true when it took it.
    virtual bool SignalRunning(Request request = Request::Show) = 0;
    // Why Claim refused, as one French sentence for the user.
    virtual QString Problem() const = 0;

    std::function<void()> OnShowRequest;     // a later start asked this instance to show itself
    std::function<void()> OnRecoverRequest;  // a later start asked this instance to run a recovery
    std::function<void()> OnRecoverByKernelRequest;  // ... a recovery by the kernel
};

}  // namespace platform
