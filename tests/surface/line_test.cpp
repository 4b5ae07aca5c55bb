// Lines through pixels: the exact Bresenham pixels, end point excluded, and clipping that never
// changes which visible pixels a line touches, up to the limits of int. Raster operations: all
// sixteen, the NOTXOR erase rule (each pixel changed once per call, so a second drawing restores
// the first), and SetPixel bypassing them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>

#include "tests/surface/drawing.h"

namespace {

using namespace surface_test;

struct LineCase {
    int penWidth;
    int x0, y0, x1, y1;
    PixelSet expected;
};

TEST(LineTo, DrawsTheBresenhamPixelsWithoutTheEndPoint) {
    const LineCase cases[] = {
        {1, 0, 0, 5, 0, {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}}},
        {1, 0, 0, 0, -3, {{0, 0}, {0, -1}, {0, -2}}},
        {1, 0, 0, 5, 2, {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}}},
        {1, 0, 0, 2, 5, {{0, 0}, {0, 1}, {1, 2}, {1, 3}, {2, 4}}},
        {1, 4, 0, 0, 2, {{4, 0}, {3, 1}, {2, 1}, {1, 2}}},
        {1, 3, 3, 0, 0, {{3, 3}, {2, 2}, {1, 1}}},
        {0, 0, 0, 1, 1, {{0, 0}}},
        {1, 2, 2, 2, 2, {}},
        {2, 2, 2, 2, 2, {}},
        // A 2-pixel pen adds the neighbour below (x major) or right (y major) of each pixel.
        {2, 0, 0, 3, 0, {{0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}, {2, 1}}},
        {2, 0, 0, 0, 2, {{0, 0}, {0, 1}, {1, 0}, {1, 1}}},
        {2, 0, 0, 3, 1, {{0, 0}, {0, 1}, {1, 0}, {1, 1}, {2, 1}, {2, 2}}},
    };
    for (const LineCase& c : cases) {
        Drawing drawing(30, 30);
        drawing.usePen(c.penWidth, kRed);
        drawing.line(10 + c.x0, 10 + c.y0, 10 + c.x1, 10 + c.y1);
        PixelSet expected;
        for (auto [x, y] : c.expected) expected.insert({10 + x, 10 + y});
        EXPECT_EQ(drawing.changed(), expected) << "line from (" << c.x0 << ", " << c.y0 << ") to ("
                                               << c.x1 << ", " << c.y1 << ") pen " << c.penWidth;
    }
}

TEST(LineClipping, LinesBetweenTheIntLimitsShowTheirVisiblePixels) {
    PixelSet diagonal, wideDiagonal, row5, column7;
    for (int i = 0; i < 30; ++i) diagonal.insert({i, i});
    wideDiagonal = diagonal;
    for (int i = 0; i < 29; ++i) wideDiagonal.insert({i, i + 1});
    for (int i = 0; i < 40; ++i) row5.insert({i, 5});
    for (int i = 0; i < 30; ++i) column7.insert({7, i});
    const LineCase cases[] = {
        {1, kIntMin, kIntMin, kIntMax, kIntMax, diagonal},
        {1, kIntMax, kIntMax, kIntMin, kIntMin, diagonal},
        {2, kIntMin, kIntMin, kIntMax, kIntMax, wideDiagonal},
        {1, kIntMax, 5, kIntMin, 5, row5},
        {1, 7, kIntMax, 7, kIntMin, column7},
        {2, kIntMin, -2, kIntMax, -2, {}},
        {2, kIntMin, kIntMin, kIntMax, kIntMin, {}},
        {2, -10, kIntMax, kIntMax, -10, {}},
        {1, kIntMin, 0, 0, 0, {}},  // ends just before the canvas
    };
    for (const LineCase& c : cases) {
        Drawing drawing(40, 30);
        drawing.usePen(c.penWidth, kRed);
        drawing.line(c.x0, c.y0, c.x1, c.y1);
        EXPECT_EQ(drawing.changed(), c.expected)
            << "line from (" << c.x0 << ", " << c.y0 << ") to (" << c.x1 << ", " << c.y1 << ")";
    }
}

