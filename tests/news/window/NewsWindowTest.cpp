// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <algorithm>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

#include "news/NewsDialog.h"
#include "news/NewsFeed.h"
#include "news/NewsFile.h"
#include "platform/linux/network/QtDownloader.h"
#include "platform/linux/QtShellOpener.h"
#include "support/LoopbackHttpServer.h"
#include "support/OpenedLinks.h"

namespace {

using Reply = LoopbackHttpServer::Reply;

const QString kAborted = QStringLiteral("Connection error, request aborted");
const QString kPrevious = QStringLiteral("Connection error, using previous update");
const QString kNotFoundAborted = QStringLiteral("Remote server \"Not Found\" error, request aborted");
const QString kNotFoundPrevious = QStringLiteral("Remote server \"Not Found\" error, using previous update");

const QByteArray kGoodNews =
    "item0=Nouveaut\xE9s\r\n"
    "subitem0-0=Site|http://example.org/index.html\r\n"
    "subitem0-1=Archive|http://example.org/mnemora.zip\r\n"
    "item1=T\xE9l\xE9" "chargement\r\n"
    "subitem1-0=Installer|http://example.org/setup.exe\r\n";
const QByteArray kOldNews = "item0=Old\r\nsubitem0-0=Kept|http://example.org/old.html\r\n";

// "Update" pressed: the press comes back at once and the update runs from the event loop; here
// it is run to its end, as the user waits for it.
void PressUpdate(TNewsDialog& window)
{
    window.btnUpdate->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
}

// The news window of a component, offscreen, fetching from a server on the loopback.
class NewsWindowTest : public ::testing::Test {
protected:
    void SetUp() override { QDir(QFileInfo(TNewsDialog::LocalPath("http://x/news.inf")).absolutePath()).removeRecursively(); }

    TNewsDialog& Dialog() { return *feed->Dialog(); }

    // Shows the window on `path` of the test server, presses "Update" and waits for the update.
    void Update(const QString& url)
    {
        feed->SetURL(url);
        feed->Show();
        PressUpdate(Dialog());
    }

    // The tree as text: a heading per line, its entries indented with their image and link.
    QStringList Shown()
    {
        QStringList shown;
        for (int i = 0; i < Dialog().tvDirect->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* heading = Dialog().tvDirect->topLevelItem(i);
            shown << heading->text(0) + QStringLiteral(" [%1]").arg(heading->data(0, TNewsDialog::kImageRole).toInt());
            for (int j = 0; j < heading->childCount(); ++j) {
                const QTreeWidgetItem* entry = heading->child(j);
                shown << QStringLiteral("  %1 [%2] %3")
                             .arg(entry->text(0))
                             .arg(entry->data(0, TNewsDialog::kImageRole).toInt())
                             .arg(Dialog().Links.value(entry->data(0, TNewsDialog::kLinkIndexRole).toInt()));
            }
        }
        return shown;
    }

