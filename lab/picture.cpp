// The lab's drawing. The line, the front arrow, the phasor glyph and the colours are the
// main picture's own (circuit/line.h, wave/phasor.h); the angles here are exact.
#include "lab/picture.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <string>

#include "circuit/circuit.h"
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
// The matching's stub, section and way on the chart; the chart's grid, light under the rest.
constexpr COLORREF kMatchColour = RGB(0, 90, 220);
constexpr COLORREF kGridColour = RGB(215, 215, 215);
constexpr int kSectionPenWidth = 5;
constexpr int kStubDrop = 30;  // pixels from the line to the stub's ground
constexpr int kNearLoad = 36;  // pixels left of the load end that its glyphs take below the line

void Write(HDC dc, int x, int y, const std::string& text) {
    if (!text.empty()) TextOutA(dc, x, y, text.c_str(), static_cast<int>(text.size()));
}

// The value under the pointer is written beside it, on the side with room for it: right-aligned
// at x when the pointer is in the right half.
struct PointerValuePlace {
    int x, y;
    bool rightAligned;
};
PointerValuePlace PlaceOfPointerValue(int width, POINT pointer) {
    const bool leftOfPointer = pointer.x > width / 2;
    return {pointer.x + (leftOfPointer ? -14 : 14), pointer.y + 14, leftOfPointer};
}

