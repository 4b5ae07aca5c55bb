// The program's dialog templates as data, for the builds without the Windows resource compiler:
// the same templates velmora.rc builds into the native program. The program's main() hands them
// to the platform session.
#pragma once

#include <span>

#include "win32/user.h"

extern const std::span<const DialogResource> dialogTemplates;
