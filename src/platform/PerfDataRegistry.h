// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

namespace platform {

// The system's performance data, read like the registry value of the same name: a caller's
// buffer is filled with one performance data block, or the answer says it needs more room.
class IPerfDataRegistry {
public:
    enum class Answer {
        Success,   // the block is in the buffer; size holds its length
        MoreData,  // the block does not fit; the buffer's content is unspecified
        Failure,
    };

    virtual ~IPerfDataRegistry() = default;
    // valueName is the decimal title index of the object wanted ("238": the processor object).
    // size gives the buffer's capacity on entry.
    virtual Answer Query(std::string_view valueName, std::uint8_t* buffer, std::uint32_t& size) = 0;

protected:
    // Hands a whole block over as Query promises: into the buffer if it fits, else MoreData.
    static Answer Deliver(const std::vector<std::uint8_t>& block, std::uint8_t* buffer, std::uint32_t& size)
    {
        if (block.size() > size)
            return Answer::MoreData;
        std::memcpy(buffer, block.data(), block.size());
        size = static_cast<std::uint32_t>(block.size());
        return Answer::Success;
    }
};

// The published layout of a performance data block (little-endian, the 32-bit records): the
// byte offsets of the fields the processor-load readers walk and the composer writes.
namespace perf {

constexpr std::uint32_t kProcessorObject = 238;  // the "Processor" object's title index
constexpr std::uint32_t kProcessorTime = 6;      // its "% Processor Time" counter
constexpr std::string_view kProcessorObjectName = "238";

// PERF_DATA_BLOCK
constexpr std::uint32_t kBlockTotalByteLength = 20;
constexpr std::uint32_t kBlockHeaderLength = 24;
constexpr std::uint32_t kBlockNumObjectTypes = 28;
constexpr std::uint32_t kBlockSystemTime = 36;  // a SYSTEMTIME, 16 bytes
constexpr std::uint32_t kBlockPerfTime = 56;
constexpr std::uint32_t kBlockPerfFreq = 64;
constexpr std::uint32_t kBlockPerfTime100nSec = 72;
constexpr std::uint32_t kBlockSize = 88;

// PERF_OBJECT_TYPE
constexpr std::uint32_t kObjectTotalByteLength = 0;
constexpr std::uint32_t kObjectDefinitionLength = 4;
constexpr std::uint32_t kObjectHeaderLength = 8;
constexpr std::uint32_t kObjectNameTitleIndex = 12;
constexpr std::uint32_t kObjectNumCounters = 32;
constexpr std::uint32_t kObjectNumInstances = 40;
constexpr std::uint32_t kObjectSize = 64;

// PERF_COUNTER_DEFINITION
constexpr std::uint32_t kCounterByteLength = 0;
constexpr std::uint32_t kCounterNameTitleIndex = 4;
constexpr std::uint32_t kCounterType = 28;
constexpr std::uint32_t kCounterSize = 32;
constexpr std::uint32_t kCounterOffset = 36;
constexpr std::uint32_t kCounterDefinitionSize = 40;

// PERF_INSTANCE_DEFINITION
constexpr std::uint32_t kInstanceByteLength = 0;
constexpr std::uint32_t kInstanceUniqueId = 12;
constexpr std::uint32_t kInstanceNameOffset = 16;
constexpr std::uint32_t kInstanceNameLength = 20;
constexpr std::uint32_t kInstanceSize = 24;

// PERF_COUNTER_BLOCK
constexpr std::uint32_t kCounterBlockByteLength = 0;

constexpr std::uint32_t kPerf100nsTimerInv = 0x25510500;  // idle time counted in 100 ns
constexpr std::uint32_t kPerfLargeRawCount = 0x00010100;

}  // namespace perf

}  // namespace platform
