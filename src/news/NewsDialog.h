// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QIcon>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <vector>

#include "platform/Platform.h"

class QFrame;
class QLabel;
class QStatusBar;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

// The news window: "Update" downloads the news file, the tree shows its headings with their
// links, and a click on a link opens it.
class TNewsDialog : public QWidget {
public:
    static constexpr int kLinkIndexRole = Qt::UserRole;
    static constexpr int kImageRole = Qt::UserRole + 1;

    TNewsDialog(platform::IDownloader& downloader, platform::IShellOpener& shell, QWidget* parent = nullptr);

    QFrame* Panel1 = nullptr;
    QToolButton* btnUpdate = nullptr;
    QTreeWidget* tvDirect = nullptr;
    QStatusBar* StatusBar = nullptr;
    // Heading, link, zip, exe: the style's and the icon theme's pictures, looked up at the first
    // use (a theme's first look-up reads its whole index, a cost the program's start need not pay).
    const std::vector<QIcon>& ImageList1();

    QStringList News;   // the news file as loaded, a line each
    QStringList Links;  // in the order their entries were added to the tree

    // Copied in by the component each time it shows the window.
    QString URL;
    std::function<void(const QString& link)> NotifyComponent;

    void btnUpdateClick();
    void tvDirectClick();
    void FormShow();

    QString StatusText() const;
    bool Updating() const { return updating_; }
    // Ends a download in progress as failed.
    void CancelUpdate();

    // Where the last good news file is kept: the user's cache, named after the URL's last path
    // segment made safe.
    static QString LocalPath(const QString& url);
    static QString LocalFileName(const QString& url);

protected:
    void showEvent(QShowEvent* event) override;

private:
    void SetStatusText(const QString& text);
    void LoadNews(const QByteArray& content);
    static QByteArray ReadLocalCopy(const QString& path);
    static bool KeepLocalCopy(const QString& path, const QByteArray& content);

    std::vector<QIcon> imageList1_;
    platform::IDownloader& downloader_;
    platform::IShellOpener& shell_;
    QLabel* statusText_ = nullptr;
    bool updating_ = false;
};
