// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/RecoverReport.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "recovery/RecoveryAmounts.h"

void PrintLine(const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stdout);
    std::fputc('\n', stdout);
}

std::int64_t Megabytes(std::int64_t bytes)
{
    return RoundHalfEven(static_cast<double>(bytes) / platform::IMemory::kBlockSize);
}

void PrintMemoryReport(const platform::MemoryStatus& before, const platform::MemoryStatus& after)
{
    PrintLine(QStringLiteral(" Quantité récupérée : %1 MB").arg(GainMegabytes(before.availPhys, after.availPhys)));
    PrintLine(QStringLiteral("Mémoire disponible : %1 MB avant, %2 MB après")
                  .arg(Megabytes(before.availPhys))
                  .arg(Megabytes(after.availPhys)));
    PrintLine(QStringLiteral("Cache libéré : %1 MB").arg(Megabytes(before.cached - after.cached)));
}

int ReportWritten(int status)
{
    errno = 0;
    const bool flushed = std::fflush(stdout) == 0;
    const int error = errno;
    if (flushed && std::ferror(stdout) == 0)
        return status;
    if (error != 0)
        std::fprintf(stderr, "mnemora-recover : impossible d'écrire le rapport : %s\n", std::strerror(error));
    else
        std::fputs("mnemora-recover : impossible d'écrire le rapport.\n", stderr);
    return 1;
}
