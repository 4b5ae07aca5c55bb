// The cost of the pictures on a 992 x 666 canvas: the circuit at a paint, a single frame, and a
// whole tick (the erasing call and the drawing call on one fresh context, as the timer does).
// The tick must stay well under 20 microseconds and allocate nothing; allocations are counted by
// replacing the global operator new and reported per iteration.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <new>

#include "circuit/circuit.h"
#include "surface/canvas.h"
#include "surface/device_context.h"
#include "wave/frame.h"

namespace {

long allocationCount = 0;

constexpr int kWidth = 992, kHeight = 666;
constexpr double kLoad = 100;

// A screen after a paint and a run up to clockDeg, so every station the frame reads is captured.
surface::Canvas& ScreenAt(int clockDeg) {
    static surface::Canvas screen(kWidth, kHeight);
    HDC dc = surface::CreateCanvasDC(&screen);
    DrawCircuit(dc, kWidth, kHeight);
    DrawLoadCaption(dc, kWidth, kHeight, kLoad);
    surface::ReleaseCanvasDC(dc);
    for (int d = 0; d < clockDeg; d += 3) {
        dc = surface::CreateCanvasDC(&screen);
        DrawWaveFrame(dc, kWidth, kHeight, d, kLoad);
        DrawWaveFrame(dc, kWidth, kHeight, d + 3, kLoad);
        surface::ReleaseCanvasDC(dc);
    }
    return screen;
}

void ReportAllocations(benchmark::State& state, long before) {
    state.counters["allocs"] = benchmark::Counter(static_cast<double>(allocationCount - before),
                                                  benchmark::Counter::kAvgIterations);
}

void BM_CircuitAndCaption(benchmark::State& state) {
    surface::Canvas& screen = ScreenAt(0);
    const long before = allocationCount;
    for (auto _ : state) {
        HDC dc = surface::CreateCanvasDC(&screen);
        DrawCircuit(dc, kWidth, kHeight);
        DrawLoadCaption(dc, kWidth, kHeight, kLoad);
        surface::ReleaseCanvasDC(dc);
    }
    ReportAllocations(state, before);
}
BENCHMARK(BM_CircuitAndCaption);

// One drawing call; the context is taken once, outside the loop.
void BM_Frame(benchmark::State& state) {
    const int d = static_cast<int>(state.range(0));
    HDC dc = surface::CreateCanvasDC(&ScreenAt(d));
    const long before = allocationCount;
    for (auto _ : state) DrawWaveFrame(dc, kWidth, kHeight, d, kLoad);
    ReportAllocations(state, before);
    surface::ReleaseCanvasDC(dc);
}
BENCHMARK(BM_Frame)->Arg(0)->Arg(360)->Arg(405)->Arg(720)->Arg(1080);

// One timer tick from clockDeg to clockDeg + 3: 717 to 720 is the busiest (every station and
// both waves, the ratio and the dots), 1077 to 1080 ends the run in copy mode.
void BM_Tick(benchmark::State& state) {
    const int d = static_cast<int>(state.range(0));
    surface::Canvas& screen = ScreenAt(d);
    const long before = allocationCount;
    for (auto _ : state) {
        HDC dc = surface::CreateCanvasDC(&screen);
        DrawWaveFrame(dc, kWidth, kHeight, d, kLoad);
        DrawWaveFrame(dc, kWidth, kHeight, d + 3, kLoad);
        surface::ReleaseCanvasDC(dc);
    }
    ReportAllocations(state, before);
}
BENCHMARK(BM_Tick)->Arg(714)->Arg(717)->Arg(1077);

// The same ticks on a context that draws nothing and records nothing: the frame's own share
// of a tick, without the pixels.
void BM_TickWithoutPixels(benchmark::State& state) {
    const int d = static_cast<int>(state.range(0));
    ScreenAt(d);
    const long before = allocationCount;
    for (auto _ : state) {
        HDC dc = surface::CreateCanvasDC(nullptr);
        DrawWaveFrame(dc, kWidth, kHeight, d, kLoad);
        DrawWaveFrame(dc, kWidth, kHeight, d + 3, kLoad);
        surface::ReleaseCanvasDC(dc);
    }
    ReportAllocations(state, before);
}
BENCHMARK(BM_TickWithoutPixels)->Arg(717)->Arg(1077);

}  // namespace

// Kept out of line: inlined into a caller, the free below would look mismatched to the compiler.
[[gnu::noinline]] void* operator new(std::size_t size) {
    ++allocationCount;
    if (void* block = std::malloc(size == 0 ? 1 : size)) return block;
    throw std::bad_alloc();
}
[[gnu::noinline]] void operator delete(void* block) noexcept { std::free(block); }
[[gnu::noinline]] void operator delete(void* block, std::size_t) noexcept { std::free(block); }

BENCHMARK_MAIN();
