// A canvas shown magnified: each pixel as a zoom x zoom block, for a picture that is readable
// from the back of a lecture hall and stays crisp.
#pragma once

#include <cstddef>

#include "surface/canvas.h"

namespace surface {

// Writes the canvas's pixels inside `area` (which must lie on the canvas) as blocks of zoom x
// zoom: pixel (x, y) fills the block whose top-left corner is ((x - area.left) * zoom,
// (y - area.top) * zoom) in `to`, whose rows lie `stride` pixels apart.
void Magnify(const Canvas& from, const PixelRect& area, int zoom, COLORREF* to, std::size_t stride);

}  // namespace surface
