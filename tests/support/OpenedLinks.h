// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QObject>
#include <QStringList>
#include <QUrl>

// Stands in for the desktop's handlers while it lives: every link QDesktopServices would hand to
// a browser, a mail program or a file viewer lands in `links` instead, so that a test sees what
// would have been opened and nothing is.
class OpenedLinks : public QObject {
    Q_OBJECT
public:
    OpenedLinks();
    ~OpenedLinks() override;

    QStringList links;

public slots:
    void Open(const QUrl& url);
};
