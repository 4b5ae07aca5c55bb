// The standing-wave trace: while the reflected front travels back, the ratio is printed beside
// the load and a small block of red pixels is set above the front at the envelope's height.
// The pixels are set directly, so the erasing redraw leaves them and they add up to the curve.
#include <cmath>
#include <cstdio>

#include "wave/frame.h"
#include "wave/frame_values.h"

namespace wave {

namespace {

constexpr char kCaption[] = "Standing Wave";

// 50 |1 + G e^(-j 2 beta z)| at the front, rounded half up.
int EnvelopeHeight(const FrameValues& frame) {
    const double g = frame.gammaMag;
    const double gSquared = std::pow(g, 2.0);
    const double phi = (360 - 2 * frame.clockDeg) * kDegToRad + 3.14159 * frame.loadAboveLine;
    return static_cast<int>(50 * std::sqrt((gSquared + 1) - 2 * g * std::cos(phi)) + 0.5);
}

}  // namespace

POINT StandingWaveCaptionAt(int width, int height) {
    const circuit::LineEnds line = circuit::LineOnScreen(width, height);
    return {line.x1 + 20, line.y1 - 50};
}

void DrawStandingWave(const FrameValues& frame) {
    HDC dc = frame.dc;
    const POINT caption = StandingWaveCaptionAt(frame.width, frame.height);
    TextOutA(dc, caption.x, caption.y, kCaption, sizeof kCaption - 1);

    char text[kTextBufferSize];
    const int length = std::snprintf(text, sizeof text, "Ratio = %.2f", frame.swr);
    TextOutFormatted(dc, caption.x, caption.y + kTextLineSpacing, text, length);

    const int envelope = EnvelopeHeight(frame);
    const int fx = frame.frontPt.x;
    const int fy = frame.front.y;
    for (int column = 0; column < 3; ++column) {
        SetPixel(dc, fx - column, fy - envelope, kDotColour);
        SetPixel(dc, fx - column, fy - envelope - 1, kDotColour);
    }
}

}  // namespace wave
