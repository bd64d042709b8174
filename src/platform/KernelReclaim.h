// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>
#include <QStringList>
#include <cstdint>

namespace platform {

// Recovery by the kernel: the kernel is asked to reclaim memory from control groups (page cache
// dropped, idle anonymous pages to swap) instead of a run taking memory so that it must. Where
// the system cannot do it, Unavailable() says why and nothing else may be called.
class IKernelReclaim {
public:
    virtual ~IKernelReclaim() = default;
    // Why the kernel cannot be asked here, in one phrase; empty when it can.
    virtual QString Unavailable() const = 0;
    // The groups that are asked, as the user knows them ("/user.slice/…/app.slice"; "/": all).
    virtual QStringList Groups() const = 0;
    // Bytes of memory the group holds now; -1 when it cannot be read.
    virtual std::int64_t Held(int group) = 0;
    // Asks the kernel to reclaim bytes from the group. 0 when it reclaimed all of it, else the
    // errno: EAGAIN when there was less to take, EINTR when a signal came first.
    virtual int Reclaim(int group, std::int64_t bytes) = 0;
};

}  // namespace platform
