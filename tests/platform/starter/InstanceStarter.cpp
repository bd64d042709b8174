// SPDX-License-Identifier: GPL-3.0-or-later
// A start of the tray program cut down to its single-instance guard, so that many simultaneous
// starts stay cheap. Usage: InstanceStarter FOLDER
// It waits for one byte on standard input (so that a test can release many at once), then claims.
// The winner prints "claimed" and a line "shown" per show request, until its input closes;
// the others ask it to show itself and end: status 0 when it took the request, 3 when it did
// not answer, 4 when the claim was refused.
#include <QCoreApplication>
#include <QSocketNotifier>
#include <cstdio>
#include <unistd.h>

#include "platform/linux/LocalSocketInstance.h"

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 2)
        return 2;
    char go = 0;
    if (::read(STDIN_FILENO, &go, 1) != 1)
        return 2;
    platform::LocalSocketInstance instance(QString::fromLocal8Bit(argv[1]));
    switch (instance.Claim()) {
    case platform::ISingleInstance::ClaimResult::HeldElsewhere:
        return instance.SignalRunning() ? 0 : 3;
    case platform::ISingleInstance::ClaimResult::Refused:
        std::fprintf(stderr, "%s\n", instance.Problem().toLocal8Bit().constData());
        return 4;
    case platform::ISingleInstance::ClaimResult::Claimed:
        break;
    }
    std::puts("claimed");
    std::fflush(stdout);
    instance.OnShowRequest = [] {
        std::puts("shown");
        std::fflush(stdout);
    };
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&] {
        char byte = 0;
        if (::read(STDIN_FILENO, &byte, 1) <= 0)
            QCoreApplication::quit();
    });
    return QCoreApplication::exec();
}
