// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Application.h"

#include <QDirIterator>
#include <QIcon>
#include <QMessageBox>
#include <exception>

#include "app/FontSubstitutes.h"
#include "app/PictureIconEngine.h"
#include "app/QtFrench.h"
#include "platform/Version.h"

std::function<void(const QString&)> TApplication::errorPresenter;

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Mnemora XP"));
    setApplicationVersion(QLatin1String(platform::kProgramVersion));
    setDesktopFileName(QStringLiteral("mnemora-xp"));
    // The window spends most of its life hidden in the tray: the program ends on the quit
    // command or when the window is closed, never because no window happens to be visible.
    setQuitOnLastWindowClosed(false);
    setWindowIcon(ProgramIcon());
    InstallQtFrench(*this);
    SubstituteArial();
}

QIcon TApplication::ProgramIcon()
{
    QStringList drawings;
    for (QDirIterator sizes(QStringLiteral(":/icons")); sizes.hasNext();)
        drawings.append(sizes.next());
    // Each window takes its copy when it is made; between two, nothing is kept decoded.
    return QIcon(new TPictureIconEngine(drawings, TPictureIconEngine::Keep::Nothing));
}

void TApplication::ShowError(const QString& text)
{
    if (errorPresenter)
        errorPresenter(text);
    else
        QMessageBox::critical(activeWindow(), applicationName(), text);
}

bool TApplication::notify(QObject* receiver, QEvent* event)
{
    return RunGuarded([&] { return QApplication::notify(receiver, event); });
}

bool TApplication::RunGuarded(const std::function<bool()>& work)
{
    try {
        return work();
    } catch (const std::exception& error) {
        ShowError(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        ShowError(QStringLiteral("Unknown error"));
    }
    return false;
}
