#include "monitor/TextTrayIcon.h"

#include <QPainter>

#include "monitor/NamedColors.h"
#include "monitor/PixelFont.h"

void TOffsetOptions::Set(int& field, int value)
{
    if (field == value)
        return;
    field = value;
    if (OnChange)
        OnChange();
}

TTextTrayIcon::TTextTrayIcon(platform::ITrayHost& host, QObject* owner)
    : TTrayIcon(host, owner), fontColor_(clBlack), color_(clBtnFace()), borderColor_(clBlack)
{
    options_.OnChange = [this] { Render(); };
    Render();
}

void TTextTrayIcon::SetText(const QString& text)
{
    text_ = text;
    Render();
}

void TTextTrayIcon::SetFontColor(QColor color)
{
    fontColor_ = color;
    Render();
}

void TTextTrayIcon::SetColor(QColor color)
{
    color_ = color;
    Render();
}

void TTextTrayIcon::SetBorder(bool border)
{
    border_ = border;
    Render();
}

void TTextTrayIcon::SetBorderColor(QColor color)
{
    borderColor_ = color;
    Render();
}

void TTextTrayIcon::Render()
{
    RenderText();
    QImage icon = lastRendering_;
    if (!color_.isValid()) {
        // No background colour: whatever was drawn in the effective background becomes see-through.
        icon = icon.convertToFormat(QImage::Format_ARGB32);
        const QRgb background = effectiveBackground_.rgb();
        for (int y = 0; y < icon.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(icon.scanLine(y));
            for (int x = 0; x < icon.width(); ++x) {
                if (line[x] == background)
                    line[x] = qRgba(0, 0, 0, 0);
            }
        }
    }
    SetIcon(icon);
}

void TTextTrayIcon::RenderText()
{
    const QRgb fontRgb = fontColor_.rgb() & RGB_MASK;
    effectiveBackground_ = !color_.isValid() || (color_.rgb() & RGB_MASK) == fontRgb ? QColor(~fontRgb & RGB_MASK)
                                                                                      : color_.toRgb();
    QImage image(kSize, kSize, QImage::Format_RGB32);
    image.fill(effectiveBackground_);

    // Integer division truncating towards zero: a text wider than the square starts left of it.
    const QStringList lines = text_.split(QLatin1Char('\r'));
    const int lineHeight = PixelFont::kLineHeight + (lines.size() > 1 ? options_.LineDistance() : 0);
    int y = (kSize - 1 - static_cast<int>(lines.size()) * lineHeight) / 2 + options_.OffsetY();
    for (const QString& line : lines) {
        const int x = (kSize - 1 - PixelFont::TextWidth(line)) / 2 + options_.OffsetX();
        PixelFont::DrawText(image, x, y, line, fontColor_);
        y += lineHeight;
    }

    if (border_) {
        QPainter painter(&image);
        painter.setPen(borderColor_);
        painter.drawRect(0, 0, kSize - 1, kSize - 1);
    }
    lastRendering_ = image;
}
