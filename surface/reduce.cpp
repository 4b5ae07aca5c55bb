#include "surface/reduce.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace surface {

PixelRect ReducedSize(const Canvas& from, int width, int height) {
    if (from.width() <= width && from.height() <= height)
        return {0, 0, from.width(), from.height()};
    // The smaller of the two scales, worked out in whole pixels.
    const std::int64_t across = static_cast<std::int64_t>(width) * from.height();
    const std::int64_t down = static_cast<std::int64_t>(height) * from.width();
    if (across <= down) {
        return {0, 0, width, std::max(1, static_cast<int>(across / from.width()))};
    }
    return {0, 0, std::max(1, static_cast<int>(down / from.height())), height};
}

void Reduce(const Canvas& from, int width, int height, COLORREF* to) {
    for (int y = 0; y < height; ++y) {
        const int top = y * from.height() / height;
        const int bottom = std::max(top + 1, (y + 1) * from.height() / height);
        for (int x = 0; x < width; ++x) {
            const int left = x * from.width() / width;
            const int right = std::max(left + 1, (x + 1) * from.width() / width);
            std::uint32_t red = 0, green = 0, blue = 0;
            for (int row = top; row < bottom; ++row) {
                const COLORREF* source = from.data() + static_cast<std::size_t>(row) * from.width();
                for (int column = left; column < right; ++column) {
                    red += source[column] & 0xff;
                    green += (source[column] >> 8) & 0xff;
                    blue += (source[column] >> 16) & 0xff;
                }
            }
            const std::uint32_t count = static_cast<std::uint32_t>((bottom - top) * (right - left));
            *to++ = RGB(red / count, green / count, blue / count);
        }
    }
}

}  // namespace surface
