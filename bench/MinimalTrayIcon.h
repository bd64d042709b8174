// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QFile>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QSystemTrayIcon>
#include <QTimer>

// The idle benchmark's anchor icon: a green square whose tip shows the start of /proc/meminfo and
// /proc/stat, read every second as the tray program reads them.
class TMinimalTrayIcon {
public:
    TMinimalTrayIcon() : icon_(QIcon(QPixmap::fromImage(Green())))
    {
        QObject::connect(&tick_, &QTimer::timeout, [this] {
            QByteArray readings;
            for (const char* path : {"/proc/meminfo", "/proc/stat"}) {
                QFile file(QString::fromLatin1(path));
                if (file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
                    readings += file.readAll().left(40);
            }
            icon_.setToolTip(QString::fromLatin1(readings.left(20)));
        });
        tick_.start(1000);
    }

    void Show() { icon_.show(); }

private:
    static QImage Green()
    {
        QImage picture(16, 16, QImage::Format_ARGB32);
        picture.fill(Qt::green);
        return picture;
    }

    QSystemTrayIcon icon_;
    QTimer tick_;
};
