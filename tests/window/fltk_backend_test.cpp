// The desktop backend's own logic. What the display shows: only the pixels that changed since
// they were sent are sent again, as the tight box of the changes in each tile. FLTK keys as the
// virtual-key codes Windows gives them; Alt combinations and F10 are system keys.
#include <FL/Enumerations.H>
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <set>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/fltk/shown_pixels.h"
#include "platform/fltk/virtual_keys.h"

namespace {

using platform::fltk::ShownPixels;
using surface::PixelRect;
using Rects = std::vector<std::vector<int>>;  // left, top, right, bottom

constexpr int kTile = ShownPixels::kTileSize;

Rects Sides(const std::vector<PixelRect>& rects) {
    Rects sides;
    for (const PixelRect& r : rects) sides.push_back({r.left, r.top, r.right, r.bottom});
    return sides;
}

// The tight box of the given pixels in each tile, tiles in rows from top to bottom.
Rects TileBoxes(const std::set<std::pair<int, int>>& pixels) {
    std::map<std::pair<int, int>, std::vector<int>> boxes;  // by tile row, then column
    for (auto [x, y] : pixels) {
        auto [box, added] =
            boxes.try_emplace({y / kTile, x / kTile}, std::vector{x, y, x + 1, y + 1});
        if (added) continue;
        box->second = {std::min(box->second[0], x), std::min(box->second[1], y),
                       std::max(box->second[2], x + 1), std::max(box->second[3], y + 1)};
    }
    Rects sorted;
    for (const auto& [tile, box] : boxes) sorted.push_back(box);
    return sorted;
}

// After a resize everything is sent once; then random pixels changed (twice is unchanged: the
// display already shows that colour) are sent tile by tile.
TEST(ShownPixels, SendsTheTightBoxOfTheChangesInEachTile) {
    surface::Canvas canvas(200, 150);
    ShownPixels shown;
    shown.resize(200, 150);
    std::set<std::pair<int, int>> changed;
    for (int y = 0; y < 150; ++y) {
        for (int x = 0; x < 200; ++x) changed.insert({x, y});
    }
    std::mt19937 random(7);
    for (int round = 0; round < 20; ++round) {
        EXPECT_EQ(Sides(shown.takeDifferences(canvas, {0, 0, 200, 150})), TileBoxes(changed));
        changed.clear();
        for (int i = 0; i < 40; ++i) {
            const std::pair<int, int> pixel{static_cast<int>(random() % 200),
                                            static_cast<int>(random() % 150)};
            canvas.row(pixel.second)[pixel.first] ^= 0x00FFFFFF;
            if (!changed.insert(pixel).second) changed.erase(pixel);
        }
        canvas.row(10)[10] ^= 0x00FFFFFF;  // drawn and restored before it was shown
        canvas.row(10)[10] ^= 0x00FFFFFF;
    }
}

// Only the area given is compared, and the rest waits for a later call; an area recorded as sent
// in full is not sent again.
TEST(ShownPixels, ComparesOnlyTheAreaGivenAndTakesARecordedAreaAsShown) {
    surface::Canvas canvas(64, 64);
    ShownPixels shown;
    shown.resize(64, 64);
    shown.record(canvas, {0, 0, 64, 64});
    for (int at : {3, 20, 50}) canvas.row(at)[at] = RGB(255, 0, 0);
    EXPECT_EQ(Sides(shown.takeDifferences(canvas, {0, 0, 10, 10})), (Rects{{3, 3, 4, 4}}));
    shown.record(canvas, {0, 0, 32, 32});
    EXPECT_EQ(Sides(shown.takeDifferences(canvas, {0, 0, 64, 64})), (Rects{{50, 50, 51, 51}}));
}

// Areas beyond either buffer, and a canvas of another size than the display (between a resize
// and the display catching up), are clipped to what both have.
TEST(ShownPixels, AreasAndSizesAreClippedToBothBuffers) {
    const struct {
        int canvasWidth, canvasHeight, shownWidth, shownHeight;
        PixelRect area;
    } cases[] = {
        {50, 40, 50, 40, {-100, -100, 1000, 1000}}, {80, 60, 50, 40, {0, 0, 80, 60}},
        {50, 40, 80, 60, {0, 0, 80, 60}},           {50, 40, 50, 40, {60, 0, 90, 40}},
        {50, 40, 50, 40, {10, 10, 10, 30}},
    };
    for (const auto& c : cases) {
        surface::Canvas canvas(c.canvasWidth, c.canvasHeight, RGB(255, 0, 0));
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

using platform::fltk::VirtualKeyFromFltk;

TEST(VirtualKeys, KeysMapAsWindowsNumbersThemOrToZero) {
    const std::tuple<int, bool, int> cases[] = {
        {FL_Enter, false, 0x0D},    {FL_KP_Enter, true, 0x0D},   {FL_F + 1, false, 0x70},
        {FL_F + 24, false, 0x87},   {FL_Escape, false, 0x1B},    {FL_BackSpace, false, 0x08},
        {FL_Tab, false, 0x09},      {' ', false, 0x20},          {'a', false, 'A'},
        {'z', false, 'Z'},          {'0', false, '0'},           {'9', false, '9'},
        {FL_Left, false, 0x25},     {FL_Page_Down, false, 0x22}, {FL_Delete, false, 0x2E},
        {FL_Shift_R, false, 0x10},  {FL_Control_R, false, 0x11}, {FL_Alt_L, false, 0x12},
        {FL_Meta_L, false, 0x5B},   {';', false, 0xBA},          {'\'', false, 0xDE},
        {FL_KP + '0', true, 0x60},  {FL_KP + '9', true, 0x69},   {FL_KP + '7', false, 0x24},
        {FL_KP + '5', false, 0x0C}, {FL_KP + '.', true, 0x6E},   {FL_KP + '.', false, 0x2E},
        {FL_KP + '*', false, 0x6A}, {FL_Volume_Up, false, 0xAF}, {FL_Print, false, 0x2C},
    };
    for (const auto& [fltkKey, numLock, virtualKey] : cases) {
        EXPECT_EQ(VirtualKeyFromFltk(fltkKey, numLock), virtualKey)
            << "FLTK key 0x" << std::hex << fltkKey << (numLock ? " with" : " without")
            << " Num Lock";
    }
    // Keys Windows has no code for; 0xE9 is e acute.
    for (int key : {0, int{'A'}, 0xE9, FL_F + 25, FL_Button + 1, FL_KP + '='}) {
        EXPECT_EQ(VirtualKeyFromFltk(key, true), 0) << "FLTK key 0x" << std::hex << key;
    }
}

TEST(VirtualKeys, AltCombinationsAndF10AreSystemKeysNotKeyDown) {
    // Virtual key, Alt held, a plain WM_KEYDOWN; 0x79 is F10.
    const std::tuple<int, bool, bool> cases[] = {
        {0x0D, false, true}, {0x70, false, true}, {'A', false, true},   {0x10, false, true},
        {0x0D, true, false}, {0x70, true, false}, {0x12, false, false}, {0x79, false, false},
    };
    for (const auto& [key, alt, plain] : cases) {
        EXPECT_EQ(platform::fltk::IsPlainKeyDown(key, alt), plain)
            << "key 0x" << std::hex << key << (alt ? " with Alt" : "");
    }
}

}  // namespace
