// The glyphs of the system font (generated into system_font.cpp by scripts/make-font).
#pragma once

#include <cstdint>

#include "surface/text.h"

namespace surface::detail {

struct FontGlyph {
    int left;                         // column of the ink's bit 0, from the pen position
    int advance;                      // pen movement to the next character
    std::uint32_t rows[kFontHeight];  // ink, top row first; bit i is column left + i
};

// The glyphs of ' ' (32) to '~' (126); other characters are drawn as '?'.
inline constexpr int kFontFirstChar = 32;
inline constexpr int kFontGlyphCount = 95;
extern const FontGlyph kSystemFont[kFontGlyphCount];

const FontGlyph& GlyphFor(char c);

}  // namespace surface::detail
