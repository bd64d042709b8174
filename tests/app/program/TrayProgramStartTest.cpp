// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <unistd.h>

namespace {

// The tray program started with no display it can open: one clear line and status 1, never
// Qt's abort and its core dump.
TEST(TrayProgramStart, ADisplayThatCannotBeOpenedEndsWithOneLineAndStatusOne)
{
    struct Case {
        const char* display;
        const char* expected;
    };
    for (const Case& entry : {Case{nullptr, "DISPLAY n'est pas défini"}, Case{":8765", "« :8765 »"}}) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* variable : {"QT_QPA_PLATFORM", "WAYLAND_DISPLAY", "DISPLAY"})
            environment.remove(QString::fromLatin1(variable));
        if (entry.display != nullptr)
            environment.insert(QStringLiteral("DISPLAY"), QString::fromLatin1(entry.display));
        QProcess program;
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(MNEMORA_XP_PATH), {});
        ASSERT_TRUE(program.waitForFinished(60000));
        const QString err = QString::fromUtf8(program.readAllStandardError());
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << err.toStdString();
        EXPECT_EQ(program.exitCode(), 1);
        EXPECT_EQ(err.count(QLatin1Char('\n')), 1) << err.toStdString();
        EXPECT_TRUE(err.startsWith(QStringLiteral("mnemora-xp : "))) << err.toStdString();
        EXPECT_TRUE(err.contains(QString::fromUtf8(entry.expected))) << err.toStdString();
    }
}

// "mnemora-xp --help | head -0": a reader that went away is a failure told on one line, status 1,
// never the silent 141 of SIGPIPE.
TEST(TrayProgramStart, TextsThatCannotBeWrittenEndWithStatusOneAndALine)
{
    for (const char* option : {"--help", "--version"}) {
        int ends[2];
        ASSERT_EQ(::pipe(ends), 0);
        ::close(ends[0]);
        const int writeEnd = ends[1];
        QProcess program;
        program.setChildProcessModifier([writeEnd] { ::dup2(writeEnd, STDOUT_FILENO); });
        program.start(QStringLiteral(MNEMORA_XP_PATH), {QString::fromLatin1(option)});
        ASSERT_TRUE(program.waitForFinished(60000));
        ::close(writeEnd);
        const QString err = QString::fromUtf8(program.readAllStandardError());
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << option;
        EXPECT_EQ(program.exitCode(), 1) << option;
        EXPECT_EQ(err.count(QLatin1Char('\n')), 1) << err.toStdString();
        EXPECT_TRUE(err.startsWith(QStringLiteral("mnemora-xp : "))) << err.toStdString();
    }
}

}  // namespace
