#pragma once
#include <QString>
#include <functional>

namespace platform {

// One running instance per user: a later start asks the running one to show itself, then ends.
class ISingleInstance {
public:
    enum class ClaimResult {
        Claimed,        // this process is now the running instance
        HeldElsewhere,  // another instance holds the claim: ask it with SignalRunning
        Refused,        // the claim cannot be made safely; Problem() says why
    };

    virtual ~ISingleInstance() = default;
    // Atomic: of any number of simultaneous starts, exactly one gets Claimed.
    virtual ClaimResult Claim() = 0;
    // Asks the running instance to show itself; true when it took the request.
    virtual bool SignalRunning() = 0;
    // Why Claim refused, as one French sentence for the user.
    virtual QString Problem() const = 0;

    std::function<void()> OnShowRequest;  // a later start asked this instance to show itself
};

}  // namespace platform
