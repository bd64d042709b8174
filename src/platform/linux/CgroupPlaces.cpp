// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/CgroupPlaces.h"

#include <QStringList>

#include "platform/linux/KernelFiles.h"

namespace platform {

namespace {

// mountinfo writes blanks and backslashes in paths as octal escapes ("\040").
QString Unescape(const QString& field)
{
    QString out;
    for (qsizetype i = 0; i < field.size(); ++i) {
        bool ok = false;
        const int code = i + 3 < field.size() && field[i] == QLatin1Char('\\') ? field.mid(i + 1, 3).toInt(&ok, 8) : 0;
        if (ok) {
            out += QChar(code);
            i += 3;
        } else {
            out += field[i];
        }
    }
    return out;
}

// A group outside the mounted part of the tree (another namespace) cannot be reached here.
CgroupPlace PlaceOf(const QString& mountPoint, const QString& mountRoot, const QString& group)
{
    if (mountRoot == QLatin1String("/"))
        return {mountPoint, group == QLatin1String("/") ? QString() : group};
    if (group != mountRoot && !group.startsWith(mountRoot + QLatin1Char('/')))
        return {};
    return {mountPoint, group.mid(mountRoot.size())};
}

}  // namespace

CgroupPlaces CgroupPlaces::Find(const QString& procDir)
{
    // self/cgroup: "0::/user.slice/app" for v2, "4:memory:/docker/abc" for v1's memory controller.
    QString v2Group;
    QString v1Group;
    const QString groups = QString::fromStdString(ReadKernelFile(procDir + QStringLiteral("/self/cgroup")));
    for (const QString& line : groups.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList fields = line.split(QLatin1Char(':'));
        if (fields.size() < 3)
            continue;
        const QString group = fields.mid(2).join(QLatin1Char(':'));
        if (fields[0] == QLatin1String("0") && fields[1].isEmpty())
            v2Group = group;
        else if (fields[1].split(QLatin1Char(',')).contains(QLatin1String("memory")))
            v1Group = group;
    }
    // mountinfo: "41 31 0:38 /root /mount/point rw,relatime - cgroup2 cgroup2 rw". The group's
    // folder is the mount point plus the group's path below the mount's root.
    CgroupPlaces places;
    bool v2Seen = v2Group.isEmpty();
    bool v1Seen = v1Group.isEmpty();
    const QString mounts = QString::fromStdString(ReadKernelFile(procDir + QStringLiteral("/self/mountinfo")));
    for (const QString& line : mounts.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList fields = line.split(QLatin1Char(' '));
        const qsizetype dash = fields.indexOf(QLatin1String("-"));
        if (dash < 5 || dash + 3 >= fields.size())
            continue;
        const QString type = fields[dash + 1];
        const QString root = Unescape(fields[3]);
        const QString mountPoint = Unescape(fields[4]);
        if (!v2Seen && type == QLatin1String("cgroup2")) {
            v2Seen = true;
            places.v2 = PlaceOf(mountPoint, root, v2Group);
        } else if (!v1Seen && type == QLatin1String("cgroup") &&
                   fields[dash + 3].split(QLatin1Char(',')).contains(QLatin1String("memory"))) {
            v1Seen = true;
            places.v1Memory = PlaceOf(mountPoint, root, v1Group);
        }
    }
    return places;
}

}  // namespace platform
