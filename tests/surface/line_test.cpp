// Lines through pixels: the exact Bresenham pixels, end point excluded, and clipping that never
// changes which visible pixels a line touches, up to the limits of int.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>

#include "tests/surface/drawing.h"

namespace {

using surface_test::Drawing;
using surface_test::kIntMax;
using surface_test::kIntMin;
using surface_test::kWhite;
using surface_test::PixelSet;

constexpr COLORREF kRed = RGB(200, 0, 0);

struct LineCase {
    const char* name;
    int penWidth;
    int x0, y0, x1, y1;
    PixelSet expected;  // relative to the canvas origin (10, 10)
};

void PrintTo(const LineCase& lineCase, std::ostream* out) { *out << lineCase.name; }

class LinePixels : public testing::TestWithParam<LineCase> {};

TEST_P(LinePixels, AreExactlyThese) {
    const LineCase& c = GetParam();
    Drawing drawing(30, 30);
    drawing.usePen(c.penWidth, kRed);
    drawing.line(10 + c.x0, 10 + c.y0, 10 + c.x1, 10 + c.y1);
    PixelSet expected;
    for (auto [x, y] : c.expected) expected.insert({10 + x, 10 + y});
    EXPECT_EQ(drawing.pixelsOtherThan(kWhite), expected);
}

const LineCase kLineCases[] = {
    {"Horizontal", 1, 0, 0, 5, 0, {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {4, 0}}},
    {"VerticalUp", 1, 0, 0, 0, -3, {{0, 0}, {0, -1}, {0, -2}}},
    {"Shallow", 1, 0, 0, 5, 2, {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}}},
    {"Steep", 1, 0, 0, 2, 5, {{0, 0}, {0, 1}, {1, 2}, {1, 3}, {2, 4}}},
    {"Leftward", 1, 4, 0, 0, 2, {{4, 0}, {3, 1}, {2, 1}, {1, 2}}},
    {"Diagonal", 1, 3, 3, 0, 0, {{3, 3}, {2, 2}, {1, 1}}},
    {"OneStep", 1, 0, 0, 1, 1, {{0, 0}}},
    {"ZeroLength", 1, 2, 2, 2, 2, {}},
    {"ZeroLengthWide", 2, 2, 2, 2, 2, {}},
    {"WideHorizontal", 2, 0, 0, 3, 0, {{0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}, {2, 1}}},
    {"WideVertical", 2, 0, 0, 0, 2, {{0, 0}, {0, 1}, {1, 0}, {1, 1}}},
    {"WideShallow", 2, 0, 0, 3, 1, {{0, 0}, {0, 1}, {1, 0}, {1, 1}, {2, 1}, {2, 2}}},
    {"ThinPenWidthZero", 0, 0, 0, 2, 0, {{0, 0}, {1, 0}}},
};

INSTANTIATE_TEST_SUITE_P(Lines, LinePixels, testing::ValuesIn(kLineCases),
                         [](const testing::TestParamInfo<LineCase>& info) {
                             return std::string(info.param.name);
                         });

// Lines far outside the canvas, near the limits of int, whose visible pixels are known.
struct ExtremeCase {
    const char* name;
    int penWidth;
    int x0, y0, x1, y1;
    PixelSet (*expected)(int width, int height);
};

void PrintTo(const ExtremeCase& extremeCase, std::ostream* out) { *out << extremeCase.name; }

PixelSet Diagonal(int width, int height) {
    PixelSet pixels;
    for (int i = 0; i < std::min(width, height); ++i) pixels.insert({i, i});
    return pixels;
}

PixelSet WideDiagonal(int width, int height) {
    PixelSet pixels = Diagonal(width, height);
    for (int i = 0; i + 1 < height && i < width; ++i) pixels.insert({i, i + 1});
    return pixels;
}

PixelSet Row5(int width, int) {
    PixelSet pixels;
    for (int x = 0; x < width; ++x) pixels.insert({x, 5});
    return pixels;
}

PixelSet Column7(int, int height) {
    PixelSet pixels;
    for (int y = 0; y < height; ++y) pixels.insert({7, y});
    return pixels;
}

PixelSet Nothing(int, int) { return {}; }

