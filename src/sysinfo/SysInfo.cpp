// SPDX-License-Identifier: GPL-3.0-or-later
#include "sysinfo/SysInfo.h"

#include <set>
#include <string_view>

#include "platform/Rounding.h"

namespace {

constexpr int kDiskLines = 4;

bool IsRemote(std::string_view fsType)
{
    static const std::set<std::string_view> kRemote = {"nfs",   "nfs4",      "cifs", "smb3",   "smbfs",
                                                       "ncpfs", "afs",       "ceph", "9p",     "glusterfs",
                                                       "lustre", "davfs",    "coda", "ocfs2",  "gfs2"};
    return kRemote.contains(fsType);
}

}  // namespace

QString LocalIpAddress(platform::ISystemInfo& system)
{
    const auto addresses = system.HostAddresses();
    if (!addresses || addresses->empty())
        return {};
    return QString::fromStdString(addresses->back());
}

bool IsLocalDisk(const platform::MountEntry& mount)
{
    if (IsRemote(mount.fsType))
        return false;
    // FUSE filesystems are remote shares or views of other data, except a disk behind fuseblk.
    if (mount.fsType.starts_with("fuse") && mount.fsType != "fuseblk")
        return false;
    // ZFS names its pool, not a device; every other disk filesystem stands on a block device.
    return mount.source.starts_with("/dev/") || mount.fsType == "zfs";
}

QString DiskLines(const QString& current, platform::ISystemInfo& system)
{
    std::vector<platform::MountEntry> disks;
    for (const auto& mount : system.Mounts()) {
        if (!IsLocalDisk(mount))
            continue;
        if (mount.mountPoint == "/")
            disks.insert(disks.begin(), mount);
        else
            disks.push_back(mount);
    }
    // One line per filesystem, however many places it is mounted at.
    std::set<std::string> seenSources;
    std::set<std::string> seenMountPoints;
    QString text = current;
    int shown = 0;
    for (const auto& disk : disks) {
        if (shown == kDiskLines)
            break;
        if (!seenSources.insert(disk.source).second || !seenMountPoints.insert(disk.mountPoint).second)
            continue;
        const platform::DiskSpace space = system.SpaceOf(disk.mountPoint);
        if (space.freeBytes <= 0)
            continue;
        const QString line = QString::fromStdString(disk.mountPoint) + QStringLiteral(" : ") +
                             QString::number(Megabytes(space.freeBytes)) + QStringLiteral(" Mo libres | ") +
                             QString::number(Megabytes(space.totalBytes)) + QStringLiteral(" Mo");
        text = shown == 0 ? line + QLatin1Char(' ') : text + QStringLiteral("\r\n") + line;
        ++shown;
    }
    return text;
}

std::int64_t Megabytes(std::int64_t bytes)
{
    return RoundHalfEven(static_cast<double>(bytes) / 1024 / 1024);
}

double MeasureCpuMhz(platform::ITickClock& clock, platform::IProcessor& processor)
{
    if (!processor.TimeStampCounter())
        return 0;
    const std::uint32_t t0 = clock.TickCount();
    while (clock.TickCount() == t0) {
    }
    const auto c1 = processor.TimeStampCounter();
    // The elapsed time is an unsigned difference, so a tick count wrapping round its 32 bits
    // (every 49.7 days of uptime) does not end the second at once.
    while (static_cast<std::uint32_t>(clock.TickCount() - t0) < 1000) {
    }
    const auto c2 = processor.TimeStampCounter();
    if (!c1 || !c2)
        return 0;
    return static_cast<double>(*c2 - *c1) / 1'000'000;
}

QString CpuSpeedText(double mhz, const QLocale& locale)
{
    const double hundredths = static_cast<double>(RoundHalfEven(mhz / 0.01)) * 0.01;
    QLocale writing = locale;
    writing.setNumberOptions(QLocale::OmitGroupSeparator);
    return CpuSpeedCaption() + writing.toString(hundredths, 'g', 15) + QStringLiteral(" Mhz");
}

QString CpuSpeedCaption()
{
    return QStringLiteral("Vitesse réelle Processeur : ");
}
