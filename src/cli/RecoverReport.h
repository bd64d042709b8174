// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>
#include <cstdint>

#include "platform/MemoryApi.h"

// What mnemora-recover prints, on standard output, for either way of recovering.
void PrintLine(const QString& text);
// The three lines every run ends with: the gain, available memory before and after, the cache freed.
void PrintMemoryReport(const platform::MemoryStatus& before, const platform::MemoryStatus& after);
std::int64_t Megabytes(std::int64_t bytes);
// Like coreutils: a report that could not be written all the way is a failure, said on stderr.
// Returns status, or 1 then.
int ReportWritten(int status);
