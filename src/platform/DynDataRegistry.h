// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <optional>
#include <string_view>

namespace platform {

// The dynamic-data registry branch of Windows 95/98/Me, where the kernel's statistics live.
// Reading a value of its "PerfStats\StartStat" or "PerfStats\StopStat" key switches that
// statistic on or off. Linux has no such branch: only the tests double it.
class IDynDataRegistry {
public:
    using Key = std::uintptr_t;
    enum class Access { Read, AllAccess };

    virtual ~IDynDataRegistry() = default;
    virtual std::optional<Key> OpenKey(std::string_view path, Access access) = 0;
    // A 4-byte value; value is left alone when the read fails.
    virtual bool ReadDword(Key key, std::string_view valueName, std::uint32_t& value) = 0;
    virtual void CloseKey(Key key) = 0;
};

}  // namespace platform
