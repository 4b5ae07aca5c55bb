// The reflected wave, from the moment the front reaches the load: the red front arrow going
// back to the source and the red phasors at station 8 and at stations 9 to 16 as it passes
// them, scaled by the reflection coefficient's magnitude and signed by the load.
#include "wave/frame_values.h"

namespace wave {

namespace {

constexpr int kLoadStation = 8;
constexpr int kReturnDegrees = 720;  // the reflected front is back at the source

// Station k's angle is the clock angle plus pi/2 - (k - 8) pi/4, in the same exact values as the
// incident phasors' (pi as 3.14159).
constexpr double kReflectedAngleOffset[9] = {
    1.570795, 0.7853975, 0.0, -0.7853975, -1.570795, -2.3561925, -3.14159, -3.9269875, 1.570795,
};

void SwitchToReflectedPen(HDC dc) {
    DeleteObject(SelectObject(dc, CreatePen(PS_SOLID, kWavePenWidth, kReflectedColour)));
}

// Vertical from the front (from the incident arrow's tip on the frame at the load), up for a
// load above 50 ohms and down below; its barbs are never scaled.
void DrawReflectedFrontArrow(FrameValues& frame) {
    HDC dc = frame.dc;
    const POINT start = frame.frontPt;
    const int length =
        static_cast<int>((frame.reflSign * circuit::kFrontArrowLength) * frame.gammaMag);
    MoveToEx(dc, start.x, start.y, nullptr);
    LineTo(dc, start.x, start.y - length);
    GetCurrentPositionEx(dc, &frame.frontPt);
    const POINT tip = frame.frontPt;
    const int barb = circuit::kFrontArrowBarb * frame.reflSign;
    MoveToEx(dc, tip.x, tip.y, nullptr);
    LineTo(dc, tip.x + barb, tip.y + barb);
    MoveToEx(dc, tip.x, tip.y, nullptr);
    LineTo(dc, tip.x - barb, tip.y + barb);
}

void DrawReflectedPhasors(const FrameValues& frame) {
    const double dD = frame.clockDeg * kDegToRad;
    for (int k = kLoadStation; k < kStationCount; ++k) {
        if (frame.clockDeg < k * kDegreesPerStation) continue;
        POINT tip;
        DrawPhasor(frame.dc, stations[k], dD + kReflectedAngleOffset[k - kLoadStation],
                   frame.gammaMag, frame.reflSign, tip);
    }
}

}  // namespace

void DrawReflection(FrameValues& frame) {
    SwitchToReflectedPen(frame.dc);
    if (frame.clockDeg < kReturnDegrees) DrawReflectedFrontArrow(frame);
    DrawReflectedPhasors(frame);
}

}  // namespace wave
