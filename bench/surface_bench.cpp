// The cost of single drawing calls on a 992 x 666 canvas, the window's usual size, and of the
// pen and context bookkeeping that every tick repeats.
#include <benchmark/benchmark.h>

#include "surface/canvas.h"
#include "surface/device_context.h"
#include "win32/gdi.h"

namespace {

constexpr int kWidth = 992, kHeight = 666;
constexpr int kIntMin = -2147483647 - 1, kIntMax = 2147483647;

// A canvas with a NOTXOR context and a 2-pixel pen, so drawing twice leaves it as it was.
class Screen {
  public:
    Screen() : canvas_(kWidth, kHeight), dc_(surface::CreateCanvasDC(&canvas_)) {
        pen_ = CreatePen(PS_SOLID, 2, RGB(100, 100, 0));
        SelectObject(dc_, pen_);
        SetROP2(dc_, R2_NOTXORPEN);
    }
    ~Screen() {
        SelectObject(dc_, GetStockObject(BLACK_PEN));
        DeleteObject(pen_);
        surface::ReleaseCanvasDC(dc_);
    }
    HDC dc() const { return dc_; }

  private:
    surface::Canvas canvas_;
    HDC dc_;
    HPEN pen_;
};

void BM_LineAcrossTheCanvas(benchmark::State& state) {
    Screen screen;
    for (auto _ : state) {
        MoveToEx(screen.dc(), 119, 428, nullptr);
        LineTo(screen.dc(), 744, 166);
    }
}
BENCHMARK(BM_LineAcrossTheCanvas);

void BM_LineFromTheIntLimits(benchmark::State& state) {
    Screen screen;
    for (auto _ : state) {
        MoveToEx(screen.dc(), kIntMin, kIntMin + 7, nullptr);
        LineTo(screen.dc(), kIntMax, kIntMax - 5);
    }
}
BENCHMARK(BM_LineFromTheIntLimits);

void BM_ShortArrow(benchmark::State& state) {
    Screen screen;
    for (auto _ : state) {
        MoveToEx(screen.dc(), 300, 300, nullptr);
        LineTo(screen.dc(), 300, 250);
        LineTo(screen.dc(), 305, 255);
        MoveToEx(screen.dc(), 300, 250, nullptr);
        LineTo(screen.dc(), 295, 255);
    }
}
BENCHMARK(BM_ShortArrow);

void BM_SourceCircle(benchmark::State& state) {
    Screen screen;
    for (auto _ : state) Ellipse(screen.dc(), 99, 499, 139, 539);
}
BENCHMARK(BM_SourceCircle);

void BM_EllipseCoveringTheCanvas(benchmark::State& state) {
    Screen screen;
    for (auto _ : state) Ellipse(screen.dc(), kIntMin, kIntMin, kIntMax, kIntMax);
}
BENCHMARK(BM_EllipseCoveringTheCanvas);

void BM_SineHalf(benchmark::State& state) {
    Screen screen;
    for (auto _ : state) Arc(screen.dc(), 104, 507, 119, 531, kWidth, 519, 0, 519);
}
BENCHMARK(BM_SineHalf);

void BM_TextLine(benchmark::State& state) {
    Screen screen;
    for (auto _ : state) TextOutA(screen.dc(), 764, 146, "Ratio = 2.00", 12);
}
BENCHMARK(BM_TextLine);

void BM_ContextAndPenOfATick(benchmark::State& state) {
    surface::Canvas canvas(kWidth, kHeight);
    for (auto _ : state) {
        HDC dc = surface::CreateCanvasDC(&canvas);
        HPEN pen = CreatePen(PS_SOLID, 2, RGB(100, 100, 0));
        SelectObject(dc, pen);
        SelectObject(dc, GetStockObject(BLACK_PEN));
        DeleteObject(pen);
        surface::ReleaseCanvasDC(dc);
    }
}
BENCHMARK(BM_ContextAndPenOfATick);

}  // namespace

BENCHMARK_MAIN();
