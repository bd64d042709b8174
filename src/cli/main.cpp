// SPDX-License-Identifier: GPL-3.0-or-later
// mnemora-recover: one recovery run from a terminal, cron or a systemd timer, through the same
// engine as the tray program.
#include <QCoreApplication>
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <optional>
#include <unistd.h>

#include "cli/CountingMemory.h"
#include "cli/RecoverArguments.h"
#include "cli/RecoverReport.h"
#include "cli/TerminalProgress.h"
#include "platform/linux/CgroupReclaim.h"
#include "platform/linux/LinuxMemory.h"
#include "platform/linux/OomScore.h"
#include "platform/linux/QtEventQueue.h"
#include "platform/linux/UnixSignalNotifier.h"
#include "recovery/KernelRecovery.h"
#include "recovery/RamRecovery.h"
#include "recovery/RecoveryAmounts.h"

namespace {

constexpr int kExitUsage = 2;
constexpr int kExitInterrupted = 128 + SIGINT;
constexpr int kExitNoKernelReclaim = 3;

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
                                 "Une passe prend au plus 1024 MB. Ctrl+C l'annule.\n"
                                 "  --kernel         le noyau reprend la mémoire lui-même (cgroup v2 memory.reclaim,\n"
                                 "                   Linux 5.19 ou plus récent) dans les groupes que vous pouvez écrire :\n"
                                 "                   app.slice, session.slice, background.slice de votre session systemd,\n"
                                 "                   toute la machine pour root ; sans prendre de mémoire, par pas de\n"
                                 "                   64 MB, jusqu'à ce qu'un pas ne reprenne plus rien. Même quantité\n"
                                 "                   par défaut, sans limite de 1024 MB. Sans cgroup v2 ni groupe\n"
                                 "                   accessible : une ligne sur la sortie d'erreur, code de sortie 3."));
        return ReportWritten(0);
    case RecoverArguments::Method::Version:
        PrintLine(RecoverArguments::VersionText());
        return ReportWritten(0);
    default:
        break;
    }

    platform::LinuxMemory linuxMemory;
    std::optional<platform::CgroupReclaim> kernel;
    if (arguments.kernel) {
        // Said before anything is touched: where the kernel cannot be asked, nothing happens.
        kernel.emplace();
        if (!kernel->Unavailable().isEmpty()) {
            std::fprintf(stderr, "mnemora-recover : %s.\n", kernel->Unavailable().toLocal8Bit().constData());
            return kExitNoKernelReclaim;
        }
    } else if (!platform::VolunteerForOomKill()) {
        linuxMemory.WidenFloor();
        std::fputs("mnemora-recover : le noyau n'a pas accepté que ce programme soit arrêté en premier en cas de manque "
                   "de mémoire (oom_score_adj) ; la passe garde une marge deux fois plus large.\n",
                   stderr);
    }
    CountingMemory memory(linuxMemory);
    platform::QtEventQueue events;
    TRamRecovery engine(memory, events);
    std::optional<TKernelRecovery> kernelRun;
    if (kernel)
        kernelRun.emplace(*kernel, events);
    TerminalProgress progress(stdout);
    const bool onTerminal = ::isatty(STDOUT_FILENO) == 1;
    const auto cancel = [&] {
        if (kernelRun)
            kernelRun->CancelReclaim();
        else
            engine.CancelDefrag();
    };

    bool interrupted = false;
    platform::UnixSignalNotifier signalNotifier({SIGINT});
    QObject::connect(&signalNotifier, &platform::UnixSignalNotifier::Raised, [&] {
        interrupted = true;
        cancel();
    });
    ::sigprocmask(SIG_UNBLOCK, &interrupt, nullptr);

    platform::MemoryStatus before;
    platform::MemoryStatus after;
    const auto onBefore = [&](QObject*) {
        before = memory.Status();
        if (interrupted)  // Ctrl+C came before the run began
            cancel();
    };
    const auto onProgress = [&](QObject*, int percent) {
        if (onTerminal)
            progress.Draw(percent);
    };
    const auto onAfter = [&](QObject*) { after = memory.Status(); };

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
    if (kernelRun) {
        kernelRun->OnBeforeDefrag = onBefore;
        kernelRun->OnProgress = onProgress;
        kernelRun->OnAfterDefrag = onAfter;
        PrintLine(QStringLiteral("Groupes repris par le noyau : %1").arg(kernel->Groups().join(QStringLiteral(", "))));
        std::fflush(stdout);
        QCoreApplication::processEvents();  // a Ctrl+C already pending
        kernelRun->Reclaim(static_cast<std::int32_t>(std::clamp<std::int64_t>(asked, 0, INT32_MAX)));
        progress.Finish();
        PrintMemoryReport(before, after);
        PrintLine(QStringLiteral("Mémoire reprise par le noyau : %1 MB sur %2 MB").arg(Megabytes(kernelRun->Reclaimed())).arg(asked));
        return ReportWritten(interrupted ? kExitInterrupted : 0);
    }

    engine.OnBeforeDefrag = onBefore;
    engine.OnProgress = onProgress;
    engine.OnAfterDefrag = onAfter;
    const int blocks = static_cast<int>(std::clamp<std::int64_t>(asked, 0, TRamRecovery::kMaxBlocks));
    QCoreApplication::processEvents();  // a Ctrl+C already pending
    engine.Defrag(static_cast<std::int32_t>(asked));
    progress.Finish();
    QCoreApplication::processEvents();  // a Ctrl+C during the release phase, which drains nothing

    PrintMemoryReport(before, after);
    // A run ends early when it is cancelled or a block is refused (the safety floor, a limit).
    PrintLine(QStringLiteral("Mémoire écrite : %1 MB sur %2 MB").arg(memory.committed).arg(blocks));
    return ReportWritten(interrupted ? kExitInterrupted : 0);
}
