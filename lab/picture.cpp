// The lab's drawing. The line, the front arrow, the phasor glyph and the colours are the
// main picture's own (circuit/line.h, wave/phasor.h); the angles here are exact.
#include "lab/picture.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

#include "circuit/line.h"
#include "lab/readouts.h"
#include "wave/phasor.h"

namespace lab {

namespace {

using std::numbers::pi;

constexpr int kLineDegrees = 360;
constexpr int kReturnDegrees = 720;
constexpr int kDegreesPerStation = wave::kDegreesPerStation;
constexpr int kLoadStation = 8;
constexpr int kReadoutCount = 7;  // Z1 to Z7, at stations 9 to 15
constexpr int kLineSpacing = 20;
constexpr int kChartMargin = 20;
constexpr double kLeastLabelledRadius = 8;  // pixels from the chart's centre
// The pointer reads the line within this many pixels of it.
constexpr int kPointerReach = 30;

void Write(HDC dc, int x, int y, const std::string& text) {
    if (!text.empty()) TextOutA(dc, x, y, text.c_str(), static_cast<int>(text.size()));
}

POINT Station(const circuit::LineEnds& line, int k) {
    return circuit::FrontOnLine(line, k * kDegreesPerStation);
}

// The readouts' column, below the line's caption in the middle of the window: Gamma, Ratio and
// Vmin, then Z1 to Z7.
POINT ReadoutAt(int width, int height, int row) {
    return {width / 2, height / 2 + 30 + row * kLineSpacing};
}

void Block(HDC dc, POINT centre, int half, COLORREF colour) {
    for (int y = centre.y - half; y <= centre.y + half; ++y) {
        for (int x = centre.x - half; x <= centre.x + half; ++x) SetPixel(dc, x, y, colour);
    }
}

// A whole circle: Arc draws the whole outline when its two rays coincide.
void Circle(HDC dc, int cx, int cy, int radius) {
    Arc(dc, cx - radius, cy - radius, cx + radius + 1, cy + radius + 1, cx + radius, cy,
        cx + radius, cy);
}

// Beside the load resistor, to its left: a coil (four turns) for a positive reactance, a
// capacitor (two plates) for a negative one.
void DrawReactance(HDC dc, const circuit::LineEnds& line, double reactance) {
    if (reactance == 0) return;
    const int x = line.x1 - 22;
    const int top = line.y1 + 12;
    MoveToEx(dc, x, top, nullptr);
    if (reactance > 0) {
        LineTo(dc, x, top + 4);
        for (int turn = 0; turn < 4; ++turn) {
            const int y = top + 4 + 7 * turn;
            Arc(dc, x - 4, y, x + 5, y + 8, x, y + 8, x, y);
        }
        MoveToEx(dc, x, top + 32, nullptr);
        LineTo(dc, x, top + 37);
    } else {
        LineTo(dc, x, top + 15);
        MoveToEx(dc, x - 8, top + 15, nullptr);
        LineTo(dc, x + 9, top + 15);
        MoveToEx(dc, x - 8, top + 21, nullptr);
        LineTo(dc, x + 9, top + 21);
        MoveToEx(dc, x, top + 21, nullptr);
        LineTo(dc, x, top + 37);
    }
}

void DrawChart(HDC dc, const SmithChart& chart, const Load& load) {
    const int r = chart.radius;
    Circle(dc, chart.cx, chart.cy, r);
    // The circle of resistance 50 ohms, through the centre (matched) and the open end.
    Circle(dc, chart.cx + r / 2, chart.cy, r / 2);
    MoveToEx(dc, chart.cx - r, chart.cy, nullptr);
    LineTo(dc, chart.cx + r + 1, chart.cy);

    const std::complex<double> gamma = Reflection(load);
    HGDIOBJ black = SelectObject(dc, CreatePen(PS_SOLID, 1, wave::kReflectedColour));
    const int rho = static_cast<int>(std::lround(r * std::abs(gamma)));
    if (rho > 1) Circle(dc, chart.cx, chart.cy, rho);
    DeleteObject(SelectObject(dc, black));

    SetBkMode(dc, TRANSPARENT);
    const POINT point = ChartPoint(chart, gamma);
    Block(dc, point, 2, wave::kDotColour);
    Write(dc, point.x + 5, point.y - 18, "L");
    Write(dc, chart.cx - r, chart.cy + r + 20, "Smith chart");
    SetBkMode(dc, OPAQUE);
}

}  // namespace

SmithChart SmithChartPlace(int width, int height) {
    const int radius = std::min(width, height) / 7;
    return {kChartMargin + radius, kChartMargin + radius, radius};
}

POINT ChartPoint(const SmithChart& chart, std::complex<double> gamma) {
    return {chart.cx + static_cast<int>(std::lround(chart.radius * gamma.real())),
            chart.cy - static_cast<int>(std::lround(chart.radius * gamma.imag()))};
}

void DrawLabStill(HDC dc, int width, int height, const Load& load, int clockDeg) {
    const circuit::LineEnds line = circuit::LineOnScreen(width, height);
    DrawReactance(dc, line, load.open ? 0.0 : load.ohms.imag());
    Write(dc, line.x1 + 20, line.y1 + 30, Caption(load));
    DrawChart(dc, SmithChartPlace(width, height), load);
    const int last = std::min(clockDeg, kReturnDegrees);
    for (int d = kLineDegrees; d <= last; d += 3) DrawLabMarks(dc, width, height, load, d);
}

void DrawLabMarks(HDC dc, int width, int height, const Load& load, int clockDeg) {
    if (clockDeg < kLineDegrees || clockDeg > kReturnDegrees) return;
    const circuit::LineEnds line = circuit::LineOnScreen(width, height);
    if (clockDeg == kLineDegrees) {
        int row = 0;
        for (Readout readout : {Readout::Gamma, Readout::Ratio, Readout::Minimum}) {
            const POINT at = ReadoutAt(width, height, row++);
            Write(dc, at.x, at.y, FormatReadout(load, readout));
        }
    }

    // The envelope: 50 |V|/|V+| pixels above the front, a block 3 wide and 2 high left of it.
    const double back = static_cast<double>(clockDeg - kLineDegrees) / kLineDegrees;
    const int envelope = static_cast<int>(50 * EnvelopeAt(load, back) + 0.5);
    const POINT front = circuit::FrontOnLine(line, clockDeg);
    for (int column = 0; column < 3; ++column) {
        SetPixel(dc, front.x - column, front.y - envelope, wave::kDotColour);
        SetPixel(dc, front.x - column, front.y - envelope - 1, wave::kDotColour);
    }

    const int passed = clockDeg - kLineDegrees;
    if (passed % kDegreesPerStation != 0) return;
    const int k = passed / kDegreesPerStation;
    if (k < 1 || k > kReadoutCount) return;
    const POINT station = Station(line, kLoadStation + k);
    const std::string number = std::to_string(k);
    Write(dc, station.x - 10, station.y + 10, "Z " + number);
    const POINT at = ReadoutAt(width, height, 2 + k);
    const double wavelengths = k / 8.0;
    Write(dc, at.x, at.y, FormatReadout(load, Readout::Impedance, wavelengths));

    // Walking toward the generator turns Gamma clockwise, half a turn per quarter wavelength.
    const SmithChart chart = SmithChartPlace(width, height);
    const POINT point =
        ChartPoint(chart, Reflection(load) * std::polar(1.0, -4 * pi * wavelengths));
    Block(dc, point, 1, wave::kReflectedColour);
    // Half a wavelength brings every point back: Z1 to Z4 are labelled right of theirs, Z5 to Z7
    // left of the same points. Near the centre the points crowd together and go unlabelled.
    if (std::abs(Reflection(load)) * chart.radius < kLeastLabelledRadius) return;
    SetBkMode(dc, TRANSPARENT);
    Write(dc, point.x + (k <= 4 ? 4 : -11), point.y + 1, number);
    SetBkMode(dc, OPAQUE);
}

void DrawLabFrame(HDC dc, int width, int height, const Load& load, int clockDeg) {
    const circuit::LineEnds line = circuit::LineOnScreen(width, height);
    const int d = clockDeg;
    SetROP2(dc, R2_NOTXORPEN);
    SelectObject(dc, CreatePen(PS_SOLID, circuit::kWavePenWidth, circuit::kIncidentColour));

    // The reflected front's arrow starts where the incident one ends on the frame at the load,
    // so the two add up to the signal there.
    POINT reflectedFrom = circuit::FrontOnLine(line, d);
    if (d <= kLineDegrees) {
        MoveToEx(dc, reflectedFrom.x, reflectedFrom.y, nullptr);
        reflectedFrom = circuit::DrawFrontArrow(dc, reflectedFrom);
    }

    // Station k's phasor points up as the front passes it and turns with the clock.
    const double turn = d * pi / 180;
    POINT tip;
    for (int k = 0; k <= kLoadStation; ++k) {
        if (d < std::max(3, k * kDegreesPerStation)) continue;
        wave::DrawPhasor(dc, Station(line, k), turn + pi / 2 - k * pi / 4, 1, 1, tip);
    }

    // The reflected wave is the incident one at the load scaled by |Gamma| and turned by its
    // angle, travelling back.
    const std::complex<double> gamma = Reflection(load);
    if (d >= kLineDegrees && gamma != 0.0) {
        DeleteObject(
            SelectObject(dc, CreatePen(PS_SOLID, circuit::kWavePenWidth, wave::kReflectedColour)));
        const double scale = std::abs(gamma);
        const double angle = std::arg(gamma);
        if (d < kReturnDegrees) wave::DrawPhasor(dc, reflectedFrom, pi / 2 + angle, scale, 1, tip);
        for (int j = 0; j <= kLoadStation; ++j) {
            if (d < kLineDegrees + j * kDegreesPerStation) continue;
            wave::DrawPhasor(dc, Station(line, kLoadStation + j),
                             turn + pi / 2 - j * pi / 4 + angle, scale, 1, tip);
        }
    }

    SetROP2(dc, R2_COPYPEN);
    DeleteObject(SelectObject(dc, GetStockObject(BLACK_PEN)));
}

std::optional<double> PointedDistance(int width, int height, POINT pointer) {
    const circuit::LineEnds line = circuit::LineOnScreen(width, height);
    const double v = line.x1 - line.x0;
    const double u = line.y1 - line.y0;
    const double lengthSquared = v * v + u * u;
    if (lengthSquared == 0) return std::nullopt;
    const double t = std::clamp(
        ((pointer.x - line.x0) * v + (pointer.y - line.y0) * u) / lengthSquared, 0.0, 1.0);
    const double dx = line.x0 + t * v - pointer.x;
    const double dy = line.y0 + t * u - pointer.y;
    if (dx * dx + dy * dy > kPointerReach * kPointerReach) return std::nullopt;
    return 1 - t;
}

void DrawPointerValue(HDC dc, int width, int height, const Load& load, POINT pointer) {
    const std::optional<double> z = PointedDistance(width, height, pointer);
    if (!z) return;
    const circuit::LineEnds line = circuit::LineOnScreen(width, height);
    const double t = 1 - *z;
    const POINT on{line.x0 + static_cast<int>(std::lround(t * (line.x1 - line.x0))),
                   line.y0 + static_cast<int>(std::lround(t * (line.y1 - line.y0)))};
    Block(dc, on, 1, wave::kReflectedColour);
    // Beside the pointer, on the side with room for it.
    const bool leftOfPointer = pointer.x > width / 2;
    SetTextAlign(dc, leftOfPointer ? TA_RIGHT : TA_LEFT);
    Write(dc, pointer.x + (leftOfPointer ? -14 : 14), pointer.y + 14,
          FormatReadout(load, Readout::Pointer, *z));
    SetTextAlign(dc, TA_LEFT);
}

}  // namespace lab
