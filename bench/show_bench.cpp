// The cost of showing a tick in the desktop window, without a display: from the canvas's changed
// tiles to the rectangles handed to FLTK (comparing those tiles with what the window shows and
// taking what differs as shown), for every tick of a whole run at load 100 on a 992 x 666 canvas.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <numeric>
#include <vector>

#include "circuit/circuit.h"
#include "platform/fltk/shown_pixels.h"
#include "surface/canvas.h"
#include "surface/device_context.h"
#include "wave/frame.h"

namespace {

constexpr int kWidth = 992, kHeight = 666;
constexpr double kLoad = 100;
constexpr int kTicks = 360;

void Draw(surface::Canvas& screen, int clockDeg) {
    HDC dc = surface::CreateCanvasDC(&screen);
    if (clockDeg < 0) {
        DrawCircuit(dc, kWidth, kHeight);
        DrawLoadCaption(dc, kWidth, kHeight, kLoad);
    } else {
        DrawWaveFrame(dc, kWidth, kHeight, clockDeg, kLoad);
        DrawWaveFrame(dc, kWidth, kHeight, clockDeg + 3, kLoad);
    }
    surface::ReleaseCanvasDC(dc);
}

// A tick's time is the least over the iterations, which leaves out what other programs on a busy
// machine cost it. Counters per tick: the mean and the largest time in microseconds, and the
// rectangles and pixels handed to FLTK.
void BM_ShowWholeRun(benchmark::State& state) {
    std::vector<double> fastest(kTicks, 1e30);
    double rectangles = 0, pixels = 0;
    for (auto _ : state) {
        surface::Canvas screen(kWidth, kHeight);
        platform::fltk::ShownPixels shown;
        shown.resize(kWidth, kHeight);
        Draw(screen, -1);
        shown.record(screen, {0, 0, kWidth, kHeight});  // the first expose shows everything
        screen.clearChanges();
        rectangles = pixels = 0;
        for (int tick = 0; tick < kTicks; ++tick) {
            Draw(screen, 3 * tick);
            const auto start = std::chrono::steady_clock::now();
            const auto& sent = shown.takeDifferences(screen, screen.changes());
            screen.clearChanges();
            const std::chrono::duration<double, std::micro> took =
                std::chrono::steady_clock::now() - start;
            fastest[tick] = std::min(fastest[tick], took.count());
            rectangles += static_cast<double>(sent.size());
            for (const surface::PixelRect& r : sent) {
                pixels += static_cast<double>(r.right - r.left) * (r.bottom - r.top);
            }
        }
    }
    state.counters["mean_us"] = std::accumulate(fastest.begin(), fastest.end(), 0.0) / kTicks;
    state.counters["max_us"] = *std::max_element(fastest.begin(), fastest.end());
    state.counters["rects"] = rectangles / kTicks;
    state.counters["pixels"] = pixels / kTicks;
}
BENCHMARK(BM_ShowWholeRun)->Iterations(20)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
