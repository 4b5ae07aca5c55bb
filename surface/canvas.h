// A 32-bit pixel buffer, the backing store of a window or an off-screen picture.
// Pixels are COLORREF values, 0x00BBGGRR. What is drawn stays until drawn over.
#pragma once

#include <cstdint>
#include <vector>

#include "surface/changed_tiles.h"
#include "surface/pixel_rect.h"
#include "win32/gdi.h"

namespace surface {

// What one canvas may cost: far beyond any real screen (an 8K display is 7680 x 4320, 33 million
// pixels), yet a desktop window's two copies of it stay within half a gigabyte.
constexpr int kMaxCanvasSide = 16384;
constexpr std::int64_t kMaxCanvasPixels = std::int64_t{1} << 26;  // 256 MiB of pixels

class Canvas {
  public:
    // A canvas holds as much of the size as it may cost: the top-left part of it, whole rows.
    Canvas(int width, int height, COLORREF fill = RGB(255, 255, 255));

    int width() const { return width_; }
    int height() const { return height_; }
    COLORREF pixel(int x, int y) const { return pixels_[static_cast<std::size_t>(y) * width_ + x]; }
    COLORREF* row(int y) { return pixels_.data() + static_cast<std::size_t>(y) * width_; }
    const COLORREF* data() const { return pixels_.data(); }

    // New size, as far as it fits (see the constructor); the pixels that remain keep their
    // colour, new ones get the fill colour. The memory follows the size, down as well as up.
    void resize(int width, int height, COLORREF fill = RGB(255, 255, 255));
    void fill(const PixelRect& area, COLORREF colour);

    // What was written since the changes were last cleared, so a display sends only that.
    void markChanged(const PixelRect& area) { changes_.mark(area); }
    const ChangedTiles& changes() const { return changes_; }
    void clearChanges() { changes_.clear(); }

  private:
    int width_ = 0;
    int height_ = 0;
    std::vector<COLORREF> pixels_;
    ChangedTiles changes_;
};

}  // namespace surface
