// Device contexts over a canvas: what a platform hands out from GetDC and BeginPaint, and what
// tests and tools draw through.
#pragma once

#include "surface/canvas.h"
#include "win32/gdi.h"

namespace surface {

// A device context drawing into the canvas with the defaults of a fresh context (R2_COPYPEN,
// opaque white background, left/top alignment, black pen, white brush, system font).
// With a null canvas the context only records (see Recorder). Release with ReleaseCanvasDC.
HDC CreateCanvasDC(Canvas* canvas);
void ReleaseCanvasDC(HDC dc);

// Pens created by CreatePen and not yet deleted, over the whole process.
int LivePenCount();

}  // namespace surface
