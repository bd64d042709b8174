// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTimer>
#include <csignal>

#include "platform/fake/FakeMemory.h"
#include "platform/linux/QtEventQueue.h"
#include "platform/linux/UnixSignalNotifier.h"
#include "recovery/RamRecovery.h"
#include "support/EventWait.h"

namespace {

// A quit request made while a run drains the queue: the run goes on to its end with all its
// events, and the main loop still ends afterwards.
TEST(QtEventQueue, AQuitRequestDuringARunIsKeptForTheMainLoop)
{
    platform::FakeMemory memory;
    platform::QtEventQueue events;
    TRamRecovery engine(memory, events);
    int progressEvents = 0;
    int afterEvents = 0;
    int ticksDuringRun = 0;
    engine.OnProgress = [&](QObject*, int) { ++progressEvents; };
    engine.OnAfterDefrag = [&](QObject*) { ++afterEvents; };

    QTimer reading;  // a periodic reading keeps refreshing during the run
    reading.setInterval(0);
    QObject::connect(&reading, &QTimer::timeout, [&] { ticksDuringRun += engine.IsBusy() ? 1 : 0; });

    engine.OnBeforeDefrag = [&](QObject*) {
        reading.start();
        QTimer::singleShot(0, [] { QCoreApplication::quit(); });
    };
    bool ranAfterRun = false;
    QTimer::singleShot(0, [&] {
        engine.Defrag(20);
        ranAfterRun = true;
    });
    QTimer watchdog;  // ends a broken test instead of hanging it
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(99); });
    watchdog.start(20000);

    EXPECT_EQ(QCoreApplication::exec(), 0);
    EXPECT_TRUE(ranAfterRun);
    EXPECT_EQ(progressEvents, 40);
    EXPECT_EQ(afterEvents, 1);
    EXPECT_GT(ticksDuringRun, 0);
    EXPECT_TRUE(memory.live.empty());
}

TEST(QtEventQueue, DrainReportsTheQuitRequestItDispatched)
{
    platform::QtEventQueue events;
    EXPECT_FALSE(events.Drain());
    bool drainSawQuit = false;
    QTimer::singleShot(0, [&] {
        QTimer::singleShot(0, [] { QCoreApplication::quit(); });
        drainSawQuit = events.Drain();
    });
    QTimer::singleShot(5000, [] { QCoreApplication::exit(99); });
    EXPECT_EQ(QCoreApplication::exec(), 0);
    EXPECT_TRUE(drainSawQuit);
}

TEST(UnixSignalNotifier, ASignalArrivesThroughTheEventLoop)
{
    platform::UnixSignalNotifier notifier({SIGUSR1});
    int raised = 0;
    QObject::connect(&notifier, &platform::UnixSignalNotifier::Raised, [&](int number) { raised = number; });
    ::raise(SIGUSR1);
    WaitUntil([&] { return raised != 0; });
    EXPECT_EQ(raised, SIGUSR1);
}

}  // namespace
