// Ellipses and arcs through pixels: inside their box (right and bottom excluded), symmetric,
// outlined and filled, arcs counter-clockwise, huge boxes safe.
#include <gtest/gtest.h>

#include <algorithm>

#include "tests/surface/drawing.h"

namespace {

using namespace surface_test;

struct Box {
    int left, top, right, bottom;
};

const Box kBoxes[] = {{5, 5, 45, 45}, {3, 10, 60, 30}, {20, 2, 31, 47}, {10, 10, 13, 12},
                      {8, 8, 9, 9},   {2, 3, 62, 46},  {40, 40, 4, 6}};

// Pixels by kind after an ellipse with a red pen on black: outline red, interior white.
struct EllipsePixels {
    PixelSet outline;
    PixelSet interior;
};

EllipsePixels DrawEllipse(const Box& box, int penWidth) {
    Drawing drawing(64, 48, kBlack);
    drawing.usePen(penWidth, kRed);
    Ellipse(drawing.dc, box.left, box.top, box.right, box.bottom);
    return {drawing.pixels(kRed), drawing.pixels(kWhite)};
}

PixelSet DrawArc(const Box& box, int penWidth, int xs, int ys, int xe, int ye) {
    Drawing drawing(64, 48);
    drawing.usePen(penWidth, kRed);
    Arc(drawing.dc, box.left, box.top, box.right, box.bottom, xs, ys, xe, ye);
    return drawing.pixels(kRed);
}

TEST(Ellipse, FillsItsBoxWithoutRightAndBottomAndIsSymmetric) {
    for (const Box& box : kBoxes) {
        for (int penWidth : {1, 2}) {
            const EllipsePixels pixels = DrawEllipse(box, penWidth);
            PixelSet all = pixels.outline;
            all.insert(pixels.interior.begin(), pixels.interior.end());
            const int left = std::min(box.left, box.right), right = std::max(box.left, box.right);
            const int top = std::min(box.top, box.bottom), bottom = std::max(box.top, box.bottom);
            int minX = 1000, maxX = -1, minY = 1000, maxY = -1;
            for (auto [x, y] : all) {
                minX = std::min(minX, x), maxX = std::max(maxX, x);
                minY = std::min(minY, y), maxY = std::max(maxY, y);
                EXPECT_TRUE(all.count({left + right - 1 - x, y}) &&
                            all.count({x, top + bottom - 1 - y}))
                    << "box " << box.left << "," << box.top << " not symmetric at " << x << ","
                    << y;
            }
            EXPECT_EQ(minX, left);
            EXPECT_EQ(maxX, right - 1);
            EXPECT_EQ(minY, top);
            EXPECT_EQ(maxY, bottom - 1);
        }
    }
    for (const Box& box : {Box{10, 10, 10, 30}, Box{10, 10, 30, 10}, Box{5, 5, 5, 5}}) {
        EXPECT_TRUE(DrawEllipse(box, 2).outline.empty());
    }
}

TEST(Ellipse, OutlineIsClosedAndAsWideAsThePen) {
    for (const Box& box : kBoxes) {
        for (int penWidth : {1, 2}) {
            const EllipsePixels pixels = DrawEllipse(box, penWidth);
            // The interior never touches the outside: the outline closes around it.
            for (auto [x, y] : pixels.interior) {
                for (auto [nx, ny] : {std::pair{x - 1, y}, {x + 1, y}, {x, y - 1}, {x, y + 1}}) {
                    EXPECT_TRUE(pixels.interior.count({nx, ny}) || pixels.outline.count({nx, ny}));
                }
            }
        }
    }
    // Across the middle of a circle the outline is pen-wide on each side.
    for (int penWidth : {1, 2}) {
        const EllipsePixels circle = DrawEllipse({5, 5, 45, 45}, penWidth);
        int outlineOnRow = 0;
        for (auto [x, y] : circle.outline) outlineOnRow += y == 25;
        EXPECT_EQ(outlineOnRow, 2 * penWidth);
        EXPECT_TRUE(circle.outline.count({5, 25}) && circle.outline.count({44, 25}));
    }
}

TEST(Ellipse, HugeBoxesWorkOnlyOnTheVisiblePart) {
    Drawing drawing(64, 48);
    surface_test::PaintPattern(drawing.canvas);
    Ellipse(drawing.dc, kIntMin, kIntMin, kIntMax, kIntMax);  // the canvas lies inside it
    EXPECT_TRUE(drawing.changed().empty());
    // The top of a vast ellipse runs along row 10, flat as far as the canvas reaches.
    Drawing top(64, 48);
    Ellipse(top.dc, kIntMin, 10, kIntMax, kIntMax);
    EXPECT_EQ(top.changed().size(), 64u);
    EXPECT_EQ(top.pixels(kBlack).size(), 64u);
}

// Arc pixels are the ellipse's outline pixels swept counter-clockwise on screen.
TEST(Arc, HalvesMakeTheWholeOutline) {
    for (const Box& box : {Box{5, 5, 45, 45}, Box{3, 10, 60, 30}, Box{20, 2, 31, 47}}) {
        for (int penWidth : {1, 2}) {
            const int middle = (box.top + box.bottom) / 2;  // even heights: no row on the axis
            const PixelSet upper = DrawArc(box, penWidth, 1000, middle, -1000, middle);
            const PixelSet lower = DrawArc(box, penWidth, -1000, middle, 1000, middle);
            PixelSet both = upper;
            both.insert(lower.begin(), lower.end());
            EXPECT_EQ(both.size(), upper.size() + lower.size());
            EXPECT_EQ(both, DrawEllipse(box, penWidth).outline);
            for (auto [x, y] : upper) EXPECT_LT(y, middle);
            for (auto [x, y] : lower) EXPECT_GE(y, middle);
        }
    }
}

TEST(Arc, RunsCounterClockwiseFromStartToEnd) {
    const Box box{5, 5, 45, 45};  // centre (25, 25)
    // From east to north: the upper right quarter only.
    const PixelSet quarter = DrawArc(box, 1, 60, 25, 25, 0);
    EXPECT_FALSE(quarter.empty());
    for (auto [x, y] : quarter) EXPECT_TRUE(x >= 25 && y < 25) << x << "," << y;
    // From north to east: the other three quarters.
    const PixelSet rest = DrawArc(box, 1, 25, 0, 60, 25);
    for (auto [x, y] : rest) EXPECT_FALSE(x >= 25 && y < 25) << x << "," << y;
    // A pixel whose centre lies on the start or end ray belongs to the arc: the ray from the
    // centre (25, 25) through (X + 25, 25 - Y) passes the centre of the pixel at half-pixel
    // offset (X, Y) = (2x + 1 - 50, 50 - 2y - 1).
    for (auto [x, y] : quarter) {
        const int rayX = 2 * x + 1 - 50 + 25, rayY = 25 - (50 - 2 * y - 1);
        EXPECT_TRUE(DrawArc(box, 1, rayX, rayY, 25, 0).count({x, y}));
        EXPECT_TRUE(DrawArc(box, 1, 60, 25, rayX, rayY).count({x, y}));
    }
    // Start and end on one ray: the whole outline.
    EXPECT_EQ(DrawArc(box, 2, 40, 10, 55, -5), DrawEllipse(box, 2).outline);
}

// The sine of a signal source: a crest from right to left, then a trough from left to right.
TEST(Arc, DrawTheSineGlyph) {
    const int left = 10, top = 10;
    const PixelSet crest =
        DrawArc({left + 5, top + 8, left + 20, top + 32}, 1, 64, top + 20, 0, top + 20);
    const PixelSet trough =
        DrawArc({left + 20, top + 8, left + 35, top + 32}, 1, 0, top + 20, 64, top + 20);
    ASSERT_FALSE(crest.empty());
    ASSERT_FALSE(trough.empty());
    for (auto [x, y] : crest) EXPECT_TRUE(y >= top + 8 && y < top + 20 && x < left + 20);
    for (auto [x, y] : trough) EXPECT_TRUE(y >= top + 20 && y < top + 32 && x >= left + 20);
    EXPECT_TRUE(crest.count({left + 19, top + 19}) && trough.count({left + 20, top + 20}));
}

}  // namespace
