#include <gtest/gtest.h>

#include <QApplication>
#include <QSystemTrayIcon>
#include <vector>

#include "platform/linux/QtTrayHost.h"

namespace {

using platform::TrayNotice;

class QtTrayHostFixture : public ::testing::Test {
protected:
    QtTrayHostFixture() : savedDoubleClickTime(QApplication::doubleClickInterval())
    {
        host.SetReceiver([this](TrayNotice notice) { notices.push_back(notice); });
        tray = host.findChild<QSystemTrayIcon*>();
    }
    ~QtTrayHostFixture() override { QApplication::setDoubleClickInterval(savedDoubleClickTime); }

    static QImage Checkerboard()
    {
        QImage image(16, 16, QImage::Format_ARGB32);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                image.setPixel(x, y, (x + y) % 2 ? qRgb(255, 0, 0) : qRgb(0, 0, 255));
        return image;
    }

    const int savedDoubleClickTime;
    platform::QtTrayHost host;
    QSystemTrayIcon* tray = nullptr;
    std::vector<TrayNotice> notices;
};

TEST_F(QtTrayHostFixture, AddModifyAndDeleteDriveTheSystemTrayIcon)
{
    ASSERT_NE(tray, nullptr);
    EXPECT_FALSE(tray->isVisible());

    host.Add({Checkerboard(), QStringLiteral("RAM Libre : 512 MB"), std::nullopt});
    EXPECT_TRUE(tray->isVisible());
    EXPECT_EQ(tray->toolTip(), QStringLiteral("RAM Libre : 512 MB"));

    // Doubled pixel by pixel, not smoothed: a blended pixel would blur the icon's text.
    const QList<QSize> sizes = tray->icon().availableSizes();
    EXPECT_TRUE(sizes.contains(QSize(16, 16)));
    ASSERT_TRUE(sizes.contains(QSize(32, 32)));
    const QImage doubled = tray->icon().pixmap(QSize(32, 32)).toImage();
    ASSERT_EQ(doubled.size(), QSize(32, 32));
    for (const QPoint blue : {QPoint(0, 0), QPoint(1, 1), QPoint(4, 0), QPoint(2, 2)})
        EXPECT_EQ(doubled.pixel(blue) & RGB_MASK, 0x0000FFu) << blue.x() << "," << blue.y();
    for (const QPoint red : {QPoint(2, 0), QPoint(3, 1), QPoint(1, 2), QPoint(31, 29)})
        EXPECT_EQ(doubled.pixel(red) & RGB_MASK, 0xFF0000u) << red.x() << "," << red.y();

    // A slot between the two sizes gets the picture unscaled and centred, not a smoothed shrink.
    const QImage slot = tray->icon().pixmap(QSize(22, 22)).toImage();
    ASSERT_EQ(slot.size(), QSize(22, 22));
    EXPECT_EQ(slot.pixel(3, 3) & RGB_MASK, 0x0000FFu);
    EXPECT_EQ(slot.pixel(4, 3) & RGB_MASK, 0xFF0000u);
    EXPECT_EQ(slot.pixel(18, 18) & RGB_MASK, 0x0000FFu);
    EXPECT_EQ(qAlpha(slot.pixel(2, 2)), 0);
    EXPECT_EQ(qAlpha(slot.pixel(19, 19)), 0);

    const qint64 iconKey = tray->icon().cacheKey();
    host.Modify({Checkerboard(), QStringLiteral("RAM Libre : 500 MB"), platform::TrayBalloon{}});
    EXPECT_EQ(tray->toolTip(), QStringLiteral("RAM Libre : 500 MB"));
    EXPECT_EQ(tray->icon().cacheKey(), iconKey) << "an unchanged picture is not sent again";

    host.Modify({Checkerboard(), QStringLiteral("x"),
                 platform::TrayBalloon{QStringLiteral("Mnemora XP"), QStringLiteral("Optimisation"),
                                       platform::BalloonIcon::Information, 10000}});
    EXPECT_TRUE(tray->isVisible());

    host.Delete();
    EXPECT_FALSE(tray->isVisible());
    host.Modify({QImage(), QString(), std::nullopt});
    EXPECT_FALSE(tray->isVisible()) << "a change does not bring a deleted icon back";
    EXPECT_TRUE(tray->icon().isNull());
}

TEST_F(QtTrayHostFixture, TheTraysSignalsBecomeNotices)
{
    QApplication::setDoubleClickInterval(0);  // no two clicks can pair up
    emit tray->activated(QSystemTrayIcon::Trigger);
    emit tray->activated(QSystemTrayIcon::Trigger);
    emit tray->activated(QSystemTrayIcon::DoubleClick);
    emit tray->activated(QSystemTrayIcon::Context);
    emit tray->activated(QSystemTrayIcon::MiddleClick);
    emit tray->activated(QSystemTrayIcon::Unknown);
    emit tray->messageClicked();
    EXPECT_EQ(notices, (std::vector<TrayNotice>{TrayNotice::Click, TrayNotice::Click, TrayNotice::DoubleClick,
                                               TrayNotice::ContextClick, TrayNotice::MiddleClick,
                                               TrayNotice::BalloonClicked}));
}

// A StatusNotifierItem host reports each click as a trigger: the second one within the
// double-click time is the double-click, and a third one starts over.
TEST_F(QtTrayHostFixture, TwoTriggersWithinTheDoubleClickTimeAreADoubleClick)
{
    QApplication::setDoubleClickInterval(3600 * 1000);
    EXPECT_EQ(host.DoubleClickTime(), 3600 * 1000);
    emit tray->activated(QSystemTrayIcon::Trigger);
    emit tray->activated(QSystemTrayIcon::Trigger);
    emit tray->activated(QSystemTrayIcon::Trigger);
    emit tray->activated(QSystemTrayIcon::DoubleClick);
    emit tray->activated(QSystemTrayIcon::Trigger);
    EXPECT_EQ(notices, (std::vector<TrayNotice>{TrayNotice::Click, TrayNotice::DoubleClick, TrayNotice::Click,
                                               TrayNotice::DoubleClick, TrayNotice::Click}));
}

TEST_F(QtTrayHostFixture, TheCursorPositionCanBeRead)
{
    EXPECT_TRUE(host.CursorPosition().has_value());
}

}  // namespace
