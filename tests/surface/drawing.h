// A canvas with a device context on it, for tests that look at pixels.
#pragma once

#include <set>
#include <utility>

#include "platform/win32.h"
#include "surface/canvas.h"

namespace surface_test {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(200, 0, 0);
constexpr COLORREF kOlive = RGB(100, 100, 0);
constexpr int kIntMin = -2147483647 - 1;
constexpr int kIntMax = 2147483647;

using PixelSet = std::set<std::pair<int, int>>;  // (x, y)

class Drawing {
  public:
    Drawing(int width, int height, COLORREF background = kWhite)
        : canvas(width, height, background), dc(surface::CreateCanvasDC(&canvas)) {}
    ~Drawing() {
        usePen(0, 0, GetStockObject(BLACK_PEN));
        surface::ReleaseCanvasDC(dc);
    }
    Drawing(const Drawing&) = delete;
    Drawing& operator=(const Drawing&) = delete;

    // Selects a new solid pen (or the given object) and deletes the one made here before.
    void usePen(int width, COLORREF colour, HGDIOBJ stock = nullptr) {
        HPEN pen = stock ? nullptr : CreatePen(PS_SOLID, width, colour);
        SelectObject(dc, stock ? stock : pen);
        if (pen_ != nullptr) DeleteObject(pen_);
        pen_ = pen;
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

// A background of many colours, so that a wrong raster operation shows.
inline void PaintPattern(surface::Canvas& canvas) {
    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            canvas.row(y)[x] = static_cast<COLORREF>((x * 2654435761u + y * 40503u) & 0xFFFFFF);
        }
    }
}

}  // namespace surface_test
