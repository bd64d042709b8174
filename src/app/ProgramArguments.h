// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>
#include <QStringList>

// What mnemora-xp's command line asks for. Read before the application object exists, so that
// --help and --version work without a display.
struct ProgramArguments {
    enum class Action {
        Show,     // start, or bring the running instance forward (a plain start does the same)
        Recover,  // have the running instance (or this one, once started) run a recovery
        RecoverByKernel,  // the same, the kernel reclaiming (a plain run where it cannot)
        Help,
        Version,
        Invalid,
    };
    Action action = Action::Show;
    // --show asked in words: a first start keeps its window on screen instead of going to the
    // tray after half a second.
    bool keepWindow = false;
    QString text;  // for Help and Version, what to print; for Invalid, what is wrong

    static ProgramArguments Parse(const QStringList& arguments);  // with the program's name first
    static QString Usage();
};
