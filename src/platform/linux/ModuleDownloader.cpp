// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/ModuleDownloader.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/linux/PrivateDirectory.h"

namespace platform {
namespace {

using NewDownloader = IDownloader* (*)();

// Why the module there may not be loaded; empty when it may. Checked on the file and its folder
// as they are now: a file someone else could replace or change is never run.
QString Distrust(const QString& path)
{
    struct stat file {};
    struct stat folder {};
    if (::stat(QFile::encodeName(path).constData(), &file) != 0 || !S_ISREG(file.st_mode) ||
        ::stat(QFile::encodeName(QFileInfo(path).absolutePath()).constData(), &folder) != 0)
        return QStringLiteral("illisible");
    const QString fileProblem = PrivateDirectory::Problem(file, ::geteuid(), true);
    return fileProblem.isEmpty() ? PrivateDirectory::Problem(folder, ::geteuid(), true) : fileProblem;
}

}  // namespace

ModuleDownloader::ModuleDownloader(QStringList folders) : folders_(std::move(folders)) {}

QStringList ModuleDownloader::DefaultFolders()
{
    const QDir program(QCoreApplication::applicationDirPath());
    return {QDir::cleanPath(program.filePath(QStringLiteral(MNEMORA_MODULE_DIR))), program.path()};
}

IDownloader* ModuleDownloader::Downloader()
{
    if (tried_)
        return downloader_.get();
    tried_ = true;
    for (const QString& folder : std::as_const(folders_)) {
        const QString path = QDir(folder).filePath(QLatin1String(kModuleName));
        if (!QFileInfo::exists(path))
            continue;
        if (const QString problem = Distrust(path); !problem.isEmpty()) {
            std::fprintf(stderr, "mnemora-xp : module %s non chargé : %s.\n", qUtf8Printable(path), qUtf8Printable(problem));
            continue;
        }
        library_.setFileName(path);
        const auto make = reinterpret_cast<NewDownloader>(library_.resolve("mnemora_new_downloader"));
        if (make != nullptr) {
            downloader_.reset(make());
            break;
        }
        std::fprintf(stderr, "mnemora-xp : module %s non chargé : %s.\n", qUtf8Printable(path),
                     qUtf8Printable(library_.errorString()));
    }
    return downloader_.get();
}

DownloadResult ModuleDownloader::Download(const QString& url, QByteArray& body)
{
    body.clear();
    IDownloader* downloader = Downloader();
    return downloader != nullptr ? downloader->Download(url, body) : DownloadResult::Failed;
}

void ModuleDownloader::Abort()
{
    if (downloader_)
        downloader_->Abort();
}

}  // namespace platform
