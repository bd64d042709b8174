// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/fake/FakePerfDataRegistry.h"

#include <cstring>

namespace platform {

IPerfDataRegistry::Answer FakePerfDataRegistry::Query(std::string_view valueName, std::uint8_t* buffer, std::uint32_t& size)
{
    valueNames.emplace_back(valueName);
    offeredSizes.push_back(size);
    if (beforeQuery)
        beforeQuery();
    if (forcedAnswer)
        return *forcedAnswer;
    return Deliver(block, buffer, size);
}

}  // namespace platform
