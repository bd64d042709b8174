// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "platform/linux/KernelFiles.h"
#include "support/TestEnvironment.h"

namespace {

void Write(const QString& path, const QByteArray& text)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text);
}

// Kept open, the file is read again whole at every reading: what it holds now, long or short,
// and a file that turns up later is found then.
TEST(KernelFile, EachReadingIsTheWholeFileAsItIsNow)
{
    QTemporaryDir folder(TestHome() + "/kernel-XXXXXX");
    platform::KernelFile file(folder.filePath("memory.max"));
    EXPECT_EQ(file.Read(), "");
    EXPECT_FALSE(file.Opens());
    Write(folder.filePath("memory.max"), "max\n");
    EXPECT_TRUE(file.Opens());
    EXPECT_EQ(file.Read(), "max\n");
    Write(folder.filePath("memory.max"), "1073741824\n");
    EXPECT_EQ(file.Read(), "1073741824\n");
    const QByteArray large(20000, 'x');
    Write(folder.filePath("memory.max"), large);
    EXPECT_EQ(file.Read(), large.toStdString());
    Write(folder.filePath("memory.max"), "7\n");
    EXPECT_EQ(file.Read(), "7\n");

    // One that was missing at its first reading may be taken as missing for good.
    platform::KernelFile gone(folder.filePath("memory.swap.max"), platform::KernelFile::IfMissing::StaysMissing);
    EXPECT_EQ(gone.Read(), "");
    Write(folder.filePath("memory.swap.max"), "max\n");
    EXPECT_FALSE(gone.Opens());
    EXPECT_EQ(gone.Read(), "");

    // The live files of this machine read the same way as with a fresh open.
    platform::KernelFile meminfo(QStringLiteral("/proc/meminfo"));
    EXPECT_NE(platform::KernelField(meminfo.Read(), "MemTotal"), -1);
    EXPECT_EQ(platform::KernelField(meminfo.Read(), "MemTotal"),
              platform::KernelField(platform::ReadKernelFile(QStringLiteral("/proc/meminfo")), "MemTotal"));
}

}  // namespace
