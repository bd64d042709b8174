// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/CpuUsage.h"

#include <algorithm>

#include "monitor/PerfDataView.h"
#include "platform/ProgramError.h"

namespace perf = platform::perf;
using Access = platform::IDynDataRegistry::Access;

namespace {

constexpr const char* kNoVersion = "Can't get the Windows version";
constexpr const char* kNoProcessorObject = "Unable to locate the \"Processor\" performance object";
constexpr const char* kNoProcessorTime = "Unable to locate the \"% of CPU usage\" performance counter";
constexpr const char* kCantStart = "Unable to start performance monitoring";
constexpr const char* kCantRead = "Unable to read performance data";
constexpr const char* kBadIndex = "CPU index out of bounds";

constexpr const char* kStartStatKey = "PerfStats\\StartStat";
constexpr const char* kStatDataKey = "PerfStats\\StatData";
constexpr const char* kStopStatKey = "PerfStats\\StopStat";
constexpr const char* kCpuUsageValue = "KERNEL\\CPUUsage";

}  // namespace

TCpuUsage::TCpuUsage(platform::IPerfDataRegistry& perfData, Family family, platform::IDynDataRegistry* dynData)
    : perfData_(perfData), dynData_(dynData), family_(family), isNtFamily_(family == Family::WindowsNt)
{
}

TCpuUsage::~TCpuUsage()
{
    StopCpuStatistic();  // a 9x key left open would outlive the sampler
}

void TCpuUsage::SetUp()
{
    if (setUps_ > 0) {
        ++setUps_;
        return;
    }
    if (family_ == Family::Unidentified)
        throw ProgramError(kNoVersion);
    perfBuffer_.assign(kInitialBufferSize, 0);
    perfDataLength_ = 0;
    cpuCount_ = -1;
    idleNow_.clear();
    idleBefore_.clear();
    stampNow_ = stampBefore_ = 0;
    completedSamples_ = 0;
    ++setUps_;
}

void TCpuUsage::TearDown()
{
    if (setUps_ == 0 || --setUps_ > 0)
        return;
    StopCpuStatistic();
    perfBuffer_ = {};
    perfDataLength_ = 0;
}

void TCpuUsage::TakeCpuSample()
{
    if (isNtFamily_)
        TakeNtSample();
    else
        Take9xSample();
}

void TCpuUsage::QueryPerfData()
{
    using Answer = platform::IPerfDataRegistry::Answer;
    Answer answer;
    std::uint32_t size;
    for (;;) {
        size = static_cast<std::uint32_t>(perfBuffer_.size());
        answer = perfData_.Query(perf::kProcessorObjectName, perfBuffer_.data(), size);
        if (answer != Answer::MoreData || perfBuffer_.size() + kBufferGrowth > kMaxPerfDataSize)
            break;
        perfBuffer_.resize(perfBuffer_.size() + kBufferGrowth);
    }
    // A failed query leaves the last block in place: parsing it again repeats that sample.
    if (answer == Answer::Success)
        perfDataLength_ = std::min<std::size_t>(size, perfBuffer_.size());
}

