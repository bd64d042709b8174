// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/MainWindowFixture.h"
#include "support/EventWait.h"

namespace {

// A run as the user follows it: the status texts in order, the balloons, the controls.
class RunControl : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        TfMainMem& window = Form();
        const auto progress = window.RamRecovery1->OnProgress;
        window.RamRecovery1->OnProgress = [this, progress](QObject* sender, int value) {
            progress(sender, value);
            texts.push_back(form->ui.StatusPanel2->Text());
            EXPECT_EQ(form->ui.StatusPanel2->value(), value);
            EXPECT_TRUE(form->RunReport().Running());
        };
        window.ui.RadioButton2->setChecked(true);
        window.Timer4Timer();  // in the tray, where balloons show
    }

    void ExpectIdle()
    {
        EXPECT_TRUE(form->ui.BitBtn1->isEnabled());
        EXPECT_TRUE(form->ui.RecoverRam1->isEnabled());
        EXPECT_FALSE(form->ui.BitBtn3->isEnabled());
        EXPECT_FALSE(form->ui.Cancel1->isEnabled());
    }

    std::vector<QString> BalloonTexts() const
    {
        std::vector<QString> result;
        for (const platform::TrayBalloon& balloon : tray.balloons) {
            EXPECT_EQ(balloon.title, "Mnemora XP");
            EXPECT_EQ(balloon.icon, platform::BalloonIcon::Information);
            EXPECT_EQ(balloon.timeoutMs, 10000);
            result.push_back(balloon.text);
        }
        return result;
    }

    std::vector<QString> texts;
};

TEST_F(RunControl, ACompletedRunShowsItsProgressAndTheAmountGained)
{
    form->ui.cbxballoon->setChecked(true);
    form->ui.TrackBar1->setValue(2);
    events.onDrain = [this](int) {
        memory.status.availPhys += 3 * kMiB / 2;
        return false;
    };
    events.onDrain = [this, gain = events.onDrain](int drain) {
        EXPECT_FALSE(form->ui.BitBtn1->isEnabled());
        EXPECT_FALSE(form->ui.RecoverRam1->isEnabled());
        EXPECT_TRUE(form->ui.BitBtn3->isEnabled());
        EXPECT_TRUE(form->ui.Cancel1->isEnabled());
        return gain(drain);
    };
    form->ui.BitBtn1->click();
    EXPECT_EQ(texts, (std::vector<QString>{" optimisation en cours ...25 %", " optimisation en cours ...50 %",
                                           " optimisation en cours ...75 %", " optimisation en cours ...100 %"}));
    EXPECT_EQ(form->ui.StatusPanel2->Text(), " Quantité récupérée : 3 MB");
    EXPECT_EQ(form->ui.StatusPanel2->value(), 100) << "the gauge keeps the last progress";
    EXPECT_EQ(form->RunReport().FreeBefore(), 400 * kMiB);
    EXPECT_EQ(form->RunReport().FreeAfter(), 403 * kMiB);
    EXPECT_EQ(BalloonTexts(), (std::vector<QString>{"Optimisation en cours ...",
                                                    "Optimisation terminée!\n\rQuantitée récupérée : 3 MB."}));
    EXPECT_TRUE(form->ui.Gauge1->TransparentPicture());
    EXPECT_FALSE(form->RunReport().Running());
    ExpectIdle();
}

// Counts the paints the status gauge receives and notes the position each one drew.
class GaugePaints : public QObject {
public:
    explicit GaugePaints(TStatusGauge* gauge) : gauge_(gauge) { gauge->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            painted.push_back(gauge_->value());
        return false;
    }
    std::vector<int> painted;

private:
    TStatusGauge* gauge_;
};

