// The pulse mode's drawing. The circuit and the line are the main picture's own
// (circuit/circuit.h, circuit/line.h); the colours are the waves' (circuit/line.h).
#include "pulse/picture.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <string>

#include "circuit/circuit.h"
#include "circuit/line.h"
#include "pulse/readouts.h"

namespace pulse {

namespace {

constexpr COLORREF kVoltageColour = RGB(0, 0, 255);
constexpr COLORREF kTowardSourceColour = RGB(200, 0, 0);
constexpr COLORREF kBackground = RGB(255, 255, 255);
constexpr int kPixelsPerVolt = 50;
constexpr int kRowSpacing = 20;
constexpr int kTextHeight = 16;
// The readouts of the moment (time and the ends' voltages) are cleared to this width before
// they are written again, being narrower at times than before.
constexpr int kReadoutWidth = 240;
constexpr Readout kReadouts[] = {Readout::SourceGamma, Readout::LoadGamma, Readout::Launched,
                                 Readout::Final,       Readout::Time,      Readout::SourceVoltage,
                                 Readout::LoadVoltage};
constexpr int kFirstMomentRow = 4;
static_assert(std::size(kReadouts) == kReadoutRows);

// Where things go in a client of this size. The readouts are in the upper left corner, above
// the line; the diagram at the right, below the load and the line's caption; the graph between
// them, below the line.
struct Layout {
    int readoutX, readoutY;
    int sourceAxis, loadAxis, diagramTop, diagramBottom;
    int graphLeft, graphRight, graphTop, graphBottom;
};

Layout LayOut(int width, int height) {
    Layout layout{};
    layout.readoutX = 20;
    layout.readoutY = 20;
    // The diagram grows with the window, from the 120 pixels between its axes that its labels
    // need.
    layout.loadAxis = width - 95;
    layout.sourceAxis = layout.loadAxis - std::max(120, width / 8);
    layout.diagramTop = height / 2 + 30;
    layout.diagramBottom = height - 50;
    layout.graphLeft = width / 2 - 40;
    layout.graphRight = layout.sourceAxis - 75;
    layout.graphTop = height / 2 + 100;
    layout.graphBottom = height - 50;
    return layout;
}

POINT RowOfReadouts(const Layout& layout, int row) {
    return {layout.readoutX, layout.readoutY + row * kRowSpacing};
}

void Write(HDC dc, int x, int y, const std::string& text) {
    if (!text.empty()) TextOutA(dc, x, y, text.c_str(), static_cast<int>(text.size()));
}

void WriteRight(HDC dc, int x, int y, const std::string& text) {
    SetTextAlign(dc, TA_RIGHT);
    Write(dc, x, y, text);
    SetTextAlign(dc, TA_LEFT);
}

void Line(HDC dc, int x0, int y0, int x1, int y1) {
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
}

// Selects a new pen; the caller deletes it with DropPen.
void UsePen(HDC dc, int width, COLORREF colour) {
    SelectObject(dc, CreatePen(PS_SOLID, width, colour));
}
void DropPen(HDC dc) { DeleteObject(SelectObject(dc, GetStockObject(BLACK_PEN))); }

double Trips(int clock) { return static_cast<double>(clock) / kTripClock; }

std::string OhmsCaption(double ohms) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f ohms", ohms);
    return text;
}

std::string LoadCaption(const Load& load) {
    if (load.open) return "open";
    if (load.ohms == 0) return "short";
    return OhmsCaption(load.ohms);
}

// The diagram's point for trip k at the clock: across from the end it left, down with time.
POINT DiagramPoint(const Layout& layout, int trip, int clock) {
    const int across =
        ((layout.loadAxis - layout.sourceAxis) * (clock - trip * kTripClock)) / kTripClock;
    const int x = trip % 2 == 0 ? layout.sourceAxis + across : layout.loadAxis - across;
    return {x,
            layout.diagramTop + ((layout.diagramBottom - layout.diagramTop) * clock) / kRunClock};
}

int GraphX(const Layout& layout, int clock) {
    return layout.graphLeft + ((layout.graphRight - layout.graphLeft) * clock) / kRunClock;
}

int GraphY(const Layout& layout, const Run& run, double volts) {
    const double span = run.highest - run.lowest;
    return layout.graphBottom -
           static_cast<int>(
               std::lround((volts - run.lowest) * (layout.graphBottom - layout.graphTop) / span));
}

double LoadVoltage(const Run& run, int clock) {
    return VoltageAt(run.waves, run.setup, 1, Trips(clock));
}

// An end's voltage once a trip has reached it (or, at the clock's start, once the first wave
// has left): left of the source's axis, right of the load's.
void LabelEnd(HDC dc, const Layout& layout, const Run& run, int clock, bool atLoad) {
    const int y = DiagramPoint(layout, 0, clock).y - kTextHeight / 2;
    const std::string volts =
        Volts(VoltageAt(run.waves, run.setup, atLoad ? 1 : 0, Trips(clock)), true);
    if (atLoad) {
        Write(dc, layout.loadAxis + 5, y, volts);
    } else {
        WriteRight(dc, layout.sourceAxis - 4, y, volts);
    }
}

void DrawDiagramFrame(HDC dc, const Layout& layout, const Run& run) {
    Line(dc, layout.sourceAxis, layout.diagramTop, layout.sourceAxis, layout.diagramBottom + 1);
    Line(dc, layout.loadAxis, layout.diagramTop, layout.loadAxis, layout.diagramBottom + 1);
    WriteRight(dc, layout.sourceAxis + 20, layout.diagramBottom + 10, "source");
    Write(dc, layout.loadAxis - 12, layout.diagramBottom + 10, "load");
    Write(dc, layout.sourceAxis + 20, layout.diagramTop - 22, "Bounce diagram");
    LabelEnd(dc, layout, run, 0, false);
}

void DrawGraphFrame(HDC dc, const Layout& layout, const Run& run) {
    const int zero = GraphY(layout, run, 0);
    Line(dc, layout.graphLeft, layout.graphTop, layout.graphLeft, layout.graphBottom + 1);
    Line(dc, layout.graphLeft, zero, layout.graphRight + 1, zero);
    const int oneVolt = GraphY(layout, run, 1);
    Line(dc, layout.graphLeft - 4, oneVolt, layout.graphLeft, oneVolt);
    WriteRight(dc, layout.graphLeft - 6, oneVolt - kTextHeight / 2, "1 V");
    Write(dc, layout.graphLeft, layout.graphTop - 30, "Voltage at the load");
    WriteRight(dc, layout.graphRight, zero + 4, "6 T");
}

// The readouts of the moment that differ from those shown (all of them when `all`), each on
// its row cleared first.
void DrawMomentReadouts(HDC dc, const Layout& layout, Run& run, int clock, bool all) {
    for (std::size_t i = 0; i < run.shownMoment.size(); ++i) {
        const int row = kFirstMomentRow + static_cast<int>(i);
        std::string text = FormatReadout(run.waves, run.setup, kReadouts[row], Trips(clock));
        if (!all && text == run.shownMoment[i]) continue;
        const POINT at = RowOfReadouts(layout, row);
        UsePen(dc, 2, kBackground);
        for (int y = at.y; y < at.y + kTextHeight; y += 2)
            Line(dc, at.x, y, at.x + kReadoutWidth, y);
        DropPen(dc);
        Write(dc, at.x, at.y, text);
        run.shownMoment[i] = std::move(text);
    }
}

// The diagram's and the graph's pieces from the clock of the tick before to this one, and a
// trip's labels when it arrives.
void DrawGrowth(HDC dc, const Layout& layout, const Run& run, int clock) {
    const int before = clock - kClockStep;
    const int trip = before / kTripClock;
    UsePen(dc, 1, trip % 2 == 0 ? circuit::kIncidentColour : kTowardSourceColour);
    const POINT from = DiagramPoint(layout, trip, before);
    const POINT to = DiagramPoint(layout, trip, clock);
    Line(dc, from.x, from.y, to.x, to.y);
    DropPen(dc);

    UsePen(dc, 1, kVoltageColour);
    const int graphY = GraphY(layout, run, LoadVoltage(run, before));
    MoveToEx(dc, GraphX(layout, before), graphY, nullptr);
    LineTo(dc, GraphX(layout, clock), graphY);
    LineTo(dc, GraphX(layout, clock), GraphY(layout, run, LoadVoltage(run, clock)));
    DropPen(dc);

    if (clock % kTripClock != 0) return;
    // The amplitude beside the middle of the trip's line, on the side away from the one before.
    const bool towardLoad = trip % 2 == 0;
    const POINT middle = DiagramPoint(layout, trip, clock - kTripClock / 2);
    const std::string amplitude = Volts(run.waves[trip].amplitude, false);
    SetBkMode(dc, TRANSPARENT);
    if (towardLoad) {
        Write(dc, middle.x + 4, middle.y - kTextHeight - 2, amplitude);
    } else {
        WriteRight(dc, middle.x - 4, middle.y - kTextHeight - 2, amplitude);
    }
    SetBkMode(dc, OPAQUE);
    LabelEnd(dc, layout, run, clock, towardLoad);
}

}  // namespace

