#pragma once
#include <QString>

namespace platform {

// Should the kernel run out of memory anyway, it is to end this program, never another one.
// Returns false when the score could not be written.
bool VolunteerForOomKill(const QString& procDir = QStringLiteral("/proc"));

}  // namespace platform
