// SPDX-License-Identifier: GPL-3.0-or-later
#include <QDirIterator>
#include <QFileInfo>
#include <QMenu>
#include <QPushButton>
#include <vector>

#include "app/FormPictures.h"
#include "app/MainWindowFixture.h"
#include "widgets/MenuStyle.h"

namespace {

using FormPicturesOnTheWindow = MainWindowFixture;

// Saved for a look when the run has somewhere to put it.
void Keep(const QImage& image, const char* name)
{
    const QString folder = qEnvironmentVariable("TEST_OUTPUT_DIR");
    if (!folder.isEmpty() && QDir().mkpath(folder))
        image.save(folder + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png"));
}

TEST(FormPictures, EveryPictureIsDrawnForBothScalesNotBlownUp)
{
    int pictures = 0;
    for (QDirIterator files(QStringLiteral(":/pictures")); files.hasNext();) {
        const QString file = files.next();
        if (file.endsWith(QStringLiteral("@2x.png")))
            continue;
        ++pictures;
        SCOPED_TRACE(file.toStdString());
        const QImage single(file);
        QString doubledName = file;
        doubledName.replace(QStringLiteral(".png"), QStringLiteral("@2x.png"));
        const QImage doubled(doubledName);
        ASSERT_FALSE(single.isNull());
        ASSERT_FALSE(doubled.isNull());
        EXPECT_EQ(doubled.size(), single.size() * 2);
        // A 2x picture that is the 1x one with every pixel doubled would be as coarse as it.
        EXPECT_NE(doubled, single.scaled(single.size() * 2)) << "drawn again at 2x, not enlarged";
        const QIcon icon = FormPictures::Picture(QFileInfo(file).baseName());
        QImage picked = icon.pixmap(single.size(), 2.0).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
        picked.setDevicePixelRatio(1.0);
        EXPECT_TRUE(picked == doubled.convertToFormat(QImage::Format_ARGB32_Premultiplied))
            << "the icon picks the 2x drawing on a 2x screen";
    }
    EXPECT_EQ(pictures, 19);
}

TEST(FormPictures, ImageList1HoldsSevenPictures)
{
    for (int index = 0; index < FormPictures::kImageList1Count; ++index)
        EXPECT_FALSE(FormPictures::ImageList1(index).isNull()) << index;
    EXPECT_TRUE(FormPictures::ImageList1(7).isNull());
    EXPECT_TRUE(FormPictures::ImageList1(-1).isNull());
}

TEST_F(FormPicturesOnTheWindow, ButtonsPanelsBannerAndMenuItemsCarryTheirPictures)
{
    TfMainMem& form = Form();
    for (QPushButton* button : {form.ui.BitBtn1, form.ui.BitBtn3, form.ui.Button4, form.ui.Button2, form.ui.Button3,
                                form.ui.Button1}) {
        EXPECT_FALSE(button->icon().isNull()) << button->objectName().toStdString();
        EXPECT_EQ(button->iconSize(), QSize(16, 16));
    }
    ShowPageOf(form.ui.Image1);
    EXPECT_EQ(form.ui.Image1->pixmap().deviceIndependentSize(), QSizeF(300, 100));
    ShowPageOf(form.ui.Image9);
    EXPECT_EQ(form.ui.Image9->pixmap().deviceIndependentSize(), QSizeF(32, 32));
    // The 32 x 32 icons of the "Informations" lines and the "Processeur" page were blank squares.
    std::vector<QImage> icons;
    for (QLabel* image : {form.ui.Image3, form.ui.Image6, form.ui.Image5, form.ui.Image4, form.ui.Image7, form.ui.Image8,
                          form.ui.Image10}) {
        SCOPED_TRACE(image->objectName().toStdString());
        ShowPageOf(image);
        const QPixmap picture = image->pixmap();
        ASSERT_EQ(picture.deviceIndependentSize(), QSizeF(32, 32));
        const QImage pixels = picture.toImage().convertToFormat(QImage::Format_ARGB32);
        int drawn = 0;
        for (int y = 0; y < pixels.height(); ++y)
            for (int x = 0; x < pixels.width(); ++x)
                drawn += qAlpha(pixels.pixel(x, y)) > 0 ? 1 : 0;
        EXPECT_GT(drawn, pixels.width() * pixels.height() / 3) << "a picture, not a blank square";
        for (const QImage& other : icons)
            EXPECT_NE(pixels, other) << "each line its own picture";
        icons.push_back(pixels);
    }
    for (QAction* item : {form.ui.Open1, form.ui.RecoverRam1, form.ui.Cancel1, form.ui.Exit1})
        EXPECT_FALSE(item->icon().isNull()) << item->objectName().toStdString();
    for (QAction* item : {form.ui.Basse1, form.ui.Normale1, form.ui.Haute1})
        EXPECT_TRUE(item->icon().isNull()) << "the refresh-speed items carry no picture";
}

// A page's pictures and logos are decoded when the page is first shown, not at start.
TEST_F(FormPicturesOnTheWindow, APagesPicturesAreReadWhenItIsFirstShown)
{
    TfMainMem& form = Form();
    form.show();
    ASSERT_FALSE(form.ui.Image3->isVisible());
    for (QLabel* picture : {form.ui.Image3, form.ui.Image10, form.ui.LogoLinux, form.ui.Image1})
        EXPECT_TRUE(picture->pixmap().isNull()) << picture->objectName().toStdString();
    ShowPageOf(form.ui.Image3);
    EXPECT_FALSE(form.ui.Image3->pixmap().isNull());
    EXPECT_FALSE(form.ui.LogoLinux->pixmap().isNull());
    EXPECT_TRUE(form.ui.Image10->pixmap().isNull()) << "on a page not shown yet";
}

TEST_F(FormPicturesOnTheWindow, StatusPanelsShowTheirPictureAndAWholeHundredPercent)
{
    TfMainMem& form = Form();
    form.show();
    for (TStatusPanel* panel : {form.ui.StatusPanel0, form.ui.StatusPanel1}) {
        SCOPED_TRACE(panel->objectName().toStdString());
        panel->SetText(QStringLiteral(" 100 %"));
        const QImage drawn = panel->grab().toImage();
        Keep(drawn, qPrintable(panel->objectName()));
        const QRect inside = panel->contentsRect();
        // The picture's 16 x 16 square is not the panel's ground.
        const QColor ground = drawn.pixelColor(inside.right() - 1, inside.top() + 1);
        int drawnPixels = 0;
        for (int y = inside.top(); y <= inside.bottom(); ++y)
            for (int x = inside.left(); x < inside.left() + 16; ++x)
                drawnPixels += drawn.pixelColor(x, y) != ground;
        EXPECT_GT(drawnPixels, 40);
        // The whole text fits after the picture.
        const int room = inside.width() - 16;
        EXPECT_LE(QFontMetrics(panel->font()).horizontalAdvance(panel->Text()), room);
    }
}

// The menus' look, as drawn: the picture column's gradient, a blue tick, the highlighted item.
TEST_F(FormPicturesOnTheWindow, MenusHaveAShadedPictureColumnBlueTicksAndTheSystemHighlight)
{
    TfMainMem& form = Form();
    QMenu* speeds = form.menus.PopupMenu2;
    EXPECT_EQ(speeds->font().pixelSize(), 11);
    EXPECT_EQ(speeds->font().family(), "Tahoma");
    speeds->adjustSize();
    speeds->setActiveAction(form.ui.Haute1);
    const QImage drawn = speeds->grab().toImage();
    Keep(drawn, "PopupMenu2");

    const QRect plain = speeds->actionGeometry(form.ui.Basse1);
    const int middle = plain.center().y();
    const QColor columnLeft = drawn.pixelColor(plain.left() + 1, middle);
    const QColor columnRight = drawn.pixelColor(plain.left() + TMenuStyle::kPictureColumn - 2, middle);
    EXPECT_GT(columnLeft.lightness(), columnRight.lightness() + 20) << "a gradient across the column";
    EXPECT_EQ(drawn.pixelColor(plain.right() - 3, middle), QColor(Qt::white));
    const QRect ticked = speeds->actionGeometry(form.ui.Normale1);
    int blue = 0;
    for (int y = ticked.top(); y <= ticked.bottom(); ++y)
        for (int x = 0; x < TMenuStyle::kPictureColumn; ++x)
            blue += drawn.pixelColor(x, y) == TMenuStyle::kTickBlue;
    EXPECT_GT(blue, 10) << "the ticked item's blue tick";
    for (int y = plain.top(); y <= plain.bottom(); ++y)
        for (int x = 0; x < TMenuStyle::kPictureColumn; ++x)
            ASSERT_NE(drawn.pixelColor(x, y), TMenuStyle::kTickBlue) << "no tick on an item not ticked";

    const QRect active = speeds->actionGeometry(form.ui.Haute1);
    EXPECT_EQ(drawn.pixelColor(active.right() - 3, active.top() + 2), speeds->palette().color(QPalette::Highlight));

    QMenu* tray = form.menus.PopupMenu1;
    tray->adjustSize();
    Keep(tray->grab().toImage(), "PopupMenu1");
}

}  // namespace
