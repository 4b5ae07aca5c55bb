#include "surface/text.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cstdint>

#include "surface/detail/font.h"
#include "surface/detail/text.h"

namespace surface {

namespace detail {

const FontGlyph& GlyphFor(char c) {
    const int index = static_cast<unsigned char>(c) - kFontFirstChar;
    if (index < 0 || index >= kFontGlyphCount) return kSystemFont['?' - kFontFirstChar];
    return kSystemFont[index];
}

namespace {

// Columns a glyph row can hold: one per bit.
constexpr int kGlyphColumns = 32;

std::int64_t WidthOf(const char* text, int length) {
    if (text == nullptr) return 0;
    std::int64_t width = 0;
    for (int i = 0; i < length; ++i) width += GlyphFor(text[i]).advance;
    return width;
}

}  // namespace

void DrawText(Canvas& canvas, const PixelRect& clip, int x, int y, const char* text, int length,
              bool opaque, bool alignRight) {
    const std::int64_t width = WidthOf(text, length);
    const std::int64_t left = alignRight ? x - width : x;
    const std::int64_t top = y;
    // The cell's rows that are within the clip.
    const int firstRow = static_cast<int>(std::clamp<std::int64_t>(clip.top - top, 0, kFontHeight));
    const int endRow =
        static_cast<int>(std::clamp<std::int64_t>(clip.bottom - top, 0, kFontHeight));
    if (firstRow >= endRow) return;

    // Text ignores the raster operation: white background and black ink are written as they are.
    if (opaque) {
        const auto cellLeft =
            static_cast<int>(std::clamp<std::int64_t>(left, clip.left, clip.right));
        const auto cellRight =
            static_cast<int>(std::clamp<std::int64_t>(left + width, clip.left, clip.right));
        canvas.fill(
            {cellLeft, static_cast<int>(top + firstRow), cellRight, static_cast<int>(top + endRow)},
            RGB(255, 255, 255));
    }
    // The box around the visible ink of all glyphs, marked once: glyphs stand side by side.
    PixelRect inked;
    std::int64_t pen = left;
    for (int i = 0; i < length; ++i) {
        const FontGlyph& glyph = GlyphFor(text[i]);
        const std::int64_t glyphX = pen + glyph.left;
        pen += glyph.advance;
        // The glyph's columns that are within the clip: bit b is column glyphX + b.
        const auto firstBit =
            static_cast<int>(std::clamp<std::int64_t>(clip.left - glyphX, 0, kGlyphColumns));
        const auto endBit =
            static_cast<int>(std::clamp<std::int64_t>(clip.right - glyphX, 0, kGlyphColumns));
        if (firstBit >= endBit) continue;
        const auto visible = static_cast<std::uint32_t>((std::uint64_t{1} << endBit) -
                                                        (std::uint64_t{1} << firstBit));
        std::uint32_t inkColumns = 0;
        int inkTop = endRow, inkBottom = firstRow;
        for (int row = firstRow; row < endRow; ++row) {
            const std::uint32_t ink = glyph.rows[row] & visible;
            if (ink == 0) continue;
            COLORREF* pixels = canvas.row(static_cast<int>(top + row));
            for (std::uint32_t bits = ink; bits != 0; bits &= bits - 1) {
                pixels[glyphX + std::countr_zero(bits)] = RGB(0, 0, 0);
            }
            inkColumns |= ink;
            inkTop = std::min(inkTop, row);
            inkBottom = row + 1;
        }
        if (inkColumns == 0) continue;
        inked =
            inked.united({static_cast<int>(glyphX + std::countr_zero(inkColumns)),
                          static_cast<int>(top + inkTop),
                          static_cast<int>(glyphX + kGlyphColumns - std::countl_zero(inkColumns)),
                          static_cast<int>(top + inkBottom)});
    }
    canvas.markChanged(inked);
}

}  // namespace detail

int TextWidth(const char* text, int length) {
    return static_cast<int>(std::min<std::int64_t>(detail::WidthOf(text, length), INT_MAX));
}

}  // namespace surface
