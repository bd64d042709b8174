// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/PageControl.h"

#include <QApplication>
#include <QMouseEvent>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QTabBar>

namespace {

class TNarrowTabStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        const int value = QProxyStyle::pixelMetric(metric, option, widget);
        return metric == PM_TabBarTabHSpace ? value / 2 : value;
    }
};

class TTabBar : public QTabBar {
public:
    explicit TTabBar(QWidget* parent) : QTabBar(parent)
    {
        // Drawn like the rest of the window, only narrower; the bar owns its style.
        auto* style = new TNarrowTabStyle(QStyleFactory::create(QApplication::style()->name()));
        style->setParent(this);
        setStyle(style);
        setMouseTracking(true);
    }

    bool HotTrack() const { return hotTrack_; }
    void SetHotTrack(bool hotTrack)
    {
        hotTrack_ = hotTrack;
        Track(-1);
    }

protected:
    void mouseMoveEvent(QMouseEvent* event) override
    {
        QTabBar::mouseMoveEvent(event);
        Track(tabAt(event->position().toPoint()));
    }

    void leaveEvent(QEvent* event) override
    {
        QTabBar::leaveEvent(event);
        Track(-1);
    }

private:
    void Track(int index)
    {
        if (!hotTrack_)
            index = -1;
        if (index == hotIndex_)
            return;
        if (hotIndex_ >= 0 && hotIndex_ < count())
            setTabTextColor(hotIndex_, QColor());  // back to the bar's own text colour
        hotIndex_ = index;
        if (hotIndex_ >= 0)
            setTabTextColor(hotIndex_, palette().color(QPalette::Highlight));
    }

    bool hotTrack_ = false;
    int hotIndex_ = -1;
};

}  // namespace

TPageControl::TPageControl(QWidget* parent) : QTabWidget(parent)
{
    setTabBar(new TTabBar(this));
}

bool TPageControl::HotTrack() const
{
    return static_cast<TTabBar*>(tabBar())->HotTrack();
}

void TPageControl::SetHotTrack(bool hotTrack)
{
    static_cast<TTabBar*>(tabBar())->SetHotTrack(hotTrack);
}
