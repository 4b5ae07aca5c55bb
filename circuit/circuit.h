// The static picture: source with its 50-ohm resistor and ground, the line, the load resistor
// with its ground, the captions and (on every paint but the first) the start arrow.
#pragma once

#include "win32/win32.h"

void DrawCircuit(HDC dc, int width, int height);
// Whether DrawCircuit draws the start arrow: on every call but the first.
bool CircuitDrawsStartArrow();
void DrawLoadCaption(HDC dc, int width, int height, double loadOhms);

namespace circuit {

// What the source's circle shows: one period of a sine, or a step up, or a pulse (up and down).
enum class SourceWave { Sine, Step, Pulse };

// The figure without the start arrow, its source resistor captioned as given: the picture of
// modes whose source resistance is not always 50 ohms.
void DrawCircuitFigure(HDC dc, int width, int height, const char* sourceCaption,
                       SourceWave wave = SourceWave::Sine);

// Where the captions of the source's resistor and of the load start.
POINT SourceCaptionAt(int width, int height);
POINT LoadCaptionAt(int width, int height);

// The ground symbol from the current position: a stem and a triangle pointing down, or, upward,
// both turned upside down.
void DrawGround(HDC dc, bool upward);
}  // namespace circuit
