// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QEventLoop>
#include <QPixmap>
#include <QPixmapCache>
#include <QTimer>
#include <QWidget>

#include "app/TrayTrim.h"
#include "support/EventWait.h"

namespace {

constexpr int kSettleMs = 30;
const QString kKey = QStringLiteral("tray-trim-test");

bool Cached()
{
    QPixmap found;
    return QPixmapCache::find(kKey, &found);
}

void RunEventsFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

class TrayTrimTest : public ::testing::Test {
protected:
    TrayTrimTest()
    {
        window.show();
        new TTrayTrim(&window, kSettleMs);
        QPixmapCache::insert(kKey, QPixmap(64, 64));
    }
    ~TrayTrimTest() override { QPixmapCache::clear(); }

    QWidget window;
};

TEST_F(TrayTrimTest, AWindowGoneToTheTrayLetsItsDrawingCacheGo)
{
    window.hide();
    EXPECT_TRUE(Cached()) << "not at once: the tray is still docking";
    EXPECT_TRUE(WaitUntil([] { return !Cached(); }, 2000));
}

TEST_F(TrayTrimTest, AWindowBackOnScreenInTimeKeepsIt)
{
    window.hide();
    window.show();
    RunEventsFor(kSettleMs * 4);
    EXPECT_TRUE(Cached());
}

TEST_F(TrayTrimTest, AMinimisedWindowKeepsIt)
{
    window.showMinimized();
    RunEventsFor(kSettleMs * 4);
    EXPECT_TRUE(Cached());
}

}  // namespace
