// A canvas with a device context on it, for tests that look at pixels.
#pragma once

#include <algorithm>
#include <set>
#include <utility>
#include <vector>

#include "surface/canvas.h"
#include "surface/device_context.h"
#include "win32/gdi.h"

namespace surface_test {

constexpr COLORREF kWhite = RGB(255, 255, 255), kBlack = RGB(0, 0, 0), kRed = RGB(200, 0, 0),
                   kOlive = RGB(100, 100, 0);
constexpr int kIntMin = -2147483647 - 1, kIntMax = 2147483647;

using PixelSet = std::set<std::pair<int, int>>;  // (x, y)

struct Drawing {
    Drawing(int width, int height, COLORREF background = kWhite)
        : canvas(width, height, background), dc(surface::CreateCanvasDC(&canvas)) {}
    ~Drawing() {
        SelectObject(dc, GetStockObject(BLACK_PEN));
        if (pen != nullptr) DeleteObject(pen);
        surface::ReleaseCanvasDC(dc);
    }
    Drawing(const Drawing&) = delete;

    // Selects a new solid pen and deletes the one made here before.
    void usePen(int width, COLORREF colour) {
        HPEN next = CreatePen(PS_SOLID, width, colour);
        SelectObject(dc, next);
        if (pen != nullptr) DeleteObject(pen);
        pen = next;
    }
    void line(int x0, int y0, int x1, int y1) {
        MoveToEx(dc, x0, y0, nullptr);
        LineTo(dc, x1, y1);
    }
    // The pixels of the colour (or, with `other`, of any other colour).
    PixelSet pixels(COLORREF colour, bool other = false) const {
        PixelSet found;
        for (int y = 0; y < canvas.height(); ++y) {
            for (int x = 0; x < canvas.width(); ++x) {
                if ((canvas.pixel(x, y) == colour) != other) found.insert({x, y});
            }
        }
        return found;
    }
    PixelSet changed(COLORREF background = kWhite) const { return pixels(background, true); }
    bool operator==(const Drawing& other) const {
        return std::equal(canvas.data(), canvas.data() + canvas.width() * canvas.height(),
                          other.canvas.data());
    }

    surface::Canvas canvas;
    HDC dc;
    HPEN pen = nullptr;
};

// The smallest box around the pixels: left, top, right and bottom, the last two excluded.
inline std::vector<int> Bounds(const PixelSet& pixels) {
    std::vector<int> box{1 << 30, 1 << 30, -(1 << 30), -(1 << 30)};
    for (auto [x, y] : pixels) {
        box = {std::min(box[0], x), std::min(box[1], y), std::max(box[2], x + 1),
               std::max(box[3], y + 1)};
    }
    return box;
}

// A background of many colours, so that a wrong raster operation shows.
inline void PaintPattern(surface::Canvas& canvas) {
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            canvas.row(y)[x] = static_cast<COLORREF>((x * 2654435761u + y * 40503u) & 0xFFFFFF);
        }
    }
}

}  // namespace surface_test
