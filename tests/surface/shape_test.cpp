// Ellipses and arcs through pixels: inside their box (right and bottom excluded), symmetric,
// outlined and filled, arcs counter-clockwise, huge boxes safe. Text in the system font: black
// ink on an opaque white cell or on the untouched background, right alignment, clipping, and no
// raster operation.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "surface/text.h"
#include "tests/surface/drawing.h"

namespace {

using namespace surface_test;

struct Box {
    int left, top, right, bottom;
};

// Pixels by kind after an ellipse with a red pen on black: outline red, interior white.
struct EllipsePixels {
    PixelSet outline, interior;
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

TEST(Ellipse, FillsItsBoxSymmetricallyInsideAClosedOutlineAsWideAsThePen) {
    const Box boxes[] = {{5, 5, 45, 45}, {3, 10, 60, 30}, {20, 2, 31, 47}, {10, 10, 13, 12},
                         {8, 8, 9, 9},   {2, 3, 62, 46},  {40, 40, 4, 6}};
    for (const Box& box : boxes) {
        for (int penWidth : {1, 2}) {
            SCOPED_TRACE(::testing::Message()
                         << "box " << box.left << "," << box.top << " pen " << penWidth);
            const EllipsePixels pixels = DrawEllipse(box, penWidth);
            PixelSet all = pixels.outline;
            all.insert(pixels.interior.begin(), pixels.interior.end());
            const int left = std::min(box.left, box.right), right = std::max(box.left, box.right);
            const int top = std::min(box.top, box.bottom), bottom = std::max(box.top, box.bottom);
            EXPECT_EQ(Bounds(all), std::vector({left, top, right, bottom}));
            for (auto [x, y] : all) {
                EXPECT_TRUE(all.count({left + right - 1 - x, y}) &&
                            all.count({x, top + bottom - 1 - y}))
                    << "not symmetric at " << x << "," << y;
            }
            // The interior never touches the outside: the outline closes around it.
            for (auto [x, y] : pixels.interior) {
                for (auto [nx, ny] : {std::pair{x - 1, y}, {x + 1, y}, {x, y - 1}, {x, y + 1}}) {
                    EXPECT_TRUE(all.count({nx, ny}));
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
    for (const Box& flat : {Box{10, 10, 10, 30}, Box{10, 10, 30, 10}, Box{5, 5, 5, 5}}) {
        EXPECT_TRUE(DrawEllipse(flat, 2).outline.empty());
    }
}

TEST(Ellipse, HugeBoxesWorkOnlyOnTheVisiblePart) {
    Drawing drawing(64, 48);
    PaintPattern(drawing.canvas);
    Ellipse(drawing.dc, kIntMin, kIntMin, kIntMax, kIntMax);  // the canvas lies inside it
    EXPECT_TRUE(drawing.changed().empty());
    // The top of a vast ellipse runs along row 10, flat as far as the canvas reaches.
    Drawing top(64, 48);
    Ellipse(top.dc, kIntMin, 10, kIntMax, kIntMax);
    EXPECT_EQ(top.changed().size(), 64u);
    EXPECT_EQ(top.pixels(kBlack).size(), 64u);
}

// Arc pixels are the ellipse's outline pixels swept counter-clockwise on screen: from the far
// right to the far left the upper half, back the lower one, as the sine of the signal source.
TEST(Arc, HalvesMakeTheWholeOutline) {
    const Box boxes[] = {{5, 5, 45, 45}, {3, 10, 60, 30}, {20, 2, 31, 47}, {15, 18, 30, 42}};
    for (const Box& box : boxes) {
        for (int penWidth : {1, 2}) {
            const int middle = (box.top + box.bottom) / 2;
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

// With descenders, and a character beyond printable ASCII, drawn as a question mark.
constexpr const char* kText = "Ratio = 2.00 Wgjy\xe9";

int Width(const char* text) {
    return surface::TextWidth(text, static_cast<int>(std::strlen(text)));
}

void Write(Drawing& drawing, int x, int y, const char* text) {
    TextOutA(drawing.dc, x, y, text, static_cast<int>(std::strlen(text)));
}

TEST(TextOut, OpaqueFillsTheCellWhiteUnderTheInkTransparentSetsOnlyTheInk) {
    Drawing opaque(200, 40, kRed);
    Write(opaque, 10, 5, kText);
    PixelSet cell;
    for (int y = 5; y < 5 + surface::kFontHeight; ++y) {
        for (int x = 10; x < 10 + Width(kText); ++x) cell.insert({x, y});
    }
    EXPECT_EQ(opaque.changed(kRed), cell);
    const PixelSet ink = opaque.pixels(kBlack);
    EXPECT_GT(ink.size(), 100u);
    EXPECT_GT(Bounds(ink)[3], 5 + surface::kFontAscent) << "descenders below the baseline";
    EXPECT_GT(Width("W"), Width("i")) << "proportional";
    EXPECT_EQ(Width("\x01\xe9"), Width("??"));
    EXPECT_EQ(ink.size() + opaque.pixels(kWhite).size(), cell.size());

    Drawing transparent(200, 40, kRed);
    EXPECT_EQ(SetBkMode(transparent.dc, TRANSPARENT), OPAQUE);
    Write(transparent, 10, 5, kText);
    EXPECT_EQ(transparent.changed(kRed), ink);
    EXPECT_EQ(transparent.pixels(kBlack), ink);

    for (int mode : {R2_NOTXORPEN, R2_BLACK, 11}) {
        Drawing other(200, 40, kRed);
        SetROP2(other.dc, mode);
        Write(other, 10, 5, kText);
        EXPECT_TRUE(other == opaque) << "raster operation " << mode;
    }
}

TEST(TextOut, RightAlignedTextEndsAtX) {
    Drawing right(200, 40, kRed), left(200, 40, kRed);
    SetTextAlign(right.dc, TA_RIGHT);
    Write(right, 150, 5, kText);
    Write(left, 150 - Width(kText), 5, kText);
    EXPECT_TRUE(right == left);
    EXPECT_EQ(right.canvas.pixel(149, 5), kWhite);
    EXPECT_EQ(right.canvas.pixel(150, 5), kRed);
}

// Every pixel of a clipped drawing is compared with the whole drawing, so that ink cut short
// fails as well as ink out of place; the text is put at every column where it reaches the first
// or the last column of the canvas.
TEST(TextOut, ClipsAtEveryEdgeAndAnyCoordinate) {
    constexpr int kWidth = 200, kHeight = 60;
    // Every pixel of the clipped canvases below has its place here.
    Drawing whole(3 * kWidth, 3 * kHeight);
    Write(whole, kWidth, kHeight, kText);
    std::vector<std::pair<int, int>> places{{170, 50}};
    for (int x = 1 - Width(kText); x <= 0; ++x) places.push_back({x, -7});
    for (int x = kWidth - Width(kText); x < kWidth; ++x) places.push_back({x, kHeight - 8});
    bool inkInFirstColumn = false, inkInLastColumn = false;
    for (auto [x, y] : places) {
        Drawing clipped(kWidth, kHeight);
        Write(clipped, x, y, kText);
        int wrong = 0;
        for (int py = 0; py < kHeight; ++py) {
            for (int px = 0; px < kWidth; ++px) {
                const COLORREF pixel = clipped.canvas.pixel(px, py);
                wrong += pixel != whole.canvas.pixel(px + kWidth - x, py + kHeight - y);
                inkInFirstColumn |= px == 0 && pixel == kBlack;
                inkInLastColumn |= px == kWidth - 1 && pixel == kBlack;
            }
        }
        EXPECT_EQ(wrong, 0) << "text at " << x << "," << y;
    }
    EXPECT_TRUE(inkInFirstColumn && inkInLastColumn);
    Drawing far(40, 20);
    for (auto [x, y] : {std::pair{kIntMin, 0}, {kIntMax, 0}, {0, kIntMax}, {0, kIntMin}}) {
        Write(far, x, y, kText);
        SetTextAlign(far.dc, TA_RIGHT);
        Write(far, x, y, kText);
        SetTextAlign(far.dc, TA_LEFT);
    }
    EXPECT_TRUE(far.changed().empty());
    EXPECT_FALSE(TextOutA(far.dc, 0, 0, "abc", -1));
    EXPECT_FALSE(TextOutA(far.dc, 0, 0, nullptr, 3));
}

}  // namespace
