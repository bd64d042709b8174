// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "monitor/NamedColors.h"
#include "monitor/PixelFont.h"
#include "monitor/TextTrayIcon.h"
#include "platform/fake/FakeTrayHost.h"

namespace {

using platform::FakeTrayHost;
using Picture = std::vector<std::string>;

// The icon as the main window sets it up: black text on lime, a silver frame, moved one pixel
// right and down from the centre.
class TextTrayIconFixture : public ::testing::Test {
protected:
    TextTrayIconFixture()
    {
        icon.SetFontColor(clBlack);
        icon.SetColor(clLime);
        icon.SetBorder(true);
        icon.SetBorderColor(clSilver);
        icon.Options().SetOffsetX(1);
        icon.Options().SetOffsetY(1);
        icon.Options().SetLineDistance(0);
    }

    // A pixel a character: '#' the font colour, 'S' silver, '.' the effective background.
    Picture Draw() const { return Draw(icon.LastRendering()); }
    Picture Draw(const QImage& image) const
    {
        Picture rows;
        for (int y = 0; y < image.height(); ++y) {
            std::string row;
            for (int x = 0; x < image.width(); ++x) {
                const QRgb pixel = image.pixel(x, y) & RGB_MASK;
                row += pixel == (icon.FontColor().rgb() & RGB_MASK)          ? '#'
                       : pixel == (clSilver.rgb() & RGB_MASK)                ? 'S'
                       : pixel == (icon.EffectiveBackground().rgb() & RGB_MASK) ? '.'
                                                                             : '?';
            }
            rows.push_back(row);
        }
        return rows;
    }

