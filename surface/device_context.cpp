// The GDI32 subset: device contexts over a canvas (or over nothing, only recording), pens and
// stock objects, and the drawing calls, each written to the active recorder.
#include "surface/device_context.h"

#include <array>
#include <optional>

#include "surface/detail/gdi_objects.h"
#include "surface/detail/raster.h"
#include "surface/detail/text.h"
#include "surface/detail/trace.h"
#include "surface/text.h"

using surface::detail::GdiObject;
using surface::detail::Trace;

// The state behind an HDC. Contexts come from a fixed pool, so taking one every tick allocates
// nothing.
struct HDC__ {
    bool inUse = false;
    surface::Canvas* canvas = nullptr;       // null: the context only records
    std::optional<surface::PixelRect> clip;  // none: the whole canvas
    POINT position{0, 0};
    int rop2 = R2_COPYPEN;
    int bkMode = OPAQUE;
    UINT textAlign = TA_LEFT | TA_TOP;
    GdiObject* pen = nullptr;
    GdiObject* brush = nullptr;
    surface::TextListener* texts = nullptr;
};

namespace {

constexpr int kContextPoolSize = 16;
std::array<HDC__, kContextPoolSize> contexts;

// The context behind a handle, or null when it is not one of ours in use.
HDC__* FindContext(HDC dc) {
    for (HDC__& context : contexts) {
        if (&context == dc) return context.inUse ? &context : nullptr;
    }
    return nullptr;
}

bool IsSelectedAnywhere(const GdiObject* object) {
    for (const HDC__& context : contexts) {
        if (context.inUse && (context.pen == object || context.brush == object)) return true;
    }
    return false;
}

// Where the context may write: its clipping area on the canvas.
surface::PixelRect Clip(const HDC__& context) {
    const surface::PixelRect whole{0, 0, context.canvas->width(), context.canvas->height()};
    return context.clip ? context.clip->intersected(whole) : whole;
}

surface::detail::Mix PenMix(const HDC__& context) {
    return surface::detail::MixFor(context.rop2, context.pen->colour);
}

}  // namespace

namespace surface {

HDC CreateCanvasDC(Canvas* canvas, TextListener* texts) {
    for (HDC__& context : contexts) {
        if (context.inUse) continue;
        context = HDC__{};
        context.inUse = true;
        context.canvas = canvas;
        context.texts = texts;
        context.pen = &detail::StockBlackPen();
        context.brush = &detail::StockWhiteBrush();
        return &context;
    }
    return nullptr;
}

void ClipCanvasDC(HDC dc, const PixelRect& area) {
    if (HDC__* context = FindContext(dc)) context->clip = area;
}

void ReleaseCanvasDC(HDC dc) {
    if (HDC__* context = FindContext(dc)) *context = HDC__{};
}

int LivePenCount() { return detail::LivePens(); }

}  // namespace surface

BOOL WINAPI MoveToEx(HDC dc, int x, int y, LPPOINT previous) {
    HDC__* context = FindContext(dc);
    if (context == nullptr) return FALSE;
    Trace::call("MoveToEx", {x, y});
    if (previous != nullptr) *previous = context->position;
    context->position = {x, y};
    return TRUE;
}

BOOL WINAPI LineTo(HDC dc, int x, int y) {
    HDC__* context = FindContext(dc);
    if (context == nullptr) return FALSE;
    Trace::call("LineTo", {x, y});
    if (context->canvas != nullptr) {
        surface::detail::DrawLine(*context->canvas, Clip(*context), PenMix(*context),
                                  context->pen->width, context->position.x, context->position.y, x,
                                  y);
    }
    context->position = {x, y};
    return TRUE;
}

BOOL WINAPI GetCurrentPositionEx(HDC dc, LPPOINT point) {
    HDC__* context = FindContext(dc);
    if (context == nullptr || point == nullptr) return FALSE;
    *point = context->position;
    return TRUE;
}

int WINAPI SetROP2(HDC dc, int mode) {
    HDC__* context = FindContext(dc);
    if (context == nullptr) return 0;
    Trace::call("SetROP2", {mode});
    if (!surface::detail::IsRop2(mode)) return 0;
    const int previous = context->rop2;
    context->rop2 = mode;
    return previous;
}

HPEN WINAPI CreatePen(int style, int width, COLORREF colour) {
    GdiObject* pen = style == PS_SOLID ? surface::detail::AllocatePen(width, colour) : nullptr;
    Trace::createPen(style, width, colour, pen);
    return reinterpret_cast<HPEN>(pen);
}

