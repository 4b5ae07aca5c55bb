// The one header app/, wave/ and circuit/ include for the operating system's API.
// On Windows it is the real thing; elsewhere it is our own subset with the same names: the base
// types (types.h), GDI32 (gdi.h, implemented by surface/) and USER32 (user.h, implemented by
// platform/).
#pragma once

#ifdef _WIN32
#include <windows.h>
#else
#include "win32/gdi.h"
#include "win32/types.h"
#include "win32/user.h"
#endif
