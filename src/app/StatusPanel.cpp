#include "app/StatusPanel.h"

#include <QPainter>

namespace {

constexpr int kIconSize = 16;
constexpr int kMargin = 2;

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
    update();
}

void TStatusPanel::SetIcon(const QPixmap& icon)
{
    icon_ = icon;
    update();
}

void TStatusPanel::paintEvent(QPaintEvent* event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QRect area = contentsRect().adjusted(kMargin, 0, -kMargin, 0);
    const QRect iconRect(area.left(), area.top() + (area.height() - kIconSize) / 2, kIconSize, kIconSize);
    if (!icon_.isNull())
        painter.drawPixmap(iconRect, icon_);
    painter.setPen(palette().color(QPalette::ButtonText));
    painter.drawText(area.adjusted(kIconSize, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, text_);
}