HGDIOBJ WINAPI SelectObject(HDC dc, HGDIOBJ object) {
    HDC__* context = FindContext(dc);
    if (context == nullptr) return nullptr;
    Trace::object("SelectObject", object);
    GdiObject* selected = surface::detail::FindObject(object);
    if (selected == nullptr) return nullptr;
    GdiObject*& slot = selected->kind == GdiObject::Kind::Pen ? context->pen : context->brush;
    GdiObject* replaced = slot;
    slot = selected;
    return surface::detail::Handle(replaced);
}

BOOL WINAPI DeleteObject(HGDIOBJ object) {
    Trace::object("DeleteObject", object);
    GdiObject* deleted = surface::detail::FindObject(object);
    if (deleted == nullptr) return FALSE;
    if (deleted->stock) return TRUE;  // stock objects are never deleted
    // A pen still selected stays alive, so the leak shows in LivePenCount.
    if (IsSelectedAnywhere(deleted)) return FALSE;
    surface::detail::FreePen(*deleted);
    return TRUE;
}

HGDIOBJ WINAPI GetStockObject(int index) {
    switch (index) {
        case BLACK_PEN:
            return surface::detail::Handle(&surface::detail::StockBlackPen());
        case WHITE_BRUSH:
            return surface::detail::Handle(&surface::detail::StockWhiteBrush());
        default:
            return nullptr;
    }
}

COLORREF WINAPI SetPixel(HDC dc, int x, int y, COLORREF colour) {
    constexpr COLORREF kFailed = 0xFFFFFFFF;
    HDC__* context = FindContext(dc);
    if (context == nullptr) return kFailed;
    Trace::call("SetPixel", {x, y, colour});
    const COLORREF written = colour & surface::detail::kColourBits;
    surface::Canvas* canvas = context->canvas;
    if (canvas == nullptr) return written;
    const surface::PixelRect clip = Clip(*context);
    if (x < clip.left || y < clip.top || x >= clip.right || y >= clip.bottom) return kFailed;
    canvas->row(y)[x] = written;
    canvas->markChanged({x, y, x + 1, y + 1});
    return written;
}

BOOL WINAPI TextOutA(HDC dc, int x, int y, LPCSTR text, int length) {
    HDC__* context = FindContext(dc);
    if (context == nullptr) return FALSE;
    Trace::textOut(x, y, text, length);
    if (length < 0 || (text == nullptr && length > 0)) return FALSE;
    if (context->canvas != nullptr) {
        surface::detail::DrawText(*context->canvas, Clip(*context), x, y, text, length,
                                  context->bkMode == OPAQUE, (context->textAlign & TA_RIGHT) != 0);
    }
    if (context->texts != nullptr && length > 0) {
        const int left =
            (context->textAlign & TA_RIGHT) != 0 ? x - surface::TextWidth(text, length) : x;
        context->texts->textWritten(left, y, {text, static_cast<std::size_t>(length)});
    }
    return TRUE;
}

UINT WINAPI SetTextAlign(HDC dc, UINT mode) {
    constexpr UINT kFailed = 0xFFFFFFFF;
    HDC__* context = FindContext(dc);
    if (context == nullptr) return kFailed;
    Trace::call("SetTextAlign", {mode});
    const UINT previous = context->textAlign;
    context->textAlign = mode;
    return previous;
}

int WINAPI SetBkMode(HDC dc, int mode) {
    HDC__* context = FindContext(dc);
    if (context == nullptr) return 0;
    Trace::call("SetBkMode", {mode});
    if (mode != TRANSPARENT && mode != OPAQUE) return 0;
    const int previous = context->bkMode;
    context->bkMode = mode;
    return previous;
}

BOOL WINAPI Ellipse(HDC dc, int left, int top, int right, int bottom) {
    HDC__* context = FindContext(dc);
    if (context == nullptr) return FALSE;
    Trace::call("Ellipse", {left, top, right, bottom});
    if (context->canvas != nullptr) {
        surface::detail::DrawEllipse(*context->canvas, Clip(*context), PenMix(*context),
                                     context->pen->width,
                                     surface::detail::MixFor(context->rop2, context->brush->colour),
                                     left, top, right, bottom);
    }
    return TRUE;
}

BOOL WINAPI Arc(HDC dc, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd,
                int yEnd) {
    HDC__* context = FindContext(dc);
    if (context == nullptr) return FALSE;
    Trace::call("Arc", {left, top, right, bottom, xStart, yStart, xEnd, yEnd});
    if (context->canvas != nullptr) {
        surface::detail::DrawArc(*context->canvas, Clip(*context), PenMix(*context),
                                 context->pen->width, left, top, right, bottom, xStart, yStart,
                                 xEnd, yEnd);
    }
    return TRUE;
}
