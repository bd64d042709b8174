// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "platform/linux/AutostartEntry.h"
#include "support/TestEnvironment.h"

namespace {

using platform::AutostartEntry;

QByteArray Contents(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

// desktop-file-validate's verdict: empty when it accepts the file.
QString Complaints(const QString& path)
{
    QProcess validate;
    validate.start(QStandardPaths::findExecutable("desktop-file-validate"), {path});
    validate.waitForFinished();
    return validate.exitCode() == 0 ? QString() : QString::fromLocal8Bit(validate.readAll());
}

class AutostartEntryTest : public ::testing::Test {
protected:
    QTemporaryDir home{TestHome() + "/autostart-XXXXXX"};
    QString path = home.filePath("autostart/mnemora-xp.desktop");
    AutostartEntry entry{path};
};

TEST_F(AutostartEntryTest, TheEntryIsAValidDesktopEntryThatRunsTheProgram)
{
    ASSERT_TRUE(entry.Write("\"/usr/bin/mnemora-xp\""));
    const QByteArray text = Contents(path);
    EXPECT_TRUE(text.startsWith("[Desktop Entry]\n"));
    EXPECT_TRUE(text.contains("\nType=Application\n"));
    EXPECT_TRUE(text.contains("\nExec=\"/usr/bin/mnemora-xp\"\n")) << text.toStdString();
    // Once the program is removed, the session skips the entry instead of failing to start it.
    EXPECT_TRUE(text.contains("\nTryExec=/usr/bin/mnemora-xp\n")) << text.toStdString();
    EXPECT_EQ(entry.Read(), "\"/usr/bin/mnemora-xp\"");
    if (QStandardPaths::findExecutable("desktop-file-validate").isEmpty())
        GTEST_SKIP() << "desktop-file-validate is not installed";
    EXPECT_EQ(Complaints(path), "");
}

TEST_F(AutostartEntryTest, TheExecLineQuotesAPathByTheDesktopEntryRules)
{
    // A quote, a backtick, a dollar and a backslash are escaped inside the quotes, a percent sign
    // is doubled, and the value's own escaping doubles the backslashes once more.
    EXPECT_EQ(AutostartEntry::ExecValue(R"(/opt/my apps/a"b`c$d%e\f/mnemora-xp)"),
              R"("/opt/my apps/a\\"b\\`c\\$d%%e\\\\f/mnemora-xp")");
    const QString odd = R"(/opt/my apps/a"b`c$d%e\f'g/mnemora-xp)";
    ASSERT_TRUE(entry.Write('"' + odd + '"'));
    EXPECT_EQ(entry.Read(), '"' + odd + '"');
    EXPECT_TRUE(Contents(path).contains(QByteArray("\nTryExec=/opt/my apps/a\"b`c$d%e\\\\f'g/mnemora-xp\n")))
        << Contents(path).toStdString() << "TryExec is a plain string: only the backslash is escaped";
    if (QStandardPaths::findExecutable("desktop-file-validate").isEmpty())
        GTEST_SKIP() << "desktop-file-validate is not installed";
    EXPECT_EQ(Complaints(path), "");
}

TEST_F(AutostartEntryTest, RemovingTakesOurEntryAwayAndNothingIsNoError)
{
    EXPECT_TRUE(entry.Remove());
    ASSERT_TRUE(entry.Write("\"/usr/bin/mnemora-xp\""));
    ASSERT_TRUE(entry.Write("\"/opt/mnemora-xp\"")) << "a new path replaces ours";
    EXPECT_EQ(entry.Read(), "\"/opt/mnemora-xp\"");
    EXPECT_TRUE(entry.Remove());
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_FALSE(entry.Read().has_value());
}

TEST_F(AutostartEntryTest, AFileOfTheSameNameThatIsNotOursIsLeftAlone)
{
    QDir().mkpath(home.filePath("autostart"));
    const QByteArray theirs = "[Desktop Entry]\nType=Application\nName=Mnemora XP\nExec=mnemora-xp\nHidden=true\n";
    {
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(theirs);
    }
    EXPECT_FALSE(entry.Write("\"/usr/bin/mnemora-xp\""));
    EXPECT_FALSE(entry.Remove());
    EXPECT_FALSE(entry.Read().has_value());
    EXPECT_EQ(Contents(path), theirs);

    // A link is not ours either, whatever it points at.
    QFile::remove(path);
    AutostartEntry ours(home.filePath("ours.desktop"));
    ASSERT_TRUE(ours.Write("\"/usr/bin/mnemora-xp\""));
    ASSERT_TRUE(QFile::link(home.filePath("ours.desktop"), path));
    EXPECT_FALSE(entry.Remove());
    EXPECT_TRUE(QFileInfo(path).isSymLink());
}

}  // namespace
