// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/MenuStyle.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QStyleOptionMenuItem>

namespace {

const QColor kColumnLight(0xF4, 0xF7, 0xFC);
const QColor kColumnDark(0xC4, 0xD3, 0xEE);
const QColor kFrame(0x8A, 0x9B, 0xB8);
const QColor kTickGround(0xD8, 0xE4, 0xFF);
constexpr int kTextGap = 6;
constexpr int kShortcutGap = 24;
constexpr int kItemHeight = 20;
constexpr int kSeparatorHeight = 5;

void FillColumn(QPainter* painter, const QRect& rect)
{
    const QRect column(rect.left(), rect.top(), TMenuStyle::kPictureColumn, rect.height());
    QLinearGradient shade(column.topLeft(), column.topRight());
    shade.setColorAt(0, kColumnLight);
    shade.setColorAt(1, kColumnDark);
    painter->fillRect(column, shade);
    painter->fillRect(rect.adjusted(TMenuStyle::kPictureColumn, 0, 0, 0), Qt::white);
}

void DrawTick(QPainter* painter, const QRect& box)
{
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(TMenuStyle::kTickBlue);
    painter->setBrush(kTickGround);
    painter->drawRect(QRectF(box).adjusted(0.5, 0.5, -0.5, -0.5));
    QPainterPath tick;
    const QPointF origin = box.topLeft();
    tick.moveTo(origin + QPointF(box.width() * 0.22, box.height() * 0.52));
    tick.lineTo(origin + QPointF(box.width() * 0.42, box.height() * 0.74));
    tick.lineTo(origin + QPointF(box.width() * 0.80, box.height() * 0.28));
    painter->setBrush(Qt::NoBrush);
    painter->setPen(QPen(TMenuStyle::kTickBlue, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter->drawPath(tick);
    painter->restore();
}

}  // namespace

const QColor TMenuStyle::kTickBlue(0x00, 0x30, 0xE0);

TMenuStyle::TMenuStyle() = default;

void TMenuStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                               const QWidget* widget) const
{
    if (element == PE_PanelMenu) {
        FillColumn(painter, option->rect);
        return;
    }
    if (element == PE_FrameMenu) {
        painter->save();
        painter->setPen(kFrame);
        painter->drawRect(option->rect.adjusted(0, 0, -1, -1));
        painter->restore();
        return;
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}

void TMenuStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                             const QWidget* widget) const
{
    if (element == CE_MenuItem) {
        if (const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option)) {
            DrawMenuItem(*item, painter);
            return;
        }
    }
    if (element == CE_MenuEmptyArea) {
        FillColumn(painter, option->rect);
        return;
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}

void TMenuStyle::DrawMenuItem(const QStyleOptionMenuItem& item, QPainter* painter) const
{
    const QRect rect = item.rect;
    FillColumn(painter, rect);
    if (item.menuItemType == QStyleOptionMenuItem::Separator) {
        const int y = rect.center().y();
        painter->setPen(kFrame);
        painter->drawLine(rect.left() + kPictureColumn + kTextGap, y, rect.right() - 2, y);
        return;
    }
    const bool enabled = item.state.testFlag(State_Enabled);
    const bool selected = enabled && item.state.testFlag(State_Selected);
    if (selected)
        painter->fillRect(rect.adjusted(1, 0, -1, 0), item.palette.highlight());

    const int iconSize = 16;
    const QRect picture(rect.left() + (kPictureColumn - iconSize) / 2, rect.top() + (rect.height() - iconSize) / 2,
                        iconSize, iconSize);
    const bool ticked = item.checkType != QStyleOptionMenuItem::NotCheckable && item.checked;
    if (ticked)
        DrawTick(painter, picture.adjusted(-1, -1, 1, 1));
    if (!item.icon.isNull() && !ticked)
        item.icon.paint(painter, picture, Qt::AlignCenter, enabled ? QIcon::Normal : QIcon::Disabled);

    QString text = item.text;
    QString shortcut;
    if (const qsizetype tab = text.indexOf(QLatin1Char('\t')); tab >= 0) {
        shortcut = text.mid(tab + 1);
        text.truncate(tab);
    }
    const QPalette::ColorRole role = selected ? QPalette::HighlightedText : QPalette::Text;
    const QRect textArea = rect.adjusted(kPictureColumn + kTextGap, 0, -kTextGap, 0);
    painter->setFont(item.font);
    const int flags = Qt::AlignVCenter | Qt::TextShowMnemonic | Qt::TextSingleLine;
    drawItemText(painter, textArea, flags | Qt::AlignLeft, item.palette, enabled, text, role);
    if (!shortcut.isEmpty())
        drawItemText(painter, textArea, flags | Qt::AlignRight, item.palette, enabled, shortcut, role);
}

QSize TMenuStyle::sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                                   const QWidget* widget) const
{
    if (type == CT_MenuItem) {
        if (const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option)) {
            if (item->menuItemType == QStyleOptionMenuItem::Separator)
                return {size.width() + kPictureColumn, kSeparatorHeight};
            const QFontMetrics metrics(item->font);
            const int width = kPictureColumn + kTextGap + metrics.horizontalAdvance(item->text) + kShortcutGap;
            return {std::max(width, size.width() + kPictureColumn + kShortcutGap), std::max(kItemHeight, metrics.height() + 6)};
        }
    }
    return QProxyStyle::sizeFromContents(type, option, size, widget);
}

int TMenuStyle::pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const
{
    switch (metric) {
    case PM_MenuPanelWidth:
        return 1;
    case PM_MenuHMargin:
    case PM_MenuVMargin:
        return 1;
    case PM_SmallIconSize:
        return 16;
    default:
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
}
