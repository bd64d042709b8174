// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QtCore/QByteArray>
#include <QtCore/QString>

namespace platform {

enum class DownloadResult {
    Complete,  // the whole body arrived
    NotFound,  // the server answered that it has no such file
    Failed,    // anything else: no connection, time-out, too large, cancelled, bad address
};

// Fetches one file from the network.
class IDownloader {
public:
    virtual ~IDownloader() = default;
    // Blocks its caller, not the user interface: the event loop runs (windows, timers and clicks
    // stay live) until the transfer ends. `body` holds the whole file on Complete and is empty
    // otherwise.
    virtual DownloadResult Download(const QString& url, QByteArray& body) = 0;
    // Ends a download in progress at once, as failed; without effect when none runs.
    virtual void Abort() = 0;
};

}  // namespace platform
