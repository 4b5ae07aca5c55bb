// A 32-bit pixel buffer, the backing store of a window or an off-screen picture.
// Pixels are COLORREF values, 0x00BBGGRR. What is drawn stays until drawn over.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/win32.h"

namespace surface {

// A rectangle of pixels, right and bottom excluded; empty when right <= left or bottom <= top.
struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool empty() const { return right <= left || bottom <= top; }
};

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

// A device context drawing into the canvas with the defaults of a fresh context (R2_COPYPEN,
// opaque white background, left/top alignment, black pen, white brush, system font).
// With a null canvas the context only records (see Recorder). Release with ReleaseCanvasDC.
HDC CreateCanvasDC(Canvas* canvas);
void ReleaseCanvasDC(HDC dc);

// Pens created by CreatePen and not yet deleted, over the whole process.
int LivePenCount();

}  // namespace surface
