// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>

#include "platform/SystemTime.h"

// The largest block either processor-load reader makes room for: the processor object of a
// machine with thousands of CPUs fits many times over, and a source that keeps asking for more
// room is broken, not big.
inline constexpr std::uint32_t kMaxPerfDataSize = 1 << 20;

// Counters and stamps are differenced modulo 2^64, as the counters themselves wrap; garbage in a
// block must not become undefined arithmetic.
inline std::int64_t CounterDifference(std::int64_t later, std::int64_t earlier)
{
    return static_cast<std::int64_t>(static_cast<std::uint64_t>(later) - static_cast<std::uint64_t>(earlier));
}

// A performance data block as the processor-load readers walk it. The block comes from outside
// the program, so every read is checked against the bytes the query delivered, and a search
// looks only at the entries the block announces: an entry that lies outside the block, or past
// the announced count, is no entry.
class PerfDataView {
public:
    PerfDataView(const std::uint8_t* data, std::size_t length) : data_(data), length_(length) {}

    std::optional<std::uint32_t> U32(std::uint64_t at) const { return Read<std::uint32_t>(at); }
    std::optional<std::int32_t> I32(std::uint64_t at) const { return Read<std::int32_t>(at); }
    std::optional<std::int64_t> I64(std::uint64_t at) const { return Read<std::int64_t>(at); }
    std::optional<platform::SystemTime> Time(std::uint64_t at) const { return Read<platform::SystemTime>(at); }

    // Offset of the first announced object with this title index.
    std::optional<std::uint64_t> FindObject(std::uint32_t titleIndex) const;
    // Offset of the first of the object's announced counter definitions with this title index.
    // Definitions are stepped by their own ByteLength, or by fixedStep when it is not 0.
    std::optional<std::uint64_t> FindCounter(std::uint64_t object, std::uint32_t titleIndex,
                                             std::uint32_t fixedStep = 0) const;

private:
    template <typename T>
    std::optional<T> Read(std::uint64_t at) const
    {
        if (at > length_ || length_ - at < sizeof(T))
            return std::nullopt;
        T value;
        std::memcpy(&value, data_ + at, sizeof value);
        return value;
    }

    const std::uint8_t* data_;
    std::size_t length_;
};
