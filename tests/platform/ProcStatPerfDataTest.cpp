// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <cstring>
#include <string>
#include <vector>

#include <unistd.h>

#include "platform/SystemTime.h"
#include "platform/linux/ProcStatPerfData.h"

namespace {

using Answer = platform::IPerfDataRegistry::Answer;

template <typename T>
T Get(const std::vector<std::uint8_t>& block, std::size_t at)
{
    T value;
    std::memcpy(&value, block.data() + at, sizeof value);
    return value;
}

std::u16string NameAt(const std::vector<std::uint8_t>& block, std::size_t instance)
{
    const auto offset = Get<std::uint32_t>(block, instance + 16);
    const auto length = Get<std::uint32_t>(block, instance + 20);
    std::u16string name(length / 2, u'\0');
    std::memcpy(name.data(), block.data() + instance + offset, length);
    return name;
}

// A /proc/stat the test writes, read through the composer with a clock the test sets.
class ProcStat : public ::testing::Test {
protected:
    void Write(const char* text)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
    }

    Answer Query(std::vector<std::uint8_t>& block, std::string_view name = "238")
    {
        block.assign(65536, 0xcc);
        std::uint32_t size = static_cast<std::uint32_t>(block.size());
        const Answer answer = perfData.Query(name, block.data(), size);
        if (answer == Answer::Success)
            block.resize(size);
        return answer;
    }

    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("stat"));
    std::int64_t now = 0;
    platform::ProcStatPerfData perfData{path, [this] { return now; }};
    const std::int64_t unitsPerTick = 10'000'000 / ::sysconf(_SC_CLK_TCK);
};

TEST_F(ProcStat, ComposesTheProcessorObjectAtThePublishedOffsets)
{
    Write("cpu  30 1 2 300 40 0 0 0 0 0\n"
          "cpu0 10 1 2 100 7 0 0 0 0 0\n"
          "cpu1 20 0 0 200 33 0 0 0 0 0\n"
          "intr 12345 0 0\n"
          "ctxt 999\n");
    now = 3 * 86'400 * 10'000'000LL + 12'345'678;
    std::vector<std::uint8_t> block;
    ASSERT_EQ(Query(block), Answer::Success);

    EXPECT_EQ(std::memcmp(block.data(), u"PERF", 8), 0);
    EXPECT_EQ(Get<std::uint32_t>(block, 20), block.size()) << "TotalByteLength";
    const auto header = Get<std::uint32_t>(block, 24);
    EXPECT_EQ(Get<std::uint32_t>(block, 28), 1u) << "NumObjectTypes";
    platform::SystemTime time;
    std::memcpy(&time, block.data() + 36, sizeof time);
    EXPECT_EQ(platform::SystemTimeToFileTime(time), now / 10'000 * 10'000) << "SystemTime, to the millisecond";
    EXPECT_EQ(Get<std::int64_t>(block, 72), now) << "PerfTime100nSec";

    const std::size_t object = header;
    EXPECT_EQ(Get<std::uint32_t>(block, object + 0), block.size() - object) << "TotalByteLength";
    EXPECT_EQ(Get<std::uint32_t>(block, object + 12), 238u);
    EXPECT_EQ(Get<std::uint32_t>(block, object + 32), 1u) << "NumCounters";
    EXPECT_EQ(Get<std::int32_t>(block, object + 40), 3) << "two CPUs and _Total";

    const std::size_t counter = object + Get<std::uint32_t>(block, object + 8);
    EXPECT_EQ(Get<std::uint32_t>(block, counter + 0), 40u);
    EXPECT_EQ(Get<std::uint32_t>(block, counter + 4), 6u);
    EXPECT_EQ(Get<std::uint32_t>(block, counter + 28), 0x25510500u) << "a 100 ns idle timer";
    const auto counterOffset = Get<std::uint32_t>(block, counter + 36);

    std::size_t instance = object + Get<std::uint32_t>(block, object + 4);
    const std::vector<std::pair<std::u16string, std::int64_t>> expected = {
        {std::u16string(u"_Total\0", 7), 170 * unitsPerTick},
        {std::u16string(u"0\0", 2), 107 * unitsPerTick},
        {std::u16string(u"1\0", 2), 233 * unitsPerTick},
    };
    for (const auto& [name, idle] : expected) {
        EXPECT_EQ(NameAt(block, instance), name);
        const std::size_t counterBlock = instance + Get<std::uint32_t>(block, instance + 0);
        EXPECT_EQ(Get<std::int64_t>(block, counterBlock + counterOffset), idle);
        instance = counterBlock + Get<std::uint32_t>(block, counterBlock + 0);
    }
    EXPECT_EQ(instance, block.size());
}

