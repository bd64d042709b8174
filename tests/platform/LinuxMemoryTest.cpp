// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/fake/FakeEventQueue.h"
#include "platform/linux/LinuxMemory.h"
#include "platform/linux/OomScore.h"
#include "recovery/RamRecovery.h"

#include <algorithm>
#include <cerrno>
#include <functional>
#include <iterator>
#include <sys/mman.h>

namespace {

constexpr std::int64_t kMiB = 1 << 20;
constexpr std::int64_t kKiB = 1024;

void WriteFile(const QString& path, const QByteArray& text)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text);
}

// A /proc and the control-group trees the test writes: by default a cgroup v2 tree with the
// process in /user/app; the cgroup v1 cases mount a memory hierarchy beside it, as hybrid hosts do.
class MeminfoFixture : public ::testing::Test {
protected:
    QString Proc() const { return root.filePath(QStringLiteral("proc")); }
    QString Cgroup() const { return root.filePath(QStringLiteral("cgroup/unified")); }
    QString CgroupV1() const { return root.filePath(QStringLiteral("cgroup/memory")); }

    void SetMeminfo(std::int64_t totalMiB, std::int64_t availableMiB, std::int64_t swapFreeMiB = 0,
                    std::int64_t cachedMiB = 0)
    {
        WriteFile(Proc() + QStringLiteral("/meminfo"),
                  QStringLiteral("MemTotal:       %1 kB\nMemFree:         1000 kB\nMemAvailable:   %2 kB\n"
                                 "Buffers:           4 kB\nCached:         %4 kB\nSwapCached:     999999 kB\n"
                                 "SwapTotal:      %3 kB\nSwapFree:       %3 kB\n")
                      .arg(totalMiB * kKiB)
                      .arg(availableMiB * kKiB)
                      .arg(swapFreeMiB * kKiB)
                      .arg(cachedMiB * kKiB)
                      .toLatin1());
    }
    void SetCgroupLimit(const QString& group, const QByteArray& max, std::int64_t currentMiB, std::int64_t inactiveFileMiB = 0)
    {
        WriteFile(Cgroup() + group + QStringLiteral("/memory.max"), max + "\n");
        WriteFile(Cgroup() + group + QStringLiteral("/memory.current"), QByteArray::number(currentMiB * kMiB) + "\n");
        WriteFile(Cgroup() + group + QStringLiteral("/memory.stat"),
                  "anon 4096\nfile 8192\nactive_file 4096\ninactive_file " + QByteArray::number(inactiveFileMiB * kMiB) + "\n");
    }
    // limit -1: the kernel's "no limit". hierarchicalMiB -1: the group's own limit.
    void SetV1Limit(const QString& group, std::int64_t limitMiB, std::int64_t usageMiB, std::int64_t hierarchicalMiB = -1,
                    std::int64_t inactiveFileMiB = 0)
    {
        const QByteArray noLimit = "9223372036854771712";
        const QByteArray limit = limitMiB < 0 ? noLimit : QByteArray::number(limitMiB * kMiB);
        const QByteArray hierarchical = hierarchicalMiB < 0 ? limit : QByteArray::number(hierarchicalMiB * kMiB);
        WriteFile(CgroupV1() + group + QStringLiteral("/memory.limit_in_bytes"), limit + "\n");
        WriteFile(CgroupV1() + group + QStringLiteral("/memory.usage_in_bytes"), QByteArray::number(usageMiB * kMiB) + "\n");
        WriteFile(CgroupV1() + group + QStringLiteral("/memory.stat"),
                  "cache 0\nrss 0\ninactive_file 0\nhierarchical_memory_limit " + hierarchical +
                      "\nhierarchical_memsw_limit " + noLimit + "\ntotal_inactive_file " +
                      QByteArray::number(inactiveFileMiB * kMiB) + "\n");
    }
    // The process's groups: v2 and, when given, v1's memory controller; v1Root is the root of the
    // v1 mount (a container without its own cgroup namespace sees only its group mounted).
    void PlaceProcess(const QString& v2Group, const QString& v1Group = {}, const QString& v1Root = QStringLiteral("/"))
    {
        QByteArray groups = "12:pids:/elsewhere\n";
        QByteArray mounts = "31 23 0:28 / " + root.filePath(QStringLiteral("cgroup")).toLocal8Bit() + " rw - tmpfs tmpfs rw\n";
        if (!v1Group.isEmpty()) {
            groups += "4:memory:" + v1Group.toLocal8Bit() + "\n";
            mounts += "35 31 0:32 " + v1Root.toLocal8Bit() + " " + CgroupV1().toLocal8Bit() + " rw,relatime shared:9 - cgroup cgroup rw,memory\n";
        }
        groups += "0::" + v2Group.toLocal8Bit() + "\n";
        mounts += "41 31 0:38 / " + Cgroup().toLocal8Bit() + " rw,relatime - cgroup2 cgroup2 rw\n";
        WriteFile(Proc() + QStringLiteral("/self/cgroup"), groups);
        WriteFile(Proc() + QStringLiteral("/self/mountinfo"), mounts);
    }
    platform::LinuxMemory Memory() const
    {
        platform::LinuxMemory memory(Proc());
        if (widen)
            memory.WidenFloor();
        return memory;
    }

