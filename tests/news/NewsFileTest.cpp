// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <random>

#include "news/NewsFile.h"

namespace {

std::vector<TNewsHeading> Parse(const QByteArray& content)
{
    return TNewsFile(content).Headings();
}

TEST(NewsFile, HeadingsAndEntriesInNumberOrderWithGapsAllowed)
{
    const auto headings = Parse(
        "item3=Third\r\n"
        "subitem3-7=Later | http://example.org/b.html\r\n"
        "subitem3-2=  Earlier  |  http://example.org/a.zip  \r\n"
        "item0=\r\n"
        "subitem0-0=Orphan|http://example.org/\r\n"
        "item1=First\n"
        "subitem1-0=No bar here\n"
        "subitem1-1=|\n");
    ASSERT_EQ(headings.size(), 2u);  // heading 0 is empty, 2 is missing: both skipped, not an end
    EXPECT_EQ(headings[0].text, "First");
    ASSERT_EQ(headings[0].entries.size(), 1u);  // the entry without "|" is not shown
    EXPECT_EQ(headings[0].entries[0].title, "");
    EXPECT_EQ(headings[0].entries[0].link, "");
    EXPECT_EQ(headings[1].text, "Third");
    ASSERT_EQ(headings[1].entries.size(), 2u);
    EXPECT_EQ(headings[1].entries[0].title, "Earlier");
    EXPECT_EQ(headings[1].entries[0].link, "http://example.org/a.zip");
    EXPECT_EQ(headings[1].entries[0].image, TNewsFile::kZipImage);
    EXPECT_EQ(headings[1].entries[1].title, "Later");
}

TEST(NewsFile, HeadingThreeAloneShowsOneHeading)
{
    const auto headings = Parse("item3=Only\n");
    ASSERT_EQ(headings.size(), 1u);
    EXPECT_EQ(headings[0].text, "Only");
    EXPECT_TRUE(headings[0].entries.empty());
}

TEST(NewsFile, NamesMatchInAnyCaseAndTheFirstLineWins)
{
    const TNewsFile file("ITEM0=Upper\nitem0=lower\nSubItem0-0=A|http://a.example/\nsubitem0-0=B|http://b.example/\n"
                         "item1=\nitem1=Shadowed by the empty first\n");
    EXPECT_EQ(file.Value("item0"), "Upper");
    EXPECT_EQ(file.Value("Item0"), "Upper");
    const auto headings = file.Headings();
    ASSERT_EQ(headings.size(), 1u);
    ASSERT_EQ(headings[0].entries.size(), 1u);
    EXPECT_EQ(headings[0].entries[0].title, "A");
    EXPECT_EQ(file.Value("missing"), "");
}

TEST(NewsFile, ValueIsCutAtTheFirstBarAndTheLinkAt128Characters)
{
    const QByteArray longLink = "http://example.org/" + QByteArray(200, 'x');
    const auto headings = Parse("item0=H\nsubitem0-0= Title |" + longLink + "|more\nsubitem0-1=T|" +
                                QByteArray(127, ' ') + "http://cut.example/\nsubitem0-2=a=b|c|d\n");
    ASSERT_EQ(headings[0].entries.size(), 3u);
    EXPECT_EQ(headings[0].entries[0].title, "Title");
    EXPECT_EQ(headings[0].entries[0].link, QString::fromLatin1(longLink.left(128)));
    EXPECT_EQ(headings[0].entries[1].link, "h");  // 127 blanks, then the 128th character
    EXPECT_EQ(headings[0].entries[2].title, "a=b");
    EXPECT_EQ(headings[0].entries[2].link, "c|d");
}

TEST(NewsFile, NumbersOutOfRangeOrWrittenOtherwiseAreNotEntries)
{
    const auto headings = Parse("item100=Too far\nitem-1=Negative\nitem01=Leading zero\nitem99=Last\n"
                                "subitem99-100=Too far|http://x.example/\nsubitem100-0=Too far|http://x.example/\n"
                                "subitem99-99=Last|http://x.example/\nsubitem99-099=Zero|http://x.example/\n");
    ASSERT_EQ(headings.size(), 1u);
    EXPECT_EQ(headings[0].text, "Last");
    ASSERT_EQ(headings[0].entries.size(), 1u);
    EXPECT_EQ(headings[0].entries[0].title, "Last");
}

TEST(NewsFile, ImageByTheLinksExtensionComparedExactly)
{
    EXPECT_EQ(TNewsFile::ImageForLink("http://x.example/a.zip"), TNewsFile::kZipImage);
    EXPECT_EQ(TNewsFile::ImageForLink("http://x.example/a.ZIP"), TNewsFile::kLinkImage);
    EXPECT_EQ(TNewsFile::ImageForLink("http://x.example/setup.exe"), TNewsFile::kExeImage);
    EXPECT_EQ(TNewsFile::ImageForLink("http://x.example/setup.Exe"), TNewsFile::kLinkImage);
    EXPECT_EQ(TNewsFile::ImageForLink("http://x.zip/"), TNewsFile::kLinkImage);
    EXPECT_EQ(TNewsFile::ImageForLink("zip"), TNewsFile::kLinkImage);
    EXPECT_EQ(TNewsFile::ImageForLink(""), TNewsFile::kLinkImage);
}

TEST(NewsFile, ReadsUtf8AndWindows1252Alike)
{
    const QString heading = QStringLiteral("Nouveautés à télécharger — été");
    EXPECT_EQ(Parse("item0=" + heading.toUtf8() + "\n")[0].text, heading);
    // The same text as older files have it: é = E9, à = E0, the dash = 97 in Windows-1252.
    EXPECT_EQ(Parse("item0=Nouveaut\xE9s \xE0 t\xE9l\xE9" "charger \x97 \xE9t\xE9\n")[0].text, heading);
    EXPECT_EQ(Parse("\xEF\xBB\xBFitem0=Avec BOM\n")[0].text, "Avec BOM");
}

TEST(NewsFile, LinesEndAtCrLfOrEither)
{
    const TNewsFile file("item0=A\ritem1=B\r\nitem2=C\nitem3=D");
    EXPECT_EQ(file.Lines(), QStringList({"item0=A", "item1=B", "item2=C", "item3=D"}));
    EXPECT_EQ(file.Headings().size(), 4u);
}

TEST(NewsFile, A404OnlyCountsOnTheFirstLine)
{
    EXPECT_TRUE(TNewsFile("<html><title>404 Not Found</title>\nitem0=A\n").FirstLineHolds404());
    EXPECT_FALSE(TNewsFile("item0=A\n404\n").FirstLineHolds404());
    EXPECT_FALSE(TNewsFile("").FirstLineHolds404());
}

TEST(NewsFile, HugeFilesReadInOnePass)
{
    // 100 000 lines, and a line of 10 MB: read through an index, not once per name looked up.
    QByteArray manyLines;
    for (int i = 0; i < 100000; ++i)
        manyLines += "subitem" + QByteArray::number(i % 100) + "-" + QByteArray::number(i / 1000) + "=T|http://x.example/\n";
    manyLines += "item5=Five\n";
    const auto headings = Parse(manyLines);
    ASSERT_EQ(headings.size(), 1u);
    EXPECT_EQ(headings[0].entries.size(), 100u);

    const QByteArray tenMegabytes(10 * 1024 * 1024, 'a');
    const auto huge = Parse("item0=" + tenMegabytes + "\nsubitem0-0=" + tenMegabytes + "|" + tenMegabytes + "\n");
    ASSERT_EQ(huge.size(), 1u);
    EXPECT_EQ(huge[0].text.size(), tenMegabytes.size());
    EXPECT_EQ(huge[0].entries[0].link.size(), TNewsFile::kMaxLinkLength);
}

TEST(NewsFile, BinaryGarbageReadsAsSomethingOrNothing)
{
    QByteArray garbage;
    std::mt19937 random(7);
    for (int i = 0; i < 1 << 20; ++i)
        garbage += static_cast<char>(random());
    const TNewsFile file(garbage);
    EXPECT_FALSE(file.Lines().isEmpty());
    EXPECT_TRUE(file.Headings().empty());
}

// Many thousands of files made of the format's own pieces, shuffled and broken: every one reads
// to an end, and what it shows keeps the format's rules.
TEST(NewsFile, RandomFilesNeverBreakTheReader)
{
    std::mt19937 random(20030207);
    const std::vector<QByteArray> pieces = {
        "item", "subitem", "ITEM", "SubItem", "=", "|", "-", "\r", "\n", "\r\n", " ", "\t", "0", "1", "3", "9",
        "99", "100", "-1", ".zip", ".exe", ".ZIP", "http://x.example/", "mailto:a@b", "\xE9", "\xC3\xA9", "\xC3",
        QByteArray("\0", 1), "404", "\xEF\xBB\xBF", "\xFF\xFE", "==", "||",
    };
    int shown = 0;
    for (int round = 0; round < 20000; ++round) {
        QByteArray content;
        const int length = static_cast<int>(random() % 60);
        for (int i = 0; i < length; ++i)
            content += pieces[random() % pieces.size()];
        const TNewsFile file(content);
        for (const TNewsHeading& heading : file.Headings()) {
            ++shown;
            ASSERT_FALSE(heading.text.isEmpty());
            for (const TNewsEntry& entry : heading.entries) {
                ASSERT_LE(entry.link.size(), TNewsFile::kMaxLinkLength);
                ASSERT_TRUE(entry.link.isEmpty() || entry.link.front() > u' ');
                ASSERT_GE(entry.image, TNewsFile::kLinkImage);
                ASSERT_LE(entry.image, TNewsFile::kExeImage);
            }
        }
    }
    EXPECT_GT(shown, 0);  // the generator does make readable files, not only noise
}

}  // namespace