TEST_F(ProcStat, AnOldKernelWithoutIowaitCountsIdleAlone)
{
    Write("cpu  1 2 3 4\ncpu0 1 2 3 4\n");
    std::vector<std::uint8_t> block;
    ASSERT_EQ(Query(block), Answer::Success);
    EXPECT_EQ(Get<std::int32_t>(block, 88 + 40), 2);
    EXPECT_EQ(Get<std::int64_t>(block, 88 + 64 + 40 + 32 + 16), 4 * unitsPerTick) << "_Total, the one CPU";
}

TEST_F(ProcStat, ASmallBufferAsksForMoreRoomAndIsLeftAlone)
{
    Write("cpu0 1 2 3 4 5\ncpu1 1 2 3 4 5\n");
    std::vector<std::uint8_t> block;
    ASSERT_EQ(Query(block), Answer::Success);
    const std::size_t needed = block.size();

    std::vector<std::uint8_t> small(needed - 1, 0xcc);
    std::uint32_t size = static_cast<std::uint32_t>(small.size());
    EXPECT_EQ(perfData.Query("238", small.data(), size), Answer::MoreData);
    EXPECT_EQ(small, std::vector<std::uint8_t>(needed - 1, 0xcc));

    std::vector<std::uint8_t> exact(needed);
    size = static_cast<std::uint32_t>(exact.size());
    EXPECT_EQ(perfData.Query("238", exact.data(), size), Answer::Success);
    EXPECT_EQ(size, needed);
}

TEST_F(ProcStat, OnlyTheProcessorObjectOfAReadableFileIsKnown)
{
    std::vector<std::uint8_t> block;
    EXPECT_EQ(Query(block), Answer::Failure) << "no file";
    Write("intr 1 2 3\nctxt 4\n");
    EXPECT_EQ(Query(block), Answer::Failure) << "no CPU lines";
    Write("cpu0 1 2 3 4 5\n");
    EXPECT_EQ(Query(block, "Global"), Answer::Failure);
    EXPECT_EQ(Query(block, "230"), Answer::Failure);
    EXPECT_EQ(Query(block, "238"), Answer::Success);
}

TEST(ProcStatLive, TheMachinesOwnProcStatGivesOneInstancePerListedCpuAndATotal)
{
    QFile stat(QStringLiteral("/proc/stat"));
    ASSERT_TRUE(stat.open(QIODevice::ReadOnly));
    int cpus = 0;
    for (const QByteArray& line : stat.readAll().split('\n'))
        cpus += line.startsWith("cpu") && line.size() > 3 && line[3] != ' ';

    platform::ProcStatPerfData perfData;
    std::vector<std::uint8_t> block(65536);
    std::uint32_t size = static_cast<std::uint32_t>(block.size());
    ASSERT_EQ(perfData.Query("238", block.data(), size), Answer::Success);
    EXPECT_EQ(Get<std::int32_t>(block, 88 + 40), cpus + 1);
}

TEST(SystemTime, ConvertsLikeTheSystemCalls)
{
    constexpr std::int64_t kUnixEpoch = 116'444'736'000'000'000;
    constexpr std::int64_t kDay = 864'000'000'000;
    EXPECT_EQ(platform::SystemTimeToFileTime({1970, 1, 4, 1, 0, 0, 0, 0}), kUnixEpoch);
    EXPECT_EQ(platform::SystemTimeToFileTime({1601, 1, 1, 1, 0, 0, 0, 0}), 0);
    EXPECT_EQ(platform::SystemTimeToFileTime({2000, 2, 0, 29, 23, 59, 59, 999}),
              platform::SystemTimeToFileTime({2000, 3, 0, 1, 0, 0, 0, 0}).value() - 10'000);

    for (const platform::SystemTime bad : {platform::SystemTime{1600, 12, 0, 31, 0, 0, 0, 0},
                                           platform::SystemTime{2001, 2, 0, 29, 0, 0, 0, 0},
                                           platform::SystemTime{1900, 2, 0, 29, 0, 0, 0, 0},
                                           platform::SystemTime{2001, 13, 0, 1, 0, 0, 0, 0},
                                           platform::SystemTime{2001, 0, 0, 1, 0, 0, 0, 0},
                                           platform::SystemTime{2001, 4, 0, 31, 0, 0, 0, 0},
                                           platform::SystemTime{2001, 1, 0, 1, 24, 0, 0, 0},
                                           platform::SystemTime{2001, 1, 0, 1, 0, 0, 0, 1000}})
        EXPECT_FALSE(platform::SystemTimeToFileTime(bad)) << bad.year << "-" << bad.month << "-" << bad.day;

    const platform::SystemTime monday = platform::FileTimeToSystemTime(kUnixEpoch + 4 * kDay);
    EXPECT_EQ(monday.day, 5);
    EXPECT_EQ(monday.dayOfWeek, 1);

    // Uptimes and dates alike come back to the millisecond.
    for (std::int64_t units = 0; units < 200 * 365 * kDay; units += 97 * kDay + 123'456'789)
        EXPECT_EQ(platform::SystemTimeToFileTime(platform::FileTimeToSystemTime(units)), units / 10'000 * 10'000);
}

}  // namespace
