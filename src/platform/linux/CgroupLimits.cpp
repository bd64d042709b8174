// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/CgroupLimits.h"

#include <QStringList>
#include <algorithm>

#include "platform/linux/KernelFiles.h"

namespace platform {

namespace {

// cgroup v1 writes "no limit" as the largest page-aligned count; anything this large is none.
constexpr std::int64_t kNoLimitAbove = std::int64_t{1} << 62;

std::int64_t Limit(std::int64_t value)
{
    return value >= 0 && value < kNoLimitAbove ? value : -1;
}

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

void Tighten(std::int64_t& tightest, std::int64_t value)
{
    if (value >= 0)
        tightest = tightest < 0 ? value : std::min(tightest, value);
}

}  // namespace

CgroupLimits::CgroupLimits(const QString& procDir)
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
    bool v2Found = v2Group.isEmpty();
    bool v1Found = v1Group.isEmpty();
    const QString mounts = QString::fromStdString(ReadKernelFile(procDir + QStringLiteral("/self/mountinfo")));
    for (const QString& line : mounts.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        const QStringList fields = line.split(QLatin1Char(' '));
        const qsizetype dash = fields.indexOf(QLatin1String("-"));
        if (dash < 5 || dash + 3 >= fields.size())
            continue;
        const QString type = fields[dash + 1];
        const QString root = Unescape(fields[3]);
        const QString mountPoint = Unescape(fields[4]);
        if (!v2Found && type == QLatin1String("cgroup2")) {
            v2Found = true;
            AddLevels(mountPoint, root, v2Group, false);
        } else if (!v1Found && type == QLatin1String("cgroup") &&
                   fields[dash + 3].split(QLatin1Char(',')).contains(QLatin1String("memory"))) {
            v1Found = true;
            AddLevels(mountPoint, root, v1Group, true);
        }
    }
}

void CgroupLimits::AddLevels(const QString& mountPoint, const QString& mountRoot, const QString& group, bool v1)
{
    // A group outside the mounted part of the tree (another namespace) cannot be read here.
    QString below = group;
    if (mountRoot != QLatin1String("/")) {
        if (group != mountRoot && !group.startsWith(mountRoot + QLatin1Char('/')))
            return;
        below = group.mid(mountRoot.size());
    }
    for (;;) {
        const QString at = mountPoint + below + QLatin1Char('/');
        levels_.push_back({mountPoint + below, v1, std::nullopt,
                           KernelFile(at + (v1 ? QStringLiteral("memory.limit_in_bytes") : QStringLiteral("memory.max"))),
                           KernelFile(at + (v1 ? QStringLiteral("memory.usage_in_bytes") : QStringLiteral("memory.current"))),
                           KernelFile(at + QStringLiteral("memory.stat"))});
        if (below.isEmpty() || below == QLatin1String("/"))
            break;
        const qsizetype slash = below.lastIndexOf(QLatin1Char('/'));
        below = below.left(std::max<qsizetype>(slash, 0));
    }
}

QStringList CgroupLimits::Folders() const
{
    QStringList folders;
    for (const Level& level : levels_)
        folders << level.folder;
    return folders;
}

CgroupLimits::Reading CgroupLimits::Read()
{
    Reading reading;
    bool v1Leaf = true;
    for (Level& level : levels_) {
        if (!level.limited)
            level.limited = level.limit.Opens();
        if (!*level.limited)
            continue;
        std::int64_t limit = -1;
        std::int64_t usage = -1;
        std::int64_t reclaimable = 0;
        if (level.v1) {
            limit = Limit(KernelValue(level.limit.Read()));
            const std::string stat = level.stat.Read();
            if (v1Leaf) {
                // The limit that binds the group through all its ancestors, seen or not.
                Tighten(limit, Limit(KernelField(stat, "hierarchical_memory_limit")));
                v1Leaf = false;
            }
            if (limit >= 0) {
                usage = KernelValue(level.usage.Read());
                reclaimable = KernelField(stat, "total_inactive_file");
            }
        } else {
            limit = Limit(KernelValue(level.limit.Read()));
            if (limit >= 0) {
                usage = KernelValue(level.usage.Read());
                reclaimable = KernelField(level.stat.Read(), "inactive_file");
            }
        }
        if (limit < 0)
            continue;
        // Idle file pages are what the kernel gives back first inside a group, as MemAvailable
        // counts them for the machine. An unreadable usage counts as the group being full.
        const std::int64_t used = usage < 0 ? limit : std::max<std::int64_t>(0, usage - std::max<std::int64_t>(0, reclaimable));
        Tighten(reading.limit, limit);
        Tighten(reading.headroom, std::max<std::int64_t>(0, limit - used));
    }
    return reading;
}

}  // namespace platform