// A canvas without rows or columns has nothing to draw on, whatever the line; the sanitizer
// build also rejects any address computed from its missing rows.
TEST(LineClipping, CanvasesWithoutPixelsStayUntouched) {
    const int sizes[][2] = {{40, 0}, {0, 30}, {0, 0}};
    const LineCase lines[] = {{2, 0, -1, 2, -1, {}},
                              {2, -1, 0, -1, 2, {}},
                              {1, 0, 0, 5, 3, {}},
                              {2, kIntMin, kIntMin, kIntMax, kIntMax, {}}};
    for (auto [width, height] : sizes) {
        for (const LineCase& c : lines) {
            Drawing drawing(width, height);
            drawing.usePen(c.penWidth, kRed);
            drawing.line(c.x0, c.y0, c.x1, c.y1);
            EXPECT_EQ(drawing.changed(), c.expected) << width << " x " << height;
        }
    }
}

// A line through c from c - k d to c + k d steps exactly like the short line from c - d to
// c + d repeated, so for any k its pixels near c are those of a short line through c.
TEST(LineClipping, HugeLinesTouchTheSamePixelsAsShortOnes) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> direction(-9, 9), centre(-5, 45);
    for (int trial = 0; trial < 200; ++trial) {
        const int dx = direction(random), dy = direction(random);
        const int cx = centre(random), cy = centre(random);
        if (dx == 0 && dy == 0) continue;
        const int reach = std::max(std::abs(dx), std::abs(dy));
        const int huge = (kIntMax - 64) / reach, small = 100 / reach + 1;
        const int penWidth = 1 + trial % 2;
        Drawing clipped(40, 40), reference(40, 40);
        clipped.usePen(penWidth, kRed);
        reference.usePen(penWidth, kRed);
        clipped.line(cx - huge * dx, cy - huge * dy, cx + huge * dx, cy + huge * dy);
        reference.line(cx - small * dx, cy - small * dy, cx + small * dx, cy + small * dy);
        ASSERT_TRUE(clipped == reference)
            << "through (" << cx << ", " << cy << ") along (" << dx << ", " << dy << ")";
    }
}

// Any line partly off the canvas touches the visible pixels that it touches on a canvas large
// enough to hold it whole, where it takes the shorter way for lines that need no clipping. Most
// of these lines cross the canvas, entering and leaving it at every edge.
TEST(LineClipping, VisiblePixelsAreThoseOfTheWholeLine) {
    constexpr int kOffset = 200;
    Drawing whole(2 * kOffset, 2 * kOffset);
    std::mt19937 random(11);
    std::uniform_int_distribution<int> coordinate(-150, 200);
    for (int trial = 0; trial < 300; ++trial) {
        const int x0 = coordinate(random), y0 = coordinate(random);
        const int x1 = coordinate(random), y1 = coordinate(random);
        const int penWidth = 1 + trial % 3;
        Drawing clipped(64, 48);
        clipped.usePen(penWidth, kRed);
        clipped.line(x0, y0, x1, y1);
        whole.usePen(penWidth, kRed);
        whole.line(kOffset + x0, kOffset + y0, kOffset + x1, kOffset + y1);
        for (int y = 0; y < 48; ++y) {
            for (int x = 0; x < 64; ++x) {
                ASSERT_EQ(clipped.canvas.pixel(x, y), whole.canvas.pixel(kOffset + x, kOffset + y))
                    << "line (" << x0 << ", " << y0 << ") to (" << x1 << ", " << y1 << ")";
            }
        }
        SetROP2(whole.dc, R2_WHITE);  // wipe the line for the next one
        whole.line(kOffset + x0, kOffset + y0, kOffset + x1, kOffset + y1);
        SetROP2(whole.dc, R2_COPYPEN);
    }
}

