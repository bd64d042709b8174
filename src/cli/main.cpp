// SPDX-License-Identifier: GPL-3.0-or-later
// mnemora-recover: one recovery run from a terminal, cron or a systemd timer, through the same
// engine as the tray program.
#include <QCoreApplication>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <unistd.h>

#include "cli/CountingMemory.h"
#include "cli/RecoverArguments.h"
#include "cli/TerminalProgress.h"
#include "platform/linux/LinuxMemory.h"
#include "platform/linux/OomScore.h"
#include "platform/linux/QtEventQueue.h"
#include "platform/linux/UnixSignalNotifier.h"
#include "recovery/RamRecovery.h"
#include "recovery/RecoveryAmounts.h"

namespace {

constexpr int kExitUsage = 2;
constexpr int kExitInterrupted = 128 + SIGINT;

void PrintLine(const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stdout);
    std::fputc('\n', stdout);
}

std::int64_t Megabytes(std::int64_t bytes)
{
    return RoundHalfEven(static_cast<double>(bytes) / platform::IMemory::kBlockSize);
}

// Like coreutils: a report that could not be written all the way is a failure, said on stderr.
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

// Runs as soon as the libraries are loaded, before any of their initialisers and before main:
// from then on a Ctrl+C waits for the handler (it then cancels the run) instead of ending the
// program without its report.
void HoldInterruptFromTheStart(int, char**, char**)
{
    sigset_t interrupt;
    sigemptyset(&interrupt);
    sigaddset(&interrupt, SIGINT);
    ::sigprocmask(SIG_BLOCK, &interrupt, nullptr);
}

[[gnu::section(".preinit_array"), gnu::used]] void (*const kHoldInterrupt)(int, char**, char**) = HoldInterruptFromTheStart;

}  // namespace

int main(int argc, char** argv)
{
    // A closed output (the reader of a pipe gone) must be a failure the report can tell, status 1
    // with a line on standard error, not a silent end by SIGPIPE. This program starts no other.
    std::signal(SIGPIPE, SIG_IGN);
    // Ctrl+C is held back from the first instant until its handler is in place (it then arrives
    // there): an early one cancels the run instead of killing the program without a report.
    sigset_t interrupt;
    sigemptyset(&interrupt);
    sigaddset(&interrupt, SIGINT);
    ::sigprocmask(SIG_BLOCK, &interrupt, nullptr);

    QCoreApplication app(argc, argv);
    const RecoverArguments arguments = RecoverArguments::Parse(QCoreApplication::arguments().mid(1));
    switch (arguments.method) {
    case RecoverArguments::Method::Invalid:
        std::fprintf(stderr, "mnemora-recover : %s — %s\n", arguments.problem.toLocal8Bit().constData(),
                     RecoverArguments::Usage().toLocal8Bit().constData());
        return kExitUsage;
    case RecoverArguments::Method::Help:
        PrintLine(RecoverArguments::Usage());
        PrintLine(QStringLiteral("Rend de la mémoire physique au système en une passe de récupération.\n"
                                 "  (sans argument)  méthode « Système » : la moitié de la mémoire installée\n"
                                 "  all              méthode « Tout » : toute la mémoire installée\n"
                                 "  MB               ce nombre de MB\n"
                                 "Une passe prend au plus 1024 MB. Ctrl+C l'annule."));
        return ReportWritten(0);
    case RecoverArguments::Method::Version:
        PrintLine(RecoverArguments::VersionText());
        return ReportWritten(0);
    default:
        break;
    }

    platform::LinuxMemory linuxMemory;
    if (!platform::VolunteerForOomKill()) {
        linuxMemory.WidenFloor();
        std::fputs("mnemora-recover : le noyau n'a pas accepté que ce programme soit arrêté en premier en cas de manque "
                   "de mémoire (oom_score_adj) ; la passe garde une marge deux fois plus large.\n",
                   stderr);
    }
    CountingMemory memory(linuxMemory);
    platform::QtEventQueue events;
    TRamRecovery engine(memory, events);
    TerminalProgress progress(stdout);
    const bool onTerminal = ::isatty(STDOUT_FILENO) == 1;

    bool interrupted = false;
    platform::UnixSignalNotifier signalNotifier({SIGINT});
    QObject::connect(&signalNotifier, &platform::UnixSignalNotifier::Raised, [&] {
        interrupted = true;
        engine.CancelDefrag();
    });
    ::sigprocmask(SIG_UNBLOCK, &interrupt, nullptr);

    platform::MemoryStatus before;
    platform::MemoryStatus after;
    engine.OnBeforeDefrag = [&](QObject*) {
        before = memory.Status();
        if (interrupted)  // Ctrl+C came before the run began
            engine.CancelDefrag();
    };
    engine.OnProgress = [&](QObject*, int percent) {
        if (onTerminal)
            progress.Draw(percent);
    };
    engine.OnAfterDefrag = [&](QObject*) { after = memory.Status(); };

    std::int64_t asked = 0;
    switch (arguments.method) {
    case RecoverArguments::Method::All:
        asked = engine.TotalMemory() / platform::IMemory::kBlockSize;
        break;
    case RecoverArguments::Method::Amount:
        asked = arguments.megabytes;
        break;
    default:
        asked = SystemMethodMegabytes(InstalledMegabytes(engine.TotalMemory()));
        break;
    }
    const int blocks = static_cast<int>(std::clamp<std::int64_t>(asked, 0, TRamRecovery::kMaxBlocks));
    QCoreApplication::processEvents();  // a Ctrl+C already pending
    engine.Defrag(static_cast<std::int32_t>(asked));
    progress.Finish();
    QCoreApplication::processEvents();  // a Ctrl+C during the release phase, which drains nothing

    PrintLine(QStringLiteral(" Quantité récupérée : %1 MB").arg(GainMegabytes(before.availPhys, after.availPhys)));
    PrintLine(QStringLiteral("Mémoire disponible : %1 MB avant, %2 MB après")
                  .arg(Megabytes(before.availPhys))
                  .arg(Megabytes(after.availPhys)));
    PrintLine(QStringLiteral("Cache libéré : %1 MB").arg(Megabytes(before.cached - after.cached)));
    // A run ends early when it is cancelled or a block is refused (the safety floor, a limit).
    PrintLine(QStringLiteral("Mémoire écrite : %1 MB sur %2 MB").arg(memory.committed).arg(blocks));
    return ReportWritten(interrupted ? kExitInterrupted : 0);
}
