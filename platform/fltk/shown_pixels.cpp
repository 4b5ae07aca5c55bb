#include "platform/fltk/shown_pixels.h"

#include <algorithm>
#include <cstring>

namespace platform::fltk {

void ShownPixels::resize(int width, int height) {
    width_ = width;
    height_ = height;
    // A colour no canvas pixel has (COLORREF keeps the top byte zero), so every pixel differs.
    // A fresh buffer, so that a smaller size gives the memory back.
    pixels_ = std::vector<COLORREF>(static_cast<std::size_t>(width) * height, 0xFFFFFFFFu);
}

surface::PixelRect ShownPixels::clip(const surface::Canvas& canvas, surface::PixelRect area) const {
    return area.intersected(
        {0, 0, std::min(width_, canvas.width()), std::min(height_, canvas.height())});
}

const std::vector<surface::PixelRect>& ShownPixels::takeDifferences(
    const surface::Canvas& canvas, const surface::ChangedTiles& changed) {
    differences_.clear();
    // Each tile's box of differences, joined with its neighbour's when the joined box is hardly
    // larger than the two: the X server then gets few requests and few pixels it already has.
    constexpr long kPixelsWorthARequest = 64;
    auto size = [](const surface::PixelRect& r) {
        return static_cast<long>(r.right - r.left) * (r.bottom - r.top);
    };
    surface::PixelRect pending;
    changed.forEachArea([&](const surface::PixelRect& area) {
        for (int left = area.left; left < area.right; left += surface::ChangedTiles::kTileWidth) {
            const surface::PixelRect differing = takeDifferencesIn(
                canvas,
                {left, area.top, std::min(area.right, left + surface::ChangedTiles::kTileWidth),
                 area.bottom});
            if (differing.empty()) continue;
            const surface::PixelRect joined = pending.united(differing);
            if (size(joined) <= size(pending) + size(differing) + kPixelsWorthARequest) {
                pending = joined;
                continue;
            }
            if (!pending.empty()) differences_.push_back(pending);
            pending = differing;
        }
    });
    if (!pending.empty()) differences_.push_back(pending);
    return differences_;
}

surface::PixelRect ShownPixels::takeDifferencesIn(const surface::Canvas& canvas,
                                                  surface::PixelRect area) {
    area = clip(canvas, area);
    surface::PixelRect box;
    if (area.empty()) return box;
    const std::size_t rowBytes = static_cast<std::size_t>(area.right - area.left) * 4;
    for (int y = area.top; y < area.bottom; ++y) {
        const COLORREF* now = canvas.data() + static_cast<std::size_t>(y) * canvas.width();
        COLORREF* shown = pixels_.data() + static_cast<std::size_t>(y) * width_;
        if (std::memcmp(now + area.left, shown + area.left, rowBytes) == 0) continue;
        int left = area.left;
        while (now[left] == shown[left]) ++left;
        int right = area.right;
        while (now[right - 1] == shown[right - 1]) --right;
        std::memcpy(shown + left, now + left, static_cast<std::size_t>(right - left) * 4);
        box = box.united({left, y, right, y + 1});
    }
    return box;
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
