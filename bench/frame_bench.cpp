// The cost of the pictures on a 992 x 666 canvas: the circuit at a paint, a single frame, and a
// whole tick (the erasing call and the drawing call on one fresh context, as the timer does),
// alone and over a whole run; and the lab's (with and without a stub) and the pulse mode's ticks
// beside the main mode's, in the same run. A tick must stay well under 20 microseconds and
// allocate nothing; allocations are counted by replacing the global operator new and reported per
// iteration.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <new>
#include <vector>

#include "circuit/circuit.h"
#include "lab/picture.h"
#include "pulse/picture.h"
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

// One timer tick from clockDeg to clockDeg + 3: 669 to 672 and 672 to 675 are the busiest of a
// whole run (every station and both waves, and the impedance readouts' texts), 1077 to 1080 ends
// the run in copy mode.
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
BENCHMARK(BM_Tick)->Arg(669)->Arg(672)->Arg(1077);

// Every tick of a whole run, each timed on its own. A tick's time is the least over the
// iterations, which leaves out what other programs on a busy machine cost it; the counters are
// the median and the largest of those over the run, in microseconds, and the clock at which the
// largest starts.
void BM_WholeRunTicks(benchmark::State& state) {
    constexpr int kTicks = 360;
    std::vector<double> fastest(kTicks, 1e30);
    for (auto _ : state) {
        surface::Canvas screen(kWidth, kHeight);
        HDC dc = surface::CreateCanvasDC(&screen);
        DrawCircuit(dc, kWidth, kHeight);
        DrawLoadCaption(dc, kWidth, kHeight, kLoad);
        surface::ReleaseCanvasDC(dc);
        for (int tick = 0; tick < kTicks; ++tick) {
            const int d = 3 * tick;
            const auto start = std::chrono::steady_clock::now();
            dc = surface::CreateCanvasDC(&screen);
            DrawWaveFrame(dc, kWidth, kHeight, d, kLoad);
            DrawWaveFrame(dc, kWidth, kHeight, d + 3, kLoad);
            surface::ReleaseCanvasDC(dc);
            const std::chrono::duration<double, std::micro> took =
                std::chrono::steady_clock::now() - start;
            fastest[tick] = std::min(fastest[tick], took.count());
        }
    }
    const auto slowest = std::max_element(fastest.begin(), fastest.end());
    state.counters["max_at"] = static_cast<double>(3 * (slowest - fastest.begin()));
    state.counters["max_us"] = *slowest;
    std::nth_element(fastest.begin(), fastest.begin() + kTicks / 2, fastest.end());
    state.counters["median_us"] = fastest[kTicks / 2];
}
BENCHMARK(BM_WholeRunTicks)->Iterations(40)->Unit(benchmark::kMillisecond);

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
BENCHMARK(BM_TickWithoutPixels)->Arg(672)->Arg(1077);

// The lab's tick, as its timer does it: the old frame erased, what the new one adds for good (the
// envelope's dots; at 405 to 675 a readout, a station's label and a point on the Smith chart),
// the new frame. 669 to 672 and 672 to 675 match the main tick's busiest; 402 to 405
// writes Z1.
void LabTick(benchmark::State& state, lab::MatchChoice choice) {
    const int d = static_cast<int>(state.range(0));
    const lab::Load load{{75, 50}};
    static surface::Canvas screen(kWidth, kHeight);
    HDC dc = surface::CreateCanvasDC(&screen);
    DrawCircuit(dc, kWidth, kHeight);
    lab::DrawLabStill(dc, kWidth, kHeight, load, d, choice);
    lab::DrawLabFrame(dc, kWidth, kHeight, load, d, choice);
    surface::ReleaseCanvasDC(dc);
    const long before = allocationCount;
    for (auto _ : state) {
        dc = surface::CreateCanvasDC(&screen);
        lab::DrawLabFrame(dc, kWidth, kHeight, load, d, choice);
        lab::DrawLabMarks(dc, kWidth, kHeight, load, d + 3, choice);
        lab::DrawLabFrame(dc, kWidth, kHeight, load, d + 3, choice);
        surface::ReleaseCanvasDC(dc);
    }
    ReportAllocations(state, before);
}

void BM_LabTick(benchmark::State& state) { LabTick(state, lab::MatchChoice::None); }
BENCHMARK(BM_LabTick)->Arg(402)->Arg(669)->Arg(672)->Arg(1077);

// The pulse mode's tick, as its timer does it: the line's old voltage erased, the diagram's and
// the graph's next pieces and the readouts of the moment, the line's new voltage. Rs = 25 and
// RL = 100: 537 to 540 is mid-trip with a front on the line, 717 to 720 writes a trip's labels
// as it arrives at the source, 2157 to 2160 ends the run.
void BM_PulseTick(benchmark::State& state) {
    const int d = static_cast<int>(state.range(0));
    pulse::Run run = pulse::MakeRun({25, {100}, {}});
    static surface::Canvas screen(kWidth, kHeight);
    HDC dc = surface::CreateCanvasDC(&screen);
    pulse::DrawPulseStill(dc, kWidth, kHeight, run, d);
    pulse::DrawLineVoltage(dc, kWidth, kHeight, run, d);
    surface::ReleaseCanvasDC(dc);
    // Each iteration starts from the readouts clock d shows, as the tick after it does (copying
    // them back costs the iteration a little more than the tick).
    const auto shownAtD = run.shownMoment;
    const long before = allocationCount;
    for (auto _ : state) {
        run.shownMoment = shownAtD;
        dc = surface::CreateCanvasDC(&screen);
        pulse::DrawLineVoltage(dc, kWidth, kHeight, run, d);
        pulse::DrawPulseTick(dc, kWidth, kHeight, run, d + 3);
        pulse::DrawLineVoltage(dc, kWidth, kHeight, run, d + 3);
        surface::ReleaseCanvasDC(dc);
    }
    ReportAllocations(state, before);
}
BENCHMARK(BM_PulseTick)->Arg(537)->Arg(717)->Arg(2157);

// The same ticks with the first stub in place: each station's stretch of the line looked up, its
// incident wave scaled and turned, and the reflected wave only below the stub.
void BM_LabTickWithStub(benchmark::State& state) { LabTick(state, lab::MatchChoice::FirstStub); }
BENCHMARK(BM_LabTickWithStub)->Arg(402)->Arg(669)->Arg(672)->Arg(1077);

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
