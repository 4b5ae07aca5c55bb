// The static picture under the animation, drawn with the context's default pen, brush and text
// mode; only the start arrow has a pen and raster operation of its own.
#include "circuit/circuit.h"

#include <cstddef>
#include <cstdio>
#include <cstring>

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

constexpr int kArrowLength = 50;
constexpr int kArrowBarb = 5;
constexpr COLORREF kArrowColour = RGB(100, 100, 0);

template <std::size_t N>
void DrawSteps(HDC dc, const Step (&steps)[N]) {
    POINT at;
    GetCurrentPositionEx(dc, &at);
    for (const Step& step : steps) {
        at.x += step.dx;
        at.y += step.dy;
        LineTo(dc, at.x, at.y);
    }
}

void WriteCaption(HDC dc, int x, int y, const char* text) {
    TextOutA(dc, x, y, text, static_cast<int>(std::strlen(text)));
}

// The front arrow of frame 0, in NOTXOR mode, so the first animation tick erases it.
void DrawStartArrow(HDC dc, int x0, int y0) {
    SetROP2(dc, R2_NOTXORPEN);
    SelectObject(dc, CreatePen(PS_SOLID, 2, kArrowColour));
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x0, y0 - kArrowLength);
    LineTo(dc, x0 + kArrowBarb, y0 - kArrowLength + kArrowBarb);
    MoveToEx(dc, x0, y0 - kArrowLength, nullptr);
    LineTo(dc, x0 - kArrowBarb, y0 - kArrowLength + kArrowBarb);
    SetROP2(dc, R2_COPYPEN);
    DeleteObject(SelectObject(dc, GetStockObject(BLACK_PEN)));
}

}  // namespace

}  // namespace circuit

void DrawCircuit(HDC dc, int width, int height) {
    using namespace circuit;
    const int left = width / 10;
    const int top = (3 * height) / 4;
    const int x0 = left + 20;
    const int y0 = top - 71;
    const int x1 = (3 * width) / 4;
    const int y1 = height / 4;
    const int middle = top + 20;

    Ellipse(dc, left, top, left + 40, top + 40);
    // One period of a sine: the upper half of the left ellipse, then the lower half of the right.
    Arc(dc, left + 5, top + 8, left + 20, top + 32, width, middle, 0, middle);
    Arc(dc, left + 20, top + 8, left + 35, top + 32, 0, middle, width, middle);

    MoveToEx(dc, left + 20, top + 40, nullptr);
    DrawSteps(dc, kGround);
    MoveToEx(dc, left + 20, top, nullptr);
    DrawSteps(dc, kSourceResistor);  // ends at the line start (x0, y0)
    LineTo(dc, x1, y1);
    DrawSteps(dc, kLoadResistor);
    DrawSteps(dc, kGround);

    WriteCaption(dc, left + 35, top - 40, "50 ohms");
    WriteCaption(dc, width / 2, height / 2, "50-ohm transmission line");

    if (paintedOnce == 0) {
        paintedOnce = 1;
        return;
    }
    DrawStartArrow(dc, x0, y0);
}

void DrawLoadCaption(HDC dc, int width, int height, double loadOhms) {
    char text[32];
    const int length = std::snprintf(text, sizeof text, "%.1f ohms", loadOhms);
    if (length <= 0) return;
    TextOutA(dc, (3 * width) / 4 + 20, height / 4 + 30, text,
             length < static_cast<int>(sizeof text) ? length : static_cast<int>(sizeof text) - 1);
}
