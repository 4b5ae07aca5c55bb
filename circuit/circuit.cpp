// The static picture under the animation, drawn with the context's default pen, brush and text
// mode; only the start arrow has a pen and raster operation of its own.
#include "circuit/circuit.h"

#include <cstddef>
#include <cstdio>
#include <cstring>

#include "circuit/line.h"
#include "circuit/painted_once.h"

namespace circuit {

int paintedOnce = 0;

namespace {

struct Step {
    int dx, dy;
};

// Zig-zags of 5 pixels to each side: the source resistor going up, the load resistor down.
constexpr Step kSourceResistor[] = {{0, -20}, {5, -3},   {-10, -5}, {10, -5}, {-10, -5},
                                    {10, -5}, {-10, -5}, {5, -3},   {0, -20}};
constexpr Step kLoadResistor[] = {{0, 20}, {-5, 3},  {10, 5}, {-10, 5},
                                  {10, 5}, {-10, 5}, {10, 5}, {-5, 3}};
// A stem and a triangle pointing down; it ends at the foot of the stem.
constexpr Step kGround[] = {{0, 20}, {5, 0}, {-5, 10}, {-5, -10}, {5, 0}};

// The steps as they are, or with `down` -1 upside down.
template <std::size_t N>
void DrawSteps(HDC dc, const Step (&steps)[N], int down = 1) {
    POINT at;
    GetCurrentPositionEx(dc, &at);
    for (const Step& step : steps) {
        at.x += step.dx;
        at.y += down * step.dy;
        LineTo(dc, at.x, at.y);
    }
}

void WriteCaption(HDC dc, int x, int y, const char* text) {
    TextOutA(dc, x, y, text, static_cast<int>(std::strlen(text)));
}

// The front arrow of frame 0, in NOTXOR mode, so the first animation tick erases it.
void DrawStartArrow(HDC dc, int x0, int y0) {
    SetROP2(dc, R2_NOTXORPEN);
    SelectObject(dc, CreatePen(PS_SOLID, kWavePenWidth, kIncidentColour));
    MoveToEx(dc, x0, y0, nullptr);
    DrawFrontArrow(dc, {x0, y0});
    SetROP2(dc, R2_COPYPEN);
    DeleteObject(SelectObject(dc, GetStockObject(BLACK_PEN)));
}

}  // namespace

POINT DrawFrontArrow(HDC dc, POINT front) {
    const POINT tip{front.x, front.y - kFrontArrowLength};
    LineTo(dc, tip.x, tip.y);
    LineTo(dc, tip.x + kFrontArrowBarb, tip.y + kFrontArrowBarb);
    MoveToEx(dc, tip.x, tip.y, nullptr);
    LineTo(dc, tip.x - kFrontArrowBarb, tip.y + kFrontArrowBarb);
    return tip;
}

void DrawGround(HDC dc, bool upward) { DrawSteps(dc, kGround, upward ? -1 : 1); }

POINT SourceCaptionAt(int width, int height) { return {width / 10 + 35, (3 * height) / 4 - 40}; }

POINT LoadCaptionAt(int width, int height) {
    const LineEnds line = LineOnScreen(width, height);
    return {line.x1 + 20, line.y1 + 30};
}

}  // namespace circuit

bool CircuitDrawsStartArrow() { return circuit::paintedOnce != 0; }

void circuit::DrawCircuitFigure(HDC dc, int width, int height, const char* sourceCaption,
                                SourceWave wave) {
    const int left = width / 10;
    const int top = (3 * height) / 4;
    const int middle = top + 20;
    const LineEnds line = LineOnScreen(width, height);

    Ellipse(dc, left, top, left + 40, top + 40);
    if (wave == SourceWave::Sine) {
        // One period: the upper half of the left ellipse, then the lower half of the right.
        Arc(dc, left + 5, top + 8, left + 20, top + 32, width, middle, 0, middle);
        Arc(dc, left + 20, top + 8, left + 35, top + 32, 0, middle, width, middle);
    } else {
        // Low, then up at the middle and high to the right (and down again for a pulse).
        MoveToEx(dc, left + 6, middle + 8, nullptr);
        LineTo(dc, left + 16, middle + 8);
        LineTo(dc, left + 16, middle - 8);
        if (wave == SourceWave::Step) {
            LineTo(dc, left + 34, middle - 8);
        } else {
            LineTo(dc, left + 25, middle - 8);
            LineTo(dc, left + 25, middle + 8);
            LineTo(dc, left + 34, middle + 8);
        }
    }

    MoveToEx(dc, left + 20, top + 40, nullptr);
    DrawGround(dc, false);
    MoveToEx(dc, left + 20, top, nullptr);
    DrawSteps(dc, kSourceResistor);  // ends at the line's source end (x0, y0)
    LineTo(dc, line.x1, line.y1);
    DrawSteps(dc, kLoadResistor);
    DrawGround(dc, false);

    const POINT source = SourceCaptionAt(width, height);
    WriteCaption(dc, source.x, source.y, sourceCaption);
    WriteCaption(dc, width / 2, height / 2, "50-ohm transmission line");
}

void DrawCircuit(HDC dc, int width, int height) {
    using namespace circuit;
    DrawCircuitFigure(dc, width, height, "50 ohms");
    if (paintedOnce == 0) {
        paintedOnce = 1;
        return;
    }
    const LineEnds line = LineOnScreen(width, height);
    DrawStartArrow(dc, line.x0, line.y0);
}

void DrawLoadCaption(HDC dc, int width, int height, double loadOhms) {
    char text[32];
    const int length = std::snprintf(text, sizeof text, "%.1f ohms", loadOhms);
    if (length <= 0) return;
    const POINT at = circuit::LoadCaptionAt(width, height);
    TextOutA(dc, at.x, at.y, text,
             length < static_cast<int>(sizeof text) ? length : static_cast<int>(sizeof text) - 1);
}
