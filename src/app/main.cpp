// SPDX-License-Identifier: GPL-3.0-or-later
// mnemora-xp: the tray program.
#include "app/Application.h"
#include "app/ProgramArguments.h"
#include "app/QtFrench.h"
#include "app/TrayTrim.h"
#include "app/DisplayOpenGuard.h"
#include "app/FontWarmUp.h"
#include "app/UMain.h"
#include "monitor/CpuUsage.h"
#include "platform/linux/CgroupReclaim.h"
#include "platform/linux/LinuxTickClock.h"
#include "platform/linux/ProcStatPerfData.h"
#include "platform/linux/LinuxMemory.h"
#include "platform/linux/LinuxProcessor.h"
#include "platform/linux/LinuxRegistry.h"
#include "platform/linux/LinuxSystemInfo.h"
#include "platform/linux/LinuxVersionInfo.h"
#include "platform/linux/LinuxSessionEvents.h"
#include "platform/linux/LocalSocketInstance.h"
#include "platform/linux/OomScore.h"
#include "platform/linux/PortalHotKeyGrabber.h"
#include "platform/linux/ModuleDownloader.h"
#include "platform/linux/QtEventQueue.h"
#include "platform/linux/QtShellOpener.h"
#include "platform/linux/QtTrayHost.h"
#include "platform/linux/XcbHotKeyGrabber.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <malloc.h>
#include <optional>

