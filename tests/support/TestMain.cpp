// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <gmock/gmock.h>

#include "support/TestEnvironment.h"

namespace {
QTemporaryDir* home = nullptr;
}

QString TestHome()
{
    return home->path();
}

int main(int argc, char** argv)
{
    QTemporaryDir temporaryHome;
    if (!temporaryHome.isValid())
        return 1;
    home = &temporaryHome;
    const QDir root(temporaryHome.path());
    for (const char* variable : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME",
                                 "XDG_RUNTIME_DIR", "MNEMORA_MACHINE_HIVE_DIR"}) {
        const QString path = root.filePath(QString::fromLatin1(variable).toLower());
        QDir().mkpath(path);
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv(variable, path.toLocal8Bit());
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    QApplication app(argc, argv);
    ::testing::InitGoogleMock(&argc, argv);
    return RUN_ALL_TESTS();
}
