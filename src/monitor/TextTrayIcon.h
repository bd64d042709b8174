// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QColor>
#include <QImage>
#include <QString>
#include <functional>

#include "monitor/TrayIcon.h"

// Where the text sits in the icon, in pixels from the centred position.
class TOffsetOptions {
public:
    int OffsetX() const { return offsetX_; }
    void SetOffsetX(int value) { Set(offsetX_, value); }
    int OffsetY() const { return offsetY_; }
    void SetOffsetY(int value) { Set(offsetY_, value); }
    int LineDistance() const { return lineDistance_; }  // extra rows between two lines
    void SetLineDistance(int value) { Set(lineDistance_, value); }

    std::function<void()> OnChange;  // only when a value really changes

private:
    void Set(int& field, int value);

    int offsetX_ = 0;
    int offsetY_ = 0;
    int lineDistance_ = 0;
};

// A tray icon that draws a short text (a carriage return starts a new line) on a coloured
// 16 x 16 square, in the pixel font of PixelFont.h. Every change of what it shows redraws it,
// also at the larger sizes trays use, each drawn for its own size.
class TTextTrayIcon : public TTrayIcon {
public:
    static constexpr int kSize = 16;
    static constexpr int kLargerSizes[] = {22, 24, 32, 48};

    explicit TTextTrayIcon(platform::ITrayHost& host, QObject* owner = nullptr);

    const QString& Text() const { return text_; }
    void SetText(const QString& text);
    QColor FontColor() const { return fontColor_; }
    void SetFontColor(QColor color);
    // Background of the square; clNone (an invalid colour) leaves it transparent. A background
    // equal to the font colour gives way to the font colour's complement, so the text stays legible.
    QColor Color() const { return color_; }
    void SetColor(QColor color);
    bool Border() const { return border_; }
    void SetBorder(bool border);
    QColor BorderColor() const { return borderColor_; }
    void SetBorderColor(QColor color);
    TOffsetOptions& Options() { return options_; }

    // The last drawing, opaque, and the background colour it was drawn on.
    const QImage& LastRendering() const { return lastRendering_; }
    QColor EffectiveBackground() const { return effectiveBackground_; }

private:
    void Render();
    void RenderText();
    QImage Draw(int size) const;
    QImage SeeThrough(QImage picture) const;

    QString text_;
    QColor fontColor_;
    QColor color_;
    bool border_ = false;
    QColor borderColor_;
    TOffsetOptions options_;
    QColor effectiveBackground_;
    QImage lastRendering_;
};
