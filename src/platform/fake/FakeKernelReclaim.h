// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cerrno>
#include <cstdint>
#include <utility>
#include <vector>

#include "platform/KernelReclaim.h"

namespace platform {

// A kernel with groups that hold what the test sets: a reclaim takes what it is asked, up to
// what the group can still give, and answers EAGAIN when that was less. Each call is logged.
class FakeKernelReclaim : public IKernelReclaim {
public:
    struct Group {
        QString name;
        std::int64_t held = 0;         // what memory.current says
        std::int64_t reclaimable = 0;  // what the kernel can still take from it
    };

    QString Unavailable() const override { return unavailable; }
    QStringList Groups() const override
    {
        QStringList names;
        for (const Group& group : groups)
            names << group.name;
        return names;
    }
    std::int64_t Held(int group) override { return groups.at(group).held; }
    int Reclaim(int group, std::int64_t bytes) override
    {
        calls.emplace_back(group, bytes);
        if (nextError != 0)
            return std::exchange(nextError, 0);
        Group& target = groups.at(group);
        const std::int64_t taken = std::min(bytes, target.reclaimable);
        target.reclaimable -= taken;
        target.held -= taken;
        return taken < bytes ? EAGAIN : 0;
    }

    QString unavailable;
    std::vector<Group> groups;
    std::vector<std::pair<int, std::int64_t>> calls;  // (group, bytes asked)
    int nextError = 0;                                 // answered once, taking nothing
};

}  // namespace platform
