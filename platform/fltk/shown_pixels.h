// What the display shows of a window, so that only the pixels that really changed are sent.
//
// The canvas reports one bounding box of everything drawn since the last time, which during the
// animation spans most of the window although only a few thin lines changed. Comparing with a
// copy of what was sent, tile by tile, finds those few pixels cheaply.
#pragma once

#include <vector>

#include "surface/canvas.h"

namespace platform::fltk {

class ShownPixels {
  public:
    static constexpr int kTileSize = 32;

    // A new size; what the display shows is unknown until sent again.
    void resize(int width, int height);

    // Compares the canvas with what was sent, inside `area`, takes the canvas's pixels as sent,
    // and returns rectangles that cover every pixel that differed: the tight box of the
    // differences in each tile of kTileSize, tiles in rows from top to bottom.
    std::vector<surface::PixelRect> takeDifferences(const surface::Canvas& canvas,
                                                    surface::PixelRect area);

    // The canvas's pixels inside `area` were sent in full (a redraw after an expose).
    void record(const surface::Canvas& canvas, surface::PixelRect area);

  private:
    surface::PixelRect clip(const surface::Canvas& canvas, surface::PixelRect area) const;

    int width_ = 0;
    int height_ = 0;
    std::vector<COLORREF> pixels_;
};

}  // namespace platform::fltk