    // Takes blocks while the group's usage grows with them, as the kernel would show it.
    int BlocksTakenAsUsageGrows(const std::function<void(std::int64_t taken)>& showUsage)
    {
        platform::LinuxMemory memory = Memory();
        std::vector<void*> blocks;
        for (int i = 0; i < 2000; ++i) {
            showUsage(static_cast<std::int64_t>(blocks.size()));
            void* block = memory.CommitBlock();
            if (block == nullptr)
                break;
            blocks.push_back(block);
        }
        for (void* block : blocks)
            memory.ReleaseBlock(block);
        return static_cast<int>(blocks.size());
    }

    void SetUp() override { PlaceProcess(QStringLiteral("/user/app")); }

    QTemporaryDir root;
    bool widen = false;
};

TEST_F(MeminfoFixture, FiguresAreSixtyFourBitBytesFromMeminfo)
{
    SetMeminfo(24 * 1024, 20 * 1024, 0, 300);
    platform::LinuxMemory memory = Memory();
    const platform::MemoryStatus status = memory.Status();
    EXPECT_EQ(status.totalPhys, std::int64_t{24} << 30) << "no wrap past 2 GiB";
    EXPECT_EQ(status.availPhys, std::int64_t{20} << 30);
    EXPECT_EQ(status.cached, 300 * kMiB) << "Cached, not SwapCached";
}

TEST_F(MeminfoFixture, TheTightestCgroupLimitOnTheWayToTheRootLowersBothFigures)
{
    SetMeminfo(16 * 1024, 12 * 1024);
    SetCgroupLimit(QStringLiteral("/user/app"), "max", 100);
    SetCgroupLimit(QStringLiteral("/user"), QByteArray::number(2048 * kMiB), 1500);
    const platform::MemoryStatus status = Memory().Status();
    EXPECT_EQ(status.totalPhys, 2048 * kMiB);
    EXPECT_EQ(status.availPhys, 548 * kMiB);

    SetCgroupLimit(QStringLiteral("/user/app"), QByteArray::number(512 * kMiB), 600);  // over its limit
    EXPECT_EQ(Memory().Status().availPhys, 0);
}

TEST_F(MeminfoFixture, NoCgroupOrAnUnlimitedOneLeavesTheHostFigures)
{
    SetMeminfo(8192, 4096);
    EXPECT_EQ(Memory().Status().availPhys, 4096 * kMiB);
    SetCgroupLimit(QStringLiteral("/user/app"), "max", 7000);
    SetCgroupLimit(QStringLiteral("/user"), "max", 7000);
    EXPECT_EQ(Memory().Status().totalPhys, 8192 * kMiB);
    EXPECT_EQ(Memory().Status().availPhys, 4096 * kMiB);
}

TEST_F(MeminfoFixture, UnreadableMeminfoGivesZerosAndRefusesBlocks)
{
    platform::LinuxMemory memory = Memory();
    EXPECT_EQ(memory.Status().totalPhys, 0);
    EXPECT_EQ(memory.CommitBlock(), nullptr);
}

TEST_F(MeminfoFixture, SafetyFloorIsTheLargerOf256MiBAndFivePercent)
{
    SetMeminfo(4096, 4096);
    EXPECT_EQ(Memory().SafetyFloor(), 256 * kMiB);
    SetMeminfo(10240, 4096);
    EXPECT_EQ(Memory().SafetyFloor(), 512 * kMiB);
}

