// One frame of the wave animation: the front travelling along the line, the phasors at the
// stations it has passed, the reflected wave, the standing-wave trace and the impedance readouts.
#pragma once

#include "win32/win32.h"

namespace wave {

// The animation clock, in degrees of signal phase: each timer tick advances it by kClockStep, and
// it stops at kClockEnd, three periods; the frame of kClockEnd is drawn in copy mode and stays.
inline constexpr int kClockStep = 3;
inline constexpr int kClockEnd = 1080;

// Lines of text are written this many pixels apart.
inline constexpr int kTextLineSpacing = 20;
// Where the standing-wave caption starts beside the load; the ratio is the line below it.
POINT StandingWaveCaptionAt(int width, int height);
// Where the impedance readout of row 0 (Z1) to kImpedanceReadouts - 1 (Z7) starts, in the
// column below the load.
inline constexpr int kImpedanceReadouts = 7;
POINT ImpedanceReadoutAt(int width, int height, int row);

}  // namespace wave

// Draws the frame for the clock angle clockDeg (degrees, 0 to 1080) and the load in ohms.
// Below 1080 the frame is drawn in R2_NOTXORPEN mode, so drawing it twice erases it; the frame
// of 1080 is drawn in copy mode and stays. Leaves R2_COPYPEN and the stock black pen selected.
void DrawWaveFrame(HDC dc, int width, int height, int clockDeg, double loadOhms);
