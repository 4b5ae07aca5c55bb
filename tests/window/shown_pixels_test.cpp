#include "platform/fltk/shown_pixels.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <utility>
#include <vector>

namespace {

using platform::fltk::ShownPixels;
using surface::PixelRect;
using Pixel = std::pair<int, int>;

constexpr int kTile = ShownPixels::kTileSize;
constexpr COLORREF kRed = RGB(255, 0, 0);

// A display that shows the whole canvas as it is now.
ShownPixels InSync(const surface::Canvas& canvas) {
    ShownPixels shown;
    shown.resize(canvas.width(), canvas.height());
    shown.takeDifferences(canvas, {0, 0, canvas.width(), canvas.height()});
    return shown;
}

bool Covers(const std::vector<PixelRect>& rects, Pixel pixel) {
    for (const PixelRect& rect : rects) {
        if (pixel.first >= rect.left && pixel.first < rect.right && pixel.second >= rect.top &&
            pixel.second < rect.bottom) {
            return true;
        }
    }
    return false;
}

// Every changed pixel is covered; every rectangle lies in one tile and is the tight box of the
// changed pixels in it.
void ExpectExactCover(const std::vector<PixelRect>& rects, const std::set<Pixel>& changed) {
    for (const Pixel& pixel : changed) {
        EXPECT_TRUE(Covers(rects, pixel)) << "pixel " << pixel.first << "," << pixel.second;
    }
    for (const PixelRect& rect : rects) {
        ASSERT_FALSE(rect.empty());
        EXPECT_EQ(rect.left / kTile, (rect.right - 1) / kTile);
        EXPECT_EQ(rect.top / kTile, (rect.bottom - 1) / kTile);
        int left = rect.right, top = rect.bottom, right = rect.left, bottom = rect.top;
        for (const auto& [x, y] : changed) {
            if (x < rect.left || x >= rect.right || y < rect.top || y >= rect.bottom) continue;
            left = std::min(left, x);
            top = std::min(top, y);
            right = std::max(right, x + 1);
            bottom = std::max(bottom, y + 1);
        }
        EXPECT_EQ((PixelRect{left, top, right, bottom}.left), rect.left);
        EXPECT_EQ(top, rect.top);
        EXPECT_EQ(right, rect.right);
        EXPECT_EQ(bottom, rect.bottom);
    }
}

TEST(ShownPixels, AfterResizeEveryPixelIsSentOnceThenNothing) {
    surface::Canvas canvas(100, 70);
    ShownPixels shown;
    shown.resize(100, 70);
    std::set<Pixel> all;
    for (int y = 0; y < 70; ++y) {
        for (int x = 0; x < 100; ++x) all.insert({x, y});
    }
    ExpectExactCover(shown.takeDifferences(canvas, {0, 0, 100, 70}), all);
    EXPECT_TRUE(shown.takeDifferences(canvas, {0, 0, 100, 70}).empty());
}

TEST(ShownPixels, RandomStrokesAreCoveredTightlyTileByTile) {
    surface::Canvas canvas(200, 150);
    ShownPixels shown = InSync(canvas);
    std::mt19937 random(7);
    for (int round = 0; round < 20; ++round) {
        std::set<Pixel> changed;
        for (int i = 0; i < 40; ++i) {
            const Pixel pixel{static_cast<int>(random() % 200), static_cast<int>(random() % 150)};
            canvas.row(pixel.second)[pixel.first] ^= 0x00FFFFFF;
            // Changed twice is unchanged: the display already shows that colour.
            if (!changed.insert(pixel).second) changed.erase(pixel);
        }
        ExpectExactCover(shown.takeDifferences(canvas, {0, 0, 200, 150}), changed);
    }
}

TEST(ShownPixels, PixelDrawnAndRestoredBeforeShowingIsNotSent) {
    surface::Canvas canvas(64, 64);
    ShownPixels shown = InSync(canvas);
    canvas.row(10)[10] = kRed;
    canvas.row(10)[10] = RGB(255, 255, 255);
    EXPECT_TRUE(shown.takeDifferences(canvas, {0, 0, 64, 64}).empty());
}

TEST(ShownPixels, OnlyTheGivenAreaIsComparedAndTheRestWaits) {
    surface::Canvas canvas(64, 64);
    ShownPixels shown = InSync(canvas);
    canvas.row(5)[5] = kRed;
    canvas.row(50)[50] = kRed;
    const auto first = shown.takeDifferences(canvas, {0, 0, 20, 20});
    ASSERT_EQ(first.size(), 1u);
    EXPECT_EQ(first[0].left, 5);
    EXPECT_EQ(first[0].top, 5);
    const auto second = shown.takeDifferences(canvas, {0, 0, 64, 64});
    ASSERT_EQ(second.size(), 1u);
    EXPECT_EQ(second[0].left, 50);
    EXPECT_EQ(second[0].bottom, 51);
}

TEST(ShownPixels, RecordedAreaCountsAsShown) {
    surface::Canvas canvas(64, 64);
    ShownPixels shown = InSync(canvas);
    canvas.row(3)[3] = kRed;
    canvas.row(40)[40] = kRed;
    shown.record(canvas, {0, 0, 32, 32});
    const auto differences = shown.takeDifferences(canvas, {0, 0, 64, 64});
    ASSERT_EQ(differences.size(), 1u);
    EXPECT_EQ(differences[0].left, 40);
}

// Areas beyond either buffer, and a canvas of another size than the display (between a resize
// and the display catching up), are clipped to what both have.
TEST(ShownPixels, AreasAndSizesAreClippedToBothBuffers) {
    struct Case {
        int canvasWidth, canvasHeight, shownWidth, shownHeight;
        PixelRect area;
    };
    const Case cases[] = {
        {50, 40, 50, 40, {-100, -100, 1000, 1000}}, {80, 60, 50, 40, {0, 0, 80, 60}},
        {50, 40, 80, 60, {0, 0, 80, 60}},           {50, 40, 50, 40, {60, 0, 90, 40}},
        {50, 40, 50, 40, {10, 10, 10, 30}},
    };
    for (const Case& c : cases) {
        surface::Canvas canvas(c.canvasWidth, c.canvasHeight, kRed);
        ShownPixels shown;
        shown.resize(c.shownWidth, c.shownHeight);
        const int width = std::min(c.canvasWidth, c.shownWidth);
        const int height = std::min(c.canvasHeight, c.shownHeight);
        for (const PixelRect& rect : shown.takeDifferences(canvas, c.area)) {
            EXPECT_GE(rect.left, std::max(c.area.left, 0));
            EXPECT_GE(rect.top, std::max(c.area.top, 0));
            EXPECT_LE(rect.right, std::min(c.area.right, width));
            EXPECT_LE(rect.bottom, std::min(c.area.bottom, height));
        }
        shown.record(canvas, c.area);
    }
}

}  // namespace
