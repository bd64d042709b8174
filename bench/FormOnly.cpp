// SPDX-License-Identifier: GPL-3.0-or-later
// What the window alone costs: the form built from UMain.ui and nothing of the program behind it
// (no settings, readings, pictures, menus, hot key or fonts of its own), shown, then hidden in the
// tray after half a second as the program's window is, with the minimal tray program's icon and
// reads. Given to bench/startup.sh or bench/idle.sh in place of the tray program, it tells how
// much of their figures the form's own widgets account for.
#include <QApplication>
#include <QMainWindow>
#include <QSystemTrayIcon>
#include <QTimer>

#include "MinimalTrayIcon.h"
#include "ui_UMain.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    Ui::TfMainMem ui;
    ui.setupUi(&window);
    window.show();
    TMinimalTrayIcon icon;
    QTimer::singleShot(500, &window, [&] {
        icon.Show();
        if (QSystemTrayIcon::isSystemTrayAvailable())
            window.hide();
    });
    return QApplication::exec();
}
