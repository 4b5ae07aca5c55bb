// The pens and brushes behind HPEN, HBRUSH and HGDIOBJ handles: the stock objects and a fixed
// pool of pens, so creating and deleting pens every tick allocates nothing.
#pragma once

#include "win32/gdi.h"

namespace surface::detail {

struct GdiObject {
    enum class Kind : unsigned char { Pen, Brush };
    Kind kind = Kind::Pen;
    bool stock = false;
    bool live = false;
    int width = 1;  // pens only; 1 for anything thinner
    COLORREF colour = 0;
};

inline constexpr int kPenPoolSize = 64;

GdiObject& StockBlackPen();
GdiObject& StockWhiteBrush();

// The live object behind a handle, or null for null, unknown and deleted handles.
GdiObject* FindObject(HGDIOBJ handle);

// The pool slot of a handle (0 to kPenPoolSize - 1), or -1 for any other address.
int PenSlot(const void* handle);

// A free pen from the pool, now live; null when the pool is exhausted.
GdiObject* AllocatePen(int width, COLORREF colour);
void FreePen(GdiObject& pen);

int LivePens();

inline HGDIOBJ Handle(GdiObject* object) { return object; }

}  // namespace surface::detail
