// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <functional>

#include "platform/EventQueue.h"

namespace platform {

// An event queue whose "pending events" are whatever the test puts in onDrain.
class FakeEventQueue : public IEventQueue {
public:
    bool Drain() override
    {
        ++drains;
        return onDrain ? onDrain(drains) : false;
    }

    std::function<bool(int drainNumber)> onDrain;
    int drains = 0;
};

}  // namespace platform
