// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/CgroupReclaim.h"

#include <QDir>
#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
#include <string>
#include <unistd.h>

#include "platform/linux/CgroupPlaces.h"
#include "platform/linux/KernelFiles.h"

namespace platform {

namespace {

const QString kReclaim = QStringLiteral("/memory.reclaim");

bool MayWriteAsIAm(const QString& path)
{
    return ::faccessat(AT_FDCWD, QFile::encodeName(path).constData(), W_OK, AT_EACCESS) == 0;
}

QString Parent(const QString& below)
{
    return below.left(std::max<qsizetype>(below.lastIndexOf(QLatin1Char('/')), 0));
}

}  // namespace

CgroupReclaim::CgroupReclaim(const QString& procDir, WriteCheck mayWrite) : procDir_(procDir)
{
    if (!mayWrite)
        mayWrite = MayWriteAsIAm;
    const CgroupPlaces places = CgroupPlaces::Find(procDir);
    const CgroupPlace& place = places.v2;
    if (!place.Found()) {
        unavailable_ = QStringLiteral("pas de cgroup v2 pour ce programme (un système en cgroup v1) : le noyau ne peut "
                                      "pas être appelé à reprendre de la mémoire");
        return;
    }
    mountPoint_ = place.mountPoint;
    // From the process's own group up to the top: the highest level it may write.
    QString top;
    bool known = false;
    bool writable = false;
    for (QString below = place.below;; below = Parent(below)) {
        const QString file = mountPoint_ + below + kReclaim;
        if (QFileInfo::exists(file)) {
            known = true;
            if (mayWrite(file)) {
                top = below;
                writable = true;
            }
        }
        if (below.isEmpty())
            break;
    }
    if (!known && places.v1Memory.Found()) {
        unavailable_ = QStringLiteral("la mémoire de ce système est gérée par cgroup v1 (un système hybride) : le noyau "
                                      "ne peut pas être appelé à reprendre de la mémoire par cgroup v2");
        return;
    }
    if (!known) {
        unavailable_ = QStringLiteral("le noyau n'offre pas memory.reclaim ici (il faut Linux 5.19 ou plus récent et le "
                                      "contrôleur memory de cgroup v2)");
        return;
    }
    if (!writable) {
        unavailable_ = QStringLiteral("aucun groupe de cgroup v2 dont ce programme puisse écrire memory.reclaim autour "
                                      "de sa place (%1)")
                           .arg(place.below.isEmpty() ? QStringLiteral("/") : place.below);
        return;
    }
    if (top.isEmpty()) {
        groups_ << QString();
        return;
    }
    // Beside the highest level, its writable siblings: the same user's other slices.
    const QString parent = Parent(top);
    const QDir parentDir(mountPoint_ + parent);
    for (const QString& name : parentDir.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks, QDir::Name)) {
        const QString below = parent + QLatin1Char('/') + name;
        const QString file = mountPoint_ + below + kReclaim;
        if (below == top || (QFileInfo::exists(file) && mayWrite(file)))
            groups_ << below;
    }
}

QStringList CgroupReclaim::Groups() const
{
    QStringList names;
    for (const QString& below : groups_)
        names << (below.isEmpty() ? QStringLiteral("/") : below);
    return names;
}

std::int64_t CgroupReclaim::Held(int group)
{
    if (group < 0 || group >= groups_.size())
        return -1;
    if (!groups_[group].isEmpty())
        return KernelValue(ReadKernelFile(Folder(group) + QStringLiteral("/memory.current")));
    // The top of the tree has no memory.current: what the machine holds, page cache included.
    const std::string meminfo = ReadKernelFile(procDir_ + QStringLiteral("/meminfo"));
    const std::int64_t total = KernelField(meminfo, "MemTotal");
    const std::int64_t free = KernelField(meminfo, "MemFree");
    return total >= 0 && free >= 0 && total <= INT64_MAX / 1024 ? (total - std::min(total, free)) * 1024 : -1;
}

int CgroupReclaim::Reclaim(int group, std::int64_t bytes)
{
    if (group < 0 || group >= groups_.size() || bytes <= 0)
        return EINVAL;
    return WriteReclaim(Folder(group) + kReclaim, bytes);
}

int CgroupReclaim::WriteReclaim(const QString& path, std::int64_t bytes)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CLOEXEC | O_NOFOLLOW | O_NOCTTY);
    if (fd < 0)
        return errno;
    const std::string text = std::to_string(bytes);
    const ssize_t written = ::write(fd, text.data(), text.size());
    const int error = written < 0 ? errno : 0;
    ::close(fd);
    return error;
}

}  // namespace platform
