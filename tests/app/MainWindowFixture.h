// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <memory>

#include "app/Application.h"
#include "app/UMain.h"
#include "monitor/ComposedPerfData.h"
#include "monitor/CpuUsage.h"
#include "monitor/TextTrayIcon.h"
#include "platform/fake/FakeDownloader.h"
#include "platform/fake/FakeEventQueue.h"
#include "platform/fake/FakeHotKeyGrabber.h"
#include "platform/fake/FakeMemory.h"
#include "platform/fake/FakePerfDataRegistry.h"
#include "platform/fake/FakeRegistry.h"
#include "platform/fake/FakeProcessor.h"
#include "platform/fake/FakeSystemInfo.h"
#include "platform/fake/FakeShellOpener.h"
#include "platform/fake/FakeTickClock.h"
#include "platform/fake/FakeTrayHost.h"
#include "platform/fake/FakeVersionInfo.h"
#include "recovery/RamRecovery.h"
#include "widgets/Timer.h"

// The real main window, offscreen, with scriptable doubles behind it.
class MainWindowFixture : public ::testing::Test {
protected:
    static constexpr std::int64_t kMiB = 1 << 20;

    void SetUp() override
    {
        TApplication::errorPresenter = [this](const QString& text) { errors.push_back(text); };
        memory.status = {1023 * kMiB, 400 * kMiB, 0};
        cpuUsage.SetUp();
    }
    void TearDown() override { TApplication::errorPresenter = nullptr; }

    TfMainMem& Form()
    {
        if (!form)
            form = std::make_unique<TfMainMem>(TFormServices{memory, events, tray, hotKeys, cpuUsage, perfData, clock,
                                                             version, systemInfo, processor,
                                                             IdentifyWindowsVersion(version), registry, downloader,
                                                             shell});
        return *form;
    }

    // The window on screen at the page that holds the widget.
    void ShowPageOf(QWidget* widget)
    {
        TfMainMem& window = Form();
        window.show();
        for (int page = 0; page < window.ui.Memoire->count(); ++page)
            if (window.ui.Memoire->widget(page)->isAncestorOf(widget))
                window.ui.Memoire->setCurrentIndex(page);
    }

    // One Timer1 tick with this much free memory.
    void FreeTick(std::int64_t freeBytes)
    {
        memory.status.availPhys = freeBytes;
        form->Timer1Timer();
    }
    // One Timer2 tick after a second in which the machine was busy this share of the time (the
    // first tick has no second before it and reads 0).
    void LoadTick(double busy)
    {
        idle += static_cast<std::int64_t>((1.0 - busy) * composed::kSecond);
        stamp += composed::kSecond;
        perfData.block = composed::CpuBlock({idle, idle}, stamp);
        form->Timer2Timer();
    }

    platform::FakeMemory memory;
    platform::FakeEventQueue events;
    platform::FakeTrayHost tray;
    platform::FakeHotKeyGrabber hotKeys;
    platform::FakePerfDataRegistry perfData;
    platform::FakeTickClock clock;
    platform::FakeVersionInfo version;  // no record: a system that is no Windows, like Linux
    platform::FakeSystemInfo systemInfo;
    platform::FakeProcessor processor;  // no time-stamp counter: the clock measurement ends at once
    platform::FakeRegistry registry;
    platform::FakeDownloader downloader;
    platform::FakeShellOpener shell;
    TCpuUsage cpuUsage{perfData};
    std::vector<QString> errors;
    std::unique_ptr<TfMainMem> form;
    std::int64_t idle = 0;
    std::int64_t stamp = 1'000 * composed::kSecond;
};
