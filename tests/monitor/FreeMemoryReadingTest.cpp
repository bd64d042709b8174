// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "monitor/FreeMemoryReading.h"
#include "monitor/LoadAverage.h"
#include "monitor/NamedColors.h"

static void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace {

constexpr std::int64_t kMiB = 1 << 20;
constexpr int kPercentMode = 0;
constexpr int kMegabytesMode = 1;

TFreeMemoryReading OfThousand(std::int64_t freeBytes)
{
    return TFreeMemoryReading::Of(freeBytes, 1000 * kMiB);
}

TEST(FreeMemoryReading, TheTrayColourTurnsAtTwentyFiveAndFortyFivePercent)
{
    const std::vector<std::pair<std::int64_t, QColor>> cases = {
        {250, clRed}, {251, clRed}, {255, clYellow}, {450, clYellow}, {455, clLime}, {460, clLime}, {0, clRed}};
    for (const auto& [freeMb, colour] : cases)
        EXPECT_EQ(OfThousand(freeMb * kMiB).TrayColour(), colour) << freeMb << " MB free of 1000";
}

TEST(FreeMemoryReading, TextsInPercentAndInMegabytes)
{
    const TFreeMemoryReading reading = OfThousand(370 * kMiB);
    EXPECT_EQ(reading.freeBytes, 370 * kMiB);
    EXPECT_EQ(reading.freePercent, 37);
    EXPECT_EQ(reading.TrayText(kPercentMode), "37%");
    EXPECT_EQ(reading.PanelText(kPercentMode), " 37 %");
    EXPECT_EQ(reading.TrayText(kMegabytesMode), "370");
    EXPECT_EQ(reading.PanelText(kMegabytesMode), " 370 MB");
    EXPECT_EQ(reading.TrayText(-1), "37%") << "no mode chosen reads as percent";
    EXPECT_EQ(reading.Hint(1000), "RAM Libre : 370 MB sur 1000 MB RAM Installée");
    EXPECT_EQ(reading.LabelText(), "370 MB");
}

TEST(FreeMemoryReading, MoreThanFiveDigitsOfMegabytesAreCutExceptInTheLabel)
{
    const TFreeMemoryReading reading = TFreeMemoryReading::Of(123'456 * kMiB, 200'000 * kMiB);
    EXPECT_EQ(reading.TrayText(kMegabytesMode), "12345");
    EXPECT_EQ(reading.PanelText(kMegabytesMode), " 12345 MB");
    EXPECT_EQ(reading.Hint(200'000), "RAM Libre : 12345 MB sur 200000 MB RAM Installée");
    EXPECT_EQ(reading.LabelText(), "123456 MB");
}

TEST(FreeMemoryReading, NoTotalMemoryReadsAsZeroPercentAndHalvesRoundToEven)
{
    EXPECT_EQ(TFreeMemoryReading::Of(100 * kMiB, 0).freePercent, 0);
    EXPECT_EQ(OfThousand(125 * kMiB).freePercent, 12) << "12.5 %";
    EXPECT_EQ(OfThousand(135 * kMiB).freePercent, 14) << "13.5 %";
    EXPECT_EQ(OfThousand(kMiB / 2).freeMb, 0) << "0.5 MB";
    EXPECT_EQ(OfThousand(3 * kMiB / 2).freeMb, 2) << "1.5 MB";
}

TEST(LoadAverage, ThePlainMeanOfEveryReadingOutOfRangeOnesIncluded)
{
    TLoadAverage average;
    EXPECT_EQ(average.Add(0), 0);
    EXPECT_EQ(average.Add(50), 25);
    EXPECT_EQ(average.Add(80), 43) << "(0 + 50 + 80) / 3 = 43.3";
    EXPECT_EQ(average.Add(10), 35) << "(0 + 50 + 80 + 10) / 4 = 35";
    EXPECT_EQ(average.SampleCount(), 5);

    TLoadAverage outOfRange;
    outOfRange.Add(0);
    outOfRange.Add(60);
    EXPECT_EQ(outOfRange.Add(120), 60);
    EXPECT_DOUBLE_EQ(outOfRange.FractionSum(), 1.8);
    EXPECT_EQ(LoadPanelText(120), " 120 %");
}

TEST(LoadAverage, HalvesRoundToEven)
{
    TLoadAverage average;
    average.Add(0);
    EXPECT_EQ(average.Add(25), 12) << "12.5";
    average.Add(0);
    EXPECT_EQ(average.Add(29), 14) << "13.5";
}

}  // namespace
