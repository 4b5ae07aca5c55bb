// A canvas shown reduced, for a screen smaller than the picture needs: the whole picture, never
// cut, each shown pixel the average of the canvas pixels it covers, so that thin lines fade
// rather than vanish.
#pragma once

#include "surface/canvas.h"

namespace surface {

// The size of the whole canvas reduced to fit width x height, its shape kept (each side at
// least 1; the canvas's own size where it fits).
PixelRect ReducedSize(const Canvas& from, int width, int height);

// Writes the whole canvas reduced to width x height (at most its own size) into `to`, row after
// row.
void Reduce(const Canvas& from, int width, int height, COLORREF* to);

}  // namespace surface
