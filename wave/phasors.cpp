// The phasor glyph and the incident phasors at stations 0 to 8, olive, turning counter-clockwise
// with the clock and pointing straight up as the front passes their station.
#include <cmath>

#include "wave/frame_values.h"

namespace wave {

namespace {

constexpr double kShaftLength = 50;
constexpr double kBarbLength = 7;
constexpr double kBarbAngle = 2.356;

// Station k's angle is the clock angle plus pi/2 - k pi/4, kept within -pi to pi (station 7 wraps
// to +3 pi/4, station 8 back to +pi/2), with pi as 3.14159. The pictures and traces depend on
// these exact values: do not make them more precise.
constexpr double kIncidentAngleOffset[9] = {
    1.570795, 0.7853975, 0.0, -0.7853975, -1.570795, -2.3561925, -3.14159, 2.3561925, 1.570795,
};

// Station 0's phasor appears with the first tick; every other one on the frame capturing it.
int FirstIncidentFrame(int station) { return station == 0 ? 3 : station * kDegreesPerStation; }

void DrawBarb(HDC dc, POINT tip, double b, int sign) {
    LineTo(dc, tip.x + sign * static_cast<int>(kBarbLength * std::cos(b)),
           tip.y - sign * static_cast<int>(kBarbLength * std::sin(b)));
}

}  // namespace

void DrawPhasor(HDC dc, POINT origin, double a, double scale, int sign, POINT& tip) {
    MoveToEx(dc, origin.x, origin.y, nullptr);
    LineTo(dc, origin.x + sign * static_cast<int>(std::cos(a) * scale * kShaftLength),
           origin.y - sign * static_cast<int>(std::sin(a) * scale * kShaftLength));
    GetCurrentPositionEx(dc, &tip);
    DrawBarb(dc, tip, a + kBarbAngle, sign);
    MoveToEx(dc, tip.x, tip.y, nullptr);
    DrawBarb(dc, tip, a - kBarbAngle, sign);
}

void DrawIncidentPhasors(const FrameValues& frame) {
    const double dD = frame.clockDeg * kDegToRad;
    for (int k = 0; k <= 8; ++k) {
        if (frame.clockDeg < FirstIncidentFrame(k)) continue;
        POINT tip;
        DrawPhasor(frame.dc, stations[k], dD + kIncidentAngleOffset[k], 1, 1, tip);
    }
}

}  // namespace wave
