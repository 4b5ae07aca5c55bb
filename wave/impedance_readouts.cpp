// The impedance readouts: as the reflected front passes stations 9 to 15, each is labelled
// "Z 1" to "Z 7" beside the line and the impedance seen into the line there is printed in a
// column beside the load. Written on one frame each; text is not erased by the redraw.
#include <cmath>
#include <cstdio>

#include "wave/frame.h"
#include "wave/frame_values.h"

namespace wave {

namespace {

constexpr int kFirstStation = 9;

struct Readout {
    const char* label;
    const char* formatAtOrAbove50;  // load of 50 ohms or more
    const char* formatBelow50;
};

// One and five eighths, and three and seven eighths, of a wavelength from the load have
// opposite reactances; a quarter and three quarters invert the load, a half repeats it.
constexpr Readout kReadouts[kImpedanceReadouts] = {
    {"Z 1", "Z1 = %.1f - j%.1f ohms", "Z1 = %.1f + j%.1f ohms"},
    {"Z 2", "Z2 = %.1f + j0 ohms", "Z2 = %.1f + j0 ohms"},
    {"Z 3", "Z3 = %.1f + j%.1f ohms", "Z3 = %.1f - j%.1f ohms"},
    {"Z 4", "Z4 = %.1f + j0 ohms", "Z4 = %.1f + j0 ohms"},
    {"Z 5", "Z5 = %.1f - j%.1f ohms", "Z5 = %.1f + j%.1f ohms"},
    {"Z 6", "Z6 = %.1f + j0 ohms", "Z6 = %.1f + j0 ohms"},
    {"Z 7", "Z7 = %.1f + j%.1f ohms", "Z7 = %.1f - j%.1f ohms"},
};

}  // namespace

POINT ImpedanceReadoutAt(int width, int height, int row) {
    return {circuit::LineOnScreen(width, height).x1, height / 2 + row * kTextLineSpacing};
}

void DrawImpedanceReadout(const FrameValues& frame, int station) {
    HDC dc = frame.dc;
    const int index = station - kFirstStation;
    const int number = index + 1;
    const Readout& readout = kReadouts[index];
    const double loadOhms = frame.loadOhms;

    // Quarter-wave points: the mode stays transparent for the rest of this context's use.
    if (number == 2 || number == 6) SetBkMode(dc, TRANSPARENT);

    const POINT at = stations[station];
    TextOutA(dc, at.x - 10, at.y + 10, readout.label, 3);

    const char* format = loadOhms >= 50 ? readout.formatAtOrAbove50 : readout.formatBelow50;
    char text[kTextBufferSize];
    int length;
    if (number % 2 == 1) {
        const double g = frame.gammaMag;
        const double p = std::pow(g, 2.0);
        const double denominator = p + 1;
        const double re = ((1 - p) * 50) / denominator;
        const double im = ((g + g) * 50) / denominator;
        length = std::snprintf(text, sizeof text, format, re, im);
    } else {
        const double value = number == 4 ? loadOhms : 2500 / loadOhms;
        length = std::snprintf(text, sizeof text, format, value);
    }
    const POINT column = ImpedanceReadoutAt(frame.width, frame.height, index);
    TextOutFormatted(dc, column.x, column.y, text, length);
}

}  // namespace wave
