#include "platform/zoom.h"

#include <algorithm>

namespace platform {

ClientSize ZoomedClient(int width, int height, int zoom) {
    zoom = std::clamp(zoom, 1, kMaxZoom);
    return {std::max(width, 0) / zoom, std::max(height, 0) / zoom};
}

int ZoomThatFits(int width, int height, int wanted, ClientSize minimum) {
    for (int zoom = std::clamp(wanted, 1, kMaxZoom); zoom > 1; --zoom) {
        const ClientSize client = ZoomedClient(width, height, zoom);
        if (client.width >= minimum.width && client.height >= minimum.height) return zoom;
    }
    return 1;
}

}  // namespace platform
