// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/network/QtDownloader.h"

#include <QEventLoop>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QTimer>
#include <QUrl>
#include <memory>

namespace platform {
namespace {

// The body arrived as the server declared it: as long as its Content-Length says (unless it was
// compressed on the way, where the length is the compressed one's).
bool WhollyReceived(const QNetworkReply& reply, const QByteArray& received)
{
    const QVariant declared = reply.header(QNetworkRequest::ContentLengthHeader);
    const QByteArray encoding = reply.rawHeader("Content-Encoding").trimmed().toLower();
    if (!declared.isValid() || !(encoding.isEmpty() || encoding == "identity"))
        return true;
    return declared.toLongLong() == received.size();
}

}  // namespace

QtDownloader::QtDownloader(int timeoutMs, qint64 sizeLimit) : timeoutMs_(timeoutMs), sizeLimit_(sizeLimit)
{
    network_.setRedirectPolicy(QNetworkRequest::NoLessSafeRedirectPolicy);
}

DownloadResult QtDownloader::Download(const QString& url, QByteArray& body)
{
    body.clear();
    // One at a time: a second caller would be waiting inside the first one's loop.
    if (running_)
        return DownloadResult::Failed;
    const QUrl address(url, QUrl::StrictMode);
    const QString scheme = address.scheme().toLower();
    if (!address.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        return DownloadResult::Failed;

    QNetworkRequest request(address);
    request.setMaximumRedirectsAllowed(kMaxRedirects);
    // The program keeps its own copy; a cache could only serve a stale one.
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    // Aborted with its connections in place: the abort reaches the connection through them and
    // frees it. (This function's own handlers went with the loop, made after the reply.)
    const std::unique_ptr<QNetworkReply, void (*)(QNetworkReply*)> reply(network_.get(request), [](QNetworkReply* r) {
        r->abort();
        r->deleteLater();
    });

    QEventLoop loop;
    running_ = &loop;
    bool tooLarge = false;
    QByteArray received;
    // Counted as it comes: the declared length may be missing or false.
    auto take = [&] {
        received += reply->read(sizeLimit_ + 1 - received.size());
        if (received.size() > sizeLimit_) {
            tooLarge = true;
            loop.quit();
        }
    };
    QObject::connect(reply.get(), &QIODevice::readyRead, &loop, take);
    QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
    // The whole transfer has one deadline: a time-out on silence alone would wait for ever on a
    // server that sends a byte now and then.
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    deadline.start(timeoutMs_);

    if (!reply->isFinished())
        loop.exec();
    running_ = nullptr;

    // The loop also ends on a time-out, an abort or the application's quit request.
    if (tooLarge || !reply->isFinished())
        return DownloadResult::Failed;
    take();
    if (tooLarge)
        return DownloadResult::Failed;
    if (reply->error() == QNetworkReply::ContentNotFoundError)
        return DownloadResult::NotFound;
    if (reply->error() != QNetworkReply::NoError || !WhollyReceived(*reply, received))
        return DownloadResult::Failed;
    body = std::move(received);
    return DownloadResult::Complete;
}

void QtDownloader::Abort()
{
    if (running_)
        running_->quit();
}

}  // namespace platform
