// Every drawing call reports what it changed, so a display backend sends only that.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "tests/surface/drawing.h"

namespace {

using surface_test::Drawing;
using surface_test::kIntMax;
using surface_test::kIntMin;

struct ChangeCase {
    const char* name;
    std::function<void(HDC)> draw;
};

void PrintTo(const ChangeCase& changeCase, std::ostream* out) { *out << changeCase.name; }

class ChangedArea : public testing::TestWithParam<ChangeCase> {};

// Drawn in colour on a red background, every pixel written changes, so the changed area is the
// bounding box of the changed pixels exactly.
TEST_P(ChangedArea, IsTheBoundingBoxOfTheChangedPixels) {
    constexpr COLORREF kRed = RGB(200, 0, 0);
    Drawing drawing(80, 50, kRed);
    drawing.usePen(2, RGB(100, 100, 0));
    drawing.canvas.takeChanged();
    GetParam().draw(drawing.dc);
    surface::PixelRect expected{1000, 1000, -1, -1};
    for (auto [x, y] : drawing.pixelsOtherThan(kRed)) {
        expected = {std::min(expected.left, x), std::min(expected.top, y),
                    std::max(expected.right, x + 1), std::max(expected.bottom, y + 1)};
    }
    const surface::PixelRect changed = drawing.canvas.takeChanged();
    if (expected.empty()) {
        EXPECT_TRUE(changed.empty());
        return;
    }
    EXPECT_EQ(changed.left, expected.left);
    EXPECT_EQ(changed.top, expected.top);
    EXPECT_EQ(changed.right, expected.right);
    EXPECT_EQ(changed.bottom, expected.bottom);
}

const ChangeCase kChangeCases[] = {
    {"Line",
     [](HDC dc) {
         MoveToEx(dc, 70, 5, nullptr);
         LineTo(dc, 10, 30);
     }},
    {"ClippedLine",
     [](HDC dc) {
         MoveToEx(dc, kIntMin, 40, nullptr);
         LineTo(dc, 30, 45);
     }},
    {"Ellipse", [](HDC dc) { Ellipse(dc, 20, 10, 60, 35); }},
    {"Arc", [](HDC dc) { Arc(dc, 20, 10, 60, 35, 60, 22, 40, 35); }},
    {"Pixel", [](HDC dc) { SetPixel(dc, 79, 49, 0); }},
    {"Text", [](HDC dc) { TextOutA(dc, 5, 40, "Z 7", 3); }},
    {"TransparentText",
     [](HDC dc) {
         SetBkMode(dc, TRANSPARENT);
         TextOutA(dc, -3, -4, "Wave", 4);
     }},
    {"NothingVisible",
     [](HDC dc) {
         MoveToEx(dc, -5, -5, nullptr);
         LineTo(dc, -5, kIntMax);
         Ellipse(dc, 100, 100, 200, 200);
         SetPixel(dc, 80, 0, 0);
         TextOutA(dc, 0, 50, "below", 5);
     }},
};

INSTANTIATE_TEST_SUITE_P(Calls, ChangedArea, testing::ValuesIn(kChangeCases),
                         [](const testing::TestParamInfo<ChangeCase>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