TEST_F(RunControl, WhileShownProgressLeavesTheGaugeToBeDrawnAtTheNextPassOfTheLoop)
{
    GaugePaints gauge(form->ui.StatusPanel2);
    form->Open1Click();
    ASSERT_TRUE(WaitUntil([&] { return !gauge.painted.empty(); })) << "the shown window draws its gauge";
    form->ui.TrackBar1->setValue(4);
    gauge.painted.clear();
    form->RecupRam();  // the doubles serve no events: nothing may be drawn inside the run
    EXPECT_EQ(gauge.painted, std::vector<int>{});
    EXPECT_EQ(form->ui.StatusPanel2->value(), 100);
    ASSERT_TRUE(WaitUntil([&] { return !gauge.painted.empty(); }));
    EXPECT_EQ(gauge.painted.back(), 100);
}

TEST_F(RunControl, ACancelledRunReportsLikeACompletedOne)
{
    form->ui.cbxballoon->setChecked(true);
    form->ui.TrackBar1->setValue(10);
    events.onDrain = [this](int drain) {
        if (drain == 3) {
            form->ui.BitBtn3->click();
            ExpectIdle();  // at once, before the run has ended
            EXPECT_TRUE(form->RunReport().Running());
        }
        return false;
    };
    form->ui.RecoverRam1->trigger();
    EXPECT_EQ(memory.commits, 3);
    EXPECT_EQ(texts.back(), " optimisation en cours ...15 %");
    EXPECT_EQ(form->ui.StatusPanel2->Text(), " Quantité récupérée : 0 MB");
    EXPECT_EQ(BalloonTexts().back(), "Optimisation terminée!\n\rQuantitée récupérée : 0 MB.");
    EXPECT_FALSE(form->RunReport().Running());
    ExpectIdle();
}

TEST_F(RunControl, AZeroSizeRunStillShowsBothBalloonsAndTheAmount)
{
    form->ui.cbxballoon->setChecked(true);
    form->ui.TrackBar1->setValue(0);
    form->RecupRam();
    EXPECT_TRUE(texts.empty());
    EXPECT_EQ(memory.commits, 0);
    EXPECT_EQ(form->ui.StatusPanel2->Text(), " Quantité récupérée : 0 MB");
    EXPECT_EQ(BalloonTexts().size(), 2u);
    ExpectIdle();
}

TEST_F(RunControl, LessFreeMemoryAfterTheRunIsANegativeAmountAndNoBalloonWhenOff)
{
    form->ui.TrackBar1->setValue(1);
    events.onDrain = [this](int) {
        memory.status.availPhys -= 5 * kMiB;
        return false;
    };
    form->RecupRam();
    EXPECT_EQ(form->ui.StatusPanel2->Text(), " Quantité récupérée : -5 MB");
    EXPECT_TRUE(tray.balloons.empty());
}

TEST_F(RunControl, TheMethodSizesTheRun)
{
    form->ui.RadioButton1->setChecked(true);  // Système, 1023 MB installed
    form->RecupRam();
    EXPECT_EQ(memory.commits, 512);
    EXPECT_FALSE(form->ui.TrackBar1->isEnabled());

    memory.commits = 0;
    form->ui.RadioButton3->setChecked(true);  // Tout: the engine's total, truncated
    form->RecupRam();
    EXPECT_EQ(memory.commits, 1023);

    memory.commits = 0;
    form->ui.RadioButton2->setChecked(true);
    EXPECT_TRUE(form->ui.TrackBar1->isEnabled());
    form->ui.TrackBar1->setValue(7);
    EXPECT_EQ(form->ui.TrackBar1->toolTip(), "7");
    EXPECT_EQ(form->ui.Label4->text(), "7 MB");
    form->RecupRam();
    EXPECT_EQ(memory.commits, 7);
}

TEST_F(RunControl, StartRequestsDuringARunStartNothing)
{
    form->ui.TrackBar1->setValue(4);
    events.onDrain = [this](int drain) {
        if (drain == 1) {
            hotKeys.Press(QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_R));
            form->ui.RecoverRam1->trigger();
        }
        return false;
    };
    form->RecupRam();
    EXPECT_EQ(memory.commits, 4);
    ExpectIdle();
}

