// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <QWindow>

#include "app/MainWindowFixture.h"
#include "platform/fake/FakeDynDataRegistry.h"
#include "support/EventWait.h"

namespace {

// The ways the program ends and the window's own life, with the application's event loop
// running as in the program.
class FormLifecycle : public MainWindowFixture {
protected:
    static constexpr int kLoopNeverEnded = 99;

    void SetUp() override
    {
        MainWindowFixture::SetUp();
        // As in the program: hiding or closing the last window does not end the loop by itself.
        qApp->setQuitOnLastWindowClosed(false);
    }

    // Runs the event loop with work as its first event; the loop's exit status, or
    // kLoopNeverEnded when nothing ended it (a deadline that only keeps a broken test from hanging).
    static int RunLoop(const std::function<void()>& work)
    {
        QTimer deadline;
        deadline.setSingleShot(true);
        QObject::connect(&deadline, &QTimer::timeout, [] { QCoreApplication::exit(kLoopNeverEnded); });
        deadline.start(20000);
        QTimer::singleShot(0, qApp, work);
        return QApplication::exec();
    }

    // A run of `blocks` that does `during` at its second step.
    void RunWith(int blocks, const std::function<void()>& during)
    {
        Form().ui.RadioButton2->setChecked(true);
        form->ui.TrackBar1->setValue(blocks);
        events.onDrain = [during](int drain) {
            if (drain == 2)
                during();
            return false;
        };
        form->RecupRam();
    }
};

TEST_F(FormLifecycle, TheQuitButtonHidesTheIconCancelsTheRunAndEndsTheLoop)
{
    Form().Timer4Timer();
    const int status = RunLoop([this] { RunWith(10, [this] { form->ui.Button4->click(); }); });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(memory.commits, 2) << "the run stopped at its next test";
    EXPECT_EQ(form->ui.StatusPanel2->Text(), " Quantité récupérée : 0 MB") << "and its end was reported";
    EXPECT_FALSE(tray.inTray);
    EXPECT_FALSE(form->isVisible());
}

TEST_F(FormLifecycle, QuittingStopsTheProcessorStatisticBeforeTheWindowGoes)
{
    // The 9x statistic is the one stop that leaves a trace.
    platform::FakeDynDataRegistry dynData;
    dynData.cpuUsage = 30;
    TCpuUsage statistic(perfData, TCpuUsage::Family::Windows9x, &dynData);
    statistic.SetUp();
    TfMainMem window(TFormServices{memory, events, tray, hotKeys, statistic, perfData, clock, version, systemInfo,
                                   processor, IdentifyWindowsVersion(version), registry, downloader,
                                   shell});
    window.Timer2Timer();
    ASSERT_TRUE(dynData.statisticOn);
    EXPECT_EQ(RunLoop([&] { window.ui.Exit1->trigger(); }), 0);
    EXPECT_FALSE(dynData.statisticOn);
}

TEST_F(FormLifecycle, TheCloseButtonEndsTheProgramButLetsARunFinish)
{
    const int status = RunLoop([this] { RunWith(6, [this] { form->close(); }); });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(memory.commits, 6) << "closing the window does not cancel the run";
    EXPECT_FALSE(form->RunReport().Running());
    EXPECT_TRUE(memory.live.empty());
}

// A failed save at the quit command is shown while a message box can still open: before the
// window closes and the loop is told to end (after that every new event loop, the message box's
// included, returns at once).
TEST_F(FormLifecycle, ASaveThatFailsAtTheQuitCommandIsShownBeforeTheWindowCloses)
{
    for (const bool fromTheTray : {false, true}) {
        errors.clear();
        TfMainMem& window = Form();
        window.show();
        registry.failWrites = true;
        bool boxCouldRun = false;
        bool windowShown = false;
        TApplication::errorPresenter = [&](const QString& text) {
            errors.push_back(text);
            windowShown = window.isVisible();
            QEventLoop box;
            QTimer::singleShot(0, &box, [&box] { box.exit(7); });
            boxCouldRun = box.exec() == 7;
        };
        EXPECT_EQ(RunLoop([&] { fromTheTray ? window.ui.Exit1->trigger() : window.ui.Button4->click(); }), 0);
        registry.failWrites = false;
        ASSERT_FALSE(errors.empty()) << fromTheTray;
        EXPECT_EQ(errors[0], "Failed to set data for 'Path'");
        EXPECT_TRUE(boxCouldRun) << "the message box would close before the user saw it";
        EXPECT_TRUE(windowShown);
        EXPECT_FALSE(window.isVisible()) << "the quit went on";
        form.reset();
    }
}

TEST_F(FormLifecycle, TheEndOfSessionQuestionIsAnsweredYes)
{
    Form().show();
    EXPECT_TRUE(form->WMQueryEndSession());
    EXPECT_TRUE(form->isVisible()) << "the question alone ends nothing";
    EXPECT_EQ(RunLoop([this] { form->WMEndSession(); }), 0);
}

TEST_F(FormLifecycle, TheEndOfTheSessionCancelsARunAndEndsTheLoop)
{
    // SIGTERM and SIGHUP come this way.
    const int status = RunLoop([this] { RunWith(10, [this] { form->WMEndSession(); }); });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(memory.commits, 2) << "the run stopped at its next test";
    EXPECT_FALSE(form->RunReport().Running());
    EXPECT_TRUE(memory.live.empty());
}

TEST_F(FormLifecycle, AStartUpErrorStopsTheSequenceButTheWindowComesUp)
{
    // The shell failing as the start-up hides the icon (step 4): nothing after it runs.
    tray.onCall = [](platform::FakeTrayHost::Call call) {
        if (call == platform::FakeTrayHost::Call::Delete)
            throw ProgramError("The tray refused the icon");
    };
    TfMainMem& window = Form();
    tray.onCall = nullptr;
    ASSERT_EQ(errors, (std::vector<QString>{"The tray refused the icon"}));
    for (TTimer* timer : {window.Timer1, window.Timer2, window.Timer3, window.Timer4, window.Timer5})
        EXPECT_FALSE(timer->Enabled());
    EXPECT_FALSE(window.TrayIcon1->IconVisible());
    EXPECT_FALSE(hotKeys.held.has_value());
    EXPECT_NE(window.windowTitle(), "Mnemora XP") << "step 5 did not run";
    window.show();
    EXPECT_TRUE(window.isVisible());
    QCoreApplication::processEvents();
    EXPECT_TRUE(window.isVisible()) << "with Timer4 off the window stays on screen";
}

TEST_F(FormLifecycle, StayOnTopChangesTheLevelOfTheWindowThatIsThere)
{
    TfMainMem& window = Form();
    window.show();
    ASSERT_TRUE(WaitUntil([&] { return window.isActiveWindow(); }));
    const WId shown = window.winId();
    window.ui.CheckBox2->setChecked(false);
    EXPECT_EQ(window.winId(), shown) << "the native window was made again";
    EXPECT_FALSE(window.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_FALSE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.isActiveWindow()) << "the change keeps the focus";
    window.ui.CheckBox2->setChecked(true);
    EXPECT_EQ(window.winId(), shown);
    EXPECT_TRUE(window.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
}

TEST_F(FormLifecycle, EveryRealActivationAppliesStayOnTopAgain)
{
    TfMainMem& window = Form();
    window.show();
    ASSERT_TRUE(WaitUntil([&] { return window.isActiveWindow(); }));
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(WaitUntil([&] { return !window.isActiveWindow(); }));

    // Untick without the click handler: only the activation can bring the level into line.
    window.ui.CheckBox2->blockSignals(true);
    window.ui.CheckBox2->setChecked(false);
    window.ui.CheckBox2->blockSignals(false);
    ASSERT_TRUE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    window.activateWindow();
    ASSERT_TRUE(WaitUntil([&] { return window.isActiveWindow(); }));
    EXPECT_FALSE(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

}  // namespace
