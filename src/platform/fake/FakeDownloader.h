// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QStringList>
#include <functional>

#include "platform/Downloader.h"

namespace platform {

// A network a test scripts: every download gets `result` and, when complete, `body`; `during`
// runs while the download is in progress, as the user's clicks would.
class FakeDownloader : public IDownloader {
public:
    DownloadResult Download(const QString& url, QByteArray& received) override
    {
        requested.append(url);
        aborted = false;
        if (during)
            during();
        received = result == DownloadResult::Complete && !aborted ? body : QByteArray();
        return aborted ? DownloadResult::Failed : result;
    }
    void Abort() override { aborted = true; }

    DownloadResult result = DownloadResult::Failed;
    QByteArray body;
    std::function<void()> during;
    QStringList requested;
    bool aborted = false;
};

}  // namespace platform
