// A mode's readings as the platform session takes them, for the builds on our own platform: the
// program's main() hands them to the session, which lists the readings (a page shows them beside
// a picture too small to read, and to screen readers).
#pragma once

#include "app/modes.h"
#include "platform/backend.h"

platform::ReadingPlaces ReadingPlacesOf(const Mode& mode);
