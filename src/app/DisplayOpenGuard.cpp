// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/DisplayOpenGuard.h"

#include <QList>
#include <QString>
#include <cstdio>
#include <utility>

#include <unistd.h>

namespace {

QtMessageHandler previousHandler = nullptr;
QList<std::pair<QtMsgType, QString>> heldMessages;

void HoldOrEnd(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type != QtFatalMsg) {
        heldMessages.append({type, message});
        return;
    }
    const QByteArray display = qgetenv("DISPLAY");
    if (display.isEmpty() && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        std::fputs("mnemora-xp : aucun affichage à ouvrir (DISPLAY n'est pas défini).\n", stderr);
    else
        std::fprintf(stderr, "mnemora-xp : impossible d'ouvrir l'affichage « %s ».\n",
                     display.isEmpty() ? qgetenv("WAYLAND_DISPLAY").constData() : display.constData());
    // Nothing of the half-made application may run on the way out.
    ::_exit(1);
}

}  // namespace

DisplayOpenGuard::DisplayOpenGuard()
{
    previousHandler = qInstallMessageHandler(HoldOrEnd);
}

DisplayOpenGuard::~DisplayOpenGuard()
{
    qInstallMessageHandler(previousHandler);
    for (const auto& [type, message] : std::as_const(heldMessages)) {
        if (previousHandler)
            previousHandler(type, QMessageLogContext(), message);
        else
            qt_message_output(type, QMessageLogContext(), message);
    }
    heldMessages.clear();
}
