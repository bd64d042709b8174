// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

// What GetVersionExA reports: the platform (1 the Windows 95 family, 2 NT), the version numbers
// and the service-pack text.
struct VersionRecord {
    static constexpr std::uint32_t kPlatformWindows = 1;
    static constexpr std::uint32_t kPlatformNt = 2;

    std::uint32_t platformId = 0;
    std::uint32_t majorVersion = 0;
    std::uint32_t minorVersion = 0;
    std::string csdVersion;
};

// A registry value as stored: its type code and its bytes.
struct RegistryValue {
    static constexpr std::uint32_t kDword = 4;

    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
};

// The system's version record and the few sources the version identification reads besides it.
// Every answer may be missing: a system that is no Windows has none of them.
class IVersionInfo {
public:
    virtual ~IVersionInfo() = default;
    virtual std::optional<VersionRecord> Version() = 0;
    // wServicePackMajor of the extended record (Windows 2000 and later).
    virtual std::optional<std::uint16_t> ServicePackMajor() = 0;
    // The root block ("\") of kernel32.dll's version resource, exactly as the resource holds it.
    virtual std::optional<std::vector<std::uint8_t>> Kernel32RootBlock() = 0;
    // A value under HKEY_LOCAL_MACHINE, the key path given as it is opened.
    virtual std::optional<RegistryValue> MachineValue(const std::string& keyPath, const std::string& name) = 0;
    // The running system's own name where it is no Windows version (distribution and kernel);
    // empty on Windows.
    virtual std::string SystemName() = 0;
};

}  // namespace platform
