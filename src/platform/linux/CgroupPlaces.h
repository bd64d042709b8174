// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>

namespace platform {

// Where the process's control groups are in the file system: its cgroup v2 group, and its group
// of cgroup v1's memory controller (a hybrid host has both).
struct CgroupPlace {
    QString mountPoint;  // empty: not mounted where this process can see it
    QString below;       // the group's path below the mount's root: "" or "/user.slice/app"
    QString Folder() const { return mountPoint + below; }
    bool Found() const { return !mountPoint.isEmpty(); }
};

struct CgroupPlaces {
    CgroupPlace v2;
    CgroupPlace v1Memory;
    // From procDir's self/cgroup and self/mountinfo.
    static CgroupPlaces Find(const QString& procDir);
};

}  // namespace platform
