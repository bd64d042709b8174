// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/linux/KernelFiles.h"

namespace platform {

// The memory limits of the process's control groups, cgroup v2 and v1 alike (a hybrid host has
// both), on every level from the process's own group up to the top of what is mounted.
class CgroupLimits {
public:
    struct Reading {
        std::int64_t limit = -1;     // the tightest limit, bytes; -1: none
        std::int64_t headroom = -1;  // the least that any limited level still leaves; -1: none
    };

    // Finds the groups from procDir's self/cgroup and self/mountinfo.
    explicit CgroupLimits(const QString& procDir);

    // The files were found once, at the making; each reading reads them again, kept open.
    Reading Read();
    // The group folders read, the process's own first; for the tests.
    QStringList Folders() const;

private:
    struct Level {
        QString folder;
        bool v1 = false;
        // Whether it has a limit file at all (the top of a v2 tree has none): looked for once.
        std::optional<bool> limited;
        KernelFile limit;  // memory.max, memory.limit_in_bytes
        KernelFile usage;  // memory.current, memory.usage_in_bytes
        KernelFile stat;   // memory.stat
    };
    void AddLevels(const QString& mountPoint, const QString& mountRoot, const QString& group, bool v1);

    std::vector<Level> levels_;
};

}  // namespace platform
