// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace platform {

// The user-interface thread's queue of pending events (input, timers, posted calls).
class IEventQueue {
public:
    virtual ~IEventQueue() = default;
    // Dispatches what is pending. Returns true when a quit request was among it; the request is
    // kept, so that the program still ends once the caller returns to the main loop.
    virtual bool Drain() = 0;
};

}  // namespace platform
