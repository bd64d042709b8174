// SPDX-License-Identifier: GPL-3.0-or-later
// The downloader module's one entry point (see ModuleDownloader.h).
#include <QtGlobal>

#include "platform/linux/network/QtDownloader.h"

extern "C" Q_DECL_EXPORT platform::IDownloader* mnemora_new_downloader()
{
    return new platform::QtDownloader;
}
