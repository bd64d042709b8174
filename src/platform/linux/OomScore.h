// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QString>

namespace platform {

// Should the kernel run out of memory anyway, it is to end this program, never another one.
// Returns false when the score could not be set (a read-only /proc, a sandbox): the caller must
// then keep further from the edge.
bool VolunteerForOomKill(const QString& procDir = QStringLiteral("/proc"));

}  // namespace platform