TEST_F(MeminfoFixture, BlocksAreRefusedWhenTheyWouldCrossTheFloor)
{
    // 4 GiB machine: floor 256 MiB; 259 MiB available + 1 MiB swap leaves room for 4 blocks. The
    // figures fall as the kernel would show them while the blocks are written.
    platform::LinuxMemory memory = Memory();
    std::vector<void*> blocks;
    for (int i = 0; i < 10; ++i) {
        SetMeminfo(4096, 259 - static_cast<std::int64_t>(blocks.size()), 1);
        void* block = memory.CommitBlock();
        if (block == nullptr)
            break;
        blocks.push_back(block);
    }
    EXPECT_EQ(blocks.size(), 4u);
    for (void* block : blocks)
        memory.ReleaseBlock(block);

    // Memory that comes back is seen at the next commit.
    SetMeminfo(4096, 1024);
    void* block = memory.CommitBlock();
    EXPECT_NE(block, nullptr);
    memory.ReleaseBlock(block);
}

TEST_F(MeminfoFixture, TheCgroupHeadroomBindsTheFloorToo)
{
    SetMeminfo(4096, 4000, 4000);
    platform::LinuxMemory memory = Memory();
    std::vector<void*> blocks;
    for (int i = 0; i < 10; ++i) {
        // 258 MiB left under the group's limit at the start.
        SetCgroupLimit(QStringLiteral("/user/app"), QByteArray::number(1024 * kMiB),
                       766 + static_cast<std::int64_t>(blocks.size()));
        void* block = memory.CommitBlock();
        if (block == nullptr)
            break;
        blocks.push_back(block);
    }
    EXPECT_EQ(blocks.size(), 2u);
    for (void* block : blocks)
        memory.ReleaseBlock(block);
}

TEST_F(MeminfoFixture, AV2GroupAtItsLimitCountsTheSwapItMayStillFill)
{
    // 258 MiB under the limit, 300 MiB of swap free on the machine, the floor 256 MiB. /user has
    // 40 MiB swapped already. Past its limit the group's usage stays and its swap grows.
    const auto swapLimit = [this](const QString& group, const QByteArray& max) {
        WriteFile(Cgroup() + group + QStringLiteral("/memory.swap.max"), max + "\n");
    };
    const auto run = [this] {
        return BlocksTakenAsUsageGrows([this](std::int64_t taken) {
            const std::int64_t swapped = std::max<std::int64_t>(0, 766 + taken - 1024);
            SetMeminfo(4096, 4000 - taken + swapped, 300 - swapped);
            SetCgroupLimit(QStringLiteral("/user/app"), QByteArray::number(1024 * kMiB), 766 + taken - swapped);
            WriteFile(Cgroup() + QStringLiteral("/user/app/memory.swap.current"), QByteArray::number(swapped * kMiB));
            WriteFile(Cgroup() + QStringLiteral("/user/memory.swap.current"), QByteArray::number((40 + swapped) * kMiB));
        });
    };
    // The top of the tree has no memory.max nor memory.swap.max.
    for (const QString& group : {QStringLiteral("/user"), QStringLiteral("/user/app")})
        swapLimit(group, "max");
    EXPECT_EQ(run(), 258 + 300 - 256) << "no swap limit: as far as the machine's swap";
    swapLimit(QStringLiteral("/user"), QByteArray::number(100 * kMiB));
    EXPECT_EQ(run(), 258 + 60 - 256) << "a parent's swap limit binds its children";
    swapLimit(QStringLiteral("/user/app"), "0");
    EXPECT_EQ(run(), 2) << "a group that may not swap keeps to its memory";
    QFile::remove(Cgroup() + QStringLiteral("/user/app/memory.swap.max"));
    EXPECT_EQ(run(), 2) << "swap not accounted: nothing says the group may swap";
    // What the window shows as free is the group's memory alone, its swap never.
    swapLimit(QStringLiteral("/user/app"), "max");
    SetCgroupLimit(QStringLiteral("/user/app"), QByteArray::number(1024 * kMiB), 766);
    EXPECT_EQ(Memory().Status().availPhys, 258 * kMiB);
}

