// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QTimer>

#include "platform/linux/network/QtDownloader.h"
#include "support/LoopbackHttpServer.h"

namespace {

using platform::DownloadResult;
using Reply = LoopbackHttpServer::Reply;

constexpr qint64 kSmallLimit = 1000;
constexpr int kShortTimeoutMs = 600;

class QtDownloaderTest : public ::testing::Test {
protected:
    DownloadResult Fetch(platform::QtDownloader& downloader, const QString& path)
    {
        return downloader.Download(server.Url(path), body);
    }

    LoopbackHttpServer server;
    platform::QtDownloader downloader{platform::QtDownloader::kDefaultTimeoutMs, kSmallLimit};
    QByteArray body;
};

TEST_F(QtDownloaderTest, AWholeFileArrives)
{
    server.Serve("/news.inf", Reply::File("item0=Hello\r\n"));
    EXPECT_EQ(Fetch(downloader, "/news.inf"), DownloadResult::Complete);
    EXPECT_EQ(body, "item0=Hello\r\n");

    server.Serve("/empty.inf", Reply::File(""));
    EXPECT_EQ(Fetch(downloader, "/empty.inf"), DownloadResult::Complete);
    EXPECT_TRUE(body.isEmpty());
}

TEST_F(QtDownloaderTest, TheServersAnswersOtherThanAFile)
{
    server.Serve("/gone.inf", Reply::File("<html>404 Not Found</html>", 404));
    EXPECT_EQ(Fetch(downloader, "/gone.inf"), DownloadResult::NotFound);
    EXPECT_TRUE(body.isEmpty());

    server.Serve("/broken.inf", Reply::File("item0=From an error page\n", 500));
    EXPECT_EQ(Fetch(downloader, "/broken.inf"), DownloadResult::Failed);
    EXPECT_TRUE(body.isEmpty());
}

TEST_F(QtDownloaderTest, RedirectsAreFollowedButALoopFails)
{
    server.Serve("/moved.inf", Reply::Redirect(server.Url("/news.inf").toLatin1()));
    server.Serve("/news.inf", Reply::File("item0=Here\n"));
    EXPECT_EQ(Fetch(downloader, "/moved.inf"), DownloadResult::Complete);
    EXPECT_EQ(body, "item0=Here\n");

    server.Serve("/a.inf", Reply::Redirect("/b.inf"));
    server.Serve("/b.inf", Reply::Redirect("/a.inf"));
    EXPECT_EQ(Fetch(downloader, "/a.inf"), DownloadResult::Failed);
    // Qt may ask again on a connection the server closed; the loop is still cut off soon.
    EXPECT_LE(server.Requests("/a.inf") + server.Requests("/b.inf"), 2 * (platform::QtDownloader::kMaxRedirects + 1));
}

TEST_F(QtDownloaderTest, TheSizeLimitHoldsWhateverTheServerDeclares)
{
    server.Serve("/exact.inf", Reply::File(QByteArray(kSmallLimit, 'x')));
    EXPECT_EQ(Fetch(downloader, "/exact.inf"), DownloadResult::Complete);
    EXPECT_EQ(body.size(), kSmallLimit);

    server.Serve("/large.inf", Reply::File(QByteArray(kSmallLimit + 1, 'x')));
    EXPECT_EQ(Fetch(downloader, "/large.inf"), DownloadResult::Failed);
    EXPECT_TRUE(body.isEmpty());

    // No length declared: counted as it comes.
    server.Serve("/undeclared.inf", Reply::Undeclared(QByteArray(kSmallLimit, 'x')));
    EXPECT_EQ(Fetch(downloader, "/undeclared.inf"), DownloadResult::Complete);
    EXPECT_EQ(body.size(), kSmallLimit);
    server.Serve("/endless.inf", Reply::Undeclared(QByteArray(100 * kSmallLimit, 'x')));
    EXPECT_EQ(Fetch(downloader, "/endless.inf"), DownloadResult::Failed);
    EXPECT_TRUE(body.isEmpty());
}

TEST_F(QtDownloaderTest, NoConnectionFails)
{
    EXPECT_EQ(downloader.Download(LoopbackHttpServer::RefusedUrl("/news.inf"), body), DownloadResult::Failed);
    EXPECT_EQ(downloader.Download("http://", body), DownloadResult::Failed);
    EXPECT_EQ(downloader.Download("not an address at all", body), DownloadResult::Failed);
}

TEST_F(QtDownloaderTest, OnlyWebAddressesAreFetched)
{
    // A configured address must not read the user's own files into the news.
    EXPECT_EQ(downloader.Download("file:///etc/hostname", body), DownloadResult::Failed);
    EXPECT_EQ(downloader.Download("data:text/plain,item0=Local", body), DownloadResult::Failed);
    EXPECT_TRUE(body.isEmpty());
}

// A server that never answers and one that sends a byte a second both end at the time-out, and
// the event loop runs meanwhile.
TEST_F(QtDownloaderTest, SilentAndTricklingServersEndAtTheTimeOut)
{
    platform::QtDownloader impatient(kShortTimeoutMs, kSmallLimit);
    server.Serve("/silent.inf", Reply::Silent());
    int ticks = 0;
    QTimer ticking;
    QObject::connect(&ticking, &QTimer::timeout, [&] { ++ticks; });
    ticking.start(10);
    EXPECT_EQ(Fetch(impatient, "/silent.inf"), DownloadResult::Failed);
    EXPECT_GT(ticks, 0);

    server.Serve("/slow.inf", Reply::Trickle("item0=one byte a second\n", 1000));
    EXPECT_EQ(Fetch(impatient, "/slow.inf"), DownloadResult::Failed);
    EXPECT_TRUE(body.isEmpty());
}

TEST_F(QtDownloaderTest, AbortEndsTheDownloadAtOnceAndOnlyOneRunsAtATime)
{
    server.Serve("/silent.inf", Reply::Silent());
    server.Serve("/news.inf", Reply::File("item0=Hello\n"));
    DownloadResult second = DownloadResult::Complete;
    QTimer::singleShot(0, [&] {
        QByteArray other;
        second = downloader.Download(server.Url("/news.inf"), other);
        downloader.Abort();
    });
    EXPECT_EQ(Fetch(downloader, "/silent.inf"), DownloadResult::Failed);
    EXPECT_EQ(second, DownloadResult::Failed);
    EXPECT_EQ(server.Requests("/news.inf"), 0);

    downloader.Abort();  // nothing running: no effect on the next one
    EXPECT_EQ(Fetch(downloader, "/news.inf"), DownloadResult::Complete);
}

// Each download that ends at its deadline lets go of its connection: hung servers, more of them
// than the connections a host is allowed at once, leave the next download free to reach a good
// one.
TEST_F(QtDownloaderTest, DownloadsEndedByTheDeadlineFreeTheirConnections)
{
    platform::QtDownloader impatient(200, kSmallLimit);
    server.Serve("/hung.inf", Reply::Silent());
    server.Serve("/news.inf", Reply::File("item0=Hello\n"));
    for (int hung = 0; hung < 8; ++hung)
        EXPECT_EQ(Fetch(impatient, "/hung.inf"), DownloadResult::Failed) << hung;
    EXPECT_EQ(server.Requests("/hung.inf"), 8) << "each download reached the server";
    EXPECT_EQ(Fetch(impatient, "/news.inf"), DownloadResult::Complete);
    EXPECT_EQ(body, "item0=Hello\n");
}

// A body cut short of its declared length is a failed download, never a complete file.
TEST_F(QtDownloaderTest, ABodyCutShortFails)
{
    const QByteArray head = "HTTP/1.1 200 OK\r\nConnection: close\r\n";
    const QByteArray chunked = head + "Transfer-Encoding: chunked\r\n\r\n";
    server.Serve("/short.inf", Reply::Raw(head + "Content-Length: 100\r\n\r\nitem0=only the start"));
    EXPECT_EQ(Fetch(downloader, "/short.inf"), DownloadResult::Failed);
    EXPECT_TRUE(body.isEmpty());
    // Well formed, both ways.
    server.Serve("/whole.inf", Reply::Raw(head + "Content-Length: 12\r\n\r\nitem0=Hello\n"));
    EXPECT_EQ(Fetch(downloader, "/whole.inf"), DownloadResult::Complete);
    EXPECT_EQ(body, "item0=Hello\n");
    server.Serve("/chunks.inf", Reply::Raw(chunked + "6\r\nitem0=\r\n6\r\nHello\n\r\n0\r\n\r\n"));
    EXPECT_EQ(Fetch(downloader, "/chunks.inf"), DownloadResult::Complete);
    EXPECT_EQ(body, "item0=Hello\n");
    // Compressed on the way: the declared length is the compressed body's.
    const QByteArray deflated = qCompress(QByteArray("item0=Hello\n")).mid(4);
    server.Serve("/deflated.inf", Reply::Raw(head + "Content-Encoding: deflate\r\nContent-Length: " +
                                             QByteArray::number(deflated.size()) + "\r\n\r\n" + deflated));
    EXPECT_EQ(Fetch(downloader, "/deflated.inf"), DownloadResult::Complete);
    EXPECT_EQ(body, "item0=Hello\n");
}

}  // namespace
