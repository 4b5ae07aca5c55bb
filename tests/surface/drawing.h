// A canvas with a device context on it, for tests that look at pixels.
#pragma once

#include <cstdint>
#include <functional>
#include <set>
#include <utility>

#include "platform/win32.h"
#include "surface/canvas.h"

namespace surface_test {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kOlive = RGB(100, 100, 0);
constexpr int kIntMin = -2147483647 - 1;
constexpr int kIntMax = 2147483647;

using PixelSet = std::set<std::pair<int, int>>;  // (x, y)

class Drawing {
  public:
    Drawing(int width, int height, COLORREF background = kWhite)
        : canvas(width, height, background), dc(surface::CreateCanvasDC(&canvas)) {}
    ~Drawing() {
        SelectObject(dc, GetStockObject(BLACK_PEN));
        if (pen_ != nullptr) DeleteObject(pen_);
        surface::ReleaseCanvasDC(dc);
    }
    Drawing(const Drawing&) = delete;
    Drawing& operator=(const Drawing&) = delete;

    // Selects a solid pen of this width and colour, replacing the last one made here.
    void usePen(int width, COLORREF colour) {
        HPEN pen = CreatePen(PS_SOLID, width, colour);
        SelectObject(dc, pen);
        if (pen_ != nullptr) DeleteObject(pen_);
        pen_ = pen;
    }

    void line(int x0, int y0, int x1, int y1) {
        MoveToEx(dc, x0, y0, nullptr);
        LineTo(dc, x1, y1);
    }

    // The pixels whose colour differs from `colour`.
    PixelSet pixelsOtherThan(COLORREF colour) const {
        PixelSet found;
        for (int y = 0; y < canvas.height(); ++y) {
            for (int x = 0; x < canvas.width(); ++x) {
                if (canvas.pixel(x, y) != colour) found.insert({x, y});
            }
        }
        return found;
    }

    PixelSet pixelsOf(COLORREF colour) const {
        PixelSet found;
        for (int y = 0; y < canvas.height(); ++y) {
            for (int x = 0; x < canvas.width(); ++x) {
                if (canvas.pixel(x, y) == colour) found.insert({x, y});
            }
        }
        return found;
    }

    bool samePixels(const Drawing& other) const {
        for (int y = 0; y < canvas.height(); ++y) {
            for (int x = 0; x < canvas.width(); ++x) {
                if (canvas.pixel(x, y) != other.canvas.pixel(x, y)) return false;
            }
        }
        return true;
    }

    surface::Canvas canvas;
    HDC dc;

  private:
    HPEN pen_ = nullptr;
};

// A background that is not one colour, so that a wrong raster operation shows.
inline void PaintPattern(surface::Canvas& canvas) {
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            canvas.row(y)[x] = static_cast<COLORREF>((x * 2654435761u + y * 40503u) & 0xFFFFFF);
        }
    }
}

}  // namespace surface_test
