// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>
#include <QStringList>
#include <functional>

#include "platform/KernelReclaim.h"

namespace platform {

// Recovery by the kernel through cgroup v2's memory.reclaim (Linux 5.19 and later).
//
// The groups asked are the highest ones around the process's own place in the tree whose
// memory.reclaim it may write: the highest writable level on the way from its group to the
// top, with that level's writable siblings. On a systemd desktop a user's program is under
// user@UID.service, which belongs to root, and the groups found are the user's own app.slice,
// session.slice and background.slice (and init.scope); for root it is the whole machine. A group
// is never written that the process may not write as it is: it never raises its privileges.
class CgroupReclaim : public IKernelReclaim {
public:
    // Whether this process, as it is, may write the file (the real test: faccessat with the
    // effective ids). Tests give their own, since the root user may write anything.
    using WriteCheck = std::function<bool(const QString& path)>;

    explicit CgroupReclaim(const QString& procDir = QStringLiteral("/proc"), WriteCheck mayWrite = {});

    QString Unavailable() const override { return unavailable_; }
    QStringList Groups() const override;
    std::int64_t Held(int group) override;
    int Reclaim(int group, std::int64_t bytes) override;

protected:
    // Writes the byte count to the file; 0 or the errno. The kernel's part, for the tests.
    virtual int WriteReclaim(const QString& path, std::int64_t bytes);

private:
    QString Folder(int group) const { return mountPoint_ + groups_.value(group); }

    QString procDir_;
    QString mountPoint_;
    QStringList groups_;  // below the mount's root; "" for the top of the tree
    QString unavailable_;
};

}  // namespace platform