int main(int argc, char** argv)
{
    // One malloc arena for every thread: the program's few helper threads (fonts at start, the
    // display's and the bus's readers) would each keep an arena of their own, resident for the
    // program's whole life in the tray, to save a contention that never comes.
    ::mallopt(M_ARENA_MAX, 1);
    // The session's end (SIGTERM, SIGHUP) is held back from the first instant until its handling
    // is in place, and then arrives there: a log-out during start-up still ends in order.
    sigset_t sessionEnd;
    sigemptyset(&sessionEnd);
    sigaddset(&sessionEnd, SIGTERM);
    sigaddset(&sessionEnd, SIGHUP);
    ::sigprocmask(SIG_BLOCK, &sessionEnd, nullptr);

    const ProgramArguments arguments = [&] {
        // Qt's own words of the command line ("Usage", "Unknown option") in French; a core
        // application, which needs no display, holds the translation while the words are read.
        QCoreApplication commandLine(argc, argv);
        InstallQtFrench(commandLine);
        return ProgramArguments::Parse(QCoreApplication::arguments());
    }();
    switch (arguments.action) {
    case ProgramArguments::Action::Help:
    case ProgramArguments::Action::Version: {
        // A text that could not be written (a full disk, a closed pipe) is no success: status 1
        // and a line on standard error, not a silent end by SIGPIPE. Only here: the tray program
        // starts other programs (a link's browser), which must not inherit an ignored SIGPIPE.
        std::signal(SIGPIPE, SIG_IGN);
        std::fputs(arguments.text.toLocal8Bit().constData(), stdout);
        errno = 0;
        if (std::fflush(stdout) == 0 && std::ferror(stdout) == 0)
            return 0;
        std::fprintf(stderr, "mnemora-xp : impossible d'écrire le texte demandé : %s\n",
                     std::strerror(errno != 0 ? errno : EIO));
        return 1;
    }
    case ProgramArguments::Action::Invalid:
        std::fprintf(stderr, "mnemora-xp : %s — %s\n", arguments.text.toLocal8Bit().constData(),
                     ProgramArguments::Usage().toLocal8Bit().constData());
        return 2;
    case ProgramArguments::Action::Show:
    case ProgramArguments::Action::Recover:
    case ProgramArguments::Action::RecoverByKernel:
        break;
    }
    const bool byKernel = arguments.action == ProgramArguments::Action::RecoverByKernel;
    const bool recover = arguments.action == ProgramArguments::Action::Recover || byKernel;

    TFontWarmUp fonts;
    std::optional<DisplayOpenGuard> displayGuard(std::in_place);
    TApplication app(argc, argv);
    displayGuard.reset();
    fonts.ApplicationReady();
    // Before the window exists there is nothing to save yet: an end asked for then (also while
    // a start-up error is shown, in that box's own event loop) ends any box and the wait, and
    // the window, once made, saves and closes at once.
    bool endRequested = false;
    platform::LinuxSessionEvents session;
    session.OnEnd = [&endRequested] {
        endRequested = true;
        QCoreApplication::exit(0);
    };
    ::sigprocmask(SIG_UNBLOCK, &sessionEnd, nullptr);
    platform::LinuxVersionInfo versionInfo;
    const TWindowsVersion windows = IdentifyWindowsVersion(versionInfo);
    platform::ProcStatPerfData perfData;
    platform::LinuxTickClock clock;
    TCpuUsage cpuUsage(perfData);
    cpuUsage.SetUp();

    // A later start shows the running instance and ends at once: never a second window or icon.
    platform::LocalSocketInstance instance;
    switch (instance.Claim()) {
    case platform::ISingleInstance::ClaimResult::Claimed:
        break;
    case platform::ISingleInstance::ClaimResult::HeldElsewhere:
        fonts.Finish();  // the font list is read with the application still there
        if (instance.SignalRunning(byKernel  ? platform::ISingleInstance::Request::RecoverByKernel
                                   : recover ? platform::ISingleInstance::Request::Recover
                                             : platform::ISingleInstance::Request::Show))
            return 0;
        std::fputs("mnemora-xp : une instance tourne déjà mais ne répond pas.\n", stderr);
        return 1;
    case platform::ISingleInstance::ClaimResult::Refused:
        fonts.Finish();
        std::fprintf(stderr, "mnemora-xp : %s.\n", instance.Problem().toLocal8Bit().constData());
        return 1;
    }

    // From here on the start goes on to the window.
    platform::LinuxMemory memory;
    if (!platform::VolunteerForOomKill())
        memory.WidenFloor();
    platform::QtEventQueue events;
    platform::CgroupReclaim kernel;
    platform::QtTrayHost tray;
    // On Wayland an X grab sees only the keys typed into X windows: the portal, where offered.
    platform::XcbHotKeyGrabber x11Keys;
    platform::PortalHotKeyGrabber portalKeys;
    const bool wayland = !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
    const bool x11 = QGuiApplication::platformName() == QLatin1String("xcb");
    platform::IHotKeyGrabber& hotKeys =
        x11 && !(wayland && portalKeys.CanHoldKeys()) ? static_cast<platform::IHotKeyGrabber&>(x11Keys) : portalKeys;
    platform::ModuleDownloader downloader;
    platform::QtShellOpener shell;
    platform::LinuxSystemInfo systemInfo;
    platform::LinuxProcessor processor;
    platform::LinuxRegistry registry(platform::LinuxRegistry::ForThisUser(), platform::LinuxRegistry::RunsAsAdministrator());
    fonts.Finish();
    int status = 0;
    {
        // The window's destroy handling stops the statistic and saves the settings while the
        // sampler is still set up.
        TfMainMem form({memory, events, tray, hotKeys, cpuUsage, perfData, clock, versionInfo, systemInfo, processor, windows,
                        registry, downloader, shell});
        new TTrayTrim(&form);
        instance.OnShowRequest = [&form] { form.WMUser(); };
        instance.OnRecoverRequest = [&form] { form.GlobalHotKey1KeyDown(); };
        form.SetKernelReclaim(kernel, events);
        instance.OnRecoverByKernelRequest = [&form] { form.RecupRamByKernel(); };
        session.OnQueryEnd = [&form] { form.WMQueryEndSession(); };
        session.OnEnd = [&form] { form.WMEndSession(); };
        form.KeepWindowAtStart = arguments.keepWindow;
        if (endRequested) {
            form.WMEndSession();
        } else {
            form.show();
            // Started to recover: the run starts once the window is up, as if the hot key were pressed.
            if (byKernel)
                QMetaObject::invokeMethod(&form, [&form] { form.RecupRamByKernel(); }, Qt::QueuedConnection);
            else if (recover)
                QMetaObject::invokeMethod(&form, [&form] { form.GlobalHotKey1KeyDown(); }, Qt::QueuedConnection);
            status = TApplication::exec();
        }
    }
    cpuUsage.TearDown();
    return status;
}
