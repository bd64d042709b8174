// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <climits>
#include <vector>

#include "monitor/PerfChart.h"

namespace {

constexpr int kW = 297;
constexpr int kH = 97;
constexpr QRgb kBlack = qRgb(0, 0, 0);
constexpr QRgb kGreen = qRgb(0, 128, 0);
constexpr QRgb kRed = qRgb(255, 0, 0);
constexpr QRgb kAqua = qRgb(0, 255, 255);
constexpr QRgb kLime = qRgb(0, 255, 0);
constexpr QRgb kYellow = qRgb(255, 255, 0);

// The chart as the main window sets it up: 297 x 97, initialised, lime free-memory line.
class PerfChartFixture : public ::testing::Test {
protected:
    PerfChartFixture()
    {
        chart.resize(kW, kH);
        chart.Init();
        chart.SetPlotColor(QColor(kLime));
    }

    QRgb At(int x, int y) { return chart.Picture().pixel(x, y); }

    void PlotTimes(int times, int free, int load, int alarm)
    {
        for (int i = 0; i < times; ++i)
            chart.Plot(free, load, alarm);
    }

    // Rows of column x holding the given colour.
    std::vector<int> RowsOf(int x, QRgb color)
    {
        std::vector<int> rows;
        for (int y = 0; y < kH; ++y)
            if (At(x, y) == color)
                rows.push_back(y);
        return rows;
    }

    TPerfChart chart;
};

TEST_F(PerfChartFixture, InitDrawsTheGridOnBlackWithAnEdgeLineOnTheRight)
{
    ASSERT_EQ(chart.Picture().size(), QSize(kW, kH));
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            const bool grid = y % 10 == 0 || x % 10 == 0 || x == kW - 1;
            ASSERT_EQ(At(x, y), grid ? kGreen : kBlack) << x << "," << y;
        }
}

TEST_F(PerfChartFixture, ScalePutsHundredOnRowOneFiftyOnRowFiftyAndZeroBelowThePicture)
{
    // Only the alarm segment is visible: free and load 0 land on row 98, off the picture.
    chart.Plot(0, 0, 100);
    EXPECT_EQ(RowsOf(kW - 1, kRed), std::vector<int>{1});
    chart.Init();
    chart.Plot(0, 0, 50);  // 49.5 rounds to the even row
    EXPECT_EQ(RowsOf(kW - 1, kRed), std::vector<int>{50});
    chart.Init();
    chart.Plot(0, 0, 0);
    for (int x = 0; x < kW; ++x)
        EXPECT_TRUE(RowsOf(x, kRed).empty()) << x;
    EXPECT_TRUE(RowsOf(kW - 3, kAqua).empty());
    EXPECT_TRUE(RowsOf(kW - 3, kLime).empty());

    PlotTimes(3, 100, 50, 0);  // the third point's column holds only the level stretch
    EXPECT_EQ(RowsOf(kW - 3, kLime), std::vector<int>{1});
    EXPECT_EQ(RowsOf(kW - 3, kAqua), std::vector<int>{50});

    TPerfChart taller;  // at 98 rows, 25 % lands on row 74.5: the even row wins
    taller.resize(kW, 98);
    taller.Init();
    taller.Plot(0, 0, 25);
    EXPECT_EQ(taller.Picture().pixel(kW - 1, 74), kRed);
    EXPECT_EQ(taller.Picture().pixel(kW - 1, 75), kBlack);
}

TEST_F(PerfChartFixture, FreeShareIsHeldToTheScaleWhileLoadAndAlarmAreNot)
{
    PlotTimes(3, 150, 101, 101);
    EXPECT_EQ(RowsOf(kW - 3, kLime), std::vector<int>{1}) << "150 % free is drawn at 100 %";
    EXPECT_EQ(At(kW - 3, 0), kAqua) << "a load of 101 % goes above row 1";
    EXPECT_EQ(At(kW - 1, 0), kRed) << "so does an alarm of 101 %";

    // From 50 % towards a free share far below 0: held at 0, the line reaches the bottom edge
    // within the new strip instead of leaving it almost vertically.
    chart.Init();
    PlotTimes(2, 50, 0, 0);
    chart.Plot(-1000, 0, 0);
    EXPECT_EQ(At(kW - 1, 96), kLime);
    EXPECT_NE(At(kW - 3, 96), kLime);
}

TEST_F(PerfChartFixture, LoadFarOffTheScaleIsClippedNotWalked)
{
    chart.Plot(0, INT32_MAX, 0);
    chart.Plot(0, INT32_MIN, 0);
    // A line from far above to far below crosses the whole picture half way along its 2 pixels.
    EXPECT_EQ(RowsOf(kW - 2, kAqua).size(), static_cast<size_t>(kH));
}

