// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QProxyStyle>

// The look of the window's pop-up menus: a white menu with a 24-pixel picture column shaded by a
// gradient, the item under the mouse in the system's highlight colour, and a blue tick for a
// ticked item. Everything else is the application's style.
class TMenuStyle : public QProxyStyle {
public:
    static constexpr int kPictureColumn = 24;
    static const QColor kTickBlue;

    TMenuStyle();

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget = nullptr) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget = nullptr) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption* option = nullptr,
                    const QWidget* widget = nullptr) const override;

private:
    void DrawMenuItem(const class QStyleOptionMenuItem& item, QPainter* painter) const;
};
