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
    if (block.size() > size)
        return Answer::MoreData;
    std::memcpy(buffer, block.data(), block.size());
    size = static_cast<std::uint32_t>(block.size());
    return Answer::Success;
}

}  // namespace platform
