// What the sections of one wave frame share: the values derived from the load and the window
// size, the frame's wave front and the table of stations the front has captured.
#pragma once

#include "circuit/line.h"
#include "wave/phasor.h"
#include "win32/win32.h"

namespace wave {

// Degrees to radians as 1 / 57.293, not pi / 180. Every angle drawn rests on this exact value, and
// so does every pixel and trace line of the phasors and the envelope: do not make it more precise.
inline constexpr double kDegToRad = 0.01745413924912293;

// Stations kDegreesPerStation apart: 0 to 8 captured going out, 9 to 16 coming back.
inline constexpr int kStationCount = 17;
using circuit::kWavePenWidth;

// Captured front positions; they persist from frame to frame for the whole run.
extern POINT stations[kStationCount];

struct FrameValues {
    HDC dc;
    int clockDeg;
    double loadOhms;
    int width, height;

    int reflSign;       // +1 above 50 ohms, -1 below, 0 at exactly 50
    int loadAboveLine;  // 1 when the load ratio exceeds 1
    double swr;         // never below 1
    double gammaMag;    // magnitude of the reflection coefficient

    int x0, y0;  // line start, at the source
    int x1, y1;  // line end, at the load
    int v, u;    // the line's extent

    POINT front;    // this frame's wave front
    POINT frontPt;  // the front, then the tip of each front arrow as it is drawn
};

// Formatted texts go into a stack buffer of this size; no frame allocates.
inline constexpr int kTextBufferSize = 32;

// Writes the text snprintf left in a buffer of kTextBufferSize, however long it wanted to be.
inline void TextOutFormatted(HDC dc, int x, int y, const char* text, int formattedLength) {
    if (formattedLength <= 0) return;
    TextOutA(dc, x, y, text,
             formattedLength < kTextBufferSize ? formattedLength : kTextBufferSize - 1);
}

void DrawIncidentPhasors(const FrameValues& frame);
void DrawReflection(FrameValues& frame);
void DrawStandingWave(const FrameValues& frame);
void DrawImpedanceReadout(const FrameValues& frame, int station);

}  // namespace wave
