// The canvas, its changed area, and the state a device context keeps: defaults, pens, pools.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <stdexcept>
#include <vector>

#include "tests/surface/drawing.h"

namespace {

using namespace surface_test;

void ExpectRect(const surface::PixelRect& r, int left, int top, int right, int bottom) {
    EXPECT_EQ(std::vector({r.left, r.top, r.right, r.bottom}),
              std::vector({left, top, right, bottom}));
}

TEST(Canvas, ResizeKeepsWhatRemainsAndRefusesNegativeSizes) {
    surface::Canvas canvas(3, 2, RGB(1, 2, 3));
    canvas.row(1)[2] = 77;
    canvas.resize(4, 3, 9);
    EXPECT_EQ(canvas.pixel(2, 1), 77u);
    EXPECT_EQ(canvas.pixel(0, 0), RGB(1, 2, 3));
    EXPECT_EQ(canvas.pixel(3, 0), 9u);
    EXPECT_EQ(canvas.pixel(0, 2), 9u);
    ExpectRect(canvas.takeChanged(), 0, 0, 4, 3);
    EXPECT_TRUE(canvas.takeChanged().empty());
    EXPECT_THROW(canvas.resize(5, -2), std::invalid_argument);
    EXPECT_THROW(surface::Canvas(-1, 5), std::invalid_argument);
}

// Drawn in colour on red, every pixel written changes, so the changed area a drawing call reports
// is exactly the bounding box of the pixels it changed.
TEST(Canvas, EachDrawingCallReportsTheAreaItChanged) {
    const std::vector<std::function<void(HDC)>> calls = {
        [](HDC dc) { LineTo(dc, 70, 30); },
        [](HDC dc) {
            MoveToEx(dc, kIntMin, 40, nullptr);
            LineTo(dc, 30, 45);
        },
        [](HDC dc) { Ellipse(dc, 20, 10, 60, 35); },
        [](HDC dc) { Arc(dc, 20, 10, 60, 35, 60, 22, 40, 35); },
        [](HDC dc) { SetPixel(dc, 79, 49, 0); },
        [](HDC dc) { TextOutA(dc, 5, 40, "Z 7", 3); },
        [](HDC dc) {
            SetBkMode(dc, TRANSPARENT);
            TextOutA(dc, -3, -4, "Wave", 4);
        },
        [](HDC dc) {
            Ellipse(dc, 100, 100, 200, 200);
            TextOutA(dc, 0, 50, "below", 5);
        },
    };
    for (const auto& call : calls) {
        Drawing drawing(80, 50, kRed);
        drawing.usePen(2, kOlive);
        drawing.canvas.takeChanged();
        call(drawing.dc);
        surface::PixelRect box{1000, 1000, -1, -1};
        for (auto [x, y] : drawing.changed(kRed)) {
            box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1),
                   std::max(box.bottom, y + 1)};
        }
        const surface::PixelRect changed = drawing.canvas.takeChanged();
        if (box.empty()) {
            EXPECT_TRUE(changed.empty());
        } else {
            ExpectRect(changed, box.left, box.top, box.right, box.bottom);
        }
    }
}

TEST(DeviceContext, StartsWithTheDefaultsEveryTime) {
    for (int round = 0; round < 2; ++round) {
        HDC dc = surface::CreateCanvasDC(nullptr);
        POINT position{7, 7};
        EXPECT_TRUE(GetCurrentPositionEx(dc, &position));
        EXPECT_EQ(position.x + position.y, 0);
        EXPECT_EQ(SetROP2(dc, R2_NOTXORPEN), R2_COPYPEN);
        EXPECT_EQ(SetBkMode(dc, TRANSPARENT), OPAQUE);
        EXPECT_EQ(SetTextAlign(dc, TA_RIGHT), static_cast<UINT>(TA_LEFT | TA_TOP));
        EXPECT_EQ(SelectObject(dc, GetStockObject(WHITE_BRUSH)), GetStockObject(WHITE_BRUSH));
        EXPECT_EQ(SelectObject(dc, nullptr), nullptr);
        EXPECT_EQ(GetStockObject(12345), nullptr);
        // Bad modes are refused and change nothing.
        EXPECT_EQ(SetROP2(dc, 17), 0);
        EXPECT_EQ(SetBkMode(dc, 3), 0);
        EXPECT_EQ(SetROP2(dc, R2_COPYPEN), R2_NOTXORPEN);
        MoveToEx(dc, 10, -20, nullptr);
        POINT previous{};
        MoveToEx(dc, kIntMin, kIntMax, &previous);
        EXPECT_EQ(previous.x * 1000 + previous.y, 10 * 1000 - 20);
        surface::ReleaseCanvasDC(dc);
    }
}

