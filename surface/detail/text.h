// Drawing text in the system font: black ink, written directly whatever the raster operation.
#pragma once

#include "surface/canvas.h"

namespace surface::detail {

// The text's cell has its top at y and its left edge at x, or its right edge at x when
// alignRight; an opaque cell is filled white before the ink is set. Only pixels within `clip`, a
// part of the canvas, are written.
void DrawText(Canvas& canvas, const PixelRect& clip, int x, int y, const char* text, int length,
              bool opaque, bool alignRight);

}  // namespace surface::detail