class ExtremeLine : public testing::TestWithParam<ExtremeCase> {};

TEST_P(ExtremeLine, IsClippedToItsVisiblePixels) {
    const ExtremeCase& c = GetParam();
    Drawing drawing(40, 30);
    drawing.usePen(c.penWidth, kRed);
    drawing.line(c.x0, c.y0, c.x1, c.y1);
    EXPECT_EQ(drawing.pixelsOtherThan(kWhite), c.expected(40, 30));
}

const ExtremeCase kExtremeCases[] = {
    {"Diagonal", 1, kIntMin, kIntMin, kIntMax, kIntMax, Diagonal},
    {"DiagonalBackwards", 1, kIntMax, kIntMax, kIntMin, kIntMin, Diagonal},
    {"WideDiagonal", 2, kIntMin, kIntMin, kIntMax, kIntMax, WideDiagonal},
    {"Row", 1, kIntMin, 5, kIntMax, 5, Row5},
    {"RowBackwards", 1, kIntMax, 5, kIntMin, 5, Row5},
    {"Column", 1, 7, kIntMax, 7, kIntMin, Column7},
    {"AboveTheCanvas", 2, kIntMin, -2, kIntMax, -2, Nothing},
    {"AlongTheLimit", 2, kIntMin, kIntMin, kIntMax, kIntMin, Nothing},
    {"PassingBeyondTheCorner", 2, -10, kIntMax, kIntMax, -10, Nothing},
    {"EndingJustBeforeTheCanvas", 1, kIntMin, 0, 0, 0, Nothing},
};

INSTANTIATE_TEST_SUITE_P(Lines, ExtremeLine, testing::ValuesIn(kExtremeCases),
                         [](const testing::TestParamInfo<ExtremeCase>& info) {
                             return std::string(info.param.name);
                         });

// A line through c from c - k d to c + k d steps exactly like the short line from c - d to
// c + d repeated, so for any k its pixels near c are those of a short line through c.
TEST(LineClipping, HugeLinesTouchTheSamePixelsAsShortOnes) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> direction(-9, 9);
    std::uniform_int_distribution<int> centre(-5, 45);
    for (int trial = 0; trial < 200; ++trial) {
        const int dx = direction(random);
        const int dy = direction(random);
        if (dx == 0 && dy == 0) continue;
        const int cx = centre(random);
        const int cy = centre(random);
        const int penWidth = 1 + trial % 2;
        const int reach = std::max(std::abs(dx), std::abs(dy));
        const int huge = (kIntMax - 64) / reach;
        const int shortReach = 100 / reach + 1;
        Drawing clipped(40, 40);
        Drawing reference(40, 40);
        clipped.usePen(penWidth, kRed);
        reference.usePen(penWidth, kRed);
        clipped.line(cx - huge * dx, cy - huge * dy, cx + huge * dx, cy + huge * dy);
        reference.line(cx - shortReach * dx, cy - shortReach * dy, cx + shortReach * dx,
                       cy + shortReach * dy);
        ASSERT_TRUE(clipped.samePixels(reference)) << "through (" << cx << ", " << cy << ") along ("
                                                   << dx << ", " << dy << ") pen " << penWidth;
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
                    << "at (" << x << ", " << y << ") of the line (" << x0 << ", " << y0 << ") to ("
                    << x1 << ", " << y1 << ") pen " << penWidth;
            }
        }
        SetROP2(whole.dc, R2_WHITE);  // wipe the line for the next one
        whole.line(kOffset + x0, kOffset + y0, kOffset + x1, kOffset + y1);
        SetROP2(whole.dc, R2_COPYPEN);
    }
}

TEST(LineTo, EachLineStartsWhereTheLastEnded) {
    Drawing polyline(20, 20);
    MoveToEx(polyline.dc, 2, 2, nullptr);
    LineTo(polyline.dc, 10, 2);
    LineTo(polyline.dc, 10, 9);
    Drawing separate(20, 20);
    separate.line(2, 2, 10, 2);
    separate.line(10, 2, 10, 9);
    EXPECT_TRUE(polyline.samePixels(separate));
    EXPECT_EQ(polyline.pixelsOtherThan(kWhite).size(), 15u);
}

}  // namespace
