// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QObject>
#include <QPointer>
#include <functional>

#include "news/NewsDialog.h"
#include "platform/Platform.h"

class QWidget;

// The news component: owns the news window (created hidden with it, destroyed with it) and tells
// its owner which link the user picked.
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
    TNewsDialog* Dialog() const { return dialog_; }

    // The news address the program uses: MNEMORA_NEWS_URL when set, our own otherwise.
    static QString ConfiguredURL();

private:
    QString url_;
    QPointer<TNewsDialog> dialog_;
};
