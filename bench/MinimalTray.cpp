// SPDX-License-Identifier: GPL-3.0-or-later
// The idle benchmark's anchor: the smallest tray program that reads what the tray program reads
// every second (free memory, processor times) and shows it in its icon's tip.
#include <QApplication>
#include <QFile>
#include <QImage>
#include <QPixmap>
#include <QSystemTrayIcon>
#include <QTimer>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QImage picture(16, 16, QImage::Format_ARGB32);
    picture.fill(Qt::green);
    QSystemTrayIcon icon(QIcon(QPixmap::fromImage(picture)));
    icon.show();
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&icon] {
        QByteArray readings;
        for (const char* path : {"/proc/meminfo", "/proc/stat"}) {
            QFile file(QString::fromLatin1(path));
            if (file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
                readings += file.readAll().left(40);
        }
        icon.setToolTip(QString::fromLatin1(readings.left(20)));
    });
    tick.start(1000);
    return QApplication::exec();
}
