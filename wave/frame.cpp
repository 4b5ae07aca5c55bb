// Frame set-up: the values derived from the load, the line on the screen, the wave front with
// its arrow, the station capture and the order in which the sections draw.
#include "wave/frame.h"

#include "wave/frame_values.h"

namespace wave {

POINT stations[kStationCount] = {};

namespace {

constexpr int kLineDegrees = 360;
constexpr int kLastCapture = (kStationCount - 1) * kDegreesPerStation;
constexpr int kFirstReadoutStation = 9;
constexpr int kLastReadoutStation = 15;

void DeriveLoadValues(FrameValues& frame) {
    const double loadOhms = frame.loadOhms;
    frame.reflSign = loadOhms < 50 ? -1 : 1;
    if (loadOhms == 50) frame.reflSign = 0;
    const double ratio = loadOhms * 0.02;
    frame.loadAboveLine = ratio > 1 ? 1 : 0;
    frame.swr = ratio >= 1 ? ratio : 1 / ratio;
    frame.gammaMag = (frame.swr - 1) / (frame.swr + 1);
}

void LayOutLine(FrameValues& frame, int width, int height) {
    const circuit::LineEnds line = circuit::LineOnScreen(width, height);
    frame.x0 = line.x0;
    frame.y0 = line.y0;
    frame.x1 = line.x1;
    frame.y1 = line.y1;
    frame.v = frame.x1 - frame.x0;
    frame.u = frame.y1 - frame.y0;
}

POINT WaveFront(const FrameValues& frame) {
    return circuit::FrontOnLine({frame.x0, frame.y0, frame.x1, frame.y1}, frame.clockDeg);
}

void CaptureStation(FrameValues& frame) {
    const int d = frame.clockDeg;
    if (d < 0 || d > kLastCapture || d % kDegreesPerStation != 0) return;
    const int station = d / kDegreesPerStation;
    GetCurrentPositionEx(frame.dc, &stations[station]);
    if (station >= kFirstReadoutStation && station <= kLastReadoutStation) {
        DrawImpedanceReadout(frame, station);
    }
}

void DrawIncidentFrontArrow(FrameValues& frame) {
    GetCurrentPositionEx(frame.dc, &frame.frontPt);
    frame.frontPt = circuit::DrawFrontArrow(frame.dc, frame.frontPt);
}

}  // namespace

}  // namespace wave

void DrawWaveFrame(HDC dc, int width, int height, int clockDeg, double loadOhms) {
    using namespace wave;
    FrameValues frame{};
    frame.dc = dc;
    frame.clockDeg = clockDeg;
    frame.loadOhms = loadOhms;
    frame.width = width;
    frame.height = height;

    DeriveLoadValues(frame);
    LayOutLine(frame, width, height);
    if (clockDeg < kClockEnd) SetROP2(dc, R2_NOTXORPEN);

    // The context's own pen is stock and is not kept: the frame ends by selecting the stock black
    // pen and deleting its own.
    SelectObject(dc, CreatePen(PS_SOLID, kWavePenWidth, circuit::kIncidentColour));

    frame.front = WaveFront(frame);
    MoveToEx(dc, frame.front.x, frame.front.y, nullptr);
    CaptureStation(frame);
    if (clockDeg > kLineDegrees) GetCurrentPositionEx(dc, &frame.frontPt);
    if (clockDeg <= kLineDegrees) DrawIncidentFrontArrow(frame);

    DrawIncidentPhasors(frame);
    if (clockDeg >= kLineDegrees) DrawReflection(frame);

    SetROP2(dc, R2_COPYPEN);
    if (clockDeg >= kLineDegrees && clockDeg <= 2 * kLineDegrees) DrawStandingWave(frame);

    DeleteObject(SelectObject(dc, GetStockObject(BLACK_PEN)));
}