TEST_F(RunControl, AMethodChosenDuringARunStartsASecondRunOnlyWhenTestedLater)
{
    form->ui.RadioButton1->setChecked(true);
    events.onDrain = [this](int drain) {
        if (drain == 1)
            form->ui.RadioButton3->setChecked(true);  // "Tout" is tested after "Système"
        return false;
    };
    form->RecupRam();
    EXPECT_EQ(memory.commits, 512 + 1023);

    memory.commits = 0;
    events.drains = 0;
    events.onDrain = [this](int drain) {
        if (drain == 1)
            form->ui.RadioButton1->setChecked(true);  // tested before "Tout": too late
        return false;
    };
    form->RecupRam();
    EXPECT_EQ(memory.commits, 1023);
}

TEST_F(RunControl, TheStartTextComesBeforeAnyProgress)
{
    form->ui.TrackBar1->setValue(3);
    QString atFirstStep;
    events.onDrain = [&](int drain) {
        if (drain == 1)
            atFirstStep = form->ui.StatusPanel2->Text();
        return false;
    };
    form->RecupRam();
    EXPECT_EQ(atFirstStep, " optimisation en cours ... %");
}

TEST_F(RunControl, AStartRequestDuringARunPutsTheControlsBackInTheRunningState)
{
    form->ui.TrackBar1->setValue(4);
    events.onDrain = [this](int drain) {
        if (drain == 1) {
            form->ui.BitBtn3->click();
            ExpectIdle();
            // The cancel has not ended the run yet; the hot key finds it still going.
            hotKeys.Press(QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_R));
            EXPECT_FALSE(form->ui.BitBtn1->isEnabled());
            EXPECT_FALSE(form->ui.RecoverRam1->isEnabled());
            EXPECT_TRUE(form->ui.BitBtn3->isEnabled());
            EXPECT_TRUE(form->ui.Cancel1->isEnabled());
        }
        return false;
    };
    form->RecupRam();
    EXPECT_EQ(memory.commits, 1) << "the start request did not withdraw the cancel";
    ExpectIdle();
}

TEST_F(RunControl, AHandlerErrorInsideARunLeavesTheFormReadyForTheNext)
{
    form->ui.TrackBar1->setValue(5);
    const auto progress = form->RamRecovery1->OnProgress;
    form->RamRecovery1->OnProgress = [progress](QObject* sender, int value) {
        progress(sender, value);
        if (value == 20)
            throw ProgramError("Failed to get data for 'x'");
    };
    EXPECT_FALSE(TApplication::RunGuarded([this] {
        form->ui.BitBtn1->click();
        return true;
    }));
    EXPECT_EQ(errors, (std::vector<QString>{"Failed to get data for 'x'"}));
    EXPECT_FALSE(form->RunReport().Running());
    ExpectIdle();
    EXPECT_TRUE(memory.live.empty());

    form->RamRecovery1->OnProgress = progress;
    memory.commits = 0;
    form->ui.BitBtn1->click();
    EXPECT_EQ(memory.commits, 5) << "a new run starts";
}

TEST_F(RunControl, SystemAmountAndGainRoundHalvesToEven)
{
    // 25 MB installed: half is 12.5, run 12; 27 MB: 13.5, run 14.
    for (const auto& [installedMb, runMb] : std::vector<std::pair<int, int>>{{25, 12}, {27, 14}}) {
        memory.status.totalPhys = installedMb * kMiB;
        form.reset();
        Form().ui.RadioButton1->setChecked(true);
        memory.commits = 0;
        form->RecupRam();
        EXPECT_EQ(memory.commits, runMb) << installedMb << " MB installed";
    }
    // A gain of 12.5 MB reads 12, one of 13.5 MB reads 14.
    form->ui.RadioButton2->setChecked(true);
    form->ui.TrackBar1->setValue(1);
    for (const auto& [gainHalfMb, shown] : std::vector<std::pair<int, int>>{{25, 12}, {27, 14}}) {
        events.onDrain = [this, gain = gainHalfMb](int) {
            memory.status.availPhys += gain * kMiB / 2;
            return false;
        };
        form->RecupRam();
        EXPECT_EQ(form->ui.StatusPanel2->Text(), QStringLiteral(" Quantité récupérée : %1 MB").arg(shown));
    }
}

}  // namespace
