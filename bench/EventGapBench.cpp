// SPDX-License-Identifier: GPL-3.0-or-later
// How long a click or a timer can wait during a 1024 MB recovery run of the tray program: its
// window built as mnemora-xp builds it (real memory layer, event queue, tray and hot key), a run
// started by the "Optimise la RAM !" button, and the time of every pass of the event loop noted
// from the click until the loop is back after the run. Rounds alternate between the window
// hidden in the tray and shown. Beside each longest gap stands the kernel's part of the release
// phase (the unmapping alone), which the phase cannot go below since it serves no events, and
// how far the gap goes beyond it in the same run, a figure a busy machine disturbs far less.
// Needs an X display with a tray host: run it through bench/event_gap.sh. The last line is
// "hidden_ms X.X shown_ms Y.Y", the median longest gaps.
#include <QAbstractEventDispatcher>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#include "app/Application.h"
#include "app/UMain.h"
#include "monitor/CpuUsage.h"
#include "platform/linux/LinuxMemory.h"
#include "platform/linux/LinuxProcessor.h"
#include "platform/linux/LinuxRegistry.h"
#include "platform/linux/LinuxSystemInfo.h"
#include "platform/linux/LinuxVersionInfo.h"
#include "platform/linux/LinuxTickClock.h"
#include "platform/linux/ProcStatPerfData.h"
#include "platform/linux/ModuleDownloader.h"
#include "platform/linux/QtEventQueue.h"
#include "platform/linux/QtShellOpener.h"
#include "platform/linux/QtTrayHost.h"
#include "platform/linux/XcbHotKeyGrabber.h"
#include "recovery/RamRecovery.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kRoundsPerMode = 5;
constexpr int kRunMb = 1024;

double Milliseconds(Clock::duration span)
{
    return std::chrono::duration<double, std::milli>(span).count();
}

// The real memory layer, adding up the time the kernel takes to unmap a run's blocks.
class TimedMemory : public platform::LinuxMemory {
public:
    void ReleaseBlock(void* block) override
    {
        const auto start = Clock::now();
        LinuxMemory::ReleaseBlock(block);
        released += Clock::now() - start;
    }
    Clock::duration released{};
};

// The settings the window loads and saves live in a temporary home, never the user's.
bool IsolateHome(const QTemporaryDir& home)
{
    if (!home.isValid())
        return false;
    for (const char* variable : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME",
                                 "XDG_RUNTIME_DIR", "MNEMORA_MACHINE_HIVE_DIR"}) {
        const QString path = QDir(home.path()).filePath(QString::fromLatin1(variable).toLower());
        if (!QDir().mkpath(path) || !QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner))
            return false;
        qputenv(variable, path.toLocal8Bit());
    }
    return true;
}

// Serves events until done() holds; false when it still does not after a generous while.
bool ServeUntil(const std::function<bool()>& done)
{
    QElapsedTimer waited;
    waited.start();
    while (!done()) {
        if (waited.hasExpired(30000))
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    }
    return true;
}

void Settle(int ms)
{
    QElapsedTimer waited;
    waited.start();
    while (!waited.hasExpired(ms))
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
}

struct Round {
    double longestGapMs = 0;
    double releaseMs = 0;
    int passes = 0;
    int steps = 0;
};

