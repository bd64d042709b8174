// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/PerfDataComposer.h"

#include <cstring>

#include "platform/SystemTime.h"

namespace platform {

namespace {

constexpr std::uint32_t kCounterValueOffset = 8;  // a counter block's 4-byte length, padded to 8
constexpr std::int64_t kUnitsPerSecond = 10'000'000;

std::uint32_t AlignTo8(std::size_t n)
{
    return static_cast<std::uint32_t>((n + 7) & ~std::size_t{7});
}

class Writer {
public:
    explicit Writer(std::vector<std::uint8_t>& out) : out_(out) {}

    std::size_t Reserve(std::size_t bytes)
    {
        const std::size_t at = out_.size();
        out_.resize(at + bytes, 0);
        return at;
    }
    std::size_t Size() const { return out_.size(); }
    void PutBytes(std::size_t at, const void* bytes, std::size_t count) { std::memcpy(out_.data() + at, bytes, count); }
    template <typename T>
    void Put(std::size_t at, T value)
    {
        PutBytes(at, &value, sizeof value);  // the layout is little-endian, as the host
    }

private:
    std::vector<std::uint8_t>& out_;
};

void WriteObject(Writer& w, const PerfObject& object)
{
    const auto counterCount = static_cast<std::uint32_t>(object.counters.size());
    const std::uint32_t definitionLength = perf::kObjectSize + counterCount * perf::kCounterDefinitionSize;
    const std::uint32_t counterBlockLength = kCounterValueOffset + 8 * counterCount;

    const std::size_t start = w.Reserve(definitionLength);
    w.Put<std::uint32_t>(start + perf::kObjectDefinitionLength, definitionLength);
    w.Put<std::uint32_t>(start + perf::kObjectHeaderLength, perf::kObjectSize);
    w.Put<std::uint32_t>(start + perf::kObjectNameTitleIndex, object.titleIndex);
    w.Put<std::uint32_t>(start + perf::kObjectNumCounters, counterCount);
    w.Put<std::int32_t>(start + perf::kObjectNumInstances, static_cast<std::int32_t>(object.instances.size()));

    for (std::uint32_t c = 0; c < counterCount; ++c) {
        const std::size_t at = start + perf::kObjectSize + c * perf::kCounterDefinitionSize;
        w.Put<std::uint32_t>(at + perf::kCounterByteLength, perf::kCounterDefinitionSize);
        w.Put<std::uint32_t>(at + perf::kCounterNameTitleIndex, object.counters[c].titleIndex);
        w.Put<std::uint32_t>(at + perf::kCounterType, object.counters[c].type);
        w.Put<std::uint32_t>(at + perf::kCounterSize, 8);
        w.Put<std::uint32_t>(at + perf::kCounterOffset, kCounterValueOffset + 8 * c);
    }

    for (const PerfInstance& instance : object.instances) {
        const std::size_t nameBytes = (instance.name.size() + 1) * sizeof(char16_t);
        const std::uint32_t instanceLength = AlignTo8(perf::kInstanceSize + nameBytes);
        const std::size_t at = w.Reserve(instanceLength);
        w.Put<std::uint32_t>(at + perf::kInstanceByteLength, instanceLength);
        w.Put<std::int32_t>(at + perf::kInstanceUniqueId, -1);  // instances are known by name
        w.Put<std::uint32_t>(at + perf::kInstanceNameOffset, perf::kInstanceSize);
        w.Put<std::uint32_t>(at + perf::kInstanceNameLength, static_cast<std::uint32_t>(nameBytes));
        w.PutBytes(at + perf::kInstanceSize, instance.name.data(), nameBytes - sizeof(char16_t));

        const std::size_t block = w.Reserve(counterBlockLength);
        w.Put<std::uint32_t>(block + perf::kCounterBlockByteLength, counterBlockLength);
        for (std::uint32_t c = 0; c < counterCount && c < instance.values.size(); ++c)
            w.Put<std::int64_t>(block + kCounterValueOffset + 8 * c, instance.values[c]);
    }

    w.Put<std::uint32_t>(start + perf::kObjectTotalByteLength, static_cast<std::uint32_t>(w.Size() - start));
}

}  // namespace

std::vector<std::uint8_t> ComposePerfData(const std::vector<PerfObject>& objects, std::int64_t time100ns)
{
    std::vector<std::uint8_t> out;
    Writer w(out);
    w.Reserve(perf::kBlockSize);
    w.PutBytes(0, u"PERF", 8);
    w.Put<std::uint32_t>(8, 1);  // LittleEndian
    w.Put<std::uint32_t>(perf::kBlockHeaderLength, perf::kBlockSize);
    w.Put<std::uint32_t>(perf::kBlockNumObjectTypes, static_cast<std::uint32_t>(objects.size()));
    w.Put<SystemTime>(perf::kBlockSystemTime, FileTimeToSystemTime(time100ns));
    w.Put<std::int64_t>(perf::kBlockPerfTime, time100ns);
    w.Put<std::int64_t>(perf::kBlockPerfFreq, kUnitsPerSecond);
    w.Put<std::int64_t>(perf::kBlockPerfTime100nSec, time100ns);

    for (const PerfObject& object : objects)
        WriteObject(w, object);
    w.Put<std::uint32_t>(perf::kBlockTotalByteLength, static_cast<std::uint32_t>(w.Size()));
    return out;
}

}  // namespace platform
