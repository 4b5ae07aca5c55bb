// The one header app/, wave/ and circuit/ include for the operating system's API.
// On Windows it is the real thing; elsewhere it is our own subset with the same names,
// implemented by surface/ (drawing) and platform/ (windows, messages, dialogs).
#pragma once

#ifdef _WIN32
#include <windows.h>
#else
#include "platform/win32_subset.h"
#endif
