#include "app/reading_places.h"

platform::ReadingPlaces ReadingPlacesOf(const Mode& mode) {
    return [readings = mode.readings](int width, int height) {
        std::vector<platform::ReadingPlace> places;
        for (const Reading& reading : readings(width, height)) {
            const RECT& area = reading.area;
            places.push_back({reading.name, {area.left, area.top, area.right, area.bottom}});
        }
        return places;
    };
}