TEST_F(PerfChartFixture, SegmentsStopJustBeforeTheirEndPoint)
{
    PlotTimes(2, 50, 20, 0);  // load 20 % -> row 78.6 -> 79
    EXPECT_EQ(At(kW - 3, 50), kLime);
    EXPECT_EQ(At(kW - 2, 50), kLime);
    EXPECT_EQ(At(kW - 1, 50), kGreen) << "the grid row, not the line's end point";
    EXPECT_EQ(At(kW - 2, 79), kAqua);
    EXPECT_EQ(At(kW - 1, 79), kBlack);

    // A steep rise from the bottom edge: one pixel on each row it crosses, none on its end row.
    chart.Init();
    chart.Plot(100, 0, 0);
    for (int y = 1; y < kH; ++y) {
        int count = 0;
        for (int x = kW - 3; x < kW; ++x)
            count += At(x, y) == kLime;
        EXPECT_EQ(count, y == 1 ? 0 : 1) << "row " << y;
    }
}

TEST_F(PerfChartFixture, EveryPointScrollsThePictureTwoPixelsLeftAndJoinsThePreviousOne)
{
    EXPECT_EQ(At(290, 5), kGreen);
    chart.Plot(0, 0, 0);
    EXPECT_EQ(At(288, 5), kGreen);
    EXPECT_EQ(At(290, 5), kBlack);
    EXPECT_EQ(At(kW - 3, 5), kGreen) << "the right edge line moved in from x = W - 1";
    EXPECT_EQ(At(kW - 1, 5), kBlack);
    EXPECT_EQ(At(kW - 1, 10), kGreen) << "horizontal grid continued over the new strip";
    EXPECT_EQ(At(kW - 2, 10), kGreen);

    // Everything left of the new point's strip is the old picture moved by exactly 2 pixels.
    for (int free : {50, 50, 50}) {
        const QImage before = chart.Picture();
        chart.Plot(free, 0, 30);
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW - 4; ++x)
                ASSERT_EQ(At(x, y), before.pixel(x + 2, y)) << x << "," << y;
    }
    EXPECT_EQ(At(282, 5), kGreen);
    // The point of two plots ago sits 2 pixels left of the latest one, joined on row 50.
    for (int x = kW - 5; x < kW - 1; ++x)
        EXPECT_EQ(At(x, 50), kLime) << x;
    EXPECT_EQ(At(kW - 1, 69), kRed);  // 98 - 29.1 = 68.9
}

TEST_F(PerfChartFixture, EverySixthPointDrawsAVerticalGridLineAtTheRightEdge)
{
    PlotTimes(5, 0, 0, 0);
    EXPECT_EQ(At(kW - 1, 5), kBlack);
    chart.Plot(0, 0, 0);
    EXPECT_EQ(RowsOf(kW - 1, kGreen).size(), static_cast<size_t>(kH));
    PlotTimes(5, 0, 0, 0);
    EXPECT_EQ(At(kW - 11, 5), kGreen);
    EXPECT_EQ(At(kW - 1, 5), kBlack);
    chart.Plot(0, 0, 0);
    EXPECT_EQ(At(kW - 1, 5), kGreen);
    EXPECT_EQ(At(kW - 13, 5), kGreen) << "12 pixels apart";
}

TEST_F(PerfChartFixture, PlotColourAppliesFromTheNextSegmentOn)
{
    PlotTimes(2, 50, 0, 0);
    chart.SetPlotColor(QColor(kYellow));
    chart.Plot(50, 0, 0);
    EXPECT_EQ(At(kW - 5, 50), kLime);
    EXPECT_EQ(At(kW - 4, 50), kLime);
    EXPECT_EQ(At(kW - 3, 50), kYellow);
    EXPECT_EQ(At(kW - 2, 50), kYellow);
}

TEST_F(PerfChartFixture, InitWipesTheHistoryAndTheNextPointRisesFromTheBottomEdge)
{
    PlotTimes(20, 70, 40, 35);
    chart.Init();
    TPerfChart fresh;
    fresh.resize(kW, kH);
    fresh.Init();
    EXPECT_EQ(chart.Picture(), fresh.Picture());

    chart.Plot(100, 0, 0);
    EXPECT_EQ(At(kW - 3, 96), kLime);
    PlotTimes(3, 100, 0, 0);
    EXPECT_EQ(At(kW - 1, 5), kBlack) << "the grid phase starts again";
    PlotTimes(2, 100, 0, 0);
    EXPECT_EQ(At(kW - 1, 5), kGreen);
}

