// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/PerfDataRegistry.h"

namespace platform {

// Performance data a test composed: every query delivers `block` (or asks for more room when it
// does not fit), unless `forcedAnswer` says otherwise. Queries are recorded.
class FakePerfDataRegistry : public IPerfDataRegistry {
public:
    Answer Query(std::string_view valueName, std::uint8_t* buffer, std::uint32_t& size) override;

    std::function<void()> beforeQuery;  // may change what this query delivers
    std::vector<std::uint8_t> block;
    std::optional<Answer> forcedAnswer;  // MoreData or Failure: the buffer is not touched
    std::vector<std::string> valueNames;
    std::vector<std::uint32_t> offeredSizes;
};

}  // namespace platform
