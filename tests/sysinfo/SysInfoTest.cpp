// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "platform/fake/FakeProcessor.h"
#include "platform/fake/FakeSystemInfo.h"
#include "platform/fake/FakeTickClock.h"
#include "sysinfo/SysInfo.h"

namespace {

constexpr std::int64_t kMiB = 1 << 20;
const QString kDesignCaption = QStringLiteral("info freespace/ totalspace on disk C:");

TEST(HostAddress, TheLastOneListedOrNothing)
{
    platform::FakeSystemInfo system;
    EXPECT_EQ(LocalIpAddress(system), QString());  // no lookup
    system.hostAddresses = std::vector<std::string>{};
    EXPECT_EQ(LocalIpAddress(system), QString());
    system.hostAddresses = std::vector<std::string>{"192.168.1.20"};
    EXPECT_EQ(LocalIpAddress(system), QStringLiteral("192.168.1.20"));
    system.hostAddresses = std::vector<std::string>{"192.168.1.20", "10.0.0.7", "172.17.0.1"};
    EXPECT_EQ(LocalIpAddress(system), QStringLiteral("172.17.0.1"));
}

TEST(DiskLines, OnlyTheRootFilesystemEndsInABlank)
{
    platform::FakeSystemInfo system;
    system.AddDisk("/", 1000 * kMiB, 20000 * kMiB);
    EXPECT_EQ(DiskLines(kDesignCaption, system), QStringLiteral("/ : 1000 Mo libres | 20000 Mo "));
}

TEST(DiskLines, RootFirstThenTheOthersAfterCrLf)
{
    platform::FakeSystemInfo system;
    system.AddDisk("/home", 52 * kMiB + kMiB / 2, 100 * kMiB);  // 52.5 MB: a half goes to even
    system.AddDisk("/", 1000 * kMiB, 20000 * kMiB);
    EXPECT_EQ(DiskLines(kDesignCaption, system),
              QStringLiteral("/ : 1000 Mo libres | 20000 Mo \r\n/home : 52 Mo libres | 100 Mo"));
}

TEST(DiskLines, RemotePseudoAndFullFilesystemsAreLeftOut)
{
    platform::FakeSystemInfo system;
    system.AddDisk("/", 1000 * kMiB, 20000 * kMiB);
    system.AddDisk("/full", 0, 500 * kMiB);
    system.mounts.push_back({"server:/export", "/net", "nfs4"});
    system.mounts.push_back({"//server/share", "/smb", "cifs"});
    system.mounts.push_back({"tmpfs", "/tmp", "tmpfs"});
    system.mounts.push_back({"proc", "/proc", "proc"});
    system.mounts.push_back({"user@host:", "/sshfs", "fuse.sshfs"});
    system.AddDisk("/mnt/usb", 3 * kMiB, 8 * kMiB, "vfat");
    const QString lines = DiskLines(kDesignCaption, system);
    EXPECT_EQ(lines, QStringLiteral("/ : 1000 Mo libres | 20000 Mo \r\n/mnt/usb : 3 Mo libres | 8 Mo"));
    for (const std::string& asked : system.spaceQuestions)
        EXPECT_TRUE(asked == "/" || asked == "/full" || asked == "/mnt/usb") << asked << " was asked for its space";
}

TEST(DiskLines, AtMostFourAndOneLinePerFilesystem)
{
    platform::FakeSystemInfo system;
    system.AddDisk("/", 10 * kMiB, 20 * kMiB);
    system.mounts.push_back({system.mounts[0].source, "/var/lib/docker", "ext4"});  // the same filesystem again
    for (const char* place : {"/a", "/b", "/c", "/d"})
        system.AddDisk(place, 1 * kMiB, 2 * kMiB);
    const QString lines = DiskLines(kDesignCaption, system);
    EXPECT_EQ(lines.count(QStringLiteral("\r\n")), 3);
    EXPECT_FALSE(lines.contains(QStringLiteral("docker")));
    EXPECT_FALSE(lines.contains(QStringLiteral("/d :")));
}

TEST(DiskLines, WithNoneTheTextStaysAndAFailedTotalReadsZero)
{
    platform::FakeSystemInfo system;
    EXPECT_EQ(DiskLines(kDesignCaption, system), kDesignCaption);
    system.AddDisk("/", 5 * kMiB, -1);
    EXPECT_EQ(DiskLines(kDesignCaption, system), QStringLiteral("/ : 5 Mo libres | 0 Mo "));
    system.space["/"] = {-1, 20 * kMiB};  // the question failed: not ready
    EXPECT_EQ(DiskLines(QStringLiteral("before"), system), QStringLiteral("before"));
}

TEST(LocalDisks, ByDeviceAndType)
{
    EXPECT_TRUE(IsLocalDisk({"/dev/sda2", "/", "ext4"}));
    EXPECT_TRUE(IsLocalDisk({"/dev/nvme0n1p1", "/boot/efi", "vfat"}));
    EXPECT_TRUE(IsLocalDisk({"/dev/sdb1", "/media/disk", "fuseblk"}));
    EXPECT_TRUE(IsLocalDisk({"rpool/ROOT/debian", "/", "zfs"}));
    EXPECT_FALSE(IsLocalDisk({"overlay", "/", "overlay"}));
    EXPECT_FALSE(IsLocalDisk({"devtmpfs", "/dev", "devtmpfs"}));
    EXPECT_FALSE(IsLocalDisk({"gvfsd-fuse", "/run/user/1000/gvfs", "fuse.gvfsd-fuse"}));
    EXPECT_FALSE(IsLocalDisk({"/dev/sdc1", "/mnt/nfs", "nfs"}));
}

// A tick count that moves on by a step at every reading.
class SteppingClock : public platform::ITickClock {
public:
    std::uint32_t TickCount() override { return now += step; }
    std::uint32_t now = 0;
    std::uint32_t step = 1;
};

TEST(ClockSpeed, CounterTicksOverTheSecondFromTheFirstTickChange)
{
    SteppingClock clock;
    clock.now = 5000;
    clock.step = 10;
    platform::FakeProcessor processor;
    processor.timeStampCounter = 0;
    processor.counterStep = 20'000'000;  // per reading of the counter
    // The clock is read once before and then until it has moved on a second: 100 steps of 10 ms
    // between the two counter readings, which are one counter step apart.
    EXPECT_DOUBLE_EQ(MeasureCpuMhz(clock, processor), 20.0);
}

TEST(ClockSpeed, TheWrapOfTheTickCountDoesNotEndTheSecondAtOnce)
{
    SteppingClock clock;
    clock.now = 0xFFFFFFFF - 500;  // t0 + 1000 passes 2^32
    platform::FakeProcessor processor;
    processor.timeStampCounter = 0;
    processor.counterStep = 1'000'000;
    const std::uint32_t start = clock.now;
    EXPECT_DOUBLE_EQ(MeasureCpuMhz(clock, processor), 1.0);
    EXPECT_GE(clock.now - start, 1000u);
}

TEST(ClockSpeed, NoUsableCounterGivesZeroWithoutWaiting)
{
    platform::FakeTickClock clock;  // never moves: a wait would never end
    platform::FakeProcessor processor;
    EXPECT_EQ(MeasureCpuMhz(clock, processor), 0.0);
    EXPECT_EQ(CpuSpeedText(0, QLocale::c()), QStringLiteral("Vitesse réelle Processeur : 0 Mhz"));
}

TEST(ClockSpeed, TwoDecimalsInTheUsersWriting)
{
    const QLocale french(QLocale::French, QLocale::France);
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    EXPECT_EQ(CpuSpeedText(1994.8712, french), QStringLiteral("Vitesse réelle Processeur : 1994,87 Mhz"));
    EXPECT_EQ(CpuSpeedText(1994.8712, english), QStringLiteral("Vitesse réelle Processeur : 1994.87 Mhz"));
    EXPECT_EQ(CpuSpeedText(2000.0, french), QStringLiteral("Vitesse réelle Processeur : 2000 Mhz"));
    EXPECT_EQ(CpuSpeedText(1999.996, english), QStringLiteral("Vitesse réelle Processeur : 2000 Mhz"));
    EXPECT_EQ(CpuSpeedText(2399.9, english), QStringLiteral("Vitesse réelle Processeur : 2399.9 Mhz"));
    EXPECT_EQ(CpuSpeedText(12345.125, english), QStringLiteral("Vitesse réelle Processeur : 12345.12 Mhz"));
}

}  // namespace
