#include "surface/canvas.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace surface {

namespace {

void CheckSize(int width, int height) {
    if (width < 0 || height < 0) {
        throw std::invalid_argument("canvas size must not be negative: " + std::to_string(width) +
                                    " x " + std::to_string(height));
    }
}

// The part of a width x height picture that a canvas may hold.
void Fit(int& width, int& height) {
    width = std::min(width, kMaxCanvasSide);
    height = std::min(height, kMaxCanvasSide);
    if (width > 0)
        height = static_cast<int>(std::min<std::int64_t>(height, kMaxCanvasPixels / width));
}

}  // namespace

Canvas::Canvas(int width, int height, COLORREF fill) {
    CheckSize(width, height);
    Fit(width, height);
    width_ = width;
    height_ = height;
    pixels_.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill);
    changes_.resize(width, height);
}

void Canvas::resize(int width, int height, COLORREF fill) {
    CheckSize(width, height);
    Fit(width, height);
    std::vector<COLORREF> resized(
        static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill);
    const int keptWidth = std::min(width, width_);
    const int keptHeight = std::min(height, height_);
    for (int y = 0; y < keptHeight; ++y) {
        std::copy_n(row(y), keptWidth, resized.data() + static_cast<std::size_t>(y) * width);
    }
    pixels_.swap(resized);
    width_ = width;
    height_ = height;
    // Every pixel moved in memory, so a display backend must take the whole picture again.
    changes_.resize(width, height);
}

void Canvas::fill(const PixelRect& area, COLORREF colour) {
    const PixelRect visible = area.intersected({0, 0, width_, height_});
    if (visible.empty()) return;
    // One row is filled pixel by pixel and copied to the others: copying writes wider blocks.
    const int width = visible.right - visible.left;
    COLORREF* const firstRow = row(visible.top) + visible.left;
    std::fill_n(firstRow, width, colour);
    for (int y = visible.top + 1; y < visible.bottom; ++y) {
        std::copy_n(firstRow, width, row(y) + visible.left);
    }
    markChanged(visible);
}

}  // namespace surface
