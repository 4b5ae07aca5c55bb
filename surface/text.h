// Text in the system font TextOutA draws with: 1-bit, proportional, one line 16 pixels high.
#pragma once

namespace surface {

// Every line of text is a cell this many pixels high, its top at the y given to TextOutA.
inline constexpr int kFontHeight = 16;
// Rows of the cell above the baseline.
inline constexpr int kFontAscent = 13;

// The width in pixels of the cell TextOutA fills for the first `length` characters of text:
// the sum of their advances (at most INT_MAX).
int TextWidth(const char* text, int length);

}  // namespace surface
