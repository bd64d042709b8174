// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <sys/stat.h>

#include "platform/linux/ModuleDownloader.h"
#include "support/LoopbackHttpServer.h"

namespace {

using platform::DownloadResult;
using platform::ModuleDownloader;
using Reply = LoopbackHttpServer::Reply;

// A copy of the module as built, in a folder of the test's own, with the given modes.
QString PlaceModule(const QTemporaryDir& root, int folderMode, int fileMode)
{
    const QString folder = root.filePath(QStringLiteral("modules"));
    const QString module = QDir(folder).filePath(QLatin1String(ModuleDownloader::kModuleName));
    if (!QDir().mkpath(folder) || !QFile::copy(QStringLiteral(NETWORK_MODULE_PATH), module))
        return {};
    ::chmod(QFile::encodeName(module).constData(), static_cast<mode_t>(fileMode));
    ::chmod(QFile::encodeName(folder).constData(), static_cast<mode_t>(folderMode));
    return folder;
}

class ModuleDownloaderTest : public ::testing::Test {
protected:
    ModuleDownloaderTest() { server.Serve("/news.inf", Reply::File("item0=Hello\r\n")); }

    LoopbackHttpServer server;
    QTemporaryDir root;
    QByteArray body;
};

TEST_F(ModuleDownloaderTest, TheModuleIsLoadedAtTheFirstDownloadAndDownloads)
{
    const QString folder = PlaceModule(root, 0700, 0644);
    ASSERT_FALSE(folder.isEmpty());
    ModuleDownloader downloader({root.filePath(QStringLiteral("elsewhere")), folder});
    EXPECT_FALSE(downloader.Loaded()) << "nothing is loaded before a download";
    EXPECT_EQ(downloader.Download(server.Url(QStringLiteral("/news.inf")), body), DownloadResult::Complete);
    EXPECT_EQ(body, "item0=Hello\r\n");
    EXPECT_TRUE(downloader.Loaded());
}

TEST_F(ModuleDownloaderTest, AModuleOthersCouldHaveWrittenIsNeverLoaded)
{
    for (const auto& [folderMode, fileMode] : {std::pair{0777, 0644}, std::pair{0700, 0666}, std::pair{0770, 0644}}) {
        QTemporaryDir scratch;
        const QString folder = PlaceModule(scratch, folderMode, fileMode);
        ASSERT_FALSE(folder.isEmpty());
        ModuleDownloader downloader({folder});
        body = "left over";
        EXPECT_EQ(downloader.Download(server.Url(QStringLiteral("/news.inf")), body), DownloadResult::Failed)
            << std::oct << folderMode << " " << fileMode;
        EXPECT_TRUE(body.isEmpty());
        EXPECT_FALSE(downloader.Loaded());
        EXPECT_EQ(server.Requests(QStringLiteral("/news.inf")), 0);
    }
}

TEST_F(ModuleDownloaderTest, WithoutTheModuleEveryDownloadFails)
{
    ModuleDownloader downloader({root.filePath(QStringLiteral("nothing-here"))});
    EXPECT_EQ(downloader.Download(server.Url(QStringLiteral("/news.inf")), body), DownloadResult::Failed);
    EXPECT_EQ(downloader.Download(server.Url(QStringLiteral("/news.inf")), body), DownloadResult::Failed);
    downloader.Abort();
    EXPECT_FALSE(downloader.Loaded());
}

TEST(ModuleDownloaderFolders, InstalledBesideTheProgramThenInItsOwnFolder)
{
    const QStringList folders = ModuleDownloader::DefaultFolders();
    ASSERT_EQ(folders.size(), 2);
    EXPECT_TRUE(folders[0].endsWith(QStringLiteral("/mnemora-xp"))) << folders[0].toStdString();
    EXPECT_EQ(folders[1], QCoreApplication::applicationDirPath());
}

}  // namespace
