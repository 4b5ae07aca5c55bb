// Raster operations: all sixteen, the NOTXOR erase rule (each pixel changed once per call, so a
// second drawing restores the first), and SetPixel bypassing them.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "tests/surface/drawing.h"

namespace {

using namespace surface_test;

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

TEST(SetPixel, WritesItsColourWhateverTheRasterOperationAndOnlyOnTheCanvas) {
    for (int mode : {R2_COPYPEN, R2_NOTXORPEN, R2_BLACK, 11, R2_WHITE}) {
        Drawing drawing(5, 5, RGB(1, 2, 3));
        SetROP2(drawing.dc, mode);
        EXPECT_EQ(SetPixel(drawing.dc, 2, 3, RGB(255, 0, 0)), RGB(255, 0, 0));
        for (auto [x, y] : {std::pair{-1, 0}, {0, -1}, {5, 0}, {0, 5}, {kIntMin, kIntMax}}) {
            EXPECT_EQ(SetPixel(drawing.dc, x, y, 0), 0xFFFFFFFFu);
        }
        EXPECT_EQ(drawing.changed(RGB(1, 2, 3)), PixelSet({{2, 3}})) << "mode " << mode;
        EXPECT_EQ(drawing.canvas.pixel(2, 3), RGB(255, 0, 0));
    }
}

// Random lines, ellipses and arcs, small and huge: 0 to 3 are the line's ends or the box, 4 to 7
// the arc's rays.
void DrawShape(HDC dc, int kind, const int (&v)[8]) {
    if (kind == 0) {
        MoveToEx(dc, v[0], v[1], nullptr);
        LineTo(dc, v[2], v[3]);
    } else if (kind == 1) {
        Ellipse(dc, v[0], v[1], v[2], v[3]);
    } else {
        Arc(dc, v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7]);
    }
}

TEST(NotXor, ChangesEachPixelOnceSoDrawingTwiceRestoresThePixels) {
    std::mt19937 random(3);
    std::uniform_int_distribution<int> near(-30, 90), far(kIntMin, kIntMax);
    for (int i = 0; i < 180; ++i) {
        int v[8];
        for (int k = 0; k < 8; ++k) v[k] = (i % 5 == 4 && k < 4 ? far : near)(random);
        const int kind = i % 3, penWidth = 1 + i / 90;
        // Once over white: NOT(pen XOR white) is the pen colour, as in copy mode, while a pixel
        // changed twice would be white again.
        Drawing notXor(64, 48), copy(64, 48);
        notXor.usePen(penWidth, kOlive);
        copy.usePen(penWidth, kOlive);
        SetROP2(notXor.dc, R2_NOTXORPEN);
        DrawShape(notXor.dc, kind, v);
        DrawShape(copy.dc, kind, v);
        EXPECT_TRUE(notXor.samePixels(copy)) << "shape " << i;
        // Twice over many colours: as it was.
        Drawing twice(64, 48), original(64, 48);
        PaintPattern(twice.canvas);
        PaintPattern(original.canvas);
        twice.usePen(penWidth, kRed);
        SetROP2(twice.dc, R2_NOTXORPEN);
        DrawShape(twice.dc, kind, v);
        DrawShape(twice.dc, kind, v);
        EXPECT_TRUE(twice.samePixels(original)) << "shape " << i;
    }
}

// An arrow like a frame's: its barbs both start at the tip, a pixel drawn by two calls.
TEST(NotXor, ArrowDrawnTwiceVanishes) {
    Drawing drawing(64, 48);
    drawing.usePen(2, kOlive);
    SetROP2(drawing.dc, R2_NOTXORPEN);
    for (int round = 0; round < 2; ++round) {
        drawing.line(30, 40, 30, 10);
        LineTo(drawing.dc, 35, 15);
        drawing.line(30, 10, 25, 15);
        EXPECT_EQ(drawing.changed().empty(), round == 1);
    }
}

}  // namespace
