// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/ProcStatPerfData.h"

#include <QFile>
#include <charconv>
#include <cstring>
#include <ctime>
#include <string_view>

#include <unistd.h>

#include "platform/linux/PerfDataComposer.h"

namespace platform {

namespace {

constexpr std::int64_t kUnitsPerSecond = 10'000'000;

struct CpuIdle {
    std::u16string name;
    std::int64_t ticks = 0;
};

// "cpu3 user nice system idle iowait irq ..." -> idle + iowait for every numbered CPU line; the
// summary line "cpu " is left out. Kernels before 2.6 have no iowait column: it counts as 0.
std::vector<CpuIdle> ParseCpuLines(std::string_view text)
{
    std::vector<CpuIdle> cpus;
    while (!text.empty()) {
        const std::size_t eol = text.find('\n');
        std::string_view line = text.substr(0, eol);
        text = eol == std::string_view::npos ? std::string_view() : text.substr(eol + 1);
        if (!line.starts_with("cpu") || line.size() < 4 || line[3] < '0' || line[3] > '9')
            continue;
        const std::size_t blank = line.find(' ');
        const std::string_view number = line.substr(3, blank - 3);
        line = blank == std::string_view::npos ? std::string_view() : line.substr(blank);

        std::int64_t columns[5] = {};
        int read = 0;
        for (; read < 5; ++read) {
            const std::size_t digits = line.find_first_not_of(' ');
            if (digits == std::string_view::npos)
                break;
            const auto [end, error] = std::from_chars(line.data() + digits, line.data() + line.size(), columns[read]);
            if (error != std::errc())
                break;
            line.remove_prefix(static_cast<std::size_t>(end - line.data()));
        }
        if (read < 4)
            continue;
        cpus.push_back({std::u16string(number.begin(), number.end()), columns[3] + columns[4]});
    }
    return cpus;
}

}  // namespace

std::int64_t ProcStatPerfData::MonotonicNow()
{
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return std::int64_t{now.tv_sec} * kUnitsPerSecond + now.tv_nsec / 100;
}

ProcStatPerfData::ProcStatPerfData(QString statPath, MonotonicClock clock)
    : stat_(std::move(statPath)), clock_(std::move(clock)), unitsPerTick_(kUnitsPerSecond / ::sysconf(_SC_CLK_TCK))
{
}

IPerfDataRegistry::Answer ProcStatPerfData::Query(std::string_view valueName, std::uint8_t* buffer, std::uint32_t& size)
{
    if (valueName != perf::kProcessorObjectName)
        return Answer::Failure;
    const std::string_view text = stat_.Read();
    if (text.empty())
        return Answer::Failure;
    const std::int64_t now = clock_();
    const std::vector<CpuIdle> cpus = ParseCpuLines(text);
    if (cpus.empty())
        return Answer::Failure;

    // The machine as a whole comes first: the program reads processor 0, which on the single-CPU
    // machines it was made for was the machine. Here it is the load of all CPUs together.
    PerfObject processor{perf::kProcessorObject, {{perf::kProcessorTime, perf::kPerf100nsTimerInv}}, {}};
    std::int64_t sum = 0;
    for (const CpuIdle& cpu : cpus)
        sum += cpu.ticks * unitsPerTick_;
    processor.instances.push_back({u"_Total", {sum / static_cast<std::int64_t>(cpus.size())}});
    for (const CpuIdle& cpu : cpus)
        processor.instances.push_back({cpu.name, {cpu.ticks * unitsPerTick_}});

    const std::vector<std::uint8_t> block = ComposePerfData({processor}, now);
    return Deliver(block, buffer, size);
}

}  // namespace platform
