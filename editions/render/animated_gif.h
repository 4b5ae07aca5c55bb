// An animation as a looping GIF with one global palette. The first frame is stored whole; every
// later one as the smallest rectangle that changed since the frame before, its unchanged pixels
// transparent and every frame left in place, so a viewer shows exactly the frames given.
// Until it is encoded, a frame is kept as the pixels it changed, so that a long animation at a
// large size fits in memory.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "surface/canvas.h"

namespace tools {

class AnimatedGif {
  public:
    AnimatedGif(int width, int height);

    // Adds the next frame, of the animation's size. Throws std::runtime_error when the frames
    // have more colours than a GIF palette holds.
    void add(const surface::Canvas& frame);

    // The GIF file: each frame shown for `delay` hundredths of a second, the last one for
    // `lastDelay`, then the animation starts again. Throws std::runtime_error if giflib fails.
    std::string encode(int delay, int lastDelay) const;

  private:
    std::uint8_t indexOf(COLORREF colour);

    struct Frame {
        surface::PixelRect area;  // what changed; empty if nothing did
        std::size_t end;          // its changes end here in changedAt_ and changedTo_
    };

    int width_;
    int height_;
    std::vector<COLORREF> palette_;
    std::unordered_map<COLORREF, std::uint8_t> indices_;
    std::vector<std::uint8_t> first_;  // the first frame's palette indices
    std::vector<COLORREF> shown_;      // the last frame added
    std::vector<Frame> later_;
    std::vector<std::uint32_t> changedAt_;  // pixel offsets, in order within each frame
    std::vector<std::uint8_t> changedTo_;   // their new palette indices
};

}  // namespace tools
