// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/StatusGauge.h"

#include <QPainter>
#include <qdrawutil.h>

#include "widgets/Gauge.h"
#include "platform/Rounding.h"

TStatusGauge::TStatusGauge(QWidget* parent) : QProgressBar(parent)
{
    setValue(0);  // a new progress bar starts below its range, at no position
}

void TStatusGauge::SetText(const QString& text)
{
    if (text == text_)
        return;
    text_ = text;
    update();
}

void TStatusGauge::SetPosition(int position)
{
    // QProgressBar draws a new value at once, a round trip to the display each time. A recovery
    // run moves the bar from its release phase, which serves no events, so those draws were all a
    // click or a timer had to wait for; with updates held, setValue only marks the bar, and
    // enabling them again schedules the one draw.
    setUpdatesEnabled(false);
    setValue(position);
    setUpdatesEnabled(true);
}

void TStatusGauge::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    qDrawShadePanel(&painter, rect(), palette(), true, 1);

    const QRect inner = rect().adjusted(1, 1, -1, -1);
    const int span = maximum() - minimum();
    const int filled = span > 0 ? static_cast<int>(RoundHalfEven(double(inner.width()) * (value() - minimum()) / span)) : 0;
    const QRect bar(inner.left(), inner.top(), filled, inner.height());
    painter.fillRect(bar, QColor(0, 0, 128));

    // A text wider than the panel keeps its end in view: that is where the figures are.
    const bool fits = fontMetrics().horizontalAdvance(text_) <= inner.width();
    const int flags = Qt::AlignVCenter | (fits ? Qt::AlignHCenter : Qt::AlignRight);
    DrawGaugeText(painter, inner, bar, flags, text_, Qt::white, palette().color(QPalette::ButtonText));
}
