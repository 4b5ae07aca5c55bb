// The pulse mode's picture over the circuit: the captions of Rs and RL, the readouts, the
// bounce diagram and the graph of the load's voltage as they grow with the clock, and the
// line's voltage at the moment in blue.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "pulse/model.h"
#include "win32/win32.h"

namespace pulse {

// The clock: one trip of the line is 360 units, as long as the main mode's front takes to cross
// it, and a run lasts kRunTrips trips.
inline constexpr int kTripClock = 360;
inline constexpr int kRunClock = kRunTrips * kTripClock;
// Clock units a tick of the timer: a trip takes 120 ticks, 6 s at the normal speed.
inline constexpr int kClockStep = 3;

// The least client area the picture is laid out for: at it and above, the diagram, the graph
// and the readouts lie clear of the circuit, of each other and of the line's voltage.
inline constexpr int kLeastWidth = 800;
inline constexpr int kLeastHeight = 560;

// The readouts, in rows in the upper left corner: Gamma at the source and at the load, the
// launched and final voltages, then the moment's time and the ends' voltages.
inline constexpr int kReadoutRows = 7;
POINT ReadoutAt(int width, int height, int row);

// What drawing a run needs, worked out once: the setup, its waves, and the range of the load's
// voltage over the run (with 0 and 1 V in it), which the graph spans.
struct Run {
    Setup setup;
    std::vector<Wave> waves;
    double lowest = 0, highest = 1;
    Steps steps;  // room for the line's steps, reused from frame to frame
    // The readouts of the moment as last written: a tick writes again only those that change.
    std::array<std::string, 3> shownMoment;
};
Run MakeRun(const Setup& setup);

// The whole picture but the line's voltage, in copy mode: the circuit and its captions, the
// readouts at the clock, and the diagram and the graph as every tick up to the clock grew them.
void DrawPulseStill(HDC dc, int width, int height, Run& run, int clock);
// What the tick that brings the clock to `clock` adds for good: the diagram's and the graph's
// next pieces, the labels of a trip that arrives, and the readouts of the moment.
void DrawPulseTick(HDC dc, int width, int height, Run& run, int clock);
// The line's voltage at the clock in R2_NOTXORPEN mode, so drawing it twice erases it: blue,
// 50 pixels per volt above the line (below it for negative volts), with a vertical edge at
// every step. Leaves R2_COPYPEN and the black pen.
void DrawLineVoltage(HDC dc, int width, int height, Run& run, int clock);

}  // namespace pulse
