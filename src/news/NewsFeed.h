// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QObject>
#include <QPointer>
#include <functional>

#include "news/NewsDialog.h"
#include "platform/Platform.h"

class QWidget;

// The news component: owns the news window (made hidden at its first use, destroyed with the
// component: a start does not build a window it may never show) and tells its owner which link
// the user picked.
class TNewsFeed : public QObject {
public:
    using TURLSelectedEvent = std::function<void(QObject* sender, const QString& url)>;

    static constexpr const char* kDefaultURL = "https://mnemora-xp.example.org/news.inf";
    static constexpr const char* kURLVariable = "MNEMORA_NEWS_URL";

    TNewsFeed(platform::IDownloader& downloader, platform::IShellOpener& shell, QWidget* owner = nullptr);
    ~TNewsFeed() override;

    QString Title() const;
    void SetTitle(const QString& title);
    QString URL() const { return url_; }
    void SetURL(const QString& url) { url_ = url; }
    TURLSelectedEvent OnURLSelected;

    // Shows the news window, without downloading anything by itself.
    void Show();
    // The news window, made now if it was not yet.
    TNewsDialog* Dialog();

    // The news address the program uses: MNEMORA_NEWS_URL when set, our own otherwise.
    static QString ConfiguredURL();

private:
    platform::IDownloader& downloader_;
    platform::IShellOpener& shell_;
    QWidget* owner_;
    QString title_;
    QString url_;
    QPointer<TNewsDialog> dialog_;
};