POINT Station(const circuit::LineEnds& line, int k) {
    return circuit::FrontOnLine(line, k * kDegreesPerStation);
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

// The circle of the chart's `radius` (1 is the chart's own) around `centre`, counter-clockwise
// from the ray through `from` to the ray through `to`; nothing where it is under a pixel across.
void ChartArc(HDC dc, const SmithChart& chart, std::complex<double> centre, double radius,
              std::complex<double> from, std::complex<double> to) {
    const int r = static_cast<int>(std::lround(radius * chart.radius));
    if (r < 1) return;
    // Rays through points far out are as exact as the pixels.
    const auto farAlong = [&](std::complex<double> point) {
        return ChartPoint(chart, centre + 1000.0 * (point - centre) / std::abs(point - centre));
    };
    const POINT c = ChartPoint(chart, centre);
    const POINT start = farAlong(from), end = farAlong(to);
    Arc(dc, c.x - r, c.y - r, c.x + r + 1, c.y + r + 1, start.x, start.y, end.x, end.y);
}

// The circles a student reads the chart by: resistance 0.5 and 2 (1 is the 50-ohm circle, drawn
// black), and reactance +-0.5, +-1 and +-2, each from the chart's rim to the open end.
void DrawChartGrid(HDC dc, const SmithChart& chart) {
    HGDIOBJ black = SelectObject(dc, CreatePen(PS_SOLID, 1, kGridColour));
    for (double r : {0.5, 2.0}) {
        const POINT centre = ChartPoint(chart, r / (1 + r));
        Circle(dc, centre.x, centre.y, static_cast<int>(std::lround(chart.radius / (1 + r))));
    }
    for (double x : {0.5, 1.0, 2.0, -0.5, -1.0, -2.0}) {
        const std::complex<double> rim = std::complex<double>(x * x - 1, 2 * x) / (x * x + 1);
        const std::complex<double> centre(1, 1 / x);
        if (x > 0) {
            ChartArc(dc, chart, centre, 1 / x, rim, 1.0);
        } else {
            ChartArc(dc, chart, centre, -1 / x, 1.0, rim);
        }
    }
    DeleteObject(SelectObject(dc, black));
}

// The matching's way on the chart. A stub is found on admittances, the chart read the other way
// round: the load's admittance lies opposite its impedance, turns toward the generator
// (clockwise) to the g = 1 circle (where the 50-ohm circle lies), and the stub's susceptance
// takes it along that circle to the centre. A section: the load turns to the real axis, and the
// section's own line (a circle through that point and the centre) takes it to the centre.
void DrawMatchingWay(HDC dc, const SmithChart& chart, const MatchedLine& line) {
    const Match& match = *line.match;
    const std::complex<double> gamma = Reflection(line.load);
    const std::complex<double> turned = gamma * std::polar(1.0, -4 * pi * match.distance);
    const double rho = std::abs(gamma);
    HGDIOBJ black = SelectObject(dc, CreatePen(PS_SOLID, 1, kMatchColour));
    SetBkMode(dc, TRANSPARENT);
    if (match.stub) {
        Circle(dc, chart.cx + chart.radius / 2, chart.cy, chart.radius / 2);
        const POINT admittance = ChartPoint(chart, -gamma);
        Block(dc, admittance, 2, kMatchColour);
        Write(dc, admittance.x + 5, admittance.y - 18, "yL");
    }
    DeleteObject(SelectObject(dc, CreatePen(PS_SOLID, 2, kMatchColour)));
    if (match.stub) {
        const std::complex<double> from = -gamma, to = -turned;
        if (std::abs(to - from) * chart.radius >= 1) ChartArc(dc, chart, 0.0, rho, to, from);
        // Above the axis the centre lies counter-clockwise on the g = 1 circle, below clockwise.
        if (to.imag() > 0) {
            ChartArc(dc, chart, 0.5, 0.5, to, 0.0);
        } else {
            ChartArc(dc, chart, 0.5, 0.5, 0.0, to);
        }
        Block(dc, ChartPoint(chart, to), 1, kMatchColour);
    } else {
        if (std::abs(turned - gamma) * chart.radius >= 1) {
            ChartArc(dc, chart, 0.0, rho, turned, gamma);
        }
        // The section's circle has the real point and the centre as its diameter; the line
        // takes the half its middle lies on, counter-clockwise from the right end above the axis.
        const double real = turned.real();
        const double right = std::max(real, 0.0), left = std::min(real, 0.0);
        const bool above = ChartReflectionAt(line, match.distance + 0.125).imag() > 0;
        ChartArc(dc, chart, real / 2, rho / 2, above ? right : left, above ? left : right);
        Block(dc, ChartPoint(chart, turned), 1, kMatchColour);
    }
    SetBkMode(dc, OPAQUE);
    DeleteObject(SelectObject(dc, black));
}

void DrawChart(HDC dc, const SmithChart& chart, const MatchedLine& matched) {
    const Load& load = matched.load;
    const int r = chart.radius;
    DrawChartGrid(dc, chart);
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
    if (matched.match) DrawMatchingWay(dc, chart, matched);
}

// Where the point z wavelengths from the load lies on the line.
POINT OnLine(const circuit::LineEnds& line, double wavelengths) {
    const double t = 1 - wavelengths;
    return {line.x0 + static_cast<int>(std::lround(t * (line.x1 - line.x0))),
            line.y0 + static_cast<int>(std::lround(t * (line.y1 - line.y0)))};
}

// The stub hangs from the line at its place down to its short, labelled with its length; the
// section is a thick stretch of the line a quarter wavelength long, labelled with its impedance.
void DrawMatchingOnLine(HDC dc, const circuit::LineEnds& line, const Match& match) {
    char label[32];
    HGDIOBJ black;
    if (match.stub) {
        // Near the load its resistor and reactance hang below the line: there the stub rises.
        const POINT at = OnLine(line, match.distance);
        const bool upward = at.x > line.x1 - kNearLoad;
        black = SelectObject(dc, CreatePen(PS_SOLID, 2, kMatchColour));
        MoveToEx(dc, at.x, at.y, nullptr);
        LineTo(dc, at.x, at.y + (upward ? -kStubDrop : kStubDrop));
        DeleteObject(SelectObject(dc, black));
        circuit::DrawGround(dc, upward);
        std::snprintf(label, sizeof label, "l = %.3f", match.stubLength);
        // Above the line, left of the stub, where the line falls away below the text: below it
        // lie the stations' labels, the load's ground and the readouts' caption.
        SetBkMode(dc, TRANSPARENT);
        SetTextAlign(dc, TA_RIGHT);
        Write(dc, at.x - 4, at.y - 20, label);
        SetTextAlign(dc, TA_LEFT);
        SetBkMode(dc, OPAQUE);
        return;
    }
    const POINT from = OnLine(line, match.distance);
    const POINT to = OnLine(line, MatchingPoint(match));
    black = SelectObject(dc, CreatePen(PS_SOLID, kSectionPenWidth, kMatchColour));
    MoveToEx(dc, from.x, from.y, nullptr);
    LineTo(dc, to.x, to.y);
    DeleteObject(SelectObject(dc, black));
    // Above the line, left of the section's middle, where the line falls away below the text; the
    // stations' labels are below it.
    const POINT middle = OnLine(line, match.distance + 0.125);
    std::snprintf(label, sizeof label, "%.1f ohms", match.sectionOhms);
    SetBkMode(dc, TRANSPARENT);
    Write(dc, middle.x - 55, middle.y - 26, label);
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

void DrawLabStill(HDC dc, int width, int height, const Load& load, int clockDeg,
                  MatchChoice choice) {
    const circuit::LineEnds line = circuit::LineOnScreen(width, height);
    DrawReactance(dc, line, load.open ? 0.0 : load.ohms.imag());
    const POINT caption = circuit::LoadCaptionAt(width, height);
    Write(dc, caption.x, caption.y, Caption(load));
    const MatchedLine matched = WithMatching(load, choice);
    const SmithChart chart = SmithChartPlace(width, height);
    DrawChart(dc, chart, matched);
    if (matched.match) DrawMatchingOnLine(dc, line, *matched.match);
    // The matching's lines, right of the chart at the top.
    int row = 0;
    for (Readout readout : {Readout::Matching, Readout::SourceRatio}) {
        const POINT at = MatchingLineAt(width, height, row++);
        Write(dc, at.x, at.y, FormatReadout(load, readout, 0, choice));
    }
    const int last = std::min(clockDeg, kReturnDegrees);
    for (int d = kLineDegrees; d <= last; d += 3) DrawLabMarks(dc, width, height, load, d, choice);
}

void DrawLabMarks(HDC dc, int width, int height, const Load& load, int clockDeg,
                  MatchChoice choice) {
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
    const MatchedLine matched = WithMatching(load, choice);
    const double back = static_cast<double>(clockDeg - kLineDegrees) / kLineDegrees;
    const int envelope = static_cast<int>(50 * EnvelopeAt(matched, back) + 0.5);
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
    Write(dc, at.x, at.y, FormatReadout(load, Readout::Impedance, wavelengths, choice));

    // Walking toward the generator turns Gamma clockwise, half a turn per quarter wavelength.
    const SmithChart chart = SmithChartPlace(width, height);
    const std::complex<double> gamma = ChartReflectionAt(matched, wavelengths);
    const POINT point = ChartPoint(chart, gamma);
    Block(dc, point, 1, wave::kReflectedColour);
    // Half a wavelength brings every point back: Z1 to Z4 are labelled right of theirs, Z5 to Z7
    // left of the same points. Near the centre the points crowd together and go unlabelled.
    // Without a matching every point lies on the load's circle.
    const double fromCentre = matched.match ? std::abs(gamma) : std::abs(Reflection(load));
    if (fromCentre * chart.radius < kLeastLabelledRadius) return;
    SetBkMode(dc, TRANSPARENT);
    Write(dc, point.x + (k <= 4 ? 4 : -11), point.y + 1, number);
    SetBkMode(dc, OPAQUE);
}

void DrawLabFrame(HDC dc, int width, int height, const Load& load, int clockDeg,
                  MatchChoice choice) {
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

    // Station k's phasor points up as the front passes it and turns with the clock. With a
    // matching, each stretch's incident wave is scaled and turned so the voltage meets at the
    // junctions (without one, by 1 and 0).
    const MatchedLine matched = WithMatching(load, choice);
    const double turn = d * pi / 180;
    POINT tip;
    for (int k = 0; k <= kLoadStation; ++k) {
        if (d < std::max(3, k * kDegreesPerStation)) continue;
        const Stretch& stretch = StretchAt(matched, (kLoadStation - k) / 8.0);
        wave::DrawPhasor(dc, Station(line, k),
                         turn + pi / 2 - k * pi / 4 + std::arg(stretch.incident),
                         std::abs(stretch.incident), 1, tip);
    }

    // The reflected wave is the incident one at the load scaled by |Gamma| and turned by its
    // angle, travelling back; with a matching, on the load side of it only.
    const std::complex<double> gamma = Reflection(load);
    if (d >= kLineDegrees && gamma != 0.0) {
        DeleteObject(
            SelectObject(dc, CreatePen(PS_SOLID, circuit::kWavePenWidth, wave::kReflectedColour)));
        // A stretch's reflected wave at its phase, where it has one.
        const auto drawReflected = [&](POINT origin, double phase, const Stretch& stretch) {
            if (stretch.reflection == 0.0) return;
            wave::DrawPhasor(dc, origin,
                             phase + (std::arg(stretch.incident) + std::arg(stretch.reflection)),
                             std::abs(stretch.incident) * std::abs(stretch.reflection), 1, tip);
        };
        if (d < kReturnDegrees) {
            drawReflected(reflectedFrom, pi / 2,
                          StretchAt(matched, static_cast<double>(d - kLineDegrees) / kLineDegrees));
        }
        for (int j = 0; j <= kLoadStation; ++j) {
            if (d < kLineDegrees + j * kDegreesPerStation) continue;
            drawReflected(Station(line, kLoadStation + j), turn + pi / 2 - j * pi / 4,
                          StretchAt(matched, j / 8.0));
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

void DrawPointerValue(HDC dc, int width, int height, const Load& load, POINT pointer,
                      MatchChoice choice) {
    const std::optional<double> z = PointedDistance(width, height, pointer);
    if (!z) return;
    Block(dc, OnLine(circuit::LineOnScreen(width, height), *z), 1, wave::kReflectedColour);
    const PointerValuePlace place = PlaceOfPointerValue(width, pointer);
    SetTextAlign(dc, place.rightAligned ? TA_RIGHT : TA_LEFT);
    Write(dc, place.x, place.y, FormatReadout(load, Readout::Pointer, *z, choice));
    SetTextAlign(dc, TA_LEFT);
}

POINT ReadoutAt(int width, int height, int row) {
    return {width / 2, height / 2 + 30 + row * kLineSpacing};
}

POINT MatchingLineAt(int width, int height, int row) {
    const SmithChart chart = SmithChartPlace(width, height);
    return {chart.cx + chart.radius + 2 * kChartMargin, kChartMargin + kLineSpacing * row};
}

RECT PointerValueArea(int width, POINT pointer) {
    const PointerValuePlace place = PlaceOfPointerValue(width, pointer);
    // A right-aligned text starts anywhere left of its end.
    return place.rightAligned ? RECT{0, place.y, place.x, place.y + 1}
                              : RECT{place.x, place.y, place.x + 1, place.y + 1};
}

}  // namespace lab
