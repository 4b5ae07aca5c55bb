#include "surface/text.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cstdint>

#include "surface/font.h"
#include "surface/pixel_writer.h"

namespace surface {

namespace detail {

const FontGlyph& GlyphFor(char c) {
    const int index = static_cast<unsigned char>(c) - kFontFirstChar;
    if (index < 0 || index >= kFontGlyphCount) return kSystemFont['?' - kFontFirstChar];
    return kSystemFont[index];
}

namespace {

std::int64_t WidthOf(const char* text, int length) {
    if (text == nullptr) return 0;
    std::int64_t width = 0;
    for (int i = 0; i < length; ++i) width += GlyphFor(text[i]).advance;
    return width;
}

}  // namespace

void DrawText(Canvas& canvas, int x, int y, const char* text, int length, bool opaque,
              bool alignRight) {
    const std::int64_t width = WidthOf(text, length);
    const std::int64_t left = alignRight ? x - width : x;
    const std::int64_t top = y;
    // Text ignores the raster operation: white background and black ink are written as they are.
    const Mix white{0, RGB(255, 255, 255)};
    const Mix black{0, RGB(0, 0, 0)};
    PixelWriter writer(canvas);
    for (int row = 0; row < kFontHeight; ++row) {
        const std::int64_t rowY = top + row;
        if (rowY < 0 || rowY >= canvas.height()) continue;
        if (opaque && width > 0) writer.row(rowY, left, left + width - 1, white);
        std::int64_t pen = left;
        for (int i = 0; i < length; ++i) {
            const FontGlyph& glyph = GlyphFor(text[i]);
            for (std::uint32_t ink = glyph.rows[row]; ink != 0; ink &= ink - 1) {
                const std::int64_t inkX = pen + glyph.left + std::countr_zero(ink);
                writer.row(rowY, inkX, inkX, black);
            }
            pen += glyph.advance;
        }
    }
}

}  // namespace detail

int TextWidth(const char* text, int length) {
    return static_cast<int>(std::min<std::int64_t>(detail::WidthOf(text, length), INT_MAX));
}

}  // namespace surface
