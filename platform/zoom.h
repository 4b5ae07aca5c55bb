// How far a window's picture may be magnified: the one rule the desktop, velmora-render and the
// page share, so that no edition gives a program less client area than its picture needs.
#pragma once

namespace platform {

// Each client pixel shown as at most 8 x 8 display pixels: a 4K screen at that zoom still gives a
// client of 480 x 270.
constexpr int kMaxZoom = 8;

struct ClientSize {
    int width = 0;
    int height = 0;
};

// The program's client for an area of the display at a zoom: each side divided by the zoom,
// truncated (the strip left over, narrower than the zoom, shows the window's background).
ClientSize ZoomedClient(int width, int height, int zoom);

// The largest zoom from 1 to `wanted` at which the area still gives at least the `minimum`
// client; 1 when none does (a smaller area is the window's own size, not the zoom's doing).
int ZoomThatFits(int width, int height, int wanted, ClientSize minimum);

}  // namespace platform
