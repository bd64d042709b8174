// SPDX-License-Identifier: GPL-3.0-or-later
#include "news/NewsFeed.h"

#include "news/NewsDialog.h"

TNewsFeed::TNewsFeed(platform::IDownloader& downloader, platform::IShellOpener& shell, QWidget* owner)
    : QObject(owner), dialog_(new TNewsDialog(downloader, shell, owner))
{
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
    return dialog_ ? dialog_->windowTitle() : QString();
}

void TNewsFeed::SetTitle(const QString& title)
{
    if (dialog_)
        dialog_->setWindowTitle(title);
}

void TNewsFeed::Show()
{
    if (!dialog_)
        return;
    dialog_->URL = url_;
    dialog_->NotifyComponent = [this](const QString& link) {
        if (OnURLSelected)
            OnURLSelected(this, link);
    };
    dialog_->show();
    dialog_->raise();
    dialog_->activateWindow();
}

QString TNewsFeed::ConfiguredURL()
{
    const QString configured = qEnvironmentVariable(kURLVariable);
    return configured.isEmpty() ? QString::fromLatin1(kDefaultURL) : configured;
}
