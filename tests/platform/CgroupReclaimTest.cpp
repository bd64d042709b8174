// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cerrno>

#include "platform/linux/CgroupReclaim.h"

namespace {

const QString kService = QStringLiteral("/user.slice/user-1000.slice/user@1000.service");

// A /proc and a cgroup v2 tree as a systemd desktop lays them out, in a temporary folder. Who
// may write a file is its owner-write bit: the tests may run as root, who may write anything.
class ReclaimFixture : public ::testing::Test {
protected:
    QString Proc() const { return root.filePath(QStringLiteral("proc")); }
    QString Cgroup() const { return root.filePath(QStringLiteral("cgroup")); }

    void Write(const QString& path, const QByteArray& text)
    {
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
    }
    // A group with memory.reclaim, writable or not, holding MiB.
    void Group(const QString& below, bool writable, int heldMiB = 0)
    {
        Write(Cgroup() + below + QStringLiteral("/memory.reclaim"), "");
        Write(Cgroup() + below + QStringLiteral("/memory.current"), QByteArray::number(std::int64_t{heldMiB} << 20) + "\n");
        QFile::setPermissions(Cgroup() + below + QStringLiteral("/memory.reclaim"),
                              writable ? QFile::ReadOwner | QFile::WriteOwner : QFile::ReadOwner);
    }
    void PlaceProcess(const QString& group, bool v2 = true)
    {
        Write(Proc() + QStringLiteral("/self/cgroup"), v2 ? "0::" + group.toUtf8() + "\n" : "7:memory:" + group.toUtf8() + "\n");
        Write(Proc() + QStringLiteral("/self/mountinfo"),
              "25 1 0:22 / " + Cgroup().toUtf8() + " rw,nosuid - " + (v2 ? "cgroup2 cgroup2" : "cgroup cgroup") +
                  " rw" + (v2 ? "" : ",memory") + "\n");
        Write(Proc() + QStringLiteral("/meminfo"), "MemTotal:  2048000 kB\nMemFree:  1024000 kB\n");
    }
    // A desktop user's tree: the process in a scope of app.slice.
    void DesktopTree()
    {
        Group(QString(), false);
        Group(QStringLiteral("/user.slice"), false);
        Group(QStringLiteral("/user.slice/user-1000.slice"), false);
        Group(kService, false);  // systemd's delegation leaves its limits to root
        Group(kService + QStringLiteral("/app.slice"), true, 600);
        Group(kService + QStringLiteral("/app.slice/app-terminal.scope"), true, 10);
        Group(kService + QStringLiteral("/session.slice"), true, 40);
        Group(kService + QStringLiteral("/background.slice"), true);
        Group(kService + QStringLiteral("/init.scope"), true);
        Group(kService + QStringLiteral("/other-user.slice"), false);  // not this user's
        QDir().mkpath(Cgroup() + kService + QStringLiteral("/no-memory.slice"));
        PlaceProcess(kService + QStringLiteral("/app.slice/app-terminal.scope"));
    }
    platform::CgroupReclaim Reclaim()
    {
        return platform::CgroupReclaim(Proc(), [](const QString& path) {
            return QFileInfo(path).permissions().testFlag(QFile::WriteOwner);
        });
    }

