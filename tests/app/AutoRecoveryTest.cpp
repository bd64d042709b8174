// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/MainWindowFixture.h"

namespace {

// The alarm and interval triggers, with the readings left by the monitor's own ticks.
class AutoRecovery : public MainWindowFixture {
protected:
    void SetUp() override
    {
        MainWindowFixture::SetUp();
        memory.status = {1000 * kMiB, 400 * kMiB, 0};
        Form().ui.RadioButton2->setChecked(true);
        form->ui.TrackBar1->setValue(3);
        LoadTick(0);  // the first reading, with no second before it
        Readings(40, 10);
    }
    // Free memory and processor load as the monitor's timers read them.
    void Readings(std::int64_t freePercent, std::int64_t cpuPercent)
    {
        FreeTick(freePercent * 10 * kMiB);
        LoadTick(static_cast<double>(cpuPercent) / 100);
    }
};

TEST_F(AutoRecovery, TheAlarmFiresOnlyStrictlyBelowItsLevelAndAtMostAtTheCeiling)
{
    struct Case {
        std::int64_t freePercent;
        std::int64_t cpuPercent;
        bool alarmOn;
        bool starts;
    };
    const std::vector<Case> cases = {
        {34, 10, true, true}, {35, 10, true, false}, {34, 15, true, true}, {34, 16, true, false}, {0, 0, false, false}};
    for (const Case& c : cases) {
        memory.commits = 0;
        Readings(c.freePercent, c.cpuPercent);
        form->ui.CheckBox3->setChecked(c.alarmOn);
        form->Timer3Timer();
        EXPECT_EQ(memory.commits > 0, c.starts) << c.freePercent << "% free, load " << c.cpuPercent;
    }
    EXPECT_EQ(form->Timer3->Interval(), 30000);
}

TEST_F(AutoRecovery, AnAlarmLevelOfZeroNeverFires)
{
    form->ui.SpinEdit1->setValue(0);
    Readings(0, 10);
    form->Timer3Timer();
    EXPECT_EQ(memory.commits, 0);
}

TEST_F(AutoRecovery, NothingStartsDuringARun)
{
    Readings(10, 10);
    events.onDrain = [this](int drain) {
        if (drain == 1) {
            form->Timer3Timer();
            form->Timer5Timer();
        }
        return false;
    };
    form->RecupRam();
    EXPECT_EQ(memory.commits, 3);
}

TEST_F(AutoRecovery, TheIntervalTriggerHoldsBackUnderLoad)
{
    Readings(40, 16);
    form->Timer5Timer();
    EXPECT_EQ(memory.commits, 0);
    Readings(40, 15);
    form->Timer5Timer();
    EXPECT_EQ(memory.commits, 3);
}

TEST_F(AutoRecovery, TheIntervalRunsOnlyWhileTickedAndRestartsWhenTheMinutesChange)
{
    EXPECT_FALSE(form->Timer5->Enabled());
    form->ui.CheckBox5->setChecked(true);
    EXPECT_TRUE(form->Timer5->IsCounting());
    EXPECT_EQ(form->Timer5->Interval(), 45 * 60000) << "the first recovery comes 45 minutes later";
    EXPECT_GT(form->Timer5->RemainingTime(), 44 * 60000);

    form->ui.SpinEdit2->setValue(2);
    EXPECT_EQ(form->Timer5->Interval(), 2 * 60000);
    EXPECT_GT(form->Timer5->RemainingTime(), 60000) << "counting afresh with the new period";

    form->ui.SpinEdit2->setValue(0);
    EXPECT_FALSE(form->Timer5->IsCounting()) << "an interval of 0 stops the trigger";
    form->ui.SpinEdit2->setValue(35791);
    EXPECT_EQ(form->Timer5->Interval(), 35791 * 60000) << "the longest period still fits the timer";

    form->ui.CheckBox5->setChecked(false);
    EXPECT_FALSE(form->Timer5->IsCounting());
}

TEST_F(AutoRecovery, AManualRunDoesNotShortenTheInterval)
{
    form->ui.CheckBox5->setChecked(true);
    const int before = form->Timer5->RemainingTime();
    form->RecupRam();
    EXPECT_EQ(memory.commits, 3);
    EXPECT_LE(form->Timer5->RemainingTime(), before);
    EXPECT_GT(form->Timer5->RemainingTime(), before - 5000);
}

}  // namespace
