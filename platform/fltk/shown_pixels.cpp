#include "platform/fltk/shown_pixels.h"

#include <algorithm>
#include <cstring>

namespace platform::fltk {

void ShownPixels::resize(int width, int height) {
    width_ = width;
    height_ = height;
    // A colour no canvas pixel has (COLORREF keeps the top byte zero), so every pixel differs.
    pixels_.assign(static_cast<std::size_t>(width) * height, 0xFFFFFFFFu);
}

surface::PixelRect ShownPixels::clip(const surface::Canvas& canvas, surface::PixelRect area) const {
    const int width = std::min(width_, canvas.width());
    const int height = std::min(height_, canvas.height());
    return {std::max(area.left, 0), std::max(area.top, 0), std::min(area.right, width),
            std::min(area.bottom, height)};
}

std::vector<surface::PixelRect> ShownPixels::takeDifferences(const surface::Canvas& canvas,
                                                             surface::PixelRect area) {
    std::vector<surface::PixelRect> differences;
    area = clip(canvas, area);
    if (area.empty()) return differences;

    const COLORREF* drawn = canvas.data();
    for (int tileTop = area.top; tileTop < area.bottom; tileTop += kTileSize) {
        const int tileBottom = std::min(tileTop + kTileSize, area.bottom);
        for (int tileLeft = area.left; tileLeft < area.right; tileLeft += kTileSize) {
            const int tileRight = std::min(tileLeft + kTileSize, area.right);
            const std::size_t rowBytes = static_cast<std::size_t>(tileRight - tileLeft) * 4;
            surface::PixelRect box{tileRight, tileBottom, tileLeft, tileTop};
            for (int y = tileTop; y < tileBottom; ++y) {
                const COLORREF* now = drawn + static_cast<std::size_t>(y) * canvas.width();
                COLORREF* shown = pixels_.data() + static_cast<std::size_t>(y) * width_;
                if (std::memcmp(now + tileLeft, shown + tileLeft, rowBytes) == 0) continue;
                int left = tileLeft;
                while (now[left] == shown[left]) ++left;
                int right = tileRight;
                while (now[right - 1] == shown[right - 1]) --right;
                std::memcpy(shown + left, now + left, static_cast<std::size_t>(right - left) * 4);
                box = {std::min(box.left, left), std::min(box.top, y), std::max(box.right, right),
                       y + 1};
            }
            if (!box.empty()) differences.push_back(box);
        }
    }
    return differences;
}

void ShownPixels::record(const surface::Canvas& canvas, surface::PixelRect area) {
    area = clip(canvas, area);
    if (area.empty()) return;
    for (int y = area.top; y < area.bottom; ++y) {
        std::memcpy(pixels_.data() + static_cast<std::size_t>(y) * width_ + area.left,
                    canvas.data() + static_cast<std::size_t>(y) * canvas.width() + area.left,
                    static_cast<std::size_t>(area.right - area.left) * 4);
    }
}

}  // namespace platform::fltk