TEST(Rop2, EveryModeCombinesPenAndScreenBitByBit) {
    using Rule = COLORREF (*)(COLORREF pen, COLORREF screen);
    const Rule rules[] = {
        // From R2_BLACK (1) to R2_WHITE (16), each on all 32 bits; only the low 24 count.
        [](COLORREF, COLORREF) { return 0u; },
        [](COLORREF p, COLORREF d) { return ~(p | d); },
        [](COLORREF p, COLORREF d) { return d & ~p; },
        [](COLORREF p, COLORREF) { return ~p; },
        [](COLORREF p, COLORREF d) { return p & ~d; },
        [](COLORREF, COLORREF d) { return ~d; },
        [](COLORREF p, COLORREF d) { return p ^ d; },
        [](COLORREF p, COLORREF d) { return ~(p & d); },
        [](COLORREF p, COLORREF d) { return p & d; },
        [](COLORREF p, COLORREF d) { return ~(p ^ d); },
        [](COLORREF, COLORREF d) { return d; },
        [](COLORREF p, COLORREF d) { return d | ~p; },
        [](COLORREF p, COLORREF) { return p; },
        [](COLORREF p, COLORREF d) { return p | ~d; },
        [](COLORREF p, COLORREF d) { return p | d; },
        [](COLORREF, COLORREF) { return ~0u; },
    };
    for (int mode = R2_BLACK; mode <= R2_WHITE; ++mode) {
        for (COLORREF pen : {0u, 0xFFFFFFu, kOlive, kRed, 0x00A5C30Fu}) {
            for (COLORREF screen : {0u, 0xFFFFFFu, 0x00123456u, kOlive}) {
                Drawing drawing(4, 1, screen);
                drawing.usePen(1, pen);
                SetROP2(drawing.dc, mode);
                drawing.line(1, 0, 2, 0);
                EXPECT_EQ(drawing.canvas.pixel(1, 0), rules[mode - 1](pen, screen) & 0xFFFFFF)
                    << "mode " << mode << ", pen " << pen << " on " << screen;
                EXPECT_EQ(drawing.canvas.pixel(0, 0), screen);
            }
        }
    }
}

TEST(SetPixel, WritesItsColourWhateverTheRasterOperationAndOnlyOnTheCanvas) {
    for (int mode : {R2_COPYPEN, R2_NOTXORPEN, R2_BLACK, 11, R2_WHITE}) {
        Drawing drawing(5, 5, RGB(1, 2, 3));
        SetROP2(drawing.dc, mode);
        EXPECT_EQ(SetPixel(drawing.dc, 2, 3, 0xFF0000FF), RGB(255, 0, 0)) << "no top byte";
        for (auto [x, y] : {std::pair{-1, 0}, {0, -1}, {5, 0}, {0, 5}, {kIntMin, kIntMax}}) {
            EXPECT_EQ(SetPixel(drawing.dc, x, y, 0), 0xFFFFFFFFu);
        }
        EXPECT_EQ(drawing.changed(RGB(1, 2, 3)), PixelSet({{2, 3}})) << "mode " << mode;
        EXPECT_EQ(drawing.canvas.pixel(2, 3), RGB(255, 0, 0));
    }
}

// Random lines, ellipses and arcs, small and huge: v[0] to v[3] are the line's ends or the box,
// v[4] to v[7] the arc's rays.
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
        EXPECT_TRUE(notXor == copy) << "shape " << i;
        // Twice over many colours: as it was.
        Drawing twice(64, 48), original(64, 48);
        PaintPattern(twice.canvas);
        PaintPattern(original.canvas);
        twice.usePen(penWidth, kRed);
        SetROP2(twice.dc, R2_NOTXORPEN);
        DrawShape(twice.dc, kind, v);
        DrawShape(twice.dc, kind, v);
        EXPECT_TRUE(twice == original) << "shape " << i;
    }
}

}  // namespace
