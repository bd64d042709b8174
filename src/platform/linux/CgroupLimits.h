// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/linux/CgroupPlaces.h"
#include "platform/linux/KernelFiles.h"

namespace platform {

// The memory limits of the process's control groups, cgroup v2 and v1 alike (a hybrid host has
// both), on every level from the process's own group up to the top of what is mounted.
class CgroupLimits {
public:
    struct Reading {
        std::int64_t limit = -1;     // the tightest limit, bytes; -1: none
        std::int64_t headroom = -1;  // the least that any limited level still leaves; -1: none
        // The same, with the swap a cgroup v2 group may still fill: at its limit such a group
        // has its idle pages swapped out rather than failing. -1: no limit.
        std::int64_t reserve = -1;
    };

    // Finds the groups from procDir's self/cgroup and self/mountinfo, once.
    explicit CgroupLimits(const QString& procDir);

    // swapFree: the machine's free swap, the most any group can still swap. Read every second by
    // the live monitor: each group file is opened at its first reading and kept open, and one
    // that was not there then is not looked for again.
    Reading Read(std::int64_t swapFree = 0) const;
    // The group folders read, the process's own first; for the tests.
    QStringList Folders() const;

private:
    struct Level {
        QString folder;
        bool v1 = false;
        mutable std::map<QString, KernelFile> files;  // by name, as first read

        // The file's text as it is now; empty when it is missing or unreadable.
        std::string_view Read(const QString& name) const;
    };
    void AddLevels(const CgroupPlace& place, bool v1);

    std::vector<Level> levels_;
};

}  // namespace platform
