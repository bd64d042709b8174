// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <map>

#include "platform/VersionInfo.h"

namespace platform {

// A version record and its sources as a test composes them; a field left empty is a failed call.
class FakeVersionInfo : public IVersionInfo {
public:
    std::optional<VersionRecord> Version() override { return version; }
    std::optional<std::uint16_t> ServicePackMajor() override { return servicePackMajor; }
    std::optional<std::vector<std::uint8_t>> Kernel32RootBlock() override { return kernel32RootBlock; }
    std::optional<RegistryValue> MachineValue(const std::string& keyPath, const std::string& name) override;
    std::string SystemName() override { return systemName; }

    // A 52-byte fixed file information block with this product version (major << 16 | minor).
    void SetKernel32ProductVersion(std::uint32_t productVersionHigh);
    void SetMachineDword(const std::string& keyPath, const std::string& name, std::uint32_t value);

    std::optional<VersionRecord> version;
    std::optional<std::uint16_t> servicePackMajor;
    std::optional<std::vector<std::uint8_t>> kernel32RootBlock;
    std::map<std::pair<std::string, std::string>, RegistryValue> machineValues;
    std::string systemName;
};

}  // namespace platform
