// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/fake/FakeVersionInfo.h"

namespace platform {

namespace {

void PutDword(std::vector<std::uint8_t>& bytes, std::size_t offset, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

}  // namespace

std::optional<RegistryValue> FakeVersionInfo::MachineValue(const std::string& keyPath, const std::string& name)
{
    const auto value = machineValues.find({keyPath, name});
    if (value == machineValues.end())
        return std::nullopt;
    return value->second;
}

void FakeVersionInfo::SetKernel32ProductVersion(std::uint32_t productVersionHigh)
{
    std::vector<std::uint8_t> block(52);
    PutDword(block, 0, 0xFEEF04BD);  // the fixed file information's signature
    PutDword(block, 16, productVersionHigh);
    kernel32RootBlock = block;
}

void FakeVersionInfo::SetMachineDword(const std::string& keyPath, const std::string& name, std::uint32_t value)
{
    RegistryValue stored{RegistryValue::kDword, std::vector<std::uint8_t>(4)};
    PutDword(stored.data, 0, value);
    machineValues[{keyPath, name}] = stored;
}

}  // namespace platform
