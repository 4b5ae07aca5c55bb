// Lines through pixels: the exact Bresenham pixels, end point excluded, and clipping that never
// changes which visible pixels a line touches, up to the limits of int.
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
        ASSERT_TRUE(clipped.samePixels(reference))
            << "through (" << cx << ", " << cy << ") along (" << dx << ", " << dy << ")";
    }
}

// Any line partly off the canvas touches the visible pixels that it touches on a canvas large
// enough to hold it whole.
TEST(LineClipping, VisiblePixelsAreThoseOfTheWholeLine) {
    constexpr int kOffset = 1100;
    Drawing whole(2 * kOffset, 2 * kOffset);
    std::mt19937 random(11);
    std::uniform_int_distribution<int> coordinate(-1000, 1000);
    for (int trial = 0; trial < 60; ++trial) {
        const int x0 = coordinate(random), y0 = coordinate(random);
        const int x1 = coordinate(random), y1 = coordinate(random);
        const int penWidth = 1 + trial % 2;
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

}  // namespace
