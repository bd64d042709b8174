// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <functional>

namespace platform {

// The end of the user's session, and any other orderly end the system asks for.
class ISessionEvents {
public:
    virtual ~ISessionEvents() = default;

    std::function<void()> OnQueryEnd;  // the session may end soon: let go of what can be let go
    std::function<void()> OnEnd;       // the session (or the system) is ending this program now
};

}  // namespace platform