// The live monitor reads through one reader every second: each reading sees the group's figures
// as they are now, while a file that was not there at the first reading is not looked for again.
TEST_F(MeminfoFixture, OneReaderSeesTheGroupsFiguresChange)
{
    SetMeminfo(4096, 4000);
    SetCgroupLimit(QStringLiteral("/user/app"), QByteArray::number(1024 * kMiB), 766);
    platform::LinuxMemory memory = Memory();
    EXPECT_EQ(memory.Status().availPhys, 258 * kMiB);
    SetCgroupLimit(QStringLiteral("/user/app"), QByteArray::number(1024 * kMiB), 900, 24);
    EXPECT_EQ(memory.Status().availPhys, 148 * kMiB);
    SetCgroupLimit(QStringLiteral("/user/app"), "max", 900);
    EXPECT_EQ(memory.Status().totalPhys, 4096 * kMiB);
    SetCgroupLimit(QStringLiteral("/user/app"), QByteArray::number(512 * kMiB), 100);
    EXPECT_EQ(memory.Status().totalPhys, 512 * kMiB);
    EXPECT_EQ(memory.Status().availPhys, 412 * kMiB);

    SetCgroupLimit(QStringLiteral("/user"), QByteArray::number(256 * kMiB), 100);
    EXPECT_EQ(memory.Status().totalPhys, 512 * kMiB) << "files that came later are not looked for";
    EXPECT_EQ(Memory().Status().totalPhys, 256 * kMiB) << "a new reader finds them";
}

TEST_F(MeminfoFixture, ANewReadingIsTakenAtLeastEverySixteenBlocks)
{
    SetMeminfo(4096, 4096);
    platform::LinuxMemory memory = Memory();
    std::vector<void*> blocks;
    for (int i = 0; i < 10; ++i)
        blocks.push_back(memory.CommitBlock());
    SetMeminfo(4096, 200);  // another program took almost everything
    int granted = 0;
    while (void* block = memory.CommitBlock()) {
        blocks.push_back(block);
        ++granted;
    }
    EXPECT_LE(granted, 6);
    for (void* block : blocks)
        memory.ReleaseBlock(block);
}

TEST_F(MeminfoFixture, TheFloorIsTakenFromWhatTheProcessCanHaveNotFromTheHost)
{
    // A 600 MiB group on a 24 GiB host: the floor is 256 MiB, not 5 % of 24 GiB (more than the
    // whole group), so the run takes what lies between the group's use and that floor.
    SetMeminfo(24 * 1024, 20 * 1024);
    SetCgroupLimit(QStringLiteral("/user/app"), QByteArray::number(600 * kMiB), 100);
    EXPECT_EQ(Memory().SafetyFloor(), 256 * kMiB);
    EXPECT_EQ(Memory().Status().totalPhys, 600 * kMiB);
    EXPECT_EQ(BlocksTakenAsUsageGrows([&](std::int64_t taken) {
                  SetCgroupLimit(QStringLiteral("/user/app"), QByteArray::number(600 * kMiB), 100 + taken);
              }),
              600 - 100 - 256);
}

TEST_F(MeminfoFixture, ACgroupV1LimitOnAnyLevelBindsLikeAV2One)
{
    // A hybrid host: memory is limited through v1, the v2 tree carries no memory files at all.
    SetMeminfo(24 * 1024, 20 * 1024);
    PlaceProcess(QStringLiteral("/"), QStringLiteral("/process_api/job"));
    SetV1Limit(QStringLiteral("/process_api/job"), -1, 100, 600);
    SetV1Limit(QStringLiteral("/process_api"), 600, 100);
    SetV1Limit(QString(), -1, 9000);
    platform::LinuxMemory memory = Memory();
    EXPECT_EQ(memory.Status().totalPhys, 600 * kMiB);
    EXPECT_EQ(memory.Status().availPhys, 500 * kMiB);
    EXPECT_EQ(memory.SafetyFloor(), 256 * kMiB);
    EXPECT_EQ(BlocksTakenAsUsageGrows([&](std::int64_t taken) {
                  SetV1Limit(QStringLiteral("/process_api/job"), -1, 100 + taken, 600);
                  SetV1Limit(QStringLiteral("/process_api"), 600, 100 + taken);
              }),
              244);

    // The limit set on the hierarchy's top level binds too.
    SetV1Limit(QString(), 400, 150);
    EXPECT_EQ(Memory().Status().totalPhys, 400 * kMiB);
    EXPECT_EQ(Memory().Status().availPhys, 250 * kMiB);
}

