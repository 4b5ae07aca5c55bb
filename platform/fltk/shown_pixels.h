// What the display shows of a window, so that only the pixels that really changed are sent.
//
// The canvas reports the tiles it wrote to since the last time. Most of what the animation writes
// it takes back within the same tick (a pen that inverts draws over its last picture to erase it),
// so comparing those tiles with a copy of what was sent finds the few pixels that differ.
#pragma once

#include <vector>

#include "surface/canvas.h"

namespace platform::fltk {

class ShownPixels {
  public:
    // A new size; what the display shows is unknown until sent again.
    void resize(int width, int height);

    // Compares the canvas with what was sent in the changed tiles, takes the canvas's pixels as
    // sent, and returns rectangles that cover every pixel that differed: the tight box of the
    // differences in each tile, neighbours joined where that adds few pixels. The rectangles
    // stay valid until the next call; a call allocates nothing once they fit.
    const std::vector<surface::PixelRect>& takeDifferences(const surface::Canvas& canvas,
                                                           const surface::ChangedTiles& changed);

    // The canvas's pixels inside `area` were sent in full (a redraw after an expose).
    void record(const surface::Canvas& canvas, surface::PixelRect area);

  private:
    surface::PixelRect clip(const surface::Canvas& canvas, surface::PixelRect area) const;
    // The tight box of the pixels in `area` that differ from what was sent; takes them as sent.
    surface::PixelRect takeDifferencesIn(const surface::Canvas& canvas, surface::PixelRect area);

    int width_ = 0;
    int height_ = 0;
    std::vector<COLORREF> pixels_;
    std::vector<surface::PixelRect> differences_;
};

}  // namespace platform::fltk
