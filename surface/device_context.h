// Device contexts over a canvas: what a platform hands out from GetDC and BeginPaint, and what
// tests and tools draw through.
#pragma once

#include <string_view>

#include "surface/canvas.h"
#include "win32/gdi.h"

namespace surface {

// Told of every text TextOutA writes through a context: the text and the left and top edge of
// its cell, wherever the context's alignment put it.
class TextListener {
  public:
    virtual void textWritten(int left, int top, std::string_view text) = 0;

  protected:
    ~TextListener() = default;
};

// A device context drawing into the canvas with the defaults of a fresh context (R2_COPYPEN,
// opaque white background, left/top alignment, black pen, white brush, system font).
// With a null canvas the context only records (see Recorder). The listener, if any, hears of
// the texts written. Release with ReleaseCanvasDC.
HDC CreateCanvasDC(Canvas* canvas, TextListener* texts = nullptr);
// From now on the context writes only pixels within the area, as a paint's context on Windows
// writes only within the area to be painted.
void ClipCanvasDC(HDC dc, const PixelRect& area);
void ReleaseCanvasDC(HDC dc);

// Pens created by CreatePen and not yet deleted, over the whole process.
int LivePenCount();

}  // namespace surface
