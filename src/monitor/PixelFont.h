// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <QColor>
#include <QImage>
#include <QStringView>

// The tray icon's face: glyphs 5 pixels high and mostly 3 wide, one blank column between them,
// drawn pixel by pixel. A 16 x 16 icon holds "100%" between its borders, and the picture stays
// sharp when the tray doubles it; no installed font is that small and still crisp.
// Lower case is drawn in capitals; a character without a glyph is drawn as "?".
namespace PixelFont {

inline constexpr int kLineHeight = 7;  // a blank row above the glyphs, five rows of glyph, a blank row below

int TextWidth(QStringView text);  // the glyphs and the blank columns between them
// (x, y) is the top-left of the line's cell; pixels outside the image are left out. With a scale,
// every pixel of a glyph becomes a square of scale x scale pixels (widths and heights scale alike).
void DrawText(QImage& image, int x, int y, QStringView text, QColor color, int scale = 1);

}  // namespace PixelFont
