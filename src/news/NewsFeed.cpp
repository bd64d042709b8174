// SPDX-License-Identifier: GPL-3.0-or-later
#include "news/NewsFeed.h"

#include "news/NewsDialog.h"

TNewsFeed::TNewsFeed(platform::IDownloader& downloader, platform::IShellOpener& shell, QWidget* owner)
    : QObject(owner), downloader_(downloader), shell_(shell), owner_(owner)
{
}

TNewsDialog* TNewsFeed::Dialog()
{
    if (!dialog_) {
        dialog_ = new TNewsDialog(downloader_, shell_, owner_);
        dialog_->setWindowTitle(title_);
    }
    return dialog_;
}

TNewsFeed::~TNewsFeed()
{
    if (!dialog_)
        return;
    // A download in progress ends first; the window's update notices it is gone and stops.
    dialog_->CancelUpdate();
    delete dialog_;
}

QString TNewsFeed::Title() const
{
    return dialog_ ? dialog_->windowTitle() : title_;
}

void TNewsFeed::SetTitle(const QString& title)
{
    title_ = title;
    if (dialog_)
        dialog_->setWindowTitle(title);
}

void TNewsFeed::Show()
{
    TNewsDialog* window = Dialog();
    window->URL = url_;
    window->NotifyComponent = [this](const QString& link) {
        if (OnURLSelected)
            OnURLSelected(this, link);
    };
    window->show();
    window->raise();
    window->activateWindow();
}

QString TNewsFeed::ConfiguredURL()
{
    const QString configured = qEnvironmentVariable(kURLVariable);
    return configured.isEmpty() ? QString::fromLatin1(kDefaultURL) : configured;
}
