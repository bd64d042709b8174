#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QSystemTrayIcon>
#include <vector>

#include "platform/linux/QtTrayHost.h"
#include "support/EventWait.h"

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

// Qt draws the balloon itself on an XEmbed tray; this case needs one (the TrayHostOnX run).
class QtTrayHostOnX : public QtTrayHostFixture {
protected:
    static QWidget* Shown(const char* className)
    {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->inherits(className) && window->isVisible())
                return window;
        return nullptr;
    }
    static void Press(QWidget* widget, Qt::MouseButton button)
    {
        const QPointF at(2, 2);
        QMouseEvent press(QEvent::MouseButtonPress, at, widget->mapToGlobal(at), button, button, Qt::NoModifier);
        QApplication::sendEvent(widget, &press);
    }
    QWidget* PopBalloon(const QString& text)
    {
        host.Modify({Checkerboard(), QString(),
                     platform::TrayBalloon{QStringLiteral("Mnemora XP"), text, platform::BalloonIcon::Information, 10000}});
        QWidget* balloon = nullptr;
        WaitUntil([&] { return (balloon = Shown("QBalloonTip")) != nullptr; });
        return balloon;
    }
};

TEST_F(QtTrayHostOnX, OnlyAClickOnTheBalloonItselfIsABalloonClick)
{
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        GTEST_SKIP() << "no XEmbed tray on this display";
    QApplication::setDoubleClickInterval(0);
    host.Add({Checkerboard(), QStringLiteral("tip"), std::nullopt});
    QWidget* icon = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (icon = Shown("QSystemTrayIconSys")) != nullptr; }));

    QWidget* balloon = PopBalloon(QStringLiteral("Optimisation terminée!\n\rQuantitée récupérée : 3 MB."));
    ASSERT_NE(balloon, nullptr);
    QStringList texts;
    for (const QLabel* label : balloon->findChildren<QLabel*>())
        texts << label->text();
    EXPECT_TRUE(texts.contains(QStringLiteral("Optimisation terminée!\nQuantitée récupérée : 3 MB.")))
        << texts.join(QLatin1Char('|')).toStdString();

    Press(icon, Qt::LeftButton);
    ASSERT_NE(PopBalloon(QStringLiteral("Optimisation en cours ...")), nullptr);
    Press(icon, Qt::RightButton);
    EXPECT_EQ(notices, (std::vector<TrayNotice>{TrayNotice::Click, TrayNotice::ContextClick}))
        << "a click on the icon is no balloon click, even with a balloon up";

    balloon = PopBalloon(QStringLiteral("Optimisation en cours ..."));
    ASSERT_NE(balloon, nullptr);
    Press(balloon, Qt::LeftButton);
    EXPECT_EQ(notices.back(), TrayNotice::BalloonClicked);
    EXPECT_EQ(notices.size(), 3u);
}

}  // namespace