Round RunOnce(TfMainMem& form, TimedMemory& memory)
{
    Round round;
    std::vector<Clock::time_point> passes;
    passes.reserve(1 << 16);
    bool recording = false;
    bool runReturned = false;
    QEventLoop loop;
    const auto onPass = [&] {
        if (!recording)
            return;
        passes.push_back(Clock::now());
        if (runReturned) {
            recording = false;
            loop.quit();
        }
    };
    QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance();
    const QMetaObject::Connection awake = QObject::connect(dispatcher, &QAbstractEventDispatcher::awake, onPass);
    const QMetaObject::Connection blocking =
        QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, onPass);

    // The form's own progress handler still runs; the wrapper only counts the steps.
    const TRamRecovery::TOnProgress formProgress = form.RamRecovery1->OnProgress;
    form.RamRecovery1->OnProgress = [&](QObject* sender, int progress) {
        ++round.steps;
        formProgress(sender, progress);
    };
    memory.released = {};

    QTimer::singleShot(0, &form, [&] {
        recording = true;
        passes.push_back(Clock::now());
        form.ui.BitBtn1->click();
        runReturned = true;
    });
    loop.exec();

    QObject::disconnect(awake);
    QObject::disconnect(blocking);
    form.RamRecovery1->OnProgress = formProgress;
    for (std::size_t i = 1; i < passes.size(); ++i)
        round.longestGapMs = std::max(round.longestGapMs, Milliseconds(passes[i] - passes[i - 1]));
    round.releaseMs = Milliseconds(memory.released);
    round.passes = static_cast<int>(passes.size());
    return round;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    QTemporaryDir home;
    if (!IsolateHome(home)) {
        std::fprintf(stderr, "event_gap_bench: could not make a temporary home\n");
        return 1;
    }
    TApplication app(argc, argv);
    if (QGuiApplication::platformName() != QLatin1String("xcb")) {
        std::fprintf(stderr, "event_gap_bench: needs an X display (run bench/event_gap.sh)\n");
        return 1;
    }
    platform::ProcStatPerfData perfData;
    platform::LinuxTickClock clock;
    TCpuUsage cpuUsage(perfData);
    cpuUsage.SetUp();
    TimedMemory memory;
    platform::QtEventQueue events;
    platform::QtTrayHost tray;
    platform::XcbHotKeyGrabber hotKeys;
    platform::LinuxVersionInfo versionInfo;
    platform::LinuxSystemInfo systemInfo;
    platform::LinuxProcessor processor;
    platform::LinuxRegistry registry(platform::LinuxRegistry::ForThisUser(), platform::LinuxRegistry::RunsAsAdministrator());
    platform::ModuleDownloader downloader;
    platform::QtShellOpener shell;
    int status = 0;
    {
        TfMainMem form({memory, events, tray, hotKeys, cpuUsage, perfData, clock, versionInfo, systemInfo, processor,
                        IdentifyWindowsVersion(versionInfo), registry, downloader, shell});
        form.show();
        form.ui.RadioButton2->setChecked(true);
        form.ui.TrackBar1->setValue(kRunMb);
        if (form.ui.TrackBar1->value() != kRunMb) {
            std::fprintf(stderr, "event_gap_bench: this machine has less than %d MB\n", kRunMb);
            return 1;
        }
        // The trip to the tray half a second after start.
        if (!ServeUntil([&] { return !form.isVisible(); })) {
            std::fprintf(stderr, "event_gap_bench: the window never went to the tray\n");
            return 1;
        }

        const auto setShown = [&](bool shown) {
            if (shown) {
                form.Open1Click();
                ServeUntil([&] { return form.windowHandle() != nullptr && form.windowHandle()->isExposed(); });
            } else {
                form.hide();
                ServeUntil([&] { return !form.isVisible(); });
            }
            Settle(300);  // what showing or hiding set off is drawn before the run
        };

        setShown(false);
        RunOnce(form, memory);  // warm-up
        std::vector<double> gaps[2];
        std::vector<double> releases[2];
        std::vector<double> beyondRelease[2];  // what the run adds to the kernel's part, the same run
        for (int round = 0; round < 2 * kRoundsPerMode; ++round) {
            const bool shown = round % 2 == 1;
            setShown(shown);
            const Round result = RunOnce(form, memory);
            if (result.steps != 2 * kRunMb || result.passes < kRunMb) {
                std::fprintf(stderr, "event_gap_bench: the run ended early (%d steps, %d passes)\n", result.steps,
                             result.passes);
                status = 1;
                break;
            }
            gaps[shown].push_back(result.longestGapMs);
            releases[shown].push_back(result.releaseMs);
            beyondRelease[shown].push_back(result.longestGapMs - result.releaseMs);
        }
        if (status == 0) {
            for (const bool shown : {false, true}) {
                const auto [least, most] = std::minmax_element(gaps[shown].begin(), gaps[shown].end());
                std::printf("%s: longest gap median %.1f ms (%.1f to %.1f) over %d runs; kernel release median %.1f ms; "
                            "the gap beyond the same run's release median %.1f ms\n",
                            shown ? "shown " : "hidden", Median(gaps[shown]), *least, *most, kRoundsPerMode,
                            Median(releases[shown]), Median(beyondRelease[shown]));
            }
            std::printf("hidden_ms %.1f shown_ms %.1f\n", Median(gaps[false]), Median(gaps[true]));
        }
        form.Exit1Click();
    }
    cpuUsage.TearDown();
    return status;
}