    QTemporaryDir root;
};

TEST_F(ReclaimFixture, ADesktopUserGetsTheSlicesOfItsOwnServiceAndNothingAbove)
{
    DesktopTree();
    const platform::CgroupReclaim reclaim = Reclaim();
    EXPECT_TRUE(reclaim.Unavailable().isEmpty()) << reclaim.Unavailable().toStdString();
    EXPECT_EQ(reclaim.Groups(), (QStringList{kService + "/app.slice", kService + "/background.slice",
                                             kService + "/init.scope", kService + "/session.slice"}));
}

TEST_F(ReclaimFixture, RootGetsTheWholeMachineAsOneGroup)
{
    DesktopTree();
    for (const QString& below : {QString(), QStringLiteral("/user.slice"), kService})
        QFile::setPermissions(Cgroup() + below + "/memory.reclaim", QFile::ReadOwner | QFile::WriteOwner);
    platform::CgroupReclaim reclaim = Reclaim();
    EXPECT_EQ(reclaim.Groups(), QStringList{"/"});
    // The top of the tree has no memory.current: what the machine holds, page cache included.
    EXPECT_EQ(reclaim.Held(0), std::int64_t{1024000} * 1024);
}

TEST_F(ReclaimFixture, WhereNothingCanBeReclaimedItSaysWhyInOnePhrase)
{
    // cgroup v1 only, as on hosts that still boot that way.
    PlaceProcess(QStringLiteral("/user.slice"), false);
    EXPECT_TRUE(Reclaim().Unavailable().contains(QLatin1String("cgroup v1")));
    EXPECT_TRUE(Reclaim().Groups().isEmpty());

    // cgroup v2 on a kernel before 5.19 (or without the memory controller): no memory.reclaim.
    QDir().mkpath(Cgroup() + "/user.slice/app");
    PlaceProcess(QStringLiteral("/user.slice/app"));
    EXPECT_TRUE(Reclaim().Unavailable().contains(QLatin1String("5.19")));

    // A hybrid host: cgroup v2 mounted, the memory controller on cgroup v1.
    Write(Proc() + QStringLiteral("/self/cgroup"), "7:memory:/user.slice\n0::/user.slice/app\n");
    Write(Proc() + QStringLiteral("/self/mountinfo"),
          "25 1 0:22 / " + Cgroup().toUtf8() + " rw - cgroup2 cgroup2 rw\n26 1 0:23 / " +
              root.filePath(QStringLiteral("memory")).toUtf8() + " rw - cgroup cgroup rw,memory\n");
    EXPECT_TRUE(Reclaim().Unavailable().contains(QLatin1String("hybride"))) << Reclaim().Unavailable().toStdString();
    PlaceProcess(QStringLiteral("/user.slice/app"));

    // A process in a group that belongs to someone else, all the way up.
    Group(QString(), false);
    Group(QStringLiteral("/user.slice"), false);
    Group(QStringLiteral("/user.slice/app"), false);
    const QString why = Reclaim().Unavailable();
    EXPECT_TRUE(why.contains(QLatin1String("/user.slice/app"))) << why.toStdString();
    EXPECT_FALSE(why.contains(QLatin1Char('\n')));
    EXPECT_TRUE(Reclaim().Groups().isEmpty());
}

TEST_F(ReclaimFixture, AStepWritesTheByteCountAndReadsWhatTheGroupHolds)
{
    DesktopTree();
    platform::CgroupReclaim reclaim = Reclaim();
    EXPECT_EQ(reclaim.Reclaim(0, 64 << 20), 0);
    QFile file(Cgroup() + kService + "/app.slice/memory.reclaim");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("67108864"));
    EXPECT_EQ(reclaim.Held(0), std::int64_t{600} << 20);
    EXPECT_EQ(reclaim.Held(3), std::int64_t{40} << 20);
    EXPECT_EQ(reclaim.Held(9), -1);
    EXPECT_EQ(reclaim.Reclaim(9, 1), EINVAL);
    EXPECT_EQ(reclaim.Reclaim(0, 0), EINVAL);
}

TEST_F(ReclaimFixture, ALinkPlantedInPlaceOfTheFileIsNotFollowed)
{
    DesktopTree();
    const QString target = root.filePath(QStringLiteral("elsewhere"));
    Write(target, "untouched");
    const QString file = Cgroup() + kService + "/session.slice/memory.reclaim";
    QFile::remove(file);
    ASSERT_TRUE(QFile::link(target, file));
    platform::CgroupReclaim reclaim = Reclaim();
    ASSERT_EQ(reclaim.Groups().indexOf(kService + "/session.slice"), 3);
    EXPECT_EQ(reclaim.Reclaim(3, 4096), ELOOP);
    QFile check(target);
    ASSERT_TRUE(check.open(QIODevice::ReadOnly));
    EXPECT_EQ(check.readAll(), QByteArray("untouched"));
}

}  // namespace
