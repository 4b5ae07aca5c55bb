// The system font TextOutA draws with: 1-bit, proportional, one line 16 pixels high.
#pragma once

#include <cstdint>

namespace surface {

// Every line of text is a cell this many pixels high, its top at the y given to TextOutA.
inline constexpr int kFontHeight = 16;
// Rows of the cell above the baseline.
inline constexpr int kFontAscent = 13;

// The width in pixels of the cell TextOutA fills for the first `length` characters of text:
// the sum of their advances (at most INT_MAX).
int TextWidth(const char* text, int length);

namespace detail {

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

}  // namespace detail

}  // namespace surface
