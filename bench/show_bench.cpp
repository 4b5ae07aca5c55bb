// The cost of showing a tick in the desktop window, without a display: from the canvas's changed
// tiles to the rectangles handed to FLTK (comparing those tiles with what the window shows and
// taking what differs as shown, and magnifying them at a zoom), for every tick of a whole run at
// load 100: in the program's own 992 x 666 window, and in a 1920 x 1080 one at zoom 1 and 2.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <numeric>
#include <vector>

#include "circuit/circuit.h"
#include "platform/fltk/shown_pixels.h"
#include "surface/canvas.h"
#include "surface/device_context.h"
#include "surface/magnify.h"
#include "wave/frame.h"

namespace {

constexpr double kLoad = 100;
constexpr int kTicks = 360;

void Draw(surface::Canvas& screen, int clockDeg) {
    HDC dc = surface::CreateCanvasDC(&screen);
    const int width = screen.width(), height = screen.height();
    if (clockDeg < 0) {
        DrawCircuit(dc, width, height);
        DrawLoadCaption(dc, width, height, kLoad);
    } else {
        DrawWaveFrame(dc, width, height, clockDeg, kLoad);
        DrawWaveFrame(dc, width, height, clockDeg + 3, kLoad);
    }
    surface::ReleaseCanvasDC(dc);
}

// A tick's time is the least over the iterations, which leaves out what other programs on a busy
// machine cost it. Counters per tick: the mean and the largest time in microseconds, and the
// rectangles and display pixels handed to FLTK. Arguments: the window's width, height and zoom.
void BM_ShowWholeRun(benchmark::State& state) {
    const int zoom = static_cast<int>(state.range(2));
    const int width = static_cast<int>(state.range(0)) / zoom;
    const int height = static_cast<int>(state.range(1)) / zoom;
    std::vector<double> fastest(kTicks, 1e30);
    std::vector<COLORREF> magnified;
    double rectangles = 0, pixels = 0;
    for (auto _ : state) {
        surface::Canvas screen(width, height);
        platform::fltk::ShownPixels shown;
        shown.resize(width, height);
        Draw(screen, -1);
        shown.record(screen, {0, 0, width, height});  // the first expose shows everything
        screen.clearChanges();
        rectangles = pixels = 0;
        for (int tick = 0; tick < kTicks; ++tick) {
            Draw(screen, 3 * tick);
            const auto start = std::chrono::steady_clock::now();
            const auto& sent = shown.takeDifferences(screen, screen.changes());
            screen.clearChanges();
            if (zoom > 1) {
                for (const surface::PixelRect& r : sent) {
                    const auto side = static_cast<std::size_t>(r.right - r.left) * zoom;
                    magnified.resize(side * (r.bottom - r.top) * zoom);
                    surface::Magnify(screen, r, zoom, magnified.data(), side);
                }
            }
            const std::chrono::duration<double, std::micro> took =
                std::chrono::steady_clock::now() - start;
            fastest[tick] = std::min(fastest[tick], took.count());
            rectangles += static_cast<double>(sent.size());
            for (const surface::PixelRect& r : sent) {
                pixels += static_cast<double>(r.right - r.left) * (r.bottom - r.top) * zoom * zoom;
            }
        }
    }
    state.counters["mean_us"] = std::accumulate(fastest.begin(), fastest.end(), 0.0) / kTicks;
    state.counters["max_us"] = *std::max_element(fastest.begin(), fastest.end());
    state.counters["rects"] = rectangles / kTicks;
    state.counters["pixels"] = pixels / kTicks;
}
BENCHMARK(BM_ShowWholeRun)
    ->ArgNames({"width", "height", "zoom"})
    ->Args({992, 666, 1})
    ->Args({1920, 1080, 1})
    ->Args({1920, 1080, 2})
    ->Iterations(20)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
