// A 32-bit pixel buffer, the backing store of a window or an off-screen picture.
// Pixels are COLORREF values, 0x00BBGGRR. What is drawn stays until drawn over.
#pragma once

#include <cstdint>
#include <vector>

#include "surface/pixel_rect.h"
#include "win32/gdi.h"

namespace surface {

class Canvas {
  public:
    Canvas(int width, int height, COLORREF fill = RGB(255, 255, 255));

    int width() const { return width_; }
    int height() const { return height_; }
    COLORREF pixel(int x, int y) const { return pixels_[static_cast<std::size_t>(y) * width_ + x]; }
    COLORREF* row(int y) { return pixels_.data() + static_cast<std::size_t>(y) * width_; }
    const COLORREF* data() const { return pixels_.data(); }

    // New size; the pixels that remain keep their colour, new ones get the fill colour.
    void resize(int width, int height, COLORREF fill = RGB(255, 255, 255));
    void fill(const PixelRect& area, COLORREF colour);

    // The bounding box of everything written since the last call, so a display backend
    // sends only what changed.
    void markChanged(const PixelRect& area);
    PixelRect takeChanged();

  private:
    int width_ = 0;
    int height_ = 0;
    std::vector<COLORREF> pixels_;
    PixelRect changed_;
};

}  // namespace surface
