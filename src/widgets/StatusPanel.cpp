// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/StatusPanel.h"

#include <QPainter>

namespace {

constexpr int kIconSize = 16;

}  // namespace

TStatusPanel::TStatusPanel(QWidget* parent) : QFrame(parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
}

void TStatusPanel::SetText(const QString& text)
{
    if (text == text_)
        return;
    text_ = text;
    updateGeometry();
    update();
}

QSize TStatusPanel::sizeHint() const
{
    const QMargins frame = contentsMargins();
    return {frame.left() + kIconSize + fontMetrics().horizontalAdvance(text_) + frame.right(), height()};
}

void TStatusPanel::SetIcon(const QIcon& icon)
{
    icon_ = icon;
    update();
}

void TStatusPanel::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    // The texts begin with a blank, which spaces them from the picture: the 60-pixel panel then
    // holds " 100 %" whole in the status bar's bold font.
    const QRect area = contentsRect();
    const QRect iconRect(area.left(), area.top() + (area.height() - kIconSize) / 2, kIconSize, kIconSize);
    icon_.paint(&painter, iconRect);
    painter.setPen(palette().color(QPalette::ButtonText));
    painter.drawText(area.adjusted(kIconSize, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, text_);
}