TEST_F(PerfChartFixture, TheAlarmSegmentStartsThreePixelsLeftOfWhereThePenRests)
{
    PlotTimes(3, 100, 100, 0);  // a history with no alarm on the picture
    // The grid rows leave the pen at the right edge: the segment starts 3 pixels left of it.
    chart.Plot(100, 100, 35);
    const std::vector<int> alarmRows = RowsOf(kW - 1, kRed);
    ASSERT_EQ(alarmRows.size(), 1u);
    EXPECT_EQ(At(kW - 3, alarmRows[0]), kRed);
    EXPECT_NE(At(kW - 4, alarmRows[0]), kRed);

    // At every sixth point the vertical grid line leaves the pen one pixel further left.
    chart.Plot(100, 100, 0);
    chart.Plot(100, 100, 45);
    const std::vector<int> sixthRows = RowsOf(kW - 1, kRed);
    ASSERT_EQ(sixthRows.size(), 1u);
    EXPECT_EQ(At(kW - 4, sixthRows[0]), kRed);
    EXPECT_NE(At(kW - 5, sixthRows[0]), kRed);
}

// Off screen the points wait, and only those still on the picture are drawn when it is shown: the
// picture is the same to the pixel as one drawn point by point on screen, whatever the count.
TEST(PerfChart, PointsPlottedOffScreenGiveTheSamePictureAsPointsDrawnOnScreen)
{
    for (const int count : {1, 40, kW / 2 + 2, kW / 2 + 3, 1000, 1003}) {
        SCOPED_TRACE(count);
        TPerfChart shown;
        TPerfChart hidden;
        for (TPerfChart* chart : {&shown, &hidden}) {
            chart->resize(kW, kH);
            chart->Init();
            chart->SetPlotColor(QColor(kLime));
        }
        shown.show();
        ASSERT_TRUE(shown.isVisible());
        ASSERT_FALSE(hidden.isVisible());
        std::uint32_t seed = 12345;
        for (int i = 0; i < count; ++i) {
            seed = seed * 1103515245u + 12345u;
            const int free = static_cast<int>(seed >> 8) % 120 - 10;
            const int load = static_cast<int>(seed >> 16) % 140 - 20;
            const int alarm = static_cast<int>(seed >> 4) % 100;
            if (i == count / 2)
                for (TPerfChart* chart : {&shown, &hidden})
                    chart->SetPlotColor(QColor(kYellow));
            shown.Plot(free, load, alarm);
            hidden.Plot(free, load, alarm);
            ASSERT_EQ(shown.accessibleDescription(), hidden.accessibleDescription()) << "told at once, shown or not";
        }
        EXPECT_EQ(hidden.Picture(), shown.Picture());
        // And drawing goes on from there as on screen.
        hidden.show();
        shown.Plot(50, 50, 50);
        hidden.Plot(50, 50, 50);
        EXPECT_EQ(hidden.Picture(), shown.Picture());
    }
}

TEST(PerfChart, NewChartPlotsInBlackUntilTheOwnerSetsAColourByName)
{
    TPerfChart chart;
    EXPECT_EQ(chart.PlotColor(), QColor(Qt::black));
    EXPECT_TRUE(chart.setProperty("PlotColor", QColor(kLime)));
    EXPECT_EQ(chart.PlotColor(), QColor(kLime));
}

TEST(PerfChart, PictureTakesTheWidgetsSizeOnceAndTheWidgetKeepsIt)
{
    TPerfChart chart;
    chart.resize(kW, kH);
    chart.Plot(10, 10, 10);  // before Init: shows nothing useful, but draws safely
    chart.Init();
    chart.resize(400, 200);
    chart.Init();
    EXPECT_EQ(chart.Picture().size(), QSize(kW, kH));
    EXPECT_EQ(chart.size(), QSize(kW, kH));
    EXPECT_EQ(chart.sizeHint(), QSize(kW, kH));
    EXPECT_EQ(chart.grab().toImage().convertToFormat(QImage::Format_RGB32), chart.Picture());

    TPerfChart empty;
    empty.resize(0, 0);
    empty.Init();
    empty.Plot(50, 50, 50);
    EXPECT_TRUE(empty.Picture().isNull());
}

TEST(PerfChart, RightClickReachesTheOwnersContextMenu)
{
    TPerfChart chart;
    chart.resize(kW, kH);
    chart.setContextMenuPolicy(Qt::CustomContextMenu);
    QPoint requested;
    QObject::connect(&chart, &QWidget::customContextMenuRequested, [&](const QPoint& pos) { requested = pos; });
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(20, 30), chart.mapToGlobal(QPoint(20, 30)));
    QCoreApplication::sendEvent(&chart, &event);
    EXPECT_EQ(requested, QPoint(20, 30));
}

}  // namespace
