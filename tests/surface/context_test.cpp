// The canvas and its changed area, the state a device context keeps (defaults, pens), and the
// recording context's one exact line per drawing call.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "surface/device_context.h"
#include "surface/recorder.h"
#include "tests/surface/drawing.h"

namespace {

using namespace surface_test;

using surface::ChangedTiles;
using surface::PixelRect;
constexpr int kTileW = ChangedTiles::kTileWidth, kTileH = ChangedTiles::kTileHeight;

std::vector<std::vector<int>> Areas(const ChangedTiles& changes) {
    std::vector<std::vector<int>> areas;
    changes.forEachArea([&areas](const PixelRect& r) {
        areas.push_back({r.left, r.top, r.right, r.bottom});
    });
    return areas;
}

// (column, row) of every changed tile.
PixelSet TilesOf(const ChangedTiles& changes) {
    PixelSet tiles;
    changes.forEachArea([&tiles](const PixelRect& r) {
        for (int x = r.left; x < r.right; x += kTileW) tiles.insert({x / kTileW, r.top / kTileH});
    });
    return tiles;
}

PixelSet TilesHolding(const PixelSet& pixels) {
    PixelSet tiles;
    for (auto [x, y] : pixels) tiles.insert({x / kTileW, y / kTileH});
    return tiles;
}

TEST(Canvas, ResizeKeepsWhatRemainsChangesEveryTileAndRefusesNegativeSizes) {
    surface::Canvas canvas(3, 2, RGB(1, 2, 3));
    canvas.row(1)[2] = 77;
    canvas.clearChanges();
    canvas.resize(4, 3, 9);
    EXPECT_EQ(std::vector(
                  {canvas.pixel(2, 1), canvas.pixel(0, 0), canvas.pixel(3, 0), canvas.pixel(0, 2)}),
              std::vector<COLORREF>({77, RGB(1, 2, 3), 9, 9}));
    EXPECT_EQ(Areas(canvas.changes()), (std::vector<std::vector<int>>{{0, 0, 4, 3}}));
    canvas.clearChanges();
    EXPECT_TRUE(canvas.changes().empty());
    EXPECT_THROW(canvas.resize(5, -2), std::invalid_argument);
    EXPECT_THROW(surface::Canvas(-1, 5), std::invalid_argument);
}

// Marked areas become runs of whole tiles along each row of tiles, cut to the canvas; the last
// canvas is wider than one 64-bit word of tiles.
TEST(ChangedTiles, MarkedAreasComeBackAsRunsOfTilesCutToTheCanvas) {
    const int w = kTileW, h = kTileH;
    const int wide = 70 * w + 5;
    const struct {
        int width, height;
        std::vector<PixelRect> marked;
        std::vector<std::vector<int>> areas;
    } cases[] = {
        {7 * w - 3, 2 * h + 4, {}, {}},
        {7 * w - 3, 2 * h + 4, {{5, 5, 6, 6}, {5, 5, 5, 9}}, {{0, 0, w, h}}},
        {7 * w - 3, 2 * h + 4, {{w - 1, 0, w + 1, 1}}, {{0, 0, 2 * w, h}}},
        {7 * w - 3,
         2 * h + 4,
         {{-50, -50, 9999, 9999}},
         {{0, 0, 7 * w - 3, h}, {0, h, 7 * w - 3, 2 * h}, {0, 2 * h, 7 * w - 3, 2 * h + 4}}},
        {7 * w - 3,
         2 * h + 4,
         {{7 * w - 4, 2 * h + 3, 7 * w, 2 * h + 9}, {0, 0, 1, 1}, {3 * w, 0, 4 * w + 1, 1}},
         {{0, 0, w, h}, {3 * w, 0, 5 * w, h}, {6 * w, 2 * h, 7 * w - 3, 2 * h + 4}}},
        {wide, h, {{62 * w + 3, 0, 66 * w, 1}}, {{62 * w, 0, 66 * w, h}}},
        {wide, h, {{0, 0, wide, 1}}, {{0, 0, wide, h}}},
        {wide,
         h,
         {{wide - 1, 0, wide, 1}, {63 * w, 0, 64 * w, 1}},
         {{63 * w, 0, 64 * w, h}, {70 * w, 0, wide, h}}},
    };
    for (const auto& c : cases) {
        ChangedTiles changes;
        changes.resize(c.width, c.height);
        changes.clear();
        for (const PixelRect& area : c.marked) changes.mark(area);
        EXPECT_EQ(Areas(changes), c.areas);
        EXPECT_EQ(changes.empty(), c.areas.empty());
        // Here the first and last runs reach furthest left and right.
        const PixelRect b = changes.bounds();
        const std::vector<int> expected = c.areas.empty()
                                              ? std::vector<int>{}
                                              : std::vector{c.areas.front()[0], c.areas.front()[1],
                                                            c.areas.back()[2], c.areas.back()[3]};
        EXPECT_EQ((b.empty() ? std::vector<int>{} : std::vector{b.left, b.top, b.right, b.bottom}),
                  expected);
    }
}

// Drawn in colour on red, every pixel written changes. A drawing call marks every tile it
// changed, and no tile outside the box of what it changed; a line marks exactly its tiles, also
// where a tile holds only one of its steps (at the line's start or end, whole or clipped).
TEST(Canvas, EachDrawingCallMarksTheTilesItChanged) {
    auto line = [](int x0, int y0, int x1, int y1) {
        return [=](HDC dc) {
            MoveToEx(dc, x0, y0, nullptr);
            LineTo(dc, x1, y1);
        };
    };
    const struct {
        std::function<void(HDC)> call;
        bool exact;
    } cases[] = {
        {line(15, 20, 100, 31), true},
        {line(112, 60, 20, 75), true},
        {line(40, 47, 52, 140), true},
        {line(3, 100, 33, 104), true},
        {line(kIntMin, 140, 17, 120), true},
        {[](HDC dc) { LineTo(dc, 170, 30); }, true},
        {[](HDC dc) { LineTo(dc, 30, 130); }, true},
        {[](HDC dc) {
             MoveToEx(dc, kIntMin, 40, nullptr);
             LineTo(dc, 130, 95);
         },
         true},
        {[](HDC dc) {
             MoveToEx(dc, 150, 5, nullptr);
             LineTo(dc, 60, 140);
         },
         true},
        {[](HDC dc) { Ellipse(dc, 20, 10, 60, 35); }, false},
        {[](HDC dc) { Arc(dc, 20, 10, 120, 75, 120, 42, 70, 75); }, false},
        {[](HDC dc) { SetPixel(dc, 179, 149, 0); }, true},
        {[](HDC dc) { TextOutA(dc, 5, 40, "Z 7", 3); }, false},
        {[](HDC dc) {
             SetBkMode(dc, TRANSPARENT);
             TextOutA(dc, -3, -4, "Wave", 4);
         },
         false},
    };
    for (const auto& c : cases) {
        Drawing drawing(180, 150, kRed);
        drawing.usePen(2, kOlive);
        drawing.canvas.clearChanges();
        c.call(drawing.dc);
        const PixelSet changed = drawing.changed(kRed);
        const PixelSet tiles = TilesOf(drawing.canvas.changes());
        const PixelSet holding = TilesHolding(changed);
        EXPECT_TRUE(std::includes(tiles.begin(), tiles.end(), holding.begin(), holding.end()));
        if (c.exact) {
            EXPECT_EQ(tiles, holding);
        }
        const std::vector<int> box = Bounds(changed);
        for (auto [column, row] : tiles) {
            EXPECT_TRUE(column >= box[0] / kTileW && column <= (box[2] - 1) / kTileW &&
                        row >= box[1] / kTileH && row <= (box[3] - 1) / kTileH);
        }
    }
}

// A context clipped to an area writes there exactly what an unclipped one writes, and nothing
// elsewhere, whatever the call and wherever the area lies.
TEST(DeviceContext, AClippedContextWritesOnlyWithinItsArea) {
    auto line = [](int x0, int y0, int x1, int y1) {
        return [=](HDC dc) {
            MoveToEx(dc, x0, y0, nullptr);
            LineTo(dc, x1, y1);
        };
    };
    const std::function<void(HDC)> calls[] = {
        line(15, 20, 170, 31),
        line(112, 140, 20, 5),
        line(40, 0, 52, 149),
        line(kIntMin, 140, kIntMax, 10),
        line(100, 25, 100, 120),
        [](HDC dc) { Ellipse(dc, 20, 10, 160, 135); },
        [](HDC dc) { Arc(dc, 20, 10, 120, 75, 120, 42, 70, 75); },
        [](HDC dc) {
            for (int x = 0; x < 180; x += 7) SetPixel(dc, x, x * 5 / 6, RGB(1, 2, 3));
        },
        [](HDC dc) { TextOutA(dc, 25, 80, "Wave and Z 7", 12); },
        [](HDC dc) {
            SetBkMode(dc, TRANSPARENT);
            SetTextAlign(dc, TA_RIGHT);
            TextOutA(dc, 120, 15, "Gamma", 5);
        },
    };
    const PixelRect areas[] = {{30, 20, 110, 90},    {0, 0, 180, 150}, {-50, -50, 60, 40},
                               {170, 140, 400, 400}, {50, 50, 50, 80}, {101, 0, 102, 150},
                               {0, 84, 180, 85}};
    for (const int rop2 : {R2_COPYPEN, R2_NOTXORPEN}) {
        for (std::size_t c = 0; c < std::size(calls); ++c) {
            for (const PixelRect& area : areas) {
                SCOPED_TRACE(testing::Message()
                             << "rop2 " << rop2 << ", call " << c << ", area " << area.left << " "
                             << area.top << " " << area.right << " " << area.bottom);
                Drawing whole(180, 150), clipped(180, 150), untouched(180, 150);
                for (Drawing* drawing : {&whole, &clipped, &untouched}) {
                    PaintPattern(drawing->canvas);
                    drawing->usePen(2, kOlive);
                    SetROP2(drawing->dc, rop2);
                }
                surface::ClipCanvasDC(clipped.dc, area);
                calls[c](whole.dc);
                calls[c](clipped.dc);
                int wrong = 0;
                for (int y = 0; y < 150; ++y) {
                    for (int x = 0; x < 180; ++x) {
                        const bool inside =
                            x >= area.left && x < area.right && y >= area.top && y < area.bottom;
                        const Drawing& expected = inside ? whole : untouched;
                        wrong += clipped.canvas.pixel(x, y) != expected.canvas.pixel(x, y);
                    }
                }
                EXPECT_EQ(wrong, 0);
            }
        }
    }
}

// Each context starts with the defaults, whatever the one before it changed; bad modes are
// refused and change nothing.
TEST(DeviceContext, StartsWithTheDefaultsEveryTimeAndRefusesBadModes) {
    for (int round = 0; round < 2; ++round) {
        HDC dc = surface::CreateCanvasDC(nullptr);
        POINT position{7, 7};
        MoveToEx(dc, kIntMin, kIntMax, &position);
        EXPECT_EQ(std::vector({position.x, position.y, SetROP2(dc, R2_NOTXORPEN),
                               SetBkMode(dc, TRANSPARENT), int(SetTextAlign(dc, TA_RIGHT)),
                               SetROP2(dc, 17), SetBkMode(dc, 3), SetROP2(dc, R2_COPYPEN)}),
                  std::vector({0, 0, R2_COPYPEN, OPAQUE, TA_LEFT | TA_TOP, 0, 0, R2_NOTXORPEN}));
        EXPECT_EQ(SelectObject(dc, GetStockObject(WHITE_BRUSH)), GetStockObject(WHITE_BRUSH));
        EXPECT_EQ(SelectObject(dc, nullptr), nullptr);
        EXPECT_EQ(GetStockObject(12345), nullptr);
        surface::ReleaseCanvasDC(dc);
    }
}

TEST(DeviceContext, CallsOnUnknownOrReleasedContextsFailQuietly) {
    HDC released = surface::CreateCanvasDC(nullptr);
    surface::ReleaseCanvasDC(released);
    int notAContext = 0;
    for (HDC dc : {HDC{}, released, reinterpret_cast<HDC>(&notAContext)}) {
        POINT point{};
        EXPECT_FALSE(MoveToEx(dc, 1, 1, nullptr) || LineTo(dc, 1, 1) ||
                     GetCurrentPositionEx(dc, &point) || SetROP2(dc, R2_COPYPEN) ||
                     SelectObject(dc, GetStockObject(BLACK_PEN)) || TextOutA(dc, 0, 0, "x", 1) ||
                     SetBkMode(dc, OPAQUE) || Ellipse(dc, 0, 0, 4, 4) ||
                     Arc(dc, 0, 0, 4, 4, 0, 0, 0, 0));
        EXPECT_EQ(SetPixel(dc, 0, 0, 0) & SetTextAlign(dc, TA_LEFT), 0xFFFFFFFFu);
        surface::ReleaseCanvasDC(dc);
    }
}

// Running out gives null, never memory beyond the pools; only solid pens are made.
TEST(DeviceContext, ContextsAndPensComeFromFixedPools) {
    std::vector<HDC> contexts(100);
    std::vector<HPEN> pens(100);
    for (HDC& dc : contexts) dc = surface::CreateCanvasDC(nullptr);
    for (HPEN& pen : pens) pen = CreatePen(PS_SOLID, 1, 0);
    EXPECT_TRUE(contexts[0] != nullptr && contexts.back() == nullptr);
    EXPECT_TRUE(pens[0] != nullptr && pens.back() == nullptr && !CreatePen(1, 1, 0));
    for (HDC dc : contexts) surface::ReleaseCanvasDC(dc);
    for (HPEN pen : pens) DeleteObject(pen);
}

// A pen still selected is not deleted, so the leak shows; stock objects are never deleted.
TEST(Pens, SelectReturnsTheReplacedObjectAndDeleteEndsThePen) {
    const int before = surface::LivePenCount();
    HDC dc = surface::CreateCanvasDC(nullptr);
    HPEN pen = CreatePen(PS_SOLID, 2, kRed);
    EXPECT_EQ(surface::LivePenCount(), before + 1);
    EXPECT_EQ(SelectObject(dc, pen), GetStockObject(BLACK_PEN));
    EXPECT_FALSE(DeleteObject(pen));
    EXPECT_EQ(SelectObject(dc, GetStockObject(BLACK_PEN)), static_cast<HGDIOBJ>(pen));
    EXPECT_TRUE(DeleteObject(pen));
    EXPECT_EQ(surface::LivePenCount(), before);
    int notAnObject = 0;
    EXPECT_FALSE(DeleteObject(pen) || DeleteObject(&notAnObject) || SelectObject(dc, pen));
    EXPECT_TRUE(DeleteObject(GetStockObject(BLACK_PEN)));
    EXPECT_EQ(SelectObject(dc, GetStockObject(BLACK_PEN)), GetStockObject(BLACK_PEN));
    surface::ReleaseCanvasDC(dc);
}

TEST(Recorder, WritesOneLinePerCall) {
    const struct {
        const char* name;
        std::function<void(HDC)> calls;
        const char* expected;
    } cases[] = {
        {"lines and modes; reading the position writes nothing",
         [](HDC dc) {
             SetTextAlign(dc, TA_RIGHT);
             MoveToEx(dc, -3, 4, nullptr);
             LineTo(dc, 2147483647, -2147483647 - 1);
             POINT p;
             GetCurrentPositionEx(dc, &p);
         },
         "SetTextAlign 2\nMoveToEx -3 4\nLineTo 2147483647 -2147483648\n"},
        {"pens named in creation order",
         [](HDC dc) {
             HPEN olive = CreatePen(PS_SOLID, 2, RGB(100, 100, 0));
             HGDIOBJ old = SelectObject(dc, olive);
             HPEN red = CreatePen(PS_SOLID, 2, RGB(200, 0, 0));
             SelectObject(dc, red);
             DeleteObject(olive);
             SelectObject(dc, old);
             DeleteObject(red);
             HPEN again = CreatePen(PS_SOLID, 1, 0);  // reuses a freed slot, yet is a new pen
             SelectObject(dc, again);
             SelectObject(dc, GetStockObject(BLACK_PEN));
             DeleteObject(again);
         },
         "CreatePen 0 2 25700\nSelectObject pen1\nCreatePen 0 2 200\nSelectObject pen2\n"
         "DeleteObject pen1\nSelectObject BLACK_PEN\nDeleteObject pen2\nCreatePen 0 1 0\n"
         "SelectObject pen3\nSelectObject BLACK_PEN\nDeleteObject pen3\n"},
        {"stock and invalid objects",
         [](HDC dc) {
             SelectObject(dc, GetStockObject(WHITE_BRUSH));
             SelectObject(dc, nullptr);
             int notAnObject = 0;
             SelectObject(dc, &notAnObject);
             DeleteObject(&notAnObject);
         },
         "SelectObject WHITE_BRUSH\nSelectObject NULL\nSelectObject INVALID\nDeleteObject "
         "INVALID\n"},
        {"text as a JSON string",
         [](HDC dc) {
             TextOutA(dc, 0, 0, "Ratio = 2.00 and more", 12);
             TextOutA(dc, 1, 2, "say \"hi\" \\ ok", 13);
             TextOutA(dc, 3, 4, "a\tb\nc\x01\x7f\xe9", 8);
             TextOutA(dc, 5, 6, "", 0);
         },
         "TextOutA 0 0 \"Ratio = 2.00\"\nTextOutA 1 2 \"say \\\"hi\\\" \\\\ ok\"\n"
         "TextOutA 3 4 \"a\\tb\\nc\\u0001\\u007f\\u00e9\"\nTextOutA 5 6 \"\"\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const int pensBefore = surface::LivePenCount();
        std::ostringstream out;
        {
            surface::Recorder recorder(out);
            EXPECT_THROW(surface::Recorder nested(out), std::logic_error);
            HDC dc = surface::CreateCanvasDC(nullptr);
            c.calls(dc);
            surface::ReleaseCanvasDC(dc);
        }
        EXPECT_EQ(out.str(), c.expected);
        EXPECT_EQ(surface::LivePenCount(), pensBefore);
    }
}

}  // namespace
