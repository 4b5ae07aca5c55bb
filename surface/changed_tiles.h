// What was written to a canvas, kept as tiles rather than one box: the program's thin lines
// change a few pixels here and there across the whole window.
#pragma once

#include <algorithm>
#include <bit>
#include <cstdint>
#include <vector>

#include "surface/pixel_rect.h"

namespace surface {

// Which tiles of a canvas were written since the changes were last cleared, one bit per tile, so
// that a display compares with what it shows, or sends, only the tiles that changed.
class ChangedTiles {
  public:
    // Small squares: a tile's row of 16 pixels is 64 bytes, one cache line, and the program's
    // thin lines and text change few tiles.
    static constexpr int kTileWidth = 16;
    static constexpr int kTileHeight = 16;

    // A canvas of this size, every tile changed.
    void resize(int width, int height);
    // Marks every tile the area touches; the part of the area off the canvas is ignored.
    void mark(const PixelRect& area) {
        const PixelRect visible = area.intersected({0, 0, width_, height_});
        if (visible.empty()) return;
        const unsigned firstColumn = columnOf(visible.left);
        const unsigned lastColumn = columnOf(visible.right - 1);
        // Most marks are of a line's piece or a glyph: within one tile or two side by side.
        if (lastColumn - firstColumn <= 1 && rowOf(visible.top) == rowOf(visible.bottom - 1) &&
            firstColumn / kWordBits == lastColumn / kWordBits) {
            bits_[static_cast<std::size_t>(rowOf(visible.top)) * wordsPerRow_ +
                  firstColumn / kWordBits] |= ((2ull << (lastColumn - firstColumn)) - 1)
                                              << (firstColumn % kWordBits);
            return;
        }
        markColumns(visible, firstColumn, lastColumn);
    }
    void clear();

    bool empty() const;
    // The smallest rectangle that covers every changed tile, cut to the canvas.
    PixelRect bounds() const;
    // Calls visit(const PixelRect&) for each run of changed tiles along a row of tiles, cut to the
    // canvas: rows from top to bottom, runs from left to right. Allocates nothing.
    template <typename Visit>
    void forEachArea(Visit visit) const {
        for (int row = 0; row < rows_; ++row) {
            const std::uint64_t* bits = rowBits(row);
            for (int start = nextSet(bits, 0); start < columns_;) {
                const int end = nextClear(bits, start);
                visit(area(row, start, end));
                start = nextSet(bits, end);
            }
        }
    }

  private:
    static constexpr int kWordBits = 64;
    // Of a pixel on the canvas.
    static unsigned columnOf(int x) { return static_cast<unsigned>(x) / kTileWidth; }
    static unsigned rowOf(int y) { return static_cast<unsigned>(y) / kTileHeight; }
    void markColumns(const PixelRect& visible, unsigned firstColumn, unsigned lastColumn);
    const std::uint64_t* rowBits(int row) const {
        return bits_.data() + static_cast<std::size_t>(row) * wordsPerRow_;
    }
    // The first column at or after `from` whose tile is changed (or not), columns_ if none.
    int nextSet(const std::uint64_t* bits, int from) const { return next(bits, from, 0); }
    int nextClear(const std::uint64_t* bits, int from) const { return next(bits, from, ~0ull); }
    int next(const std::uint64_t* bits, int from, std::uint64_t invert) const {
        for (int word = from / kWordBits; word < wordsPerRow_; ++word) {
            std::uint64_t found = bits[word] ^ invert;
            if (word == from / kWordBits) found &= ~0ull << (from % kWordBits);
            if (found != 0) {
                return std::min(word * kWordBits + std::countr_zero(found), columns_);
            }
        }
        return columns_;
    }
    // Tiles first to end (excluded) of a row of tiles, in pixels on the canvas.
    PixelRect area(int row, int first, int end) const;

    int width_ = 0;
    int height_ = 0;
    int columns_ = 0;
    int rows_ = 0;
    int wordsPerRow_ = 0;
    std::vector<std::uint64_t> bits_;
};

}  // namespace surface
