// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/PrivateDirectory.h"

#include <QFile>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

PrivateDirectory Refuse(const QString& path, const QString& why)
{
    return {-1, QStringLiteral("le dossier %1 n'est pas sûr : %2").arg(path, why)};
}

QString SystemError(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

}  // namespace

PrivateDirectory PrivateDirectory::Open(const QString& path, uid_t owner)
{
    const QByteArray encoded = QFile::encodeName(path);
    if (::mkdir(encoded.constData(), 0700) != 0 && errno != EEXIST)
        return {-1, QStringLiteral("impossible de créer le dossier %1 : %2").arg(path, SystemError(errno))};
    // O_NOFOLLOW makes a symbolic link at the path fail here instead of being followed.
    const int fd = ::open(encoded.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        const int error = errno;
        if (error == ELOOP || error == ENOTDIR)
            return Refuse(path, QStringLiteral("ce n'est pas un dossier mais un lien ou un fichier"));
        return {-1, QStringLiteral("impossible d'ouvrir le dossier %1 : %2").arg(path, SystemError(error))};
    }
    // Checked on the opened folder itself, so a swap after the check changes nothing.
    struct stat info = {};
    QString why;
    if (::fstat(fd, &info) != 0)
        why = SystemError(errno);
    else
        why = Problem(info, owner);
    if (!why.isEmpty()) {
        ::close(fd);
        return Refuse(path, why);
    }
    return {fd, {}};
}

QString PrivateDirectory::Problem(const struct stat& folder, uid_t owner, bool trustRoot)
{
    if (folder.st_uid != owner && !(trustRoot && folder.st_uid == 0))
        return QStringLiteral("il appartient à l'utilisateur n° %1").arg(folder.st_uid);
    if ((folder.st_mode & (S_IWGRP | S_IWOTH)) != 0)
        return QStringLiteral("d'autres utilisateurs peuvent y écrire (mode %1)").arg(folder.st_mode & 07777, 4, 8, QLatin1Char('0'));
    return {};
}

}  // namespace platform
