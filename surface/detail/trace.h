// Writing trace lines to the active recorder; every function does nothing when none is active.
#pragma once

#include <initializer_list>

#include "surface/detail/gdi_objects.h"

namespace surface::detail {

struct Trace {
    // "name arg arg ...", integers in decimal.
    static void call(const char* name, std::initializer_list<long long> args);
    static void textOut(int x, int y, const char* text, int length);
    // "SelectObject NAME" or "DeleteObject NAME"; a pen the recorder has not seen yet gets the
    // next number. The handle need not be valid.
    static void object(const char* name, HGDIOBJ handle);
    // "CreatePen style width colour"; names the new pen (null when none was made).
    static void createPen(int style, int width, COLORREF colour, const GdiObject* pen);
};

}  // namespace surface::detail
