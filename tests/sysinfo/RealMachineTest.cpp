// SPDX-License-Identifier: GPL-3.0-or-later
// The identification on the machine the tests run on, against what the kernel says of it.
#include <gtest/gtest.h>

#include <QFile>
#include <QRegularExpression>
#include <map>
#include <set>

#include "platform/linux/LinuxProcessor.h"
#include "platform/linux/LinuxSystemInfo.h"
#include "platform/linux/LinuxTickClock.h"
#include "platform/linux/LinuxVersionInfo.h"
#include "sysinfo/CpuIdent.h"
#include "sysinfo/CpuPage.h"
#include "sysinfo/SysInfo.h"

namespace {

// The first processor's "name : value" lines of /proc/cpuinfo.
std::map<QString, QString> KernelCpuInfo()
{
    QFile file(QStringLiteral("/proc/cpuinfo"));
    std::map<QString, QString> fields;
    if (!file.open(QIODevice::ReadOnly))
        return fields;
    for (const QByteArray& line : file.readAll().split('\n')) {
        if (line.trimmed().isEmpty())
            break;
        const int colon = line.indexOf(':');
        if (colon > 0)
            fields[QString::fromUtf8(line.left(colon)).trimmed()] = QString::fromUtf8(line.mid(colon + 1)).trimmed();
    }
    return fields;
}

class RealProcessor : public ::testing::Test {
protected:
    void SetUp() override
    {
        kernel = KernelCpuInfo();
        if (!processor.CpuidPresent() || !kernel.contains(QStringLiteral("flags")))
            GTEST_SKIP() << "no x86 processor the kernel describes";
    }
    platform::LinuxProcessor processor;
    std::map<QString, QString> kernel;
};

TEST_F(RealProcessor, NameIsTheBrandStringTheKernelReports)
{
    const auto modelName = kernel.find(QStringLiteral("model name"));
    if (modelName == kernel.end() || modelName->second == QLatin1String("unknown"))
        GTEST_SKIP() << "the kernel has no brand string for this processor";
    TCpuIdent cpu(processor, platform::LinuxSystemInfo().ProcessorType());
    cpu.Loaded();
    // The kernel trims the blanks some processors pad their brand string with; the page keeps them.
    EXPECT_EQ(CpuPage(cpu).name.trimmed(), modelName->second);
}

TEST_F(RealProcessor, EveryFeatureRowAgreesWithTheKernelsFlags)
{
    const QStringList flagList = kernel[QStringLiteral("flags")].split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const std::set<QString> flags(flagList.begin(), flagList.end());
    TCpuIdent cpu(processor, 686);
    const bool cyrix = kernel[QStringLiteral("vendor_id")] == QLatin1String("CyrixInstead");
    const bool amd = kernel[QStringLiteral("vendor_id")] == QLatin1String("AuthenticAMD");
    const std::map<QString, QString> kernelName = {
        {"FPU", "fpu"},     {"VME", "vme"},       {"DE", "de"},           {"PSE", "pse"},   {"TSC", "tsc"},
        {"MSR", "msr"},     {"PAE", "pae"},       {"MCE", "mce"},         {"CX8", "cx8"},   {"APIC", "apic"},
        {"SEP", "sep"},     {"MTRR", "mtrr"},     {"PGE", "pge"},         {"MCA", "mca"},   {"CMOV", "cmov"},
        {"PAT", "pat"},     {"PSE36", "pse36"},   {"SERIAL", "pn"},       {"CLFLUSH", "clflush"},
        {"DTS", "dts"},     {"ACPI", "acpi"},     {"MMX", "mmx"},         {"FXSR", "fxsr"}, {"SIMD", "sse"},
        {"SIMD2", "sse2"},  {"SS", "ss"},         {"TM", "tm"},           {"3DNOW", "3dnow"},
        {"3DNOWEX", "3dnowext"},                  {"MMXEX", amd ? "mmxext" : cyrix ? "cxmmx" : ""},
    };
    const TCpuPage page = CpuPage(cpu);
    ASSERT_EQ(page.features.size(), 30u);
    for (const TFeatureRow& row : page.features)
        EXPECT_EQ(row.supported, flags.contains(kernelName.at(row.code))) << row.code.toStdString();
}

TEST_F(RealProcessor, ClockMeasuresSomethingWhereTheCounterIsUsable)
{
    if (!processor.TimeStampCounter())
        GTEST_SKIP() << "no usable time-stamp counter";
    platform::LinuxTickClock clock;
    EXPECT_GT(MeasureCpuMhz(clock, processor), 0.0);
}

TEST(RealSystem, RootIsALocalDiskWithItsSpace)
{
    platform::LinuxSystemInfo system;
    bool rootIsDisk = false;
    for (const auto& mount : system.Mounts())
        rootIsDisk = rootIsDisk || (mount.mountPoint == "/" && IsLocalDisk(mount));
    if (!rootIsDisk)
        GTEST_SKIP() << "the root filesystem is no local disk here";
    const platform::DiskSpace root = system.SpaceOf("/");
    EXPECT_GT(root.totalBytes, 0);
    EXPECT_GE(root.totalBytes, root.freeBytes);
    if (root.freeBytes > 0) {
        EXPECT_TRUE(DiskLines(QString(), system).startsWith(QStringLiteral("/ : ")));
    }
}

TEST(RealSystem, NamesAndAddressesAsTheSystemHasThem)
{
    platform::LinuxSystemInfo system;
    EXPECT_FALSE(system.ComputerName().empty());
    EXPECT_FALSE(system.UserName().empty());
    const auto addresses = system.HostAddresses();
    ASSERT_TRUE(addresses.has_value());
    static const QRegularExpression dotted(QStringLiteral("^\\d{1,3}(\\.\\d{1,3}){3}$"));
    for (const std::string& address : *addresses)
        EXPECT_TRUE(dotted.match(QString::fromStdString(address)).hasMatch()) << address;
    if (addresses->size() > 1) {
        EXPECT_NE(addresses->back(), "127.0.0.1");
    }
}

TEST(OsRelease, PrettyNameUnquotedOrLinux)
{
    using platform::LinuxVersionInfo;
    EXPECT_EQ(LinuxVersionInfo::PrettyName("NAME=\"Debian\"\nPRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\n"),
              "Debian GNU/Linux 12 (bookworm)");
    EXPECT_EQ(LinuxVersionInfo::PrettyName("PRETTY_NAME='Arch Linux'"), "Arch Linux");
    EXPECT_EQ(LinuxVersionInfo::PrettyName("PRETTY_NAME=Gentoo"), "Gentoo");
    EXPECT_EQ(LinuxVersionInfo::PrettyName("PRETTY_NAME=\"Say \\\"hi\\\"\""), "Say \"hi\"");
    EXPECT_EQ(LinuxVersionInfo::PrettyName("NAME=Foo\n"), "Linux");
    EXPECT_EQ(LinuxVersionInfo::PrettyName(""), "Linux");
}

TEST(OsRelease, TheSystemNameEndsWithTheKernelRelease)
{
    QFile release(QStringLiteral("/proc/sys/kernel/osrelease"));
    ASSERT_TRUE(release.open(QIODevice::ReadOnly));
    const std::string kernelRelease = release.readAll().trimmed().toStdString();
    const std::string name = platform::LinuxVersionInfo().SystemName();
    EXPECT_TRUE(name.ends_with(" " + kernelRelease)) << name;
}

}  // namespace
