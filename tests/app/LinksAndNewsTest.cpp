// SPDX-License-Identifier: GPL-3.0-or-later
#include <QEnterEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QToolButton>

#include "app/AuthorLinks.h"
#include "app/MainWindowFixture.h"
#include "news/NewsDialog.h"
#include "news/NewsFeed.h"

namespace {

void Enter(QWidget* widget)
{
    QEnterEvent enter(QPointF(1, 1), QPointF(1, 1), widget->mapToGlobal(QPointF(1, 1)));
    QApplication::sendEvent(widget, &enter);
}

void Leave(QWidget* widget)
{
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(widget, &leave);
}

void Release(QWidget* widget, Qt::MouseButton button, QPointF at = QPointF(2, 2))
{
    QMouseEvent release(QEvent::MouseButtonRelease, at, widget->mapToGlobal(at), button, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &release);
}

QColor TextColour(const QLabel* label)
{
    return label->palette().color(QPalette::WindowText);
}

using LinksAndNews = MainWindowFixture;

TEST(AuthorMailLink, TheSubjectCarriesTheVersionWithItsBlanksAsTheyAre)
{
    EXPECT_EQ(AuthorMailLink(kAuthorEmail, TfMainMem::kVersion),
              "mailto:auteur@example.org?subject=Mnemora Xp Version : 4.0.0&body=");
}

TEST(AuthorMailLink, TheTextUpToTheVersionIsCutAt63AndTheLinkStaysWithin69)
{
    // 7 + 21 + 30 + 5 = 63: just fits.
    EXPECT_EQ(AuthorMailLink("a234567890@cdefgh.org", "4.0.0"),
              "mailto:a234567890@cdefgh.org?subject=Mnemora Xp Version : 4.0.0&body=");
    // One more character in the address: the version loses its last one.
    EXPECT_EQ(AuthorMailLink("a2345678901@cdefgh.org", "4.0.0"),
              "mailto:a2345678901@cdefgh.org?subject=Mnemora Xp Version : 4.0.&body=");
    const QString longAddress = QString(80, 'x') + "@example.org";
    const QString link = AuthorMailLink(longAddress, "4.0.0");
    EXPECT_EQ(link, "mailto:" + longAddress.left(56) + "&body=");
    EXPECT_EQ(link.size(), 69);
}

TEST_F(LinksAndNews, TheLinksLightUpUnderThePointer)
{
    TfMainMem& form = Form();
    for (QLabel* label : {form.ui.Label32, form.ui.Label11}) {
        Enter(label);
        EXPECT_EQ(label->cursor().shape(), Qt::PointingHandCursor) << label->objectName().toStdString();
        EXPECT_EQ(TextColour(label), QColor(255, 0, 0));
        Leave(label);
        EXPECT_EQ(label->cursor().shape(), Qt::ArrowCursor);
        EXPECT_EQ(TextColour(label), QColor(0, 0, 0));
    }
    EXPECT_TRUE(shell.opened.isEmpty());
}

TEST_F(LinksAndNews, AClickOnALinkOpensItsAddress)
{
    TfMainMem& form = Form();
    EXPECT_EQ(form.ui.Label32->text(), kAuthorWebAddress);
    EXPECT_EQ(form.ui.Label11->text(), QStringLiteral("Email : ") + kAuthorEmail);

    Release(form.ui.Label32, Qt::RightButton);
    Release(form.ui.Label32, Qt::LeftButton, QPointF(-5, -5));  // let go elsewhere
    EXPECT_TRUE(shell.opened.isEmpty());

    Release(form.ui.Label32, Qt::LeftButton);
    Release(form.ui.Label11, Qt::LeftButton);
    EXPECT_EQ(shell.opened, QStringList({"https://mnemora-xp.example.org/",
                                         "mailto:auteur@example.org?subject=Mnemora Xp Version : 4.0.0&body="}));
}

TEST_F(LinksAndNews, TheNewsButtonShowsTheNewsWindowWithoutDownloading)
{
    qunsetenv(TNewsFeed::kURLVariable);
    TfMainMem& form = Form();
    ASSERT_NE(form.NewsFeed1, nullptr);
    TNewsDialog* window = form.NewsFeed1->Dialog();
    EXPECT_FALSE(window->isVisible());  // created hidden with the component
    form.ui.Button1->click();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), "Mnemora XP News");
    EXPECT_EQ(window->URL, TNewsFeed::kDefaultURL);
    EXPECT_TRUE(downloader.requested.isEmpty());

    downloader.result = platform::DownloadResult::Complete;
    downloader.body = "item0=News\nsubitem0-0=Site|https://mnemora-xp.example.org/\n";
    window->btnUpdate->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);  // the update, queued after the press
    EXPECT_EQ(downloader.requested, QStringList(TNewsFeed::kDefaultURL));
    EXPECT_EQ(window->Links, QStringList("https://mnemora-xp.example.org/"));
}

TEST_F(LinksAndNews, TheNewsAddressComesFromTheEnvironmentWhenSet)
{
    qputenv(TNewsFeed::kURLVariable, "http://127.0.0.1:8080/other.inf");
    Form().ui.Button1->click();
    qunsetenv(TNewsFeed::kURLVariable);
    EXPECT_EQ(Form().NewsFeed1->Dialog()->URL, "http://127.0.0.1:8080/other.inf");
}

TEST_F(LinksAndNews, TheSessionsEndReleasesTheNewsComponent)
{
    TfMainMem& form = Form();
    form.ui.Button1->click();
    QPointer<TNewsDialog> window = form.NewsFeed1->Dialog();
    EXPECT_TRUE(form.WMQueryEndSession());
    EXPECT_EQ(form.NewsFeed1, nullptr);
    EXPECT_TRUE(window.isNull());
    EXPECT_TRUE(form.WMQueryEndSession());  // asked again: nothing left to release, still yes

    // The session went on after all: the button brings a news window back.
    form.ui.Button1->click();
    ASSERT_NE(form.NewsFeed1, nullptr);
    EXPECT_TRUE(form.NewsFeed1->Dialog()->isVisible());
    EXPECT_EQ(form.NewsFeed1->Dialog()->windowTitle(), "Mnemora XP News");
}

TEST_F(LinksAndNews, QuittingDuringADownloadReleasesTheNewsWindowAtOnce)
{
    TfMainMem& form = Form();
    form.ui.Button1->click();
    QPointer<TNewsDialog> window = form.NewsFeed1->Dialog();
    downloader.during = [&] { form.ui.Button4->click(); };
    window->btnUpdate->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::MetaCall);  // the update, queued after the press
    EXPECT_TRUE(downloader.aborted);
    EXPECT_TRUE(window.isNull());
    EXPECT_EQ(form.NewsFeed1, nullptr);
    EXPECT_FALSE(form.isVisible());
}

}  // namespace
