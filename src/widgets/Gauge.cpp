// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/Gauge.h"

#include <QLinearGradient>
#include <QPainter>

#include "platform/Rounding.h"

namespace {

// The bar picture: a blue band lit from the top.
QLinearGradient BarPicture(const QRect& bar)
{
    QLinearGradient gradient(bar.topLeft(), bar.bottomLeft());
    gradient.setColorAt(0.0, QColor(160, 200, 255));
    gradient.setColorAt(0.5, QColor(40, 100, 220));
    gradient.setColorAt(1.0, QColor(10, 50, 150));
    return gradient;
}

}  // namespace

TGauge::TGauge(QWidget* parent) : QProgressBar(parent)
{
    setValue(0);  // a new progress bar starts below its range, at no position
}

void TGauge::SetPercentMode(bool percentMode)
{
    percentMode_ = percentMode;
    update();
}

void TGauge::SetSuffix(const QString& suffix)
{
    suffix_ = suffix;
    update();
}

void TGauge::SetTransparentPicture(bool transparent)
{
    transparentPicture_ = transparent;
    update();
}

QString TGauge::text() const
{
    if (!percentMode_)
        return QString::number(value()) + suffix_;
    // A gauge without a maximum has no share to show.
    const std::int64_t percent = maximum() > 0 ? RoundHalfEven(100.0 * value() / maximum()) : 0;
    return QString::number(percent) + suffix_;
}

void TGauge::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect outer = rect();
    painter.fillRect(outer, Qt::white);
    painter.setPen(Qt::black);
    painter.drawRect(outer.adjusted(0, 0, -1, -1));

    const QRect inner = outer.adjusted(1, 1, -1, -1);
    const int span = maximum() - minimum();
    const int filled = span > 0 ? static_cast<int>(RoundHalfEven(double(inner.width()) * (value() - minimum()) / span)) : 0;
    const QRect bar(inner.left(), inner.top(), filled, inner.height());
    if (!bar.isEmpty()) {
        painter.save();
        if (transparentPicture_)
            painter.setOpacity(0.5);
        painter.fillRect(bar, BarPicture(bar));
        painter.restore();
    }

    painter.setFont(font());
    DrawGaugeText(painter, inner, bar, Qt::AlignCenter, text(), Qt::white, Qt::black);
}

void DrawGaugeText(QPainter& painter, const QRect& area, const QRect& bar, int flags, const QString& text,
                   const QColor& overBar, const QColor& beside)
{
    painter.save();
    const QRegion overRegion(bar);
    painter.setClipRegion(overRegion);
    painter.setPen(overBar);
    painter.drawText(area, flags, text);
    painter.setClipRegion(QRegion(area).subtracted(overRegion));
    painter.setPen(beside);
    painter.drawText(area, flags, text);
    painter.restore();
}
