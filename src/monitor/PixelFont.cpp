// SPDX-License-Identifier: GPL-3.0-or-later
#include "monitor/PixelFont.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace {

constexpr int kGlyphRows = 5;
constexpr int kGap = 1;

struct Glyph {
    char character;
    std::array<std::string_view, kGlyphRows> rows;  // '#' lit; every row as wide as the glyph

    int Width() const { return static_cast<int>(rows[0].size()); }
};

constexpr Glyph kGlyphs[] = {
    {'0', {"###", "#.#", "#.#", "#.#", "###"}},
    {'1', {".#", "##", ".#", ".#", ".#"}},
    {'2', {"###", "..#", "###", "#..", "###"}},
    {'3', {"###", "..#", ".##", "..#", "###"}},
    {'4', {"#.#", "#.#", "###", "..#", "..#"}},
    {'5', {"###", "#..", "###", "..#", "###"}},
    {'6', {"###", "#..", "###", "#.#", "###"}},
    {'7', {"###", "..#", "..#", ".#.", ".#."}},
    {'8', {"###", "#.#", "###", "#.#", "###"}},
    {'9', {"###", "#.#", "###", "..#", "###"}},
    {'%', {"#.#", "..#", ".#.", "#..", "#.#"}},
    {' ', {"..", "..", "..", "..", ".."}},
    {'.', {".", ".", ".", ".", "#"}},
    {',', {"..", "..", "..", ".#", "#."}},
    {':', {".", "#", ".", "#", "."}},
    {'-', {"...", "...", "###", "...", "..."}},
    {'+', {"...", ".#.", "###", ".#.", "..."}},
    {'/', {"..#", "..#", ".#.", "#..", "#.."}},
    {'?', {"###", "..#", ".#.", "...", ".#."}},
    {'A', {".#.", "#.#", "###", "#.#", "#.#"}},
    {'B', {"##.", "#.#", "##.", "#.#", "##."}},
    {'C', {".##", "#..", "#..", "#..", ".##"}},
    {'D', {"##.", "#.#", "#.#", "#.#", "##."}},
    {'E', {"###", "#..", "##.", "#..", "###"}},
    {'F', {"###", "#..", "##.", "#..", "#.."}},
    {'G', {".##", "#..", "#.#", "#.#", ".##"}},
    {'H', {"#.#", "#.#", "###", "#.#", "#.#"}},
    {'I', {"###", ".#.", ".#.", ".#.", "###"}},
    {'J', {"..#", "..#", "..#", "#.#", ".#."}},
    {'K', {"#.#", "#.#", "##.", "#.#", "#.#"}},
    {'L', {"#..", "#..", "#..", "#..", "###"}},
    {'M', {"#.#", "###", "###", "#.#", "#.#"}},
    {'N', {"##.", "#.#", "#.#", "#.#", "#.#"}},
    {'O', {".#.", "#.#", "#.#", "#.#", ".#."}},
    {'P', {"##.", "#.#", "##.", "#..", "#.."}},
    {'Q', {".#.", "#.#", "#.#", "##.", ".##"}},
    {'R', {"##.", "#.#", "##.", "#.#", "#.#"}},
    {'S', {".##", "#..", ".#.", "..#", "##."}},
    {'T', {"###", ".#.", ".#.", ".#.", ".#."}},
    {'U', {"#.#", "#.#", "#.#", "#.#", "###"}},
    {'V', {"#.#", "#.#", "#.#", "#.#", ".#."}},
    {'W', {"#.#", "#.#", "###", "###", "#.#"}},
    {'X', {"#.#", "#.#", ".#.", "#.#", "#.#"}},
    {'Y', {"#.#", "#.#", ".#.", ".#.", ".#."}},
    {'Z', {"###", "..#", ".#.", "#..", "###"}},
};

const Glyph& GlyphOf(QChar character)
{
    const char16_t upper = character.toUpper().unicode();
    const auto* found = std::ranges::find_if(kGlyphs, [upper](const Glyph& g) { return g.character == upper; });
    if (found != std::end(kGlyphs))
        return *found;
    return *std::ranges::find_if(kGlyphs, [](const Glyph& g) { return g.character == '?'; });
}

}  // namespace

namespace PixelFont {

int TextWidth(QStringView text)
{
    int width = 0;
    for (const QChar character : text)
        width += GlyphOf(character).Width() + kGap;
    return std::max(0, width - kGap);
}

void DrawText(QImage& image, int x, int y, QStringView text, QColor color, int scale)
{
    const QRgb pixel = color.rgba();
    for (const QChar character : text) {
        const Glyph& glyph = GlyphOf(character);
        for (int row = 0; row < kGlyphRows; ++row) {
            for (int column = 0; column < glyph.Width(); ++column) {
                if (glyph.rows[row][column] != '#')
                    continue;
                const QRect block = QRect(x + column * scale, y + (1 + row) * scale, scale, scale) & image.rect();
                for (int py = block.top(); py <= block.bottom(); ++py)
                    for (int px = block.left(); px <= block.right(); ++px)
                        image.setPixel(px, py, pixel);
            }
        }
        x += (glyph.Width() + kGap) * scale;
    }
}

}  // namespace PixelFont