TEST_F(MeminfoFixture, AContainerThatSeesOnlyItsOwnGroupReadsTheLimitOfItsAncestors)
{
    // Without a cgroup namespace the container's group is mounted as the hierarchy's top, and the
    // limit set above it shows only as the hierarchical limit.
    SetMeminfo(24 * 1024, 20 * 1024);
    PlaceProcess(QStringLiteral("/"), QStringLiteral("/docker/abc"), QStringLiteral("/docker/abc"));
    SetV1Limit(QString(), -1, 50, 512);
    EXPECT_EQ(Memory().Status().totalPhys, 512 * kMiB);
    EXPECT_EQ(Memory().Status().availPhys, 462 * kMiB);
}

TEST_F(MeminfoFixture, TheTightestOfBothVersionsWinsAndIdleFilePagesCountAsAvailable)
{
    SetMeminfo(16 * 1024, 12 * 1024);
    PlaceProcess(QStringLiteral("/user/app"), QStringLiteral("/job"));
    SetV1Limit(QStringLiteral("/job"), 3000, 1000, -1, 200);
    SetCgroupLimit(QStringLiteral("/user"), QByteArray::number(2048 * kMiB), 1900, 300);
    const platform::MemoryStatus status = Memory().Status();
    EXPECT_EQ(status.totalPhys, 2048 * kMiB);
    EXPECT_EQ(status.availPhys, (2048 - 1900 + 300) * kMiB) << "v2's 448 MiB, under v1's 2200 MiB";
    SetV1Limit(QStringLiteral("/job"), 3000, 2900, -1, 200);
    EXPECT_EQ(Memory().Status().availPhys, 300 * kMiB);
    SetCgroupLimit(QString(), QByteArray::number(1024 * kMiB), 100);
    EXPECT_EQ(Memory().Status().totalPhys, 1024 * kMiB) << "v2's top level too";

    // A limited group whose use cannot be read counts as full.
    QFile::remove(CgroupV1() + QStringLiteral("/job/memory.usage_in_bytes"));
    EXPECT_EQ(Memory().Status().availPhys, 0);
}

TEST_F(MeminfoFixture, AbsurdMeminfoValuesNeitherWrapNorGrantBlocks)
{
    WriteFile(Proc() + QStringLiteral("/meminfo"),
              "MemTotal:       99999999999999999999 kB\nMemAvailable:   9007199254740993 kB\nSwapFree:  -5 kB\n");
    platform::LinuxMemory memory = Memory();
    const platform::MemoryStatus status = memory.Status();
    EXPECT_EQ(status.totalPhys, 0);
    EXPECT_EQ(status.availPhys, 0);
    EXPECT_EQ(memory.CommitBlock(), nullptr);
}

TEST_F(MeminfoFixture, AWidenedFloorIsTwiceAsWide)
{
    // 4 GiB machine, 1 GiB available: 768 MiB above the usual floor, 512 MiB above the wide one.
    SetMeminfo(4096, 1024);
    EXPECT_EQ(BlocksTakenAsUsageGrows([&](std::int64_t taken) { SetMeminfo(4096, 1024 - taken); }), 768);
    widen = true;
    EXPECT_EQ(Memory().SafetyFloor(), 512 * kMiB);
    EXPECT_EQ(BlocksTakenAsUsageGrows([&](std::int64_t taken) { SetMeminfo(4096, 1024 - taken); }), 512);
}

TEST_F(MeminfoFixture, VolunteeringIsCheckedAndAFailureReported)
{
    const QString score = Proc() + QStringLiteral("/self/oom_score_adj");
    EXPECT_FALSE(platform::VolunteerForOomKill(Proc())) << "no such file";
    ASSERT_TRUE(QDir().mkpath(score));
    EXPECT_FALSE(platform::VolunteerForOomKill(Proc())) << "cannot be written";
    ASSERT_TRUE(QDir().rmdir(score));
    WriteFile(score, "0\n");
    EXPECT_TRUE(platform::VolunteerForOomKill(Proc()));
    QFile written(score);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), "1000\n");
}

