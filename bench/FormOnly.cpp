// SPDX-License-Identifier: GPL-3.0-or-later
// What the window alone costs: the form built from UMain.ui and nothing of the program behind it
// (no settings, readings, pictures, menus, hot key or fonts of its own), shown, then hidden in the
// tray after half a second as the program's window is, with the minimal tray program's icon and
// reads. Given to bench/startup.sh or bench/idle.sh in place of the tray program, it tells how
// much of their figures the form's own widgets account for.
#include <QApplication>
#include <QFile>
#include <QImage>
#include <QMainWindow>
#include <QPixmap>
#include <QSystemTrayIcon>
#include <QTimer>

#include "ui_UMain.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    Ui::TfMainMem ui;
    ui.setupUi(&window);
    window.show();
    QImage picture(16, 16, QImage::Format_ARGB32);
    picture.fill(Qt::green);
    QSystemTrayIcon icon(QIcon(QPixmap::fromImage(picture)));
    QTimer::singleShot(500, &window, [&] {
        icon.show();
        if (QSystemTrayIcon::isSystemTrayAvailable())
            window.hide();
    });
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
