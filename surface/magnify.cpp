#include "surface/magnify.h"

#include <algorithm>

namespace surface {

void Magnify(const Canvas& from, const PixelRect& area, int zoom, COLORREF* to,
             std::size_t stride) {
    const auto width = static_cast<std::size_t>(area.right - area.left);
    const std::size_t magnifiedWidth = width * static_cast<std::size_t>(zoom);
    for (int y = area.top; y < area.bottom; ++y) {
        const COLORREF* source =
            from.data() + static_cast<std::size_t>(y) * from.width() + area.left;
        // The first row of the blocks, pixel by pixel; the others are copies of it.
        COLORREF* first = to;
        for (std::size_t x = 0; x < width; ++x) {
            first = std::fill_n(first, zoom, source[x]);
        }
        for (int repeat = 1; repeat < zoom; ++repeat) {
            std::copy_n(to, magnifiedWidth, to + repeat * stride);
        }
        to += static_cast<std::size_t>(zoom) * stride;
    }
}

}  // namespace surface
