#pragma once
#include <functional>

namespace platform {

// One running instance per user: a later start asks the running one to show itself, then ends.
class ISingleInstance {
public:
    virtual ~ISingleInstance() = default;
    // Asks a running instance to show itself; true when one took the request.
    virtual bool SignalRunning() = 0;
    // Becomes the running instance; false when that could not be set up (the program then runs
    // without the guard rather than not at all).
    virtual bool Claim() = 0;

    std::function<void()> OnShowRequest;  // a later start asked this instance to show itself
};

}  // namespace platform