// The real memory layer, noting every block it hands out.
class RecordingMemory : public platform::LinuxMemory {
public:
    void* CommitBlock() override
    {
        void* block = LinuxMemory::CommitBlock();
        blocks.push_back(block);
        return block;
    }
    std::vector<void*> blocks;
};

constexpr int kPagesPerBlock = platform::IMemory::kBlockSize / 4096;

bool IsMapped(void* block)
{
    unsigned char residency[kPagesPerBlock];
    return ::mincore(block, platform::IMemory::kBlockSize, residency) == 0 || errno != ENOMEM;
}

int ResidentPages(void* block)
{
    unsigned char residency[kPagesPerBlock];
    if (::mincore(block, platform::IMemory::kBlockSize, residency) != 0)
        return -1;
    return static_cast<int>(std::count_if(std::begin(residency), std::end(residency), [](unsigned char page) { return page & 1; }));
}

bool KernelPopulates()
{
    void* page = ::mmap(nullptr, 4096, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    const bool populated = ::madvise(page, 4096, MADV_POPULATE_WRITE) == 0;
    ::munmap(page, 4096);
    return populated;
}

// The real memory layer, with the kernel's answer to the populate request chosen by the test.
class ScriptedPopulate : public platform::LinuxMemory {
public:
    explicit ScriptedPopulate(int answer) : answer_(answer) {}
    std::vector<void*> asked;

protected:
    int Populate(void* block) override
    {
        asked.push_back(block);
        return answer_;
    }

private:
    int answer_;
};

TEST(LinuxMemoryOnThisMachine, ARunLeavesNoMappingBehind)
{
    RecordingMemory memory;
    platform::FakeEventQueue events;
    TRamRecovery engine(memory, events);
    int steps = 0;
    engine.OnProgress = [&](QObject*, int) { ++steps; };
    engine.OnAfterDefrag = [&](QObject*) {
        ASSERT_EQ(memory.blocks.size(), 64u);
        for (void* block : memory.blocks)
            EXPECT_FALSE(IsMapped(block)) << block;
    };
    engine.Defrag(64);
    EXPECT_EQ(steps, 128) << "this machine has far more than the floor free";
}

TEST(LinuxMemoryOnThisMachine, ABlockIsBackedByTheKernelBeforeItIsHandedOut)
{
    if (!KernelPopulates())
        GTEST_SKIP() << "this kernel does not populate on request (before 5.14)";
    platform::LinuxMemory memory;
    void* block = memory.CommitBlock();
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(ResidentPages(block), kPagesPerBlock);
    memory.ReleaseBlock(block);
}

TEST(LinuxMemoryOnThisMachine, WhereTheKernelWillNotPopulateTheEngineStillBacksEveryPageByWriting)
{
    ScriptedPopulate memory(EINVAL);
    platform::FakeEventQueue events;
    TRamRecovery engine(memory, events);
    std::vector<int> residentWhenFilled;
    events.onDrain = [&](int drain) {
        residentWhenFilled.push_back(ResidentPages(memory.asked.at(drain - 1)));
        return false;
    };
    int steps = 0;
    engine.OnProgress = [&](QObject*, int) { ++steps; };
    engine.Defrag(8);
    EXPECT_EQ(steps, 16) << "a refused populate is no refused block";
    EXPECT_EQ(residentWhenFilled, std::vector<int>(8, kPagesPerBlock));
}

TEST(LinuxMemoryOnThisMachine, ABlockTheKernelCannotBackIsRefusedAndUnmapped)
{
    ScriptedPopulate memory(ENOMEM);
    EXPECT_EQ(memory.CommitBlock(), nullptr);
    ASSERT_EQ(memory.asked.size(), 1u);
    EXPECT_FALSE(IsMapped(memory.asked[0]));
}

TEST(LinuxMemoryOnThisMachine, ThisProcessVolunteersForTheOomKiller)
{
    ASSERT_TRUE(platform::VolunteerForOomKill());
    QFile score(QStringLiteral("/proc/self/oom_score_adj"));
    ASSERT_TRUE(score.open(QIODevice::ReadOnly));
    EXPECT_EQ(score.readAll().trimmed(), "1000");
}

}  // namespace
