// The canvas itself and the state a device context keeps.
#include "surface/canvas.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "platform/win32.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);

bool SameRect(const surface::PixelRect& a, const surface::PixelRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(Canvas, ResizeKeepsWhatRemainsAndFillsTheRest) {
    surface::Canvas canvas(3, 2, RGB(1, 2, 3));
    canvas.row(1)[2] = 77;
    canvas.resize(4, 3, 9);
    EXPECT_EQ(canvas.pixel(2, 1), 77u);
    EXPECT_EQ(canvas.pixel(0, 0), RGB(1, 2, 3));
    EXPECT_EQ(canvas.pixel(3, 0), 9u);
    EXPECT_EQ(canvas.pixel(0, 2), 9u);
    EXPECT_TRUE(SameRect(canvas.takeChanged(), {0, 0, 4, 3}));
}

TEST(Canvas, RefusesNegativeSizes) {
    EXPECT_THROW(surface::Canvas(-1, 5), std::invalid_argument);
    surface::Canvas canvas(0, 0);
    EXPECT_THROW(canvas.resize(5, -2), std::invalid_argument);
}

TEST(Canvas, ChangedAreaIsTheBoundingBoxOfWritesSinceLastTaken) {
    surface::Canvas canvas(20, 10);
    canvas.takeChanged();
    EXPECT_TRUE(canvas.takeChanged().empty());
    canvas.fill({-5, -5, 2, 3}, 0);
    canvas.markChanged({15, 8, 30, 30});
    EXPECT_TRUE(SameRect(canvas.takeChanged(), {0, 0, 20, 10}));
    canvas.fill({4, 4, 4, 9}, 0);  // empty: nothing changes
    EXPECT_TRUE(canvas.takeChanged().empty());
}

TEST(DeviceContext, StartsWithTheDefaults) {
    HDC dc = surface::CreateCanvasDC(nullptr);
    EXPECT_EQ(SetROP2(dc, R2_NOTXORPEN), R2_COPYPEN);
    EXPECT_EQ(SetBkMode(dc, TRANSPARENT), OPAQUE);
    EXPECT_EQ(SetTextAlign(dc, TA_RIGHT), static_cast<UINT>(TA_LEFT | TA_TOP));
    EXPECT_EQ(SelectObject(dc, GetStockObject(BLACK_PEN)), GetStockObject(BLACK_PEN));
    EXPECT_EQ(SelectObject(dc, GetStockObject(WHITE_BRUSH)), GetStockObject(WHITE_BRUSH));
    POINT position{7, 7};
    GetCurrentPositionEx(dc, &position);
    EXPECT_EQ(position.x, 0);
    EXPECT_EQ(position.y, 0);
    surface::ReleaseCanvasDC(dc);

    // A fresh context does not inherit the modes set on the last one.
    dc = surface::CreateCanvasDC(nullptr);
    EXPECT_EQ(SetROP2(dc, R2_COPYPEN), R2_COPYPEN);
    EXPECT_EQ(SetBkMode(dc, OPAQUE), OPAQUE);
    surface::ReleaseCanvasDC(dc);
}

TEST(DeviceContext, KeepsTheCurrentPosition) {
    HDC dc = surface::CreateCanvasDC(nullptr);
    POINT previous{};
    MoveToEx(dc, 10, -20, nullptr);
    MoveToEx(dc, 3, 4, &previous);
    EXPECT_EQ(previous.x, 10);
    EXPECT_EQ(previous.y, -20);
    LineTo(dc, -2147483647 - 1, 2147483647);
    POINT position{};
    GetCurrentPositionEx(dc, &position);
    EXPECT_EQ(position.x, -2147483647 - 1);
    EXPECT_EQ(position.y, 2147483647);
    surface::ReleaseCanvasDC(dc);
}

TEST(DeviceContext, RejectsBadModesAndKeepsTheOldOnes) {
    HDC dc = surface::CreateCanvasDC(nullptr);
    EXPECT_EQ(SetROP2(dc, 0), 0);
    EXPECT_EQ(SetROP2(dc, 17), 0);
    EXPECT_EQ(SetBkMode(dc, 3), 0);
    EXPECT_EQ(SetROP2(dc, R2_BLACK), R2_COPYPEN);
    EXPECT_EQ(SetBkMode(dc, OPAQUE), OPAQUE);
    surface::ReleaseCanvasDC(dc);
}

TEST(DeviceContext, CallsOnUnknownOrReleasedContextsFailQuietly) {
    HDC released = surface::CreateCanvasDC(nullptr);
    surface::ReleaseCanvasDC(released);
    int notAContext = 0;
    for (HDC dc : {HDC{}, released, reinterpret_cast<HDC>(&notAContext)}) {
        POINT point{};
        EXPECT_FALSE(MoveToEx(dc, 1, 1, nullptr));
        EXPECT_FALSE(LineTo(dc, 1, 1));
        EXPECT_FALSE(GetCurrentPositionEx(dc, &point));
        EXPECT_EQ(SetROP2(dc, R2_COPYPEN), 0);
        EXPECT_EQ(SelectObject(dc, GetStockObject(BLACK_PEN)), nullptr);
        EXPECT_EQ(SetPixel(dc, 0, 0, 0), 0xFFFFFFFFu);
        EXPECT_FALSE(TextOutA(dc, 0, 0, "x", 1));
        EXPECT_EQ(SetTextAlign(dc, TA_LEFT), 0xFFFFFFFFu);
        EXPECT_EQ(SetBkMode(dc, OPAQUE), 0);
        EXPECT_FALSE(Ellipse(dc, 0, 0, 4, 4));
        EXPECT_FALSE(Arc(dc, 0, 0, 4, 4, 0, 0, 0, 0));
        surface::ReleaseCanvasDC(dc);
    }
}

TEST(DeviceContext, ComeFromAFixedPool) {
    std::vector<HDC> contexts;
    for (HDC dc = surface::CreateCanvasDC(nullptr); dc != nullptr;
         dc = surface::CreateCanvasDC(nullptr)) {
        contexts.push_back(dc);
        ASSERT_LT(contexts.size(), 1000u);
    }
    EXPECT_GE(contexts.size(), 4u);
    for (HDC dc : contexts) surface::ReleaseCanvasDC(dc);
    HDC again = surface::CreateCanvasDC(nullptr);
    EXPECT_NE(again, nullptr);
    surface::ReleaseCanvasDC(again);
}

TEST(Pens, SelectReturnsTheReplacedObjectAndEveryPenCanBeDeleted) {
    const int before = surface::LivePenCount();
    HDC dc = surface::CreateCanvasDC(nullptr);
    HPEN pen = CreatePen(PS_SOLID, 2, RGB(200, 0, 0));
    ASSERT_NE(pen, nullptr);
    EXPECT_EQ(surface::LivePenCount(), before + 1);
    EXPECT_EQ(SelectObject(dc, pen), GetStockObject(BLACK_PEN));
    EXPECT_EQ(SelectObject(dc, GetStockObject(BLACK_PEN)), static_cast<HGDIOBJ>(pen));
    EXPECT_TRUE(DeleteObject(pen));
    EXPECT_EQ(surface::LivePenCount(), before);
    EXPECT_FALSE(DeleteObject(pen));  // already gone
    EXPECT_EQ(SelectObject(dc, pen), nullptr);
    surface::ReleaseCanvasDC(dc);
}

TEST(Pens, APenStillSelectedIsNotDeleted) {
    const int before = surface::LivePenCount();
    HDC dc = surface::CreateCanvasDC(nullptr);
    HPEN pen = CreatePen(PS_SOLID, 1, 0);
    SelectObject(dc, pen);
    EXPECT_FALSE(DeleteObject(pen));
    EXPECT_EQ(surface::LivePenCount(), before + 1);
    surface::ReleaseCanvasDC(dc);  // releasing the context lets go of its pen
    EXPECT_TRUE(DeleteObject(pen));
    EXPECT_EQ(surface::LivePenCount(), before);
}

TEST(Pens, StockObjectsSurviveDeletion) {
    EXPECT_TRUE(DeleteObject(GetStockObject(BLACK_PEN)));
    EXPECT_TRUE(DeleteObject(GetStockObject(WHITE_BRUSH)));
    HDC dc = surface::CreateCanvasDC(nullptr);
    EXPECT_NE(SelectObject(dc, GetStockObject(BLACK_PEN)), nullptr);
    surface::ReleaseCanvasDC(dc);
    EXPECT_EQ(GetStockObject(12345), nullptr);
}

TEST(Pens, ComeFromAFixedPoolAndOnlySolidOnes) {
    const int before = surface::LivePenCount();
    EXPECT_EQ(CreatePen(1, 1, 0), nullptr);
    std::vector<HPEN> pens;
    for (HPEN pen = CreatePen(PS_SOLID, 1, 0); pen != nullptr; pen = CreatePen(PS_SOLID, 1, 0)) {
        pens.push_back(pen);
        ASSERT_LT(pens.size(), 100000u);
    }
    EXPECT_GE(pens.size(), 16u);
    EXPECT_EQ(surface::LivePenCount(), before + static_cast<int>(pens.size()));
    for (HPEN pen : pens) EXPECT_TRUE(DeleteObject(pen));
    EXPECT_EQ(surface::LivePenCount(), before);
}

}  // namespace
