// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/CgroupLimits.h"

#include <QStringList>
#include <algorithm>

#include "platform/linux/CgroupPlaces.h"

namespace platform {

namespace {

// cgroup v1 writes "no limit" as the largest page-aligned count; anything this large is none.
constexpr std::int64_t kNoLimitAbove = std::int64_t{1} << 62;

std::int64_t Limit(std::int64_t value)
{
    return value >= 0 && value < kNoLimitAbove ? value : -1;
}

void Tighten(std::int64_t& tightest, std::int64_t value)
{
    if (value >= 0)
        tightest = tightest < 0 ? value : std::min(tightest, value);
}

}  // namespace

CgroupLimits::CgroupLimits(const QString& procDir)
{
    const CgroupPlaces places = CgroupPlaces::Find(procDir);
    if (places.v2.Found())
        AddLevels(places.v2, false);
    if (places.v1Memory.Found())
        AddLevels(places.v1Memory, true);
}

void CgroupLimits::AddLevels(const CgroupPlace& place, bool v1)
{
    QString below = place.below;
    for (;;) {
        levels_.push_back({place.mountPoint + below, v1, {}});
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

std::string_view CgroupLimits::Level::Read(const QString& name) const
{
    auto file = files.find(name);
    if (file == files.end())
        file = files.try_emplace(name, folder + QLatin1Char('/') + name, KernelFile::IfMissing::StaysMissing).first;
    return file->second.Read();
}

CgroupLimits::Reading CgroupLimits::Read(std::int64_t swapFree) const
{
    // The swap a v2 group may still fill: the least any v2 level leaves under its memory.swap.max
    // ("max": none), never more than the machine has. A group without the file but with
    // memory.max does not account swap: the room counts as none, since nothing then says the
    // kernel may swap for it. The top of the tree has neither file.
    std::int64_t v2SwapRoom = std::max<std::int64_t>(0, swapFree);
    for (const Level& level : levels_) {
        if (level.v1)
            continue;
        const std::string_view swapMax = level.Read(QStringLiteral("memory.swap.max"));
        if (swapMax.empty()) {
            if (!level.Read(QStringLiteral("memory.max")).empty()) {
                v2SwapRoom = 0;
                break;
            }
            continue;
        }
        const std::int64_t max = Limit(KernelValue(swapMax));
        if (max >= 0) {
            const std::int64_t current = KernelValue(level.Read(QStringLiteral("memory.swap.current")));
            v2SwapRoom = std::min(v2SwapRoom, current < 0 ? 0 : std::max<std::int64_t>(0, max - current));
        }
    }

    Reading reading;
    bool v1Leaf = true;
    for (const Level& level : levels_) {
        std::int64_t limit = -1;
        std::int64_t usage = -1;
        std::int64_t reclaimable = 0;
        if (level.v1) {
            limit = Limit(KernelValue(level.Read(QStringLiteral("memory.limit_in_bytes"))));
            // memory.stat is the dearest of the files to read (the kernel sums it up at each
            // reading): read where it tells something, the leaf and a limited group.
            std::string_view stat;
            if (v1Leaf || limit >= 0)
                stat = level.Read(QStringLiteral("memory.stat"));
            if (v1Leaf) {
                // The limit that binds the group through all its ancestors, seen or not.
                Tighten(limit, Limit(KernelField(stat, "hierarchical_memory_limit")));
                v1Leaf = false;
            }
            if (limit >= 0) {
                usage = KernelValue(level.Read(QStringLiteral("memory.usage_in_bytes")));
                reclaimable = KernelField(stat, "total_inactive_file");
            }
        } else {
            limit = Limit(KernelValue(level.Read(QStringLiteral("memory.max"))));
            if (limit >= 0) {
                usage = KernelValue(level.Read(QStringLiteral("memory.current")));
                reclaimable = KernelField(level.Read(QStringLiteral("memory.stat")), "inactive_file");
            }
        }
        if (limit < 0)
            continue;
        // Idle file pages are what the kernel gives back first inside a group, as MemAvailable
        // counts them for the machine. An unreadable usage counts as the group being full.
        const std::int64_t used = usage < 0 ? limit : std::max<std::int64_t>(0, usage - std::max<std::int64_t>(0, reclaimable));
        Tighten(reading.limit, limit);
        const std::int64_t headroom = std::max<std::int64_t>(0, limit - used);
        Tighten(reading.headroom, headroom);
        Tighten(reading.reserve, level.v1 ? headroom : headroom + v2SwapRoom);
    }
    return reading;
}

}  // namespace platform