void TCpuUsage::TakeNtSample()
{
    QueryPerfData();
    const PerfDataView view(perfBuffer_.data(), perfDataLength_);

    const auto object = view.FindObject(perf::kProcessorObject);
    if (!object)
        throw ProgramError(kNoProcessorObject);
    const auto instances = view.I32(*object + perf::kObjectNumInstances);
    if (cpuCount_ < 0) {
        // A count the block could not hold would only make the arrays huge.
        if (!instances || *instances < 0 || static_cast<std::size_t>(*instances) > perfDataLength_ / perf::kInstanceSize)
            throw ProgramError(kNoProcessorObject);
        cpuCount_ = *instances;
        idleNow_.assign(static_cast<std::size_t>(cpuCount_), 0);
        idleBefore_.assign(static_cast<std::size_t>(cpuCount_), 0);
    }

    const auto counter = view.FindCounter(*object, perf::kProcessorTime);
    if (!counter)
        throw ProgramError(kNoProcessorTime);

    // Every value is read before any is kept: a block that ends early, or announces fewer
    // instances than the first sample did, leaves the counters and stamps as they were.
    const auto counterOffset = view.U32(*counter + perf::kCounterOffset);
    const auto definitionLength = view.U32(*object + perf::kObjectDefinitionLength);
    if (!counterOffset || !definitionLength || !instances || *instances < cpuCount_)
        throw ProgramError(kNoProcessorTime);
    std::vector<std::int64_t> values(static_cast<std::size_t>(cpuCount_));
    std::uint64_t instance = *object + *definitionLength;
    for (std::int64_t& value : values) {
        const auto instanceLength = view.U32(instance + perf::kInstanceByteLength);
        if (!instanceLength)
            throw ProgramError(kNoProcessorTime);
        const std::uint64_t counterBlock = instance + *instanceLength;
        const auto reading = view.I64(counterBlock + *counterOffset);
        const auto blockLength = view.U32(counterBlock + perf::kCounterBlockByteLength);
        if (!reading || !blockLength)
            throw ProgramError(kNoProcessorTime);
        value = *reading;
        instance = counterBlock + *blockLength;
    }

    idleBefore_ = std::move(idleNow_);
    idleNow_ = std::move(values);
    stampBefore_ = stampNow_;
    // A time the calendar refuses keeps the previous stamp: the load then reads 0.
    if (const auto time = view.Time(perf::kBlockSystemTime)) {
        if (const auto units = platform::SystemTimeToFileTime(*time))
            stampNow_ = *units;
    }
    completedSamples_ = std::min(completedSamples_ + 1, 2);
}

std::optional<platform::IDynDataRegistry::Key> TCpuUsage::OpenDynKey(const char* path, Access access)
{
    if (dynData_ == nullptr)
        return std::nullopt;
    return dynData_->OpenKey(path, access);
}

void TCpuUsage::Take9xSample()
{
    if (!win9xStatOn_) {
        const auto start = OpenDynKey(kStartStatKey, Access::AllAccess);
        if (!start)
            throw ProgramError(kCantStart);
        dynData_->ReadDword(*start, kCpuUsageValue, win9xLoad_);  // reading it starts the statistic
        dynData_->CloseKey(*start);
        const auto data = OpenDynKey(kStatDataKey, Access::Read);
        if (!data)
            throw ProgramError(kCantRead);
        win9xStatKey_ = *data;
        win9xStatOn_ = true;
    }
    dynData_->ReadDword(win9xStatKey_, kCpuUsageValue, win9xLoad_);
}

double TCpuUsage::CpuLoadFraction(std::int32_t index)
{
    if (!isNtFamily_) {
        if (index != 0)
            throw ProgramError(kBadIndex);
        if (!win9xStatOn_)
            TakeCpuSample();
        return win9xLoad_ / 100.0;
    }

    if (cpuCount_ < 0)
        TakeCpuSample();
    if (index < 0 || index >= cpuCount_)
        throw ProgramError(kBadIndex);
    // The first sample has no predecessor to compare with: no load is known yet.
    if (completedSamples_ < 2 || stampNow_ == stampBefore_)
        return 0.0;
    const auto i = static_cast<std::size_t>(index);
    const std::int64_t idle = CounterDifference(idleNow_[i], idleBefore_[i]);
    const std::int64_t elapsed = CounterDifference(stampNow_, stampBefore_);
    return 1.0 - static_cast<double>(idle) / static_cast<double>(elapsed);
}

void TCpuUsage::StopCpuStatistic()
{
    if (isNtFamily_ || !win9xStatOn_)
        return;
    win9xStatOn_ = false;
    dynData_->CloseKey(win9xStatKey_);
    if (const auto stop = OpenDynKey(kStopStatKey, Access::AllAccess)) {
        dynData_->ReadDword(*stop, kCpuUsageValue, win9xLoad_);  // reading it stops the statistic
        dynData_->CloseKey(*stop);
    }
}
