// Where the transmission line lies in the client area, and the arrow at the front of the incident
// wave. The circuit draws the line and, as its start arrow, the front arrow of the frame of 0;
// every wave frame lays out the same line. The first tick erases the start arrow only because it
// draws the very same arrow again (NOTXOR), so both take these facts from here.
#pragma once

#include "win32/win32.h"

namespace circuit {

// The source end (x0, y0), at the top of the source resistor, and the load end (x1, y1).
struct LineEnds {
    int x0, y0;
    int x1, y1;
};

inline LineEnds LineOnScreen(int width, int height) {
    return {width / 10 + 20, (3 * height) / 4 - 71, (3 * width) / 4, height / 4};
}

// The wave front at the clock angle (degrees; the line is one wavelength, 360 degrees, long):
// going out up to 360, coming back from 361. Each quotient truncates on its own, so the same
// inputs always give the same point and an erasing redraw hits the same pixels.
inline POINT FrontOnLine(const LineEnds& line, int clockDeg) {
    constexpr int kLineDegrees = 360;
    const int v = line.x1 - line.x0;
    const int u = line.y1 - line.y0;
    if (clockDeg <= kLineDegrees) {
        return {line.x0 + (v * clockDeg) / kLineDegrees, line.y0 + (u * clockDeg) / kLineDegrees};
    }
    const int back = clockDeg - kLineDegrees;
    return {line.x0 + v - (v * back) / kLineDegrees, line.y0 + u - (u * back) / kLineDegrees};
}

// The front arrow goes straight up from the front, with a barb down to each side of its tip; the
// reflected front's arrow has this length scaled by the reflection, and the same barbs.
inline constexpr int kFrontArrowLength = 50;
inline constexpr int kFrontArrowBarb = 5;

// The pen of the incident wave and of its front arrow: olive, two pixels wide.
inline constexpr COLORREF kIncidentColour = RGB(100, 100, 0);
inline constexpr int kWavePenWidth = 2;

// Draws the front arrow from the current position, which is the front, with the selected pen and
// raster operation; returns its tip, where the position ends.
POINT DrawFrontArrow(HDC dc, POINT front);

}  // namespace circuit
