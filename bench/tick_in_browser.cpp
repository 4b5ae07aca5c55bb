// One timer tick (the erasing and the drawing call on one fresh context) at 992 x 666, as
// velmora_bench_frame's BM_Tick measures it natively, compiled to WebAssembly and timed in the
// browser. bench/web_measure.py opens the page and reads the figures from its console.
#include <emscripten.h>

#include <cstdio>

#include "circuit/circuit.h"
#include "surface/canvas.h"
#include "surface/device_context.h"
#include "wave/frame.h"

namespace {

constexpr int kWidth = 992, kHeight = 666;
constexpr double kLoad = 100;

void Tick(surface::Canvas& screen, int clockDeg) {
    HDC dc = surface::CreateCanvasDC(&screen);
    DrawWaveFrame(dc, kWidth, kHeight, clockDeg, kLoad);
    DrawWaveFrame(dc, kWidth, kHeight, clockDeg + 3, kLoad);
    surface::ReleaseCanvasDC(dc);
}

}  // namespace

int main() {
    // The ticks BM_Tick measures (bench/frame_bench.cpp); web_measure.py pairs them up.
    for (const int clockDeg : {669, 672, 1077}) {
        // The screen after a paint and a run up to the tick, so the tick draws what it would.
        surface::Canvas screen(kWidth, kHeight);
        HDC dc = surface::CreateCanvasDC(&screen);
        DrawCircuit(dc, kWidth, kHeight);
        DrawLoadCaption(dc, kWidth, kHeight, kLoad);
        surface::ReleaseCanvasDC(dc);
        for (int d = 0; d < clockDeg; d += 3) Tick(screen, d);
        // An even number of ticks leaves the screen as it was (NOTXOR), as the native one does.
        constexpr int kTicks = 20000;
        const double start = emscripten_get_now();
        for (int i = 0; i < kTicks; ++i) Tick(screen, clockDeg);
        const double microseconds = (emscripten_get_now() - start) * 1000.0 / kTicks;
        std::printf("tick %d: %.2f us\n", clockDeg, microseconds);
    }
    return 0;
}