TEST(DeviceContext, CallsOnUnknownOrReleasedContextsFailQuietly) {
    HDC released = surface::CreateCanvasDC(nullptr);
    surface::ReleaseCanvasDC(released);
    int notAContext = 0;
    for (HDC dc : {HDC{}, released, reinterpret_cast<HDC>(&notAContext)}) {
        POINT point{};
        EXPECT_FALSE(MoveToEx(dc, 1, 1, nullptr) || LineTo(dc, 1, 1) ||
                     GetCurrentPositionEx(dc, &point) || SetROP2(dc, R2_COPYPEN) ||
                     SelectObject(dc, GetStockObject(BLACK_PEN)) || TextOutA(dc, 0, 0, "x", 1) ||
                     SetBkMode(dc, OPAQUE) || Ellipse(dc, 0, 0, 4, 4) ||
                     Arc(dc, 0, 0, 4, 4, 0, 0, 0, 0));
        EXPECT_EQ(SetPixel(dc, 0, 0, 0), 0xFFFFFFFFu);
        EXPECT_EQ(SetTextAlign(dc, TA_LEFT), 0xFFFFFFFFu);
        surface::ReleaseCanvasDC(dc);
    }
}

TEST(DeviceContext, ComeFromAFixedPool) {
    std::vector<HDC> contexts;
    for (HDC dc; (dc = surface::CreateCanvasDC(nullptr)) != nullptr && contexts.size() < 1000;) {
        contexts.push_back(dc);
    }
    EXPECT_TRUE(contexts.size() >= 4 && contexts.size() < 1000);
    for (HDC dc : contexts) surface::ReleaseCanvasDC(dc);
    HDC again = surface::CreateCanvasDC(nullptr);
    EXPECT_NE(again, nullptr);
    surface::ReleaseCanvasDC(again);
}

TEST(Pens, SelectReturnsTheReplacedObjectAndDeleteEndsThePen) {
    const int before = surface::LivePenCount();
    HDC dc = surface::CreateCanvasDC(nullptr);
    HPEN pen = CreatePen(PS_SOLID, 2, kRed);
    EXPECT_EQ(surface::LivePenCount(), before + 1);
    EXPECT_EQ(SelectObject(dc, pen), GetStockObject(BLACK_PEN));
    EXPECT_FALSE(DeleteObject(pen));  // still selected: it stays, and the leak shows
    EXPECT_EQ(SelectObject(dc, GetStockObject(BLACK_PEN)), static_cast<HGDIOBJ>(pen));
    EXPECT_TRUE(DeleteObject(pen));
    EXPECT_EQ(surface::LivePenCount(), before);
    EXPECT_FALSE(DeleteObject(pen));  // already gone
    EXPECT_EQ(SelectObject(dc, pen), nullptr);
    int notAnObject = 0;
    EXPECT_FALSE(DeleteObject(&notAnObject));
    EXPECT_TRUE(DeleteObject(GetStockObject(BLACK_PEN)));  // ignored: stock objects stay
    EXPECT_NE(SelectObject(dc, GetStockObject(BLACK_PEN)), nullptr);
    surface::ReleaseCanvasDC(dc);
}

TEST(Pens, ComeFromAFixedPoolAndOnlySolidOnes) {
    const int before = surface::LivePenCount();
    EXPECT_EQ(CreatePen(1, 1, 0), nullptr);
    std::vector<HPEN> pens;
    for (HPEN pen; (pen = CreatePen(PS_SOLID, 1, 0)) != nullptr && pens.size() < 100000;) {
        pens.push_back(pen);
    }
    EXPECT_TRUE(pens.size() >= 16 && pens.size() < 100000);
    EXPECT_EQ(surface::LivePenCount(), before + static_cast<int>(pens.size()));
    for (HPEN pen : pens) DeleteObject(pen);
    EXPECT_EQ(surface::LivePenCount(), before);
}

}  // namespace
