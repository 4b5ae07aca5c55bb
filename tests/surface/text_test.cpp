// Text in the system font: black ink on an opaque white cell or on the untouched background,
// right alignment, clipping, and no raster operation.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "surface/font.h"
#include "tests/surface/drawing.h"

namespace {

using namespace surface_test;

constexpr const char* kText = "Ratio = 2.00 Wgjy";

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
    EXPECT_EQ(ink.size() + opaque.pixels(kWhite).size(), cell.size());

    Drawing transparent(200, 40, kRed);
    EXPECT_EQ(SetBkMode(transparent.dc, TRANSPARENT), OPAQUE);
    Write(transparent, 10, 5, kText);
    EXPECT_EQ(transparent.changed(kRed), ink);
    EXPECT_EQ(transparent.pixels(kBlack), ink);
}

TEST(TextOut, RightAlignedTextEndsAtX) {
    Drawing right(200, 40, kRed);
    SetTextAlign(right.dc, TA_RIGHT);
    Write(right, 150, 5, kText);
    Drawing left(200, 40, kRed);
    Write(left, 150 - Width(kText), 5, kText);
    EXPECT_TRUE(right.samePixels(left));
    EXPECT_EQ(right.canvas.pixel(149, 5), kWhite);
    EXPECT_EQ(right.canvas.pixel(150, 5), kRed);
}

TEST(TextOut, IgnoresTheRasterOperation) {
    Drawing copy(200, 40, kRed);
    Write(copy, 3, 3, kText);
    for (int mode : {R2_NOTXORPEN, R2_BLACK, 11}) {
        Drawing other(200, 40, kRed);
        SetROP2(other.dc, mode);
        Write(other, 3, 3, kText);
        EXPECT_TRUE(other.samePixels(copy)) << "mode " << mode;
    }
}

TEST(TextOut, ClipsAtEveryEdgeAndAnyCoordinate) {
    Drawing whole(400, 100);
    Write(whole, 100, 40, kText);
    for (auto [x, y] : {std::pair{-20, -7}, {170, 50}, {-5, 52}}) {
        Drawing clipped(200, 60);
        Write(clipped, x, y, kText);
        for (auto [px, py] : clipped.changed()) {
            EXPECT_EQ(clipped.canvas.pixel(px, py), whole.canvas.pixel(px + 100 - x, py + 40 - y));
        }
        EXPECT_FALSE(clipped.pixels(kBlack).empty());
    }
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

TEST(Font, IsProportionalWithinItsLineHeight) {
    EXPECT_GT(Width("W"), Width("i"));
    EXPECT_EQ(Width("ab"), Width("a") + Width("b"));
    EXPECT_EQ(Width("\x01\xe9"), Width("??"));  // shown as question marks
    char all[96] = {};
    for (int c = 32; c < 127; ++c) all[c - 32] = static_cast<char>(c);
    Drawing drawing(Width(all) + 20, 40);
    Write(drawing, 10, 12, all);
    int top = 1000, bottom = -1;
    for (auto [x, y] : drawing.pixels(kBlack)) {
        top = std::min(top, y);
        bottom = std::max(bottom, y);
    }
    EXPECT_GE(top, 12);
    EXPECT_LT(bottom, 12 + surface::kFontHeight);
    EXPECT_GE(bottom, 12 + surface::kFontAscent);  // descenders reach below the baseline
}

}  // namespace