Run MakeRun(const Setup& setup) {
    Run run;
    run.setup = setup;
    run.waves = Waves(setup);
    for (int clock = 0; clock <= kRunClock; clock += kClockStep) {
        const double volts = LoadVoltage(run, clock);
        run.lowest = std::min(run.lowest, volts);
        run.highest = std::max(run.highest, volts);
    }
    run.steps.reserve(2 * run.waves.size());
    return run;
}

POINT ReadoutAt(int width, int height, int row) {
    return RowOfReadouts(LayOut(width, height), row);
}

void DrawPulseStill(HDC dc, int width, int height, Run& run, int clock) {
    const Layout layout = LayOut(width, height);
    circuit::DrawCircuitFigure(
        dc, width, height, OhmsCaption(run.setup.sourceOhms).c_str(),
        run.setup.width ? circuit::SourceWave::Pulse : circuit::SourceWave::Step);
    const POINT caption = circuit::LoadCaptionAt(width, height);
    Write(dc, caption.x, caption.y, LoadCaption(run.setup.load));
    for (int row = 0; row < kFirstMomentRow; ++row) {
        const POINT at = RowOfReadouts(layout, row);
        Write(dc, at.x, at.y, FormatReadout(run.waves, run.setup, kReadouts[row], 0));
    }
    DrawDiagramFrame(dc, layout, run);
    DrawGraphFrame(dc, layout, run);
    for (int d = kClockStep; d <= clock; d += kClockStep) DrawGrowth(dc, layout, run, d);
    DrawMomentReadouts(dc, layout, run, clock, true);
}

