// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "recovery/RecoveryTriggers.h"
#include "recovery/RunReport.h"

static void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace {

constexpr int kAlarmLevel = 35;
constexpr int kCeiling = 15;

TEST(RecoveryTriggers, TheAlarmFiresOnlyStrictlyBelowItsLevelAndAtMostAtTheCeiling)
{
    struct Case {
        std::int64_t freePercent;
        std::int64_t cpuPercent;
        bool alarmOn;
        bool due;
    };
    for (const Case& c : std::vector<Case>{{34, 10, true, true},
                                           {35, 10, true, false},
                                           {34, 15, true, true},
                                           {34, 16, true, false},
                                           {0, 0, false, false}})
        EXPECT_EQ(AlarmDue(c.alarmOn, c.freePercent, kAlarmLevel, c.cpuPercent, kCeiling), c.due)
            << c.freePercent << "% free, load " << c.cpuPercent;
    EXPECT_FALSE(AlarmDue(true, 0, 0, 0, kCeiling)) << "no share is below a level of 0";
    EXPECT_TRUE(AlarmDue(true, 10, kAlarmLevel, 0, 0)) << "a ceiling of 0 lets an idle machine through";
    EXPECT_FALSE(AlarmDue(true, 10, kAlarmLevel, 1, 0));
}

TEST(RecoveryTriggers, TheIntervalHoldsBackUnderLoadAndDuringARun)
{
    EXPECT_TRUE(IntervalDue(15, kCeiling, false));
    EXPECT_FALSE(IntervalDue(16, kCeiling, false));
    EXPECT_FALSE(IntervalDue(0, kCeiling, true));
    EXPECT_EQ(IntervalPeriodMs(45), 45 * 60000);
    EXPECT_EQ(IntervalPeriodMs(0), 0);
    EXPECT_EQ(IntervalPeriodMs(35791), 35791 * 60000) << "the longest period still fits the timer";
}

TEST(RunReport, ARunIsUnderWayFromItsStartToTheEndOfItsEndEvent)
{
    TRunReport run;
    EXPECT_FALSE(run.Running());
    run.Start();
    run.MeasureBefore(400LL << 20);
    EXPECT_TRUE(run.Running());
    EXPECT_EQ(run.Gain(403LL << 20), 3);
    EXPECT_TRUE(run.Running()) << "until its end event is done";
    EXPECT_EQ(run.FreeBefore(), 400LL << 20);
    EXPECT_EQ(run.FreeAfter(), 403LL << 20);
    run.Finish();
    EXPECT_FALSE(run.Running());

    run.Start();
    run.MeasureBefore(400LL << 20);
    EXPECT_EQ(run.Gain((398LL << 20) + (1 << 19)), -2) << "-1.5 MB goes to the even -2";
}

TEST(RunReport, TheStatusPanelAndBalloonTexts)
{
    EXPECT_EQ(RunStartText(), " optimisation en cours ... %");
    EXPECT_EQ(RunProgressText(25), " optimisation en cours ...25 %");
    EXPECT_EQ(RunGainText(3), " Quantité récupérée : 3 MB");
    EXPECT_EQ(RunGainText(-2), " Quantité récupérée : -2 MB");
    EXPECT_EQ(RunStartBalloon(), "Optimisation en cours ...");
    EXPECT_EQ(RunEndBalloon(3), "Optimisation terminée!\n\rQuantitée récupérée : 3 MB.");
}

}  // namespace
