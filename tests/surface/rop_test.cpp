// Raster operations: all sixteen, the NOTXOR erase rule (each pixel changed once per call, so a
// second drawing restores the first), and SetPixel bypassing them.
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <vector>

#include "tests/surface/drawing.h"

namespace {

using surface_test::Drawing;
using surface_test::kIntMax;
using surface_test::kIntMin;
using surface_test::kOlive;
using surface_test::kWhite;

constexpr COLORREF kBits = 0xFFFFFF;

struct RopCase {
    int mode;
    COLORREF (*result)(COLORREF pen, COLORREF screen);
};

const RopCase kRopCases[] = {
    {R2_BLACK, [](COLORREF, COLORREF) -> COLORREF { return 0; }},
    {2, [](COLORREF p, COLORREF d) -> COLORREF { return ~(p | d) & kBits; }},  // NOTMERGEPEN
    {3, [](COLORREF p, COLORREF d) -> COLORREF { return d & ~p & kBits; }},    // MASKNOTPEN
    {4, [](COLORREF p, COLORREF) -> COLORREF { return ~p & kBits; }},          // NOTCOPYPEN
    {5, [](COLORREF p, COLORREF d) -> COLORREF { return p & ~d & kBits; }},    // MASKPENNOT
    {6, [](COLORREF, COLORREF d) -> COLORREF { return ~d & kBits; }},          // NOT
    {7, [](COLORREF p, COLORREF d) -> COLORREF { return p ^ d; }},             // XORPEN
    {8, [](COLORREF p, COLORREF d) -> COLORREF { return ~(p & d) & kBits; }},  // NOTMASKPEN
    {9, [](COLORREF p, COLORREF d) -> COLORREF { return p & d; }},             // MASKPEN
    {R2_NOTXORPEN, [](COLORREF p, COLORREF d) -> COLORREF { return ~(p ^ d) & kBits; }},
    {11, [](COLORREF, COLORREF d) -> COLORREF { return d; }},                   // NOP
    {12, [](COLORREF p, COLORREF d) -> COLORREF { return (d | ~p) & kBits; }},  // MERGENOTPEN
    {R2_COPYPEN, [](COLORREF p, COLORREF) -> COLORREF { return p; }},
    {14, [](COLORREF p, COLORREF d) -> COLORREF { return (p | ~d) & kBits; }},  // MERGEPENNOT
    {15, [](COLORREF p, COLORREF d) -> COLORREF { return p | d; }},             // MERGEPEN
    {R2_WHITE, [](COLORREF, COLORREF) -> COLORREF { return kBits; }},
};

class Rop2 : public testing::TestWithParam<RopCase> {};

TEST_P(Rop2, CombinesPenAndScreenBitByBit) {
    const COLORREF pens[] = {0, kBits, kOlive, RGB(200, 0, 0), 0x00A5C30F};
    const COLORREF screens[] = {0, kBits, 0x00123456, RGB(100, 100, 0)};
    for (COLORREF pen : pens) {
        for (COLORREF screen : screens) {
            Drawing drawing(4, 1, screen);
            drawing.usePen(1, pen);
            SetROP2(drawing.dc, GetParam().mode);
            drawing.line(1, 0, 2, 0);
            EXPECT_EQ(drawing.canvas.pixel(1, 0), GetParam().result(pen, screen))
                << "pen " << pen << " on " << screen;
            EXPECT_EQ(drawing.canvas.pixel(0, 0), screen);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(AllModes, Rop2, testing::ValuesIn(kRopCases),
                         [](const testing::TestParamInfo<RopCase>& info) {
                             return "Mode" + std::to_string(info.param.mode);
                         });

TEST(SetPixel, WritesItsColourWhateverTheRasterOperation) {
    for (int mode : {R2_COPYPEN, R2_NOTXORPEN, R2_BLACK, 11, R2_WHITE}) {
        Drawing drawing(5, 5, RGB(1, 2, 3));
        SetROP2(drawing.dc, mode);
        EXPECT_EQ(SetPixel(drawing.dc, 2, 3, RGB(255, 0, 0)), RGB(255, 0, 0));
        EXPECT_EQ(drawing.canvas.pixel(2, 3), RGB(255, 0, 0)) << "mode " << mode;
        EXPECT_EQ(drawing.pixelsOf(RGB(1, 2, 3)).size(), 24u);
    }
}

TEST(SetPixel, OffTheCanvasFailsAndWritesNothing) {
    Drawing drawing(5, 5);
    for (auto [x, y] : {std::pair{-1, 0}, {0, -1}, {5, 0}, {0, 5}, {kIntMin, kIntMax}}) {
        EXPECT_EQ(SetPixel(drawing.dc, x, y, 0), 0xFFFFFFFFu);
    }
    EXPECT_TRUE(drawing.pixelsOtherThan(kWhite).empty());
}

// Random lines, ellipses and arcs, small and huge, for both pen widths.
using Shape = std::function<void(HDC)>;

std::vector<Shape> RandomShapes() {
    std::mt19937 random(3);
    std::uniform_int_distribution<int> near(-30, 90);
    std::uniform_int_distribution<int> far(kIntMin, kIntMax);
    std::vector<Shape> shapes;
    for (int i = 0; i < 90; ++i) {
        auto& place = i % 5 == 4 ? far : near;
        int a = place(random), b = place(random), c = place(random), d = place(random);
        int e = near(random), f = near(random), g = near(random), h = near(random);
        switch (i % 3) {
            case 0:
                shapes.push_back([=](HDC dc) {
                    MoveToEx(dc, a, b, nullptr);
                    LineTo(dc, c, d);
                });
                break;
            case 1:
                shapes.push_back([=](HDC dc) { Ellipse(dc, a, b, c, d); });
                break;
            default:
                shapes.push_back([=](HDC dc) { Arc(dc, a, b, c, d, e, f, g, h); });
                break;
        }
    }
    return shapes;
}

TEST(NotXor, DrawnOnceOverWhiteChangesEachPixelOnceLikeCopy) {
    int index = 0;
    for (const Shape& shape : RandomShapes()) {
        for (int penWidth : {1, 2}) {
            Drawing notXor(64, 48);
            Drawing copy(64, 48);
            notXor.usePen(penWidth, kOlive);
            copy.usePen(penWidth, kOlive);
            SetROP2(notXor.dc, R2_NOTXORPEN);
            shape(notXor.dc);
            shape(copy.dc);
            // NOT(pen XOR white) is the pen colour; a pixel changed twice would be white again.
            EXPECT_TRUE(notXor.samePixels(copy)) << "shape " << index << " pen " << penWidth;
        }
        ++index;
    }
}

TEST(NotXor, DrawnTwiceRestoresThePixels) {
    std::vector<Shape> shapes = RandomShapes();
    // An arrow like a frame's, whose barbs both start at its tip (a pixel they change twice).
    shapes.push_back([](HDC dc) {
        MoveToEx(dc, 30, 40, nullptr);
        LineTo(dc, 30, 10);
        LineTo(dc, 35, 15);
        MoveToEx(dc, 30, 10, nullptr);
        LineTo(dc, 25, 15);
    });
    int index = 0;
    for (const Shape& shape : shapes) {
        for (int penWidth : {1, 2}) {
            Drawing drawing(64, 48);
            surface_test::PaintPattern(drawing.canvas);
            Drawing original(64, 48);
            surface_test::PaintPattern(original.canvas);
            drawing.usePen(penWidth, RGB(200, 0, 0));
            SetROP2(drawing.dc, R2_NOTXORPEN);
            shape(drawing.dc);
            shape(drawing.dc);
            EXPECT_TRUE(drawing.samePixels(original)) << "shape " << index << " pen " << penWidth;
        }
        ++index;
    }
}

}  // namespace
