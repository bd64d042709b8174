// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QNetworkAccessManager>
#include <QPointer>

#include "platform/Downloader.h"

class QEventLoop;

namespace platform {

// QNetworkAccessManager, waited for in a local event loop. Whoever controls the server or the
// network path controls what comes back, so a download is bounded in time and in size: a server
// that never answers, trickles or sends without end makes it fail, never hang.
class QtDownloader : public IDownloader {
public:
    static constexpr int kDefaultTimeoutMs = 30000;
    static constexpr qint64 kDefaultSizeLimit = 4 * 1024 * 1024;
    static constexpr int kMaxRedirects = 10;

    explicit QtDownloader(int timeoutMs = kDefaultTimeoutMs, qint64 sizeLimit = kDefaultSizeLimit);

    DownloadResult Download(const QString& url, QByteArray& body) override;
    void Abort() override;

private:
    QNetworkAccessManager network_;
    int timeoutMs_;
    qint64 sizeLimit_;
    QPointer<QEventLoop> running_;
};

}  // namespace platform
