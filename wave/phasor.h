// What the wave's picture shares with the lab's: the phasor glyph, the colours of the reflected
// wave and of the standing-wave dots, and the spacing of the stations along the line.
#pragma once

#include "win32/win32.h"

namespace wave {

// Stations one eighth of a wavelength apart.
inline constexpr int kDegreesPerStation = 45;

// Pen colours of the reflected wave and of the standing-wave dots; the incident wave's pen is the
// start arrow's (circuit/line.h).
inline constexpr COLORREF kReflectedColour = 200;  // RGB(200,0,0)
inline constexpr COLORREF kDotColour = 255;        // RGB(255,0,0)

// One arrow of 50 * scale pixels from origin at angle a (radians, counter-clockwise, y up),
// with two 7-pixel barbs; sign mirrors the whole glyph through the origin.
void DrawPhasor(HDC dc, POINT origin, double a, double scale, int sign, POINT& tip);

}  // namespace wave
