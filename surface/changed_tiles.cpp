#include "surface/changed_tiles.h"

namespace surface {

void ChangedTiles::resize(int width, int height) {
    width_ = width;
    height_ = height;
    columns_ = static_cast<int>((std::int64_t{width} + kTileWidth - 1) / kTileWidth);
    rows_ = static_cast<int>((std::int64_t{height} + kTileHeight - 1) / kTileHeight);
    wordsPerRow_ = (columns_ + kWordBits - 1) / kWordBits;
    bits_.assign(static_cast<std::size_t>(rows_) * wordsPerRow_, 0);
    mark({0, 0, width, height});
}

void ChangedTiles::markColumns(const PixelRect& visible, unsigned firstColumn,
                               unsigned lastColumn) {
    const unsigned firstWord = firstColumn / kWordBits;
    const unsigned lastWord = lastColumn / kWordBits;
    const std::uint64_t firstMask = ~0ull << (firstColumn % kWordBits);
    const std::uint64_t lastMask = ~0ull >> (kWordBits - 1 - lastColumn % kWordBits);
    for (unsigned row = rowOf(visible.top); row <= rowOf(visible.bottom - 1); ++row) {
        std::uint64_t* bits = bits_.data() + static_cast<std::size_t>(row) * wordsPerRow_;
        if (firstWord == lastWord) {
            bits[firstWord] |= firstMask & lastMask;
            continue;
        }
        bits[firstWord] |= firstMask;
        for (unsigned word = firstWord + 1; word < lastWord; ++word) bits[word] = ~0ull;
        bits[lastWord] |= lastMask;
    }
}

void ChangedTiles::clear() { std::fill(bits_.begin(), bits_.end(), 0); }

bool ChangedTiles::empty() const {
    return std::all_of(bits_.begin(), bits_.end(), [](std::uint64_t word) { return word == 0; });
}

PixelRect ChangedTiles::bounds() const {
    PixelRect covered;
    forEachArea([&covered](const PixelRect& area) { covered = covered.united(area); });
    return covered;
}

PixelRect ChangedTiles::area(int row, int first, int end) const {
    // In 64 bits: the last tile may reach past the largest int.
    return {
        first * kTileWidth, row * kTileHeight,
        static_cast<int>(std::min<std::int64_t>(std::int64_t{end} * kTileWidth, width_)),
        static_cast<int>(std::min<std::int64_t>((std::int64_t{row} + 1) * kTileHeight, height_))};
}

}  // namespace surface
