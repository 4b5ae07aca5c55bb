// The desktop backend's own logic. What the display shows: only the pixels of the changed tiles
// that differ from what was sent are sent again, in tight boxes.
// FLTK keys as the virtual-key codes Windows gives them; Alt combinations and F10 are system keys.
#include <FL/Enumerations.H>
#include <gtest/gtest.h>

#include <algorithm>
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

Rects Sides(const std::vector<PixelRect>& rects) {
    Rects sides;
    for (const PixelRect& r : rects) sides.push_back({r.left, r.top, r.right, r.bottom});
    return sides;
}

using Pixels = std::set<std::pair<int, int>>;

bool Holds(const PixelRect& r, std::pair<int, int> pixel) {
    return pixel.first >= r.left && pixel.first < r.right && pixel.second >= r.top &&
           pixel.second < r.bottom;
}

// After a resize everything is sent once; then random pixels changed (twice is unchanged: the
// display already shows that colour) are sent in boxes that cover every changed pixel and have a
// changed pixel on each side (so tiles marked without a change send nothing).
TEST(ShownPixels, SendsTightBoxesThatCoverEveryChange) {
    surface::Canvas canvas(200, 150);
    ShownPixels shown;
    shown.resize(200, 150);
    Pixels changed;
    for (int y = 0; y < 150; ++y) {
        for (int x = 0; x < 200; ++x) changed.insert({x, y});
    }
    std::mt19937 random(7);
    for (int round = 0; round < 20; ++round) {
        const std::vector<PixelRect>& sent = shown.takeDifferences(canvas, canvas.changes());
        for (const PixelRect& r : sent) {
            const PixelRect sides[] = {{r.left, r.top, r.left + 1, r.bottom},
                                       {r.right - 1, r.top, r.right, r.bottom},
                                       {r.left, r.top, r.right, r.top + 1},
                                       {r.left, r.bottom - 1, r.right, r.bottom}};
            for (const PixelRect& side : sides) {
                EXPECT_TRUE(std::any_of(changed.begin(), changed.end(),
                                        [&](auto pixel) { return Holds(side, pixel); }));
            }
        }
        for (auto pixel : changed) {
            EXPECT_TRUE(std::any_of(sent.begin(), sent.end(),
                                    [&](const PixelRect& r) { return Holds(r, pixel); }));
        }
        canvas.clearChanges();
        changed.clear();
        for (int i = 0; i < 40; ++i) {
            const std::pair<int, int> pixel{static_cast<int>(random() % 200),
                                            static_cast<int>(random() % 150)};
            canvas.row(pixel.second)[pixel.first] ^= 0x00FFFFFF;
            canvas.markChanged({pixel.first, pixel.second, pixel.first + 1, pixel.second + 1});
            if (!changed.insert(pixel).second) changed.erase(pixel);
        }
        canvas.markChanged({100, 100, 140, 120});  // drawn and restored before it was shown
    }
}

// An area recorded as sent in full is not sent again; a canvas of another size than the display
// (between a resize and the display catching up) is compared where both have pixels.
TEST(ShownPixels, TakesARecordedAreaAsShownAndComparesOnlyWhereBothHavePixels) {
    const struct {
        int canvasWidth, canvasHeight, shownWidth, shownHeight;
        PixelRect recorded;
        Rects sent;
    } cases[] = {
        {50, 40, 50, 40, {0, 0, 50, 40}, {}},
        {50, 40, 50, 40, {0, 0, 30, 40}, {{30, 0, 50, 40}}},
        {80, 60, 50, 40, {-100, -100, 1000, 1000}, {}},
        {80, 60, 50, 40, {0, 0, 0, 0}, {{0, 0, 50, 40}}},
        {50, 40, 80, 60, {0, 0, 0, 0}, {{0, 0, 50, 40}}},
    };
    for (const auto& c : cases) {
        surface::Canvas canvas(c.canvasWidth, c.canvasHeight, RGB(255, 0, 0));
        ShownPixels shown;
        shown.resize(c.shownWidth, c.shownHeight);
        shown.record(canvas, c.recorded);
        // Joined here to the box of everything sent.
        PixelRect sent;
        for (const PixelRect& r : shown.takeDifferences(canvas, canvas.changes())) {
            sent = sent.united(r);
        }
        EXPECT_EQ(Sides(sent.empty() ? std::vector<PixelRect>{} : std::vector{sent}), c.sent);
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
