// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>
#include <QStringList>
#include <cstdint>

// What the command line of mnemora-recover asks for.
struct RecoverArguments {
    enum class Method { System, All, Amount, Help, Version, Invalid };
    Method method = Method::System;
    std::int32_t megabytes = 0;  // for Amount
    bool kernel = false;         // the kernel reclaims, instead of a run taking memory
    QString problem;             // for Invalid: what is wrong, in one phrase

    static RecoverArguments Parse(const QStringList& arguments);  // without the program name
    static QString Usage();
    static QString VersionText();  // "mnemora-recover 4.0.0"
};
