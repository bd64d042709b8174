// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include "platform/VersionInfo.h"

namespace platform {

// Linux is no Windows version: no version record, no service pack, no kernel32.dll, no machine
// registry values; its name is the distribution's and the kernel's.
class LinuxVersionInfo : public IVersionInfo {
public:
    std::optional<VersionRecord> Version() override { return std::nullopt; }
    std::optional<std::uint16_t> ServicePackMajor() override { return std::nullopt; }
    std::optional<std::vector<std::uint8_t>> Kernel32RootBlock() override { return std::nullopt; }
    std::optional<RegistryValue> MachineValue(const std::string&, const std::string&) override { return std::nullopt; }
    // PRETTY_NAME of os-release, a blank and the kernel release.
    std::string SystemName() override;

    // PRETTY_NAME of an os-release text, unquoted; "Linux" when it has none.
    static std::string PrettyName(const std::string& osRelease);
};

}  // namespace platform
