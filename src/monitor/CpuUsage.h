// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/DynDataRegistry.h"
#include "platform/PerfDataRegistry.h"

// The processor-load sampler. On the NT family (and on Linux, whose performance data is composed
// in the same layout) it reads the processor object of the performance data and computes, from
// two successive samples, the share of time each processor instance was not idle. On Windows
// 95/98/Me it switches on the kernel's own CPU-usage statistic and reads its percentage.
//
// One sampler serves the whole program: main() sets it up before the main window exists and
// tears it down after the window is gone; the window samples it from its CPU timer and stops
// the statistic when it is destroyed. Failures raise ProgramError with English texts.
class TCpuUsage {
public:
    enum class Family {
        Unidentified,  // the system would not tell its version
        Windows9x,
        WindowsNt,     // Linux too
    };

    static constexpr std::uint32_t kInitialBufferSize = 8192;
    static constexpr std::uint32_t kBufferGrowth = 4096;

    // dynData is needed on the 9x family only; without it the statistic can't be started.
    explicit TCpuUsage(platform::IPerfDataRegistry& perfData, Family family = Family::WindowsNt,
                       platform::IDynDataRegistry* dynData = nullptr);
    ~TCpuUsage();
    TCpuUsage(const TCpuUsage&) = delete;
    TCpuUsage& operator=(const TCpuUsage&) = delete;

    // Counted: only the first set-up and the last tear-down act. The first raises "Can't get the
    // Windows version" when the family is unidentified, and the sampler then stays down.
    void SetUp();
    void TearDown();
    bool IsSetUp() const { return setUps_ > 0; }

    void TakeCpuSample();
    // The load of processor `index` between the last two samples, 1.0 for 100 %; unclamped.
    double CpuLoadFraction(std::int32_t index);
    // Switches the 9x statistic off; nothing on NT or when it is off.
    void StopCpuStatistic();

    // Processor instances, fixed by the first NT sample; -1 before it.
    std::int32_t CpuCount() const { return cpuCount_; }

private:
    void TakeNtSample();
    void Take9xSample();
    void QueryPerfData();
    std::optional<platform::IDynDataRegistry::Key> OpenDynKey(const char* path, platform::IDynDataRegistry::Access access);

    platform::IPerfDataRegistry& perfData_;
    platform::IDynDataRegistry* dynData_;
    Family family_;
    bool isNtFamily_;
    int setUps_ = 0;

    std::vector<std::uint8_t> perfBuffer_;
    std::size_t perfDataLength_ = 0;  // bytes of the last block the query delivered
    std::int32_t cpuCount_ = -1;
    std::vector<std::int64_t> idleNow_;
    std::vector<std::int64_t> idleBefore_;
    std::int64_t stampNow_ = 0;
    std::int64_t stampBefore_ = 0;
    int completedSamples_ = 0;  // counted up to 2: from then on every sample has a predecessor

    bool win9xStatOn_ = false;
    platform::IDynDataRegistry::Key win9xStatKey_ = 0;
    std::uint32_t win9xLoad_ = 0;
};
