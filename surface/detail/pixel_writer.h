// Writes runs of pixels through a raster operation, clipped to a part of the canvas, and reports
// the bounding box of what it wrote to the canvas's changed area when done.
#pragma once

#include <algorithm>
#include <cstdint>

#include "surface/canvas.h"
#include "surface/detail/raster.h"

namespace surface::detail {

class PixelWriter {
  public:
    // `clip` lies within the canvas.
    PixelWriter(Canvas& canvas, const PixelRect& clip) : canvas_(canvas), clip_(clip) {}
    ~PixelWriter() { canvas_.markChanged(written_); }
    PixelWriter(const PixelWriter&) = delete;
    PixelWriter& operator=(const PixelWriter&) = delete;

    // Pixels left to right (both included) of row y; any part outside the clip is skipped.
    void row(std::int64_t y, std::int64_t left, std::int64_t right, const Mix& mix) {
        if (y < clip_.top || y >= clip_.bottom) return;
        const std::int64_t first = std::max<std::int64_t>(left, clip_.left);
        const std::int64_t last = std::min<std::int64_t>(right, clip_.right - 1);
        if (first > last) return;  // compared before narrowing, which is then safe
        const auto from = static_cast<int>(first);
        const auto to = static_cast<int>(last);
        COLORREF* pixels = canvas_.row(static_cast<int>(y));
        for (int x = from; x <= to; ++x) pixels[x] = mix.apply(pixels[x]);
        written_ = written_.united({from, static_cast<int>(y), to + 1, static_cast<int>(y) + 1});
    }

  private:
    Canvas& canvas_;
    PixelRect clip_;
    PixelRect written_;
};

}  // namespace surface::detail
