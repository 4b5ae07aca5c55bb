// Shared by the wave and circuit tests: recording calls, resetting the run's state, and an
// independent model of the calls a frame makes, written from the frame's description.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/win32.h"
#include "surface/canvas.h"

using Trace = std::vector<std::string>;

// The trace lines of whatever draw does on a fresh context (pens named from pen1), drawing on
// the canvas if one is given, else only recording.
Trace Record(const std::function<void(HDC)>& draw, surface::Canvas* canvas = nullptr);

// A new run: every station back at (0, 0) and the circuit not yet painted.
void ResetRun();

// The calls of each frame, played in clock order like the animation, with stations of its own.
class ReferenceFrames {
  public:
    Trace Frame(int width, int height, int clockDeg, double loadOhms);

  private:
    POINT stations_[17] = {};
};

// "SetPixel x y 255" -> (x, y); false for any other line.
bool ParseDot(const std::string& line, POINT& at);
