// The lab's picture over the circuit: the load's reactance and caption, the Smith chart, the
// readouts, the standing-wave envelope, the moving wave, and the value under the pointer; each
// with the chosen matching in place (the stub or the section on the line and its way on the
// chart, the reflected wave only on the load side of it).
#pragma once

#include <optional>

#include "lab/match.h"
#include "lab/model.h"
#include "win32/win32.h"

namespace lab {

// The Smith chart's centre and radius in the upper left corner, above the line.
struct SmithChart {
    int cx, cy, radius;
};
SmithChart SmithChartPlace(int width, int height);
// Where a reflection coefficient lies on the chart.
POINT ChartPoint(const SmithChart& chart, std::complex<double> gamma);

// Everything that stays on the screen up to the clock: the caption and reactance of the load,
// the chart, and what every frame up to clockDeg has added for good (DrawLabMarks).
void DrawLabStill(HDC dc, int width, int height, const Load& load, int clockDeg,
                  MatchChoice choice = MatchChoice::None);
// What the frame of clockDeg adds for good, in copy mode: the envelope's dots while the
// reflected front travels back, the readouts and the chart's points as it passes the stations.
void DrawLabMarks(HDC dc, int width, int height, const Load& load, int clockDeg,
                  MatchChoice choice = MatchChoice::None);
// The moving part of the frame in R2_NOTXORPEN mode, so drawing it twice erases it: the front
// arrows and the incident and reflected phasors. Leaves R2_COPYPEN and the black pen.
void DrawLabFrame(HDC dc, int width, int height, const Load& load, int clockDeg,
                  MatchChoice choice = MatchChoice::None);

// Where the readouts start: Gamma, Ratio and Vmin (rows 0 to 2), then Z1 to Z7 (rows 3 to 9),
// in a column below the line's caption in the middle of the window.
inline constexpr int kReadoutRows = 10;
POINT ReadoutAt(int width, int height, int row);
// Where the matching's lines (rows 0 and 1) start, right of the chart at the top.
inline constexpr int kMatchingRows = 2;
POINT MatchingLineAt(int width, int height, int row);
// Where the value under the pointer starts (DrawPointerValue).
RECT PointerValueArea(int width, POINT pointer);

// How far from the load (wavelengths) the point of the line nearest the pointer lies, if the
// pointer is close enough to the line to point at it.
std::optional<double> PointedDistance(int width, int height, POINT pointer);
// |V|/|V+| and Z at the pointed point, as small text beside the pointer.
void DrawPointerValue(HDC dc, int width, int height, const Load& load, POINT pointer,
                      MatchChoice choice = MatchChoice::None);

}  // namespace lab
