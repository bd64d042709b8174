// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/MainWindowFixture.h"
#include "monitor/NamedColors.h"
#include "monitor/PerfChart.h"

namespace {

// The readings of the two monitor timers, driven tick by tick.
class Monitor : public MainWindowFixture {
protected:
    static constexpr std::int64_t kSecond = composed::kSecond;

    void SetUp() override
    {
        MainWindowFixture::SetUp();
        memory.status = {1000 * kMiB, 400 * kMiB, 0};
        Form();
    }
};

TEST_F(Monitor, TheTrayColourTurnsAtTwentyFiveAndFortyFivePercent)
{
    const std::vector<std::pair<std::int64_t, QColor>> cases = {
        {250, clRed}, {251, clRed}, {255, clYellow}, {450, clYellow}, {455, clLime}, {460, clLime}, {0, clRed}};
    for (const auto& [freeMb, colour] : cases) {
        FreeTick(freeMb * kMiB);
        EXPECT_EQ(form->TrayIcon1->Color(), colour) << freeMb << " MB free of 1000";
    }
}

TEST_F(Monitor, PercentModeTextsAndEveryTickReadings)
{
    FreeTick(370 * kMiB);
    EXPECT_EQ(form->TrayIcon1->Text(), "37%");
    EXPECT_EQ(form->ui.StatusPanel0->Text(), " 37 %");
    EXPECT_EQ(form->TrayIcon1->Hint(), "RAM Libre : 370 MB sur 1000 MB RAM Installée");
    EXPECT_EQ(form->ui.Gauge1->value(), 37);
    EXPECT_EQ(form->ui.Label31->text(), "370 MB");
}

TEST_F(Monitor, TheTrayDisplayModeChangesAtTheNextChangedReadingOnly)
{
    FreeTick(512 * kMiB + 100);
    form->ui.RadioGroup2->SetItemIndex(1);
    FreeTick(512 * kMiB + 100);  // the same reading: nothing redrawn
    EXPECT_EQ(form->TrayIcon1->Text(), "51%");
    FreeTick(512 * kMiB + 200);
    EXPECT_EQ(form->TrayIcon1->Text(), "512");
    EXPECT_EQ(form->ui.StatusPanel0->Text(), " 512 MB");

    form->ui.RadioGroup2->SetItemIndex(-1);  // no item chosen reads as percent
    FreeTick(300 * kMiB);
    EXPECT_EQ(form->TrayIcon1->Text(), "30%");
}

TEST_F(Monitor, AnUnchangedReadingCostsNoIconRedraw)
{
    FreeTick(300 * kMiB);
    const std::size_t calls = tray.calls.size();
    const QImage before = form->TrayIcon1->LastRendering();
    FreeTick(300 * kMiB);
    EXPECT_EQ(form->TrayIcon1->LastRendering(), before);
    EXPECT_LE(tray.calls.size(), calls + 1) << "at most the hint is refreshed";
}

TEST_F(Monitor, MoreThanFiveDigitsOfMegabytesAreCutExceptInTheLabel)
{
    memory.status.totalPhys = 200'000 * kMiB;
    form.reset();
    Form();
    form->ui.RadioGroup2->SetItemIndex(1);
    FreeTick(123'456 * kMiB);
    EXPECT_EQ(form->TrayIcon1->Text(), "12345");
    EXPECT_EQ(form->ui.StatusPanel0->Text(), " 12345 MB");
    EXPECT_TRUE(form->TrayIcon1->Hint().startsWith("RAM Libre : 12345 MB sur 200000 MB")) << form->TrayIcon1->Hint().toStdString();
    EXPECT_EQ(form->ui.Label31->text(), "123456 MB");
}

TEST_F(Monitor, NoTotalMemoryReadsAsZeroPercentInsteadOfDividingByZero)
{
    memory.status.totalPhys = 0;
    form.reset();
    Form();
    FreeTick(100 * kMiB);
    EXPECT_EQ(form->ui.StatusPanel0->Text(), " 0 %");
}

TEST_F(Monitor, LoadGaugesAndTheRunningAverage)
{
    LoadTick(0.5);  // the first reading has no predecessor: 0
    EXPECT_EQ(form->ui.StatusPanel1->Text(), " 0 %");
    LoadTick(0.5);
    EXPECT_EQ(form->ui.Gauge2->value(), 50);
    EXPECT_EQ(form->ui.StatusPanel1->Text(), " 50 %");
    EXPECT_EQ(form->ui.Gauge3->value(), 25);
    LoadTick(0.8);
    EXPECT_EQ(form->ui.Gauge3->value(), 43) << "(0 + 50 + 80) / 3 = 43.3";
    LoadTick(0.1);
    EXPECT_EQ(form->ui.Gauge3->value(), 35) << "(0 + 50 + 80 + 10) / 4 = 35";
}

TEST_F(Monitor, AReadingOutOfRangeMovesNoGaugeButCountsInTheAverage)
{
    LoadTick(0.0);
    LoadTick(0.6);
    EXPECT_EQ(form->ui.Gauge2->value(), 60);
    // Clock granularity: more busy time than wall time.
    idle -= kSecond / 5;
    stamp += kSecond;
    perfData.block = composed::CpuBlock({idle, idle}, stamp);
    form->Timer2Timer();
    EXPECT_EQ(form->ui.Gauge2->value(), 60);
    EXPECT_EQ(form->ui.StatusPanel1->Text(), " 120 %");
    EXPECT_EQ(form->ui.Gauge3->value(), 60);
}

TEST_F(Monitor, TheChartTakesAPointPerFreeMemoryTick)
{
    const QImage empty = form->ui.PerfChart1->Picture();
    FreeTick(300 * kMiB);
    EXPECT_NE(form->ui.PerfChart1->Picture(), empty);
    form->ui.SpinEdit1->setValue(20);  // a new alarm level clears the history
    EXPECT_EQ(form->ui.PerfChart1->Picture(), empty);
}

TEST_F(Monitor, TheRefreshSpeedMenuSetsBothTimersAndTheMarks)
{
    const std::vector<std::tuple<QAction*, int>> items = {
        {form->ui.Haute1, 500}, {form->ui.Haute1, 500}, {form->ui.Basse1, 2000}, {form->ui.Normale1, 1000}};
    for (const auto& [item, interval] : items) {
        item->trigger();
        EXPECT_EQ(form->Timer1->Interval(), interval);
        EXPECT_EQ(form->Timer2->Interval(), interval);
        for (QAction* other : {form->ui.Basse1, form->ui.Normale1, form->ui.Haute1})
            EXPECT_EQ(other->isChecked(), other == item) << other->objectName().toStdString();
    }
}

TEST_F(Monitor, EveryFreeMemoryTickAddsExactlyOnePointEvenWhenNothingChanged)
{
    TPerfChart alone;
    alone.resize(form->ui.PerfChart1->size());
    alone.Init();
    alone.SetPlotColor(clLime);
    for (int tick = 0; tick < 4; ++tick) {
        FreeTick(300 * kMiB);
        alone.Plot(30, 0, form->ui.SpinEdit1->Value());
        EXPECT_EQ(form->ui.PerfChart1->Picture(), alone.Picture()) << "after tick " << tick + 1;
    }
}

TEST_F(Monitor, FreeShareAndAverageLoadRoundHalvesToEven)
{
    FreeTick(125 * kMiB);  // 12.5 % of 1000 MB
    EXPECT_EQ(form->ui.StatusPanel0->Text(), " 12 %");
    FreeTick(135 * kMiB);
    EXPECT_EQ(form->ui.StatusPanel0->Text(), " 14 %");

    LoadTick(0.9);   // the first reading: 0
    LoadTick(0.25);  // (0 + 25) / 2 = 12.5
    EXPECT_EQ(form->ui.Gauge3->value(), 12);
    LoadTick(0.0);
    LoadTick(0.29);  // (0 + 25 + 0 + 29) / 4 = 13.5
    EXPECT_EQ(form->ui.Gauge3->value(), 14);
}

}  // namespace
