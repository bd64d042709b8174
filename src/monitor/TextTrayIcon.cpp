// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/TextTrayIcon.h"

#include <QPainter>
#include <algorithm>

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

// The picture is drawn again only when what it shows changes: the readings come every second,
// the text they give far less often.
void TTextTrayIcon::SetText(const QString& text)
{
    if (text_ == text)
        return;
    text_ = text;
    Render();
}

void TTextTrayIcon::SetFontColor(QColor color)
{
    if (fontColor_ == color)
        return;
    fontColor_ = color;
    Render();
}

void TTextTrayIcon::SetColor(QColor color)
{
    if (color_ == color)
        return;
    color_ = color;
    Render();
}

void TTextTrayIcon::SetBorder(bool border)
{
    if (border_ == border)
        return;
    border_ = border;
    Render();
}

void TTextTrayIcon::SetBorderColor(QColor color)
{
    if (borderColor_ == color)
        return;
    borderColor_ = color;
    Render();
}

void TTextTrayIcon::Render()
{
    RenderText();
    QList<QImage> larger;
    for (const int size : kLargerSizes)
        larger.append(SeeThrough(Draw(size)));
    SetIcon(SeeThrough(lastRendering_), larger);
}

// No background colour: whatever was drawn in the effective background becomes see-through.
QImage TTextTrayIcon::SeeThrough(QImage picture) const
{
    if (color_.isValid())
        return picture;
    picture = picture.convertToFormat(QImage::Format_ARGB32);
    const QRgb background = effectiveBackground_.rgb();
    for (int y = 0; y < picture.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            if (line[x] == background)
                line[x] = qRgba(0, 0, 0, 0);
        }
    }
    return picture;
}

void TTextTrayIcon::RenderText()
{
    const QRgb fontRgb = fontColor_.rgb() & RGB_MASK;
    effectiveBackground_ = !color_.isValid() || (color_.rgb() & RGB_MASK) == fontRgb ? QColor(~fontRgb & RGB_MASK)
                                                                                      : color_.toRgb();
    lastRendering_ = Draw(kSize);
}

// The 16-pixel layout at another size: glyphs, border, offsets and line distance grow by the
// whole factor that fits (a fractional one would give strokes of uneven width, or a blur), and
// the text is centred in the whole square.
QImage TTextTrayIcon::Draw(int size) const
{
    const int scale = std::max(1, size / kSize);
    QImage image(size, size, QImage::Format_RGB32);
    image.fill(effectiveBackground_);

    // Integer division truncating towards zero: a text wider than the square starts left of it.
    const QStringList lines = text_.split(QLatin1Char('\r'));
    const int lineHeight = (PixelFont::kLineHeight + (lines.size() > 1 ? options_.LineDistance() : 0)) * scale;
    int y = (size - scale - static_cast<int>(lines.size()) * lineHeight) / 2 + options_.OffsetY() * scale;
    for (const QString& line : lines) {
        const int x = (size - scale - PixelFont::TextWidth(line) * scale) / 2 + options_.OffsetX() * scale;
        PixelFont::DrawText(image, x, y, line, fontColor_, scale);
        y += lineHeight;
    }

    if (border_) {
        QPainter painter(&image);
        painter.fillRect(0, 0, size, scale, borderColor_);
        painter.fillRect(0, size - scale, size, scale, borderColor_);
        painter.fillRect(0, 0, scale, size, borderColor_);
        painter.fillRect(size - scale, 0, scale, size, borderColor_);
    }
    return image;
}
