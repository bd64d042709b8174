// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/OomScore.h"

#include <QFile>
#include <string_view>

#include <fcntl.h>
#include <unistd.h>

#include "platform/linux/KernelFiles.h"

namespace platform {

bool VolunteerForOomKill(const QString& procDir)
{
    const QString path = procDir + QStringLiteral("/self/oom_score_adj");
    constexpr std::string_view kScore = "1000\n";
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool written = ::write(fd, kScore.data(), kScore.size()) == static_cast<ssize_t>(kScore.size());
    const bool closed = ::close(fd) == 0;
    // Read back: a sandbox may take the write and keep the old score.
    return written && closed && KernelValue(ReadKernelFile(path)) == 1000;
}

}  // namespace platform
