// SPDX-License-Identifier: GPL-3.0-or-later
// The start-up benchmark's anchor: the smallest Qt Widgets window, built in the same tree.
#include <QApplication>
#include <QLabel>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QLabel window(QStringLiteral("Mnemora XP"));
    window.resize(400, 300);
    window.show();
    return QApplication::exec();
}
