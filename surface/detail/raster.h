// Rasterising into a canvas: every function clips to `clip`, a part of the canvas (a context's
// clipping area), works only on the visible part (any int coordinates are safe) and changes each
// pixel at most once per call.
#pragma once

#include "surface/canvas.h"
#include "win32/gdi.h"

namespace surface::detail {

// The bits of a COLORREF that hold a colour (0x00BBGGRR).
inline constexpr COLORREF kColourBits = 0x00FFFFFF;

// A raster operation applied to one source colour: every ROP2 is D = (D AND keep) XOR flip.
struct Mix {
    COLORREF keep = 0;
    COLORREF flip = 0;
    COLORREF apply(COLORREF destination) const { return (destination & keep) ^ flip; }
};

// True for R2_BLACK (1) to R2_WHITE (16).
bool IsRop2(int mode);
Mix MixFor(int rop2, COLORREF source);

// Wider pens cost more per ellipse row; beyond this they are drawn this wide.
inline constexpr int kWidestPen = 32;

// From (x0, y0) to (x1, y1), end point excluded: a Bresenham line; a wider pen adds pixels
// across the major axis (a 2-pixel pen the neighbour below, or right of, each pixel).
void DrawLine(Canvas& canvas, const PixelRect& clip, const Mix& pen, int penWidth, int x0, int y0,
              int x1, int y1);

// The ellipse inscribed in the box, right and bottom excluded: the outer penWidth pixels are the
// outline, the rest the interior.
void DrawEllipse(Canvas& canvas, const PixelRect& clip, const Mix& pen, int penWidth,
                 const Mix& brush, int left, int top, int right, int bottom);

// The outline of the same ellipse, counter-clockwise on screen from the ray through the start
// point to the ray through the end point (the whole outline when the two rays coincide).
void DrawArc(Canvas& canvas, const PixelRect& clip, const Mix& pen, int penWidth, int left, int top,
             int right, int bottom, int xStart, int yStart, int xEnd, int yEnd);

}  // namespace surface::detail
