// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>
#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// The small text files of /proc and /sys, read with plain read(2): they are read once per 16 MiB
// of a recovery run, and QFile's buffering costs more than the read itself. Empty when unreadable.
std::string ReadKernelFile(const QString& path);

// The number on the line that starts with key, followed by ':' or a blank ("MemTotal:  24 kB",
// "inactive_file 4096"); -1 when the key is absent or its value is not a number that fits.
std::int64_t KernelField(std::string_view text, std::string_view key);

// The first number of a one-value file (memory.max, memory.limit_in_bytes); -1 when there is
// none ("max", empty, unreadable, out of range).
std::int64_t KernelValue(std::string_view text);

}  // namespace platform
