// mnemora-recover: one recovery run from a terminal, cron or a systemd timer, through the same
// engine as the tray program.
#include <QCoreApplication>
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <unistd.h>

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

}  // namespace

int main(int argc, char** argv)
{
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
        return 0;
    case RecoverArguments::Method::Version:
        PrintLine(RecoverArguments::VersionText());
        return 0;
    default:
        break;
    }

    platform::VolunteerForOomKill();
    platform::LinuxMemory memory;
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

    platform::MemoryStatus before;
    platform::MemoryStatus after;
    engine.OnBeforeDefrag = [&](QObject*) {
        before = memory.Status();
        if (interrupted)  // Ctrl+C came before the run began
            engine.CancelDefrag();
    };
    int steps = 0;
    engine.OnProgress = [&](QObject*, int percent) {
        ++steps;
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
    // A run ends early when it is cancelled or a block is refused (the safety floor, a limit):
    // the blocks it wrote are its fill steps, one per progress report until it stopped.
    PrintLine(QStringLiteral("Mémoire écrite : %1 MB sur %2 MB").arg(std::min(steps, blocks)).arg(blocks));
    return interrupted ? kExitInterrupted : 0;
}