    static void WriteLocalCopy(const QString& url, const QByteArray& content)
    {
        const QString path = TNewsDialog::LocalPath(url);
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    static QByteArray LocalCopy(const QString& url)
    {
        QFile file(TNewsDialog::LocalPath(url));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
    }

    void ClickOn(QTreeWidgetItem* node)
    {
        Dialog().tvDirect->setCurrentItem(node);
        emit Dialog().tvDirect->itemClicked(node, 0);
    }

    LoopbackHttpServer server;
    platform::QtDownloader downloader;
    OpenedLinks desktop;
    platform::QtShellOpener shell;
    std::unique_ptr<TNewsFeed> feed = std::make_unique<TNewsFeed>(downloader, shell);
};

TEST_F(NewsWindowTest, TheWindowAsItIsShown)
{
    const auto newsWindows = [] {
        return std::ranges::count_if(QApplication::topLevelWidgets(),
                                     [](QWidget* window) { return dynamic_cast<TNewsDialog*>(window) != nullptr; });
    };
    feed->SetTitle("Mnemora XP News");
    EXPECT_EQ(feed->Title(), "Mnemora XP News");
    EXPECT_EQ(newsWindows(), 0) << "no window is made before its first use";
    feed->Show();
    EXPECT_EQ(newsWindows(), 1);
    EXPECT_EQ(feed->Title(), "Mnemora XP News");
    EXPECT_EQ(Dialog().windowTitle(), "Mnemora XP News");
    EXPECT_TRUE(Dialog().windowFlags().testFlag(Qt::Tool));
    EXPECT_EQ(Dialog().minimumSize(), QSize(470, 310));
    EXPECT_EQ(Dialog().size(), QSize(470, 310));
    EXPECT_EQ(Dialog().Panel1->height(), 26);
    EXPECT_EQ(Dialog().btnUpdate->text(), "Update");
    EXPECT_TRUE(Dialog().btnUpdate->autoRaise());
    EXPECT_EQ(Dialog().tvDirect->indentation(), 24);
    EXPECT_EQ(Dialog().tvDirect->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_EQ(Dialog().tvDirect->topLevelItemCount(), 0);
    EXPECT_EQ(Dialog().findChild<QToolButton*>("btnUpdate"), Dialog().btnUpdate);
    EXPECT_EQ(Dialog().findChild<QTreeWidget*>("tvDirect"), Dialog().tvDirect);
    EXPECT_EQ(Dialog().findChild<QStatusBar*>("StatusBar"), Dialog().StatusBar);
    EXPECT_EQ(Dialog().ImageList1().size(), 4u);
    EXPECT_TRUE(server.Requests("/news.inf") == 0);  // showing downloads nothing
}

TEST_F(NewsWindowTest, AGoodFileInWindows1252OrUtf8IsShownAndKept)
{
    server.Serve("/cp1252.inf", Reply::File(kGoodNews));
    Update(server.Url("/cp1252.inf"));
    const QStringList expected = {
        "Nouveautés [0]",
        "  Site [1] http://example.org/index.html",
        "  Archive [2] http://example.org/mnemora.zip",
        "Téléchargement [0]",
        "  Installer [3] http://example.org/setup.exe",
    };
    EXPECT_EQ(Shown(), expected);
    EXPECT_EQ(Dialog().StatusText(), "");
    EXPECT_EQ(Dialog().News.size(), 5);
    EXPECT_EQ(LocalCopy(server.Url("/cp1252.inf")), kGoodNews);
    EXPECT_TRUE(Dialog().btnUpdate->isEnabled());

    server.Serve("/utf8.inf", Reply::File(TNewsFile::DecodeText(kGoodNews).toUtf8()));
    Update(server.Url("/utf8.inf"));
    EXPECT_EQ(Shown(), expected);  // the tree is cleared first, not added to
}

TEST_F(NewsWindowTest, AFirstLineHolding404)
{
    const QByteArray notFoundPage = "<html><head><title>404 Not Found</title></head>\nitem0=From the error page\n";
    server.Serve("/fresh.inf", Reply::File(notFoundPage));
    Update(server.Url("/fresh.inf"));
    EXPECT_EQ(Dialog().StatusText(), kNotFoundAborted);
    EXPECT_TRUE(Shown().isEmpty());
    EXPECT_EQ(LocalCopy(server.Url("/fresh.inf")), "(none)");  // an error page is no news file

    server.Serve("/kept.inf", Reply::File(notFoundPage));
    WriteLocalCopy(server.Url("/kept.inf"), kOldNews);
    Update(server.Url("/kept.inf"));
    EXPECT_EQ(Dialog().StatusText(), kNotFoundPrevious);
    EXPECT_EQ(Shown(), QStringList({"Old [0]", "  Kept [1] http://example.org/old.html"}));
    EXPECT_EQ(LocalCopy(server.Url("/kept.inf")), kOldNews);
}

TEST_F(NewsWindowTest, TheServerAnsweringNotFound)
{
    Update(server.Url("/missing.inf"));  // the test server has nothing there
    EXPECT_EQ(Dialog().StatusText(), kNotFoundAborted);

    WriteLocalCopy(server.Url("/kept.inf"), kOldNews);
    Update(server.Url("/kept.inf"));
    EXPECT_EQ(Dialog().StatusText(), kNotFoundPrevious);
    EXPECT_EQ(Shown().size(), 2);
}

TEST_F(NewsWindowTest, ARefusedConnection)
{
    const QString url = LoopbackHttpServer::RefusedUrl("/refused.inf");
    Update(url);
    EXPECT_EQ(Dialog().StatusText(), kAborted);
    EXPECT_TRUE(Shown().isEmpty());
    EXPECT_TRUE(Dialog().btnUpdate->isEnabled());

    WriteLocalCopy(url, kOldNews);
    Update(url);
    EXPECT_EQ(Dialog().StatusText(), kPrevious);
    EXPECT_EQ(Shown(), QStringList({"Old [0]", "  Kept [1] http://example.org/old.html"}));
}

// Whatever goes wrong on the way, the previous copy stays whole and is what is shown.
TEST_F(NewsWindowTest, FailedDownloadsNeverDestroyThePreviousCopy)
{
    platform::QtDownloader impatient(500);
    TNewsFeed quick(impatient, shell);
    server.Serve("/large.inf", Reply::File(QByteArray(platform::QtDownloader::kDefaultSizeLimit + 1, 'a')));
    server.Serve("/loop-a.inf", Reply::Redirect("/loop-b.inf"));
    server.Serve("/loop-b.inf", Reply::Redirect("/loop-a.inf"));
    server.Serve("/slow.inf", Reply::Trickle(kGoodNews, 1000));
    server.Serve("/silent.inf", Reply::Silent());
    for (const char* path : {"/large.inf", "/loop-a.inf", "/slow.inf", "/silent.inf"}) {
        const QString url = server.Url(path);
        WriteLocalCopy(url, kOldNews);
        quick.SetURL(url);
        quick.Show();
        PressUpdate(*quick.Dialog());
        EXPECT_EQ(quick.Dialog()->StatusText(), kPrevious) << path;
        EXPECT_EQ(quick.Dialog()->Links, QStringList("http://example.org/old.html")) << path;
        EXPECT_EQ(LocalCopy(url), kOldNews) << path;
    }
}

// The download takes its time: meanwhile the window answers clicks, timers run, and "Update"
// does not start a second download.
TEST_F(NewsWindowTest, TheWindowStaysLiveDuringADownload)
{
    platform::QtDownloader impatient(1000);
    TNewsFeed quick(impatient, shell);
    server.Serve("/silent.inf", Reply::Silent());
    quick.SetURL(server.Url("/silent.inf"));
    quick.Show();
    quick.Dialog()->btnUpdate->click();  // the update is queued: what follows runs during it
    bool ranDuring = false;
    QTimer::singleShot(0, [&] {
        ranDuring = quick.Dialog()->Updating();
        EXPECT_EQ(quick.Dialog()->StatusText(), "Connecting to: " + server.Url("/silent.inf"));
        EXPECT_FALSE(quick.Dialog()->btnUpdate->isEnabled());
        quick.Dialog()->btnUpdateClick();  // as a click that got through would
        EXPECT_TRUE(quick.Dialog()->Updating());
        EXPECT_EQ(quick.Dialog()->StatusText(), "Connecting to: " + server.Url("/silent.inf"));
        quick.Dialog()->resize(500, 400);
    });
    QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
    EXPECT_TRUE(ranDuring);
    EXPECT_EQ(server.Requests("/silent.inf"), 1);
    EXPECT_EQ(quick.Dialog()->StatusText(), kAborted);
    EXPECT_FALSE(quick.Dialog()->Updating());
    EXPECT_TRUE(quick.Dialog()->btnUpdate->isEnabled());
}

TEST_F(NewsWindowTest, ReleasingTheComponentDuringADownloadEndsIt)
{
    server.Serve("/silent.inf", Reply::Silent());
    feed->SetURL(server.Url("/silent.inf"));
    feed->Show();
    QPointer<TNewsDialog> window = feed->Dialog();
    QTimer releaseOnceAsked;  // the server has the request: the download is under way
    QObject::connect(&releaseOnceAsked, &QTimer::timeout, [&] {
        if (server.Requests("/silent.inf") > 0)
            feed.reset();
    });
    releaseOnceAsked.start(5);
    // A real press and release: the button's own event handling must survive its window going.
    QWidget* button = window->btnUpdate;
    const QPointF centre = QRectF(button->rect()).center();
    QMouseEvent press(QEvent::MouseButtonPress, centre, button->mapToGlobal(centre), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, centre, button->mapToGlobal(centre), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QApplication::sendEvent(button, &press);
    QApplication::sendEvent(button, &release);  // returns at once, long before the default time-out
    QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);  // the update, ended by the release
    EXPECT_TRUE(window.isNull());
}

// A screen reader's press on "Update" (its accessible action) comes back at once: the download
// starts after it, from the event loop, and the window stays live while it runs.
TEST_F(NewsWindowTest, TheAccessiblePressReturnsAtOnce)
{
    server.Serve("/silent.inf", Reply::Silent());  // answers only at the default 30 s time-out
    feed->SetURL(server.Url("/silent.inf"));
    feed->Show();
    // Were the download run inside the press, this would end it once the server has the request.
    QTimer cancelOnceAsked;
    QObject::connect(&cancelOnceAsked, &QTimer::timeout, [&] {
        if (server.Requests("/silent.inf") > 0)
            Dialog().CancelUpdate();
    });
    cancelOnceAsked.start(5);
    QAccessibleInterface* button = QAccessible::queryAccessibleInterface(Dialog().btnUpdate);
    ASSERT_TRUE(button != nullptr && button->actionInterface() != nullptr);
    button->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(server.Requests("/silent.inf"), 0) << "the press waited for the download";
    EXPECT_EQ(Dialog().StatusText(), "");

    bool liveDuring = false;
    QTimer::singleShot(0, [&] {
        liveDuring = Dialog().Updating() && Dialog().StatusText() == "Connecting to: " + server.Url("/silent.inf");
    });
    QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);
    EXPECT_TRUE(liveDuring);
    EXPECT_EQ(server.Requests("/silent.inf"), 1);
    EXPECT_EQ(Dialog().StatusText(), kAborted);
}

TEST_F(NewsWindowTest, GarbageAndHugeFilesShowWhatTheyHold)
{
    QByteArray garbage;
    for (int i = 0; i < 200000; ++i)
        garbage += static_cast<char>((i * 7919) % 256);
    server.Serve("/garbage.inf", Reply::File(garbage));
    Update(server.Url("/garbage.inf"));
    EXPECT_TRUE(Shown().isEmpty());
    EXPECT_EQ(Dialog().StatusText(), "");

    QByteArray manyLines = "item0=Many\n";
    for (int i = 0; i < 100000; ++i)
        manyLines += "subitem0-" + QByteArray::number(i % 100) + "=T" + QByteArray::number(i) + "|http://x.example/\n";
    server.Serve("/many.inf", Reply::File(manyLines));
    Update(server.Url("/many.inf"));
    EXPECT_EQ(Shown().size(), 101);
    EXPECT_EQ(Dialog().News.size(), 100001);
    EXPECT_EQ(Shown()[1], "  T0 [1] http://x.example/");  // the first of the duplicates

    server.Serve("/long-line.inf", Reply::File("item0=" + QByteArray(10 * 1024 * 1024, 'x') + "\n"));
    Update(server.Url("/long-line.inf"));  // over the size limit
    EXPECT_EQ(Dialog().StatusText(), kAborted);
}

TEST_F(NewsWindowTest, AClickOnAnEntryTellsTheComponentThenOpensTheLink)
{
    server.Serve("/news.inf", Reply::File(kGoodNews + "item2=Unsafe\nsubitem2-0=Local|file:///etc/passwd\n"
                                                    "subitem2-1=Script|javascript:alert(1)\nsubitem2-2=Empty|\n"));
    QStringList told;
    feed->OnURLSelected = [&](QObject* sender, const QString& url) {
        EXPECT_EQ(sender, feed.get());
        EXPECT_FALSE(desktop.links.contains(url));  // told before it is opened
        told << url;
    };
    Update(server.Url("/news.inf"));
    QTreeWidget& tree = *Dialog().tvDirect;

    ClickOn(tree.topLevelItem(0));  // a heading opens nothing
    EXPECT_TRUE(desktop.links.isEmpty());
    EXPECT_TRUE(told.isEmpty());

    ClickOn(tree.topLevelItem(1)->child(0));
    EXPECT_EQ(told, QStringList("http://example.org/setup.exe"));
    EXPECT_EQ(desktop.links, QStringList("http://example.org/setup.exe"));
    EXPECT_FALSE(tree.topLevelItem(1)->child(0)->isSelected());

    // Shown, but opening them does nothing.
    ClickOn(tree.topLevelItem(2)->child(0));
    ClickOn(tree.topLevelItem(2)->child(1));
    ClickOn(tree.topLevelItem(2)->child(2));
    EXPECT_EQ(desktop.links.size(), 1);
    EXPECT_EQ(told.size(), 3);  // the empty link is not even told
    EXPECT_EQ(tree.topLevelItem(2)->childCount(), 3);
}

TEST_F(NewsWindowTest, EnterOnAnEntryOpensItsLinkOnce)
{
    server.Serve("/news.inf", Reply::File(kGoodNews));
    Update(server.Url("/news.inf"));
    QTreeWidget& tree = *Dialog().tvDirect;
    tree.show();
    tree.setFocus();
    tree.expandAll();
    tree.setCurrentItem(tree.topLevelItem(0));
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(&tree, &down);  // from the heading to its first link
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(&tree, &enter);
    EXPECT_EQ(desktop.links, QStringList("http://example.org/index.html"));

    // A double click is a click, then an activation: the link opens once.
    QTreeWidgetItem* archive = tree.topLevelItem(0)->child(1);
    ClickOn(archive);
    emit tree.itemActivated(archive, 0);
    EXPECT_EQ(desktop.links, QStringList({"http://example.org/index.html", "http://example.org/mnemora.zip"}));
}

// Within the size limit a title can still be megabytes long; laying that out at every paint
// would freeze the window, so a node shows a line's worth of it.
TEST_F(NewsWindowTest, ANodeShowsALinesWorthOfAVeryLongTitle)
{
    const QByteArray heading(3 * 1024 * 1024, 'h');
    server.Serve("/long-titles.inf",
                 Reply::File("item0=" + heading + "\nsubitem0-0=" + QByteArray(500000, 't') + "|http://x.example/a.zip\n"));
    Update(server.Url("/long-titles.inf"));
    ASSERT_EQ(Dialog().tvDirect->topLevelItemCount(), 1);
    EXPECT_EQ(Dialog().tvDirect->topLevelItem(0)->text(0), QString(260, 'h'));
    EXPECT_EQ(Dialog().tvDirect->topLevelItem(0)->child(0)->text(0), QString(260, 't'));
    EXPECT_EQ(Dialog().Links, QStringList("http://x.example/a.zip"));
}

TEST_F(NewsWindowTest, TheLocalCopyIsNamedAfterTheUrlMadeSafe)
{
    EXPECT_EQ(TNewsDialog::LocalFileName("http://example.org/dir/news.inf"), "news.inf");
    EXPECT_EQ(TNewsDialog::LocalFileName("http://example.org/news.inf?lang=fr"), "news.inf");
    EXPECT_EQ(TNewsDialog::LocalFileName("http://example.org/a%2F..%2F..%2Fbashrc"), "bashrc");
    EXPECT_EQ(TNewsDialog::LocalFileName("http://example.org/"), "news.inf");
    EXPECT_EQ(TNewsDialog::LocalFileName("http://example.org"), "news.inf");
    EXPECT_EQ(TNewsDialog::LocalFileName("http://example.org/.."), "news.inf");
    EXPECT_EQ(TNewsDialog::LocalFileName("http://example.org/%2E%2E"), "news.inf");
    EXPECT_EQ(TNewsDialog::LocalFileName("http://example.org/%2F"), "news.inf");
    EXPECT_EQ(TNewsDialog::LocalFileName("http://example.org/..%5C..%5C"), "....");
    const QString path = TNewsDialog::LocalPath("http://example.org/x/news.inf");
    EXPECT_TRUE(path.startsWith(qEnvironmentVariable("XDG_CACHE_HOME") + "/mnemora-xp/")) << path.toStdString();
}

TEST_F(NewsWindowTest, ShowingTheWindowClearsTheStatus)
{
    Update(LoopbackHttpServer::RefusedUrl("/news.inf"));
    ASSERT_EQ(Dialog().StatusText(), kAborted);
    Dialog().hide();
    feed->Show();
    EXPECT_EQ(Dialog().StatusText(), "");
}

}  // namespace