void DrawPulseTick(HDC dc, int width, int height, Run& run, int clock) {
    const Layout layout = LayOut(width, height);
    DrawGrowth(dc, layout, run, clock);
    DrawMomentReadouts(dc, layout, run, clock, false);
}

void DrawLineVoltage(HDC dc, int width, int height, Run& run, int clock) {
    const circuit::LineEnds line = circuit::LineOnScreen(width, height);
    const double time = Trips(clock);
    StepsAt(run.waves, run.setup, time, run.steps);
    // A place on the line, raised by the voltage; a height of 0 is kept off the line's own
    // pixels, which NOTXOR would turn yellow.
    auto at = [&](double place, int raised) {
        return POINT{line.x0 + static_cast<int>((line.x1 - line.x0) * place),
                     line.y0 + static_cast<int>((line.y1 - line.y0) * place) - raised};
    };
    auto raisedOver = [&](double from, double to) {
        return static_cast<int>(
            std::lround(kPixelsPerVolt * VoltageAt(run.waves, run.setup, (from + to) / 2, time)));
    };

    SetROP2(dc, R2_NOTXORPEN);
    UsePen(dc, circuit::kWavePenWidth, kVoltageColour);
    double from = 0;
    int previous = 0;
    const std::size_t count = run.steps.size();
    for (std::size_t i = 0; i <= count; ++i) {
        const double to = i < count ? run.steps[i] : 1.0;
        const int raised = raisedOver(from, to);
        if (i > 0 && raised != previous) {
            // The front: a vertical edge from the height before it to the height after it.
            const int low = previous == 0 ? (raised > 0 ? 2 : -2) : previous;
            const int high = raised == 0 ? (previous > 0 ? 2 : -2) : raised;
            const POINT bottom = at(from, low);
            const POINT top = at(from, high);
            Line(dc, bottom.x, bottom.y, top.x, top.y);
        }
        if (raised != 0) {
            const POINT start = at(from, raised);
            const POINT end = at(to, raised);
            Line(dc, start.x, start.y, end.x, end.y);
        }
        previous = raised;
        from = to;
    }
    SetROP2(dc, R2_COPYPEN);
    DropPen(dc);
}

}  // namespace pulse
