// SPDX-License-Identifier: GPL-3.0-or-later
// The idle benchmark's anchor: the smallest tray program that reads what the tray program reads
// every second (free memory, processor times) and shows it in its icon's tip.
#include <QApplication>

#include "MinimalTrayIcon.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    TMinimalTrayIcon icon;
    icon.Show();
    return QApplication::exec();
}
