// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QLibrary>
#include <QStringList>
#include <memory>

#include "platform/Downloader.h"

namespace platform {

// The downloader of the program, kept in a module of its own (mnemora-xp-network.so) with Qt's
// network library and what that library brings (Kerberos, the proxy and resolver libraries):
// the module is loaded at the first download, so a start, and a program that never downloads,
// load none of them. A module is loaded only from a folder, and as a file, that no one but its
// owner (the user, or root) can write; without one, every download fails.
class ModuleDownloader : public IDownloader {
public:
    static constexpr char kModuleName[] = "mnemora-xp-network.so";

    // folders: where the module is looked for, in order.
    explicit ModuleDownloader(QStringList folders = DefaultFolders());

    DownloadResult Download(const QString& url, QByteArray& body) override;
    void Abort() override;

    // Where it is installed beside the program, then the program's own folder (a build tree).
    static QStringList DefaultFolders();
    // Whether the module was found and loaded.
    bool Loaded() const { return downloader_ != nullptr; }

private:
    IDownloader* Downloader();

    QStringList folders_;
    bool tried_ = false;
    QLibrary library_;  // never unloaded: Qt may still hold objects of the module's
    std::unique_ptr<IDownloader> downloader_;
};

}  // namespace platform