    FakeTrayHost host;
    TTextTrayIcon icon{host};
};

// The readings come every second; the picture is drawn and handed to the tray only when its text,
// colour or frame changes.
TEST_F(TextTrayIconFixture, ThePictureIsDrawnAgainOnlyWhenItChanges)
{
    icon.SetText(QStringLiteral("37%"));
    const int handedOver = host.Count(FakeTrayHost::Call::Modify);
    icon.SetText(QStringLiteral("37%"));
    icon.SetColor(clLime);
    icon.SetFontColor(clBlack);
    icon.SetBorder(true);
    icon.SetBorderColor(clSilver);
    EXPECT_EQ(host.Count(FakeTrayHost::Call::Modify), handedOver);
    icon.SetText(QStringLiteral("38%"));
    icon.SetColor(clYellow);
    EXPECT_EQ(host.Count(FakeTrayHost::Call::Modify), handedOver + 2);
}

TEST_F(TextTrayIconFixture, OneLineIsCentredThenMovedByTheOffsetsInsideTheFrame)
{
    icon.SetText(QStringLiteral("37%"));
    EXPECT_EQ(Draw(), (Picture{
                          "SSSSSSSSSSSSSSSS",
                          "S..............S",
                          "S..............S",
                          "S..............S",
                          "S..............S",
                          "S..............S",
                          "S..###.###.#.#.S",
                          "S....#...#...#.S",
                          "S...##...#..#..S",
                          "S....#..#..#...S",
                          "S..###..#..#.#.S",
                          "S..............S",
                          "S..............S",
                          "S..............S",
                          "S..............S",
                          "SSSSSSSSSSSSSSSS",
                      }));
    EXPECT_EQ(icon.LastRendering().pixelColor(5, 5), clLime);
    EXPECT_EQ(icon.Icon(), icon.LastRendering()) << "a coloured square is shown whole, nothing see-through";
}

TEST_F(TextTrayIconFixture, AHundredPercentFitsBetweenTheFrameLines)
{
    icon.SetText(QStringLiteral("100%"));
    const Picture picture = Draw();
    EXPECT_EQ(picture[6], "S.#.###.###.#.#S");
    EXPECT_EQ(picture[7], "S##.#.#.#.#...#S");
    for (const std::string& row : picture)
        EXPECT_EQ(row.back(), 'S');
}

TEST_F(TextTrayIconFixture, TwoLinesAreEachCentredOnTheirOwn)
{
    icon.SetText(QStringLiteral("1\r100"));
    EXPECT_EQ(Draw(), (Picture{
                          "SSSSSSSSSSSSSSSS",
                          "S..............S",
                          "S.......#......S",
                          "S......##......S",
                          "S.......#......S",
                          "S.......#......S",
                          "S.......#......S",
                          "S..............S",
                          "S..............S",
                          "S...#.###.###..S",
                          "S..##.#.#.#.#..S",
                          "S...#.#.#.#.#..S",
                          "S...#.#.#.#.#..S",
                          "S...#.###.###..S",
                          "S..............S",
                          "SSSSSSSSSSSSSSSS",
                      }));
}

TEST_F(TextTrayIconFixture, TheLineDistanceSpreadsLinesAndOnlyARealChangeRedraws)
{
    icon.SetText(QStringLiteral("1\r1"));
    EXPECT_EQ(Draw()[2], "S.......#......S");
    EXPECT_EQ(Draw()[9], "S.......#......S");

    const int before = host.Count(FakeTrayHost::Call::Modify);
    icon.Options().SetLineDistance(0);
    icon.Options().SetOffsetX(1);
    EXPECT_EQ(host.Count(FakeTrayHost::Call::Modify), before) << "an unchanged option draws nothing";

    icon.Options().SetLineDistance(2);  // line height 9: first line at (15 - 18) / 2 + 1 = 0
    EXPECT_EQ(host.Count(FakeTrayHost::Call::Modify), before + 1);
    EXPECT_EQ(Draw()[1], "S.......#......S");
    EXPECT_EQ(Draw()[10], "S.......#......S");
    EXPECT_EQ(Draw()[9], "S..............S");
}

TEST_F(TextTrayIconFixture, OffsetsMoveTheTextAndATooWideTextStartsLeftOfTheSquare)
{
    icon.SetBorder(false);
    icon.Options().SetOffsetX(0);
    icon.Options().SetOffsetY(0);
    icon.SetText(QStringLiteral("0"));
    EXPECT_EQ(Draw()[5], "......###.......");  // x = (15 - 3) / 2, glyph rows from (15 - 7) / 2 + 1
    EXPECT_EQ(Draw()[9], "......###.......");

    icon.Options().SetOffsetX(-6);
    icon.Options().SetOffsetY(-5);
    EXPECT_EQ(Draw()[0], "###.............");
    EXPECT_EQ(Draw()[4], "###.............");

    // 22 columns wide: x = (15 - 22) / 2 = -3, truncated towards zero, so the "1" is cut off
    // and the first "0" stands whole in column 0.
    icon.Options().SetOffsetX(0);
    icon.Options().SetOffsetY(0);
    icon.SetText(QStringLiteral("100000"));
    ASSERT_EQ(PixelFont::TextWidth(QStringLiteral("100000")), 22);
    EXPECT_EQ(Draw()[7], "#.#.#.#.#.#.#.#.");
}

TEST_F(TextTrayIconFixture, ABackgroundLikeTheTextTurnsToTheComplementOfTheFontColour)
{
    icon.SetFontColor(QColor(0x12, 0x34, 0x56));
    icon.SetColor(QColor(0x12, 0x34, 0x56));
    icon.SetText(QStringLiteral("8"));
    EXPECT_EQ(icon.EffectiveBackground(), QColor(0xED, 0xCB, 0xA9));
    EXPECT_EQ(icon.LastRendering().pixelColor(3, 3), QColor(0xED, 0xCB, 0xA9));
    EXPECT_EQ(Draw()[6], "S......###.....S");
    EXPECT_EQ(icon.Icon(), icon.LastRendering()) << "a colour was given: nothing is see-through";

    icon.SetColor(clRed);
    EXPECT_EQ(icon.EffectiveBackground(), clRed);
}

TEST_F(TextTrayIconFixture, WithoutABackgroundColourOnlyTheTextAndFrameShow)
{
    icon.SetColor(clNone);
    icon.SetText(QStringLiteral("8"));
    EXPECT_EQ(icon.EffectiveBackground(), QColor(255, 255, 255)) << "the complement of black";

    const QImage& shown = icon.Icon();
    ASSERT_EQ(shown.size(), QSize(16, 16));
    EXPECT_EQ(qAlpha(shown.pixel(3, 3)), 0);
    EXPECT_EQ(qAlpha(shown.pixel(8, 7)), 0) << "the hole inside the 8";
    EXPECT_EQ(shown.pixel(7, 6), qRgba(0, 0, 0, 255));
    EXPECT_EQ(shown.pixel(0, 0), clSilver.rgba());
    EXPECT_EQ(host.calls.back().data.icon, shown) << "the tray gets the see-through picture";
    EXPECT_EQ(qAlpha(icon.LastRendering().pixel(3, 3)), 255) << "the last drawing itself stays opaque";
}

TEST_F(TextTrayIconFixture, EveryChangeOfWhatIsShownRedrawsAndRefreshesTheTray)
{
    const std::vector<std::function<void()>> changes = {
        [&] { icon.SetText(QStringLiteral("42%")); },
        [&] { icon.SetColor(clYellow); },
        [&] { icon.SetFontColor(clRed); },
        [&] { icon.SetBorderColor(clBlack); },
        [&] { icon.SetBorder(false); },
        [&] { icon.Options().SetOffsetY(3); },
    };
    for (std::size_t i = 0; i < changes.size(); ++i) {
        const QImage before = icon.Icon();
        const int refreshes = host.Count(FakeTrayHost::Call::Modify);
        changes[i]();
        EXPECT_EQ(host.Count(FakeTrayHost::Call::Modify), refreshes + 1) << i;
        EXPECT_NE(icon.Icon(), before) << i;
        EXPECT_EQ(host.calls.back().data.icon, icon.Icon()) << i;
    }
}

TEST_F(TextTrayIconFixture, ARestartedTrayHostShowsTheCurrentTextColourAndHint)
{
    icon.SetIconVisible(true);
    host.inTray = false;  // the tray host went away with its icons
    icon.SetText(QStringLiteral("12%"));
    icon.SetColor(clRed);
    icon.SetHint(QStringLiteral("RAM Libre : 96 MB sur 800 MB RAM Installée"));
    EXPECT_FALSE(host.inTray);

    host.Raise(platform::TrayNotice::HostRecreated);
    ASSERT_TRUE(host.inTray);
    EXPECT_EQ(host.calls.back().call, FakeTrayHost::Call::Add);
    EXPECT_EQ(host.shown.icon, icon.Icon());
    EXPECT_EQ(host.shown.icon.pixelColor(2, 2), clRed);
    EXPECT_EQ(host.shown.tip, QStringLiteral("RAM Libre : 96 MB sur 800 MB RAM Installée"));
}

TEST(PixelFont, LowerCaseIsDrawnInCapitalsAndUnknownCharactersAsAQuestionMark)
{
    auto draw = [](const QString& text) {
        QImage image(16, 7, QImage::Format_RGB32);
        image.fill(Qt::white);
        PixelFont::DrawText(image, 0, 0, text, Qt::black);
        return image;
    };
    EXPECT_EQ(draw(QStringLiteral("mb")), draw(QStringLiteral("MB")));
    EXPECT_EQ(draw(QStringLiteral("é")), draw(QStringLiteral("?")));
    EXPECT_NE(draw(QStringLiteral("5")), draw(QStringLiteral("?")));
    EXPECT_EQ(PixelFont::TextWidth(QString()), 0);
    EXPECT_EQ(PixelFont::TextWidth(QStringLiteral("0")), 3);
    EXPECT_EQ(PixelFont::TextWidth(QStringLiteral("100%")), 14) << "fits between the frame lines of the icon";
}

// Trays with larger slots get the icon drawn for their size: the same square, text, frame and
// offsets, grown by the whole factor that fits, never a stretched 16-pixel picture.
TEST_F(TextTrayIconFixture, LargerSizesAreDrawnForTheirOwnSize)
{
    icon.SetText(QStringLiteral("37%"));
    const QList<QImage> larger = host.calls.back().data.largerIcons;
    ASSERT_EQ(larger.size(), 4);
    const Picture small = Draw();
    for (int index = 0; index < larger.size(); ++index) {
        const int size = TTextTrayIcon::kLargerSizes[index];
        const int scale = size / 16;
        ASSERT_EQ(larger[index].size(), QSize(size, size));
        const Picture drawn = Draw(larger[index]);
        for (const std::string& row : drawn)
            EXPECT_EQ(row.find('?'), std::string::npos) << size << ": only the icon's own colours, no blend";
        EXPECT_EQ(drawn.front(), std::string(size, 'S')) << size;
        EXPECT_EQ(drawn[scale - 1], std::string(size, 'S')) << size << ": the frame grows with the factor";
        EXPECT_EQ(drawn[scale][scale], '.') << size;

        // The text is the 16-pixel one, each pixel a scale x scale block, centred the same way.
        const int width = PixelFont::TextWidth(u"37%") * scale;
        const int left = (size - scale - width) / 2 + scale;
        const int top = (size - scale - PixelFont::kLineHeight * scale) / 2 + scale;
        const int smallLeft = (16 - 1 - PixelFont::TextWidth(u"37%")) / 2 + 1;
        const int smallTop = (16 - 1 - PixelFont::kLineHeight) / 2 + 1;
        for (int y = 0; y < PixelFont::kLineHeight * scale; ++y)
            for (int x = 0; x < width; ++x)
                EXPECT_EQ(drawn[top + y][left + x], small[smallTop + y / scale][smallLeft + x / scale])
                    << size << " at " << left + x << "," << top + y;
    }

    // Without a background only the text and the frame show, at every size.
    icon.SetColor(QColor());
    for (const QImage& picture : host.calls.back().data.largerIcons)
        EXPECT_EQ(qAlpha(picture.pixel(picture.width() / 2, 2 * (picture.width() / 16))), 0) << picture.width();
}

}  // namespace
