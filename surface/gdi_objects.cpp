#include "surface/detail/gdi_objects.h"

#include <array>
#include <cstdint>

namespace surface::detail {

namespace {

std::array<GdiObject, kPenPoolSize> penPool;
int livePens = 0;

}  // namespace

GdiObject& StockBlackPen() {
    static GdiObject pen{GdiObject::Kind::Pen, true, true, 1, RGB(0, 0, 0)};
    return pen;
}

GdiObject& StockWhiteBrush() {
    static GdiObject brush{GdiObject::Kind::Brush, true, true, 0, RGB(255, 255, 255)};
    return brush;
}

int PenSlot(const void* handle) {
    // Compared as addresses, since the handle may point anywhere.
    const auto address = reinterpret_cast<std::uintptr_t>(handle);
    const auto first = reinterpret_cast<std::uintptr_t>(penPool.data());
    if (address < first) return -1;
    const std::uintptr_t offset = address - first;
    if (offset % sizeof(GdiObject) != 0) return -1;
    const std::uintptr_t slot = offset / sizeof(GdiObject);
    return slot < penPool.size() ? static_cast<int>(slot) : -1;
}

GdiObject* FindObject(HGDIOBJ handle) {
    if (handle == nullptr) return nullptr;
    if (handle == Handle(&StockBlackPen())) return &StockBlackPen();
    if (handle == Handle(&StockWhiteBrush())) return &StockWhiteBrush();
    const int slot = PenSlot(handle);
    if (slot < 0 || !penPool[static_cast<std::size_t>(slot)].live) return nullptr;
    return &penPool[static_cast<std::size_t>(slot)];
}

GdiObject* AllocatePen(int width, COLORREF colour) {
    for (GdiObject& pen : penPool) {
        if (pen.live) continue;
        pen = {GdiObject::Kind::Pen, false, true, width < 1 ? 1 : width, colour};
        ++livePens;
        return &pen;
    }
    return nullptr;
}

void FreePen(GdiObject& pen) {
    if (!pen.live || pen.stock) return;
    pen.live = false;
    --livePens;
}

int LivePens() { return livePens; }

}  // namespace surface::detail
