// The circuit picture: its calls at the default client size, the start arrow from the second
// paint on, the load caption, and the first tick erasing the arrow.
#include "circuit/circuit.h"

#include <gtest/gtest.h>

#include "surface/canvas.h"
#include "wave/frame.h"
#include "wave_test_support.h"

namespace {

// 992 x 666: source circle at (99, 499), line from (119, 428) to (744, 166).
const Trace kCircuitAt992x666 = {
    "Ellipse 99 499 139 539",
    "Arc 104 507 119 531 992 519 0 519",
    "Arc 119 507 134 531 0 519 992 519",
    "MoveToEx 119 539",  // source ground
    "LineTo 119 559",
    "LineTo 124 559",
    "LineTo 119 569",
    "LineTo 114 559",
    "LineTo 119 559",
    "MoveToEx 119 499",  // source resistor, spanning y 448 to 479
    "LineTo 119 479",
    "LineTo 124 476",
    "LineTo 114 471",
    "LineTo 124 466",
    "LineTo 114 461",
    "LineTo 124 456",
    "LineTo 114 451",
    "LineTo 119 448",
    "LineTo 119 428",
    "LineTo 744 166",  // the line
    "LineTo 744 186",
    "LineTo 739 189",
    "LineTo 749 194",
    "LineTo 739 199",
    "LineTo 749 204",
    "LineTo 739 209",
    "LineTo 749 214",
    "LineTo 744 217",  // load resistor, y 186 to 217
    "LineTo 744 237",
    "LineTo 749 237",
    "LineTo 744 247",
    "LineTo 739 237",
    "LineTo 744 237",
    "TextOutA 134 459 \"50 ohms\"",
    "TextOutA 496 333 \"50-ohm transmission line\"",
};

const Trace kStartArrowAt992x666 = {
    "SetROP2 10",     "CreatePen 0 2 25700",    "SelectObject pen1", "MoveToEx 119 428",
    "LineTo 119 378", "LineTo 124 383",         "MoveToEx 119 378",  "LineTo 114 383",
    "SetROP2 13",     "SelectObject BLACK_PEN", "DeleteObject pen1",
};

TEST(Circuit, FirstPaintDrawsNoStartArrowAndLaterPaintsDo) {
    ResetRun();
    const int pensBefore = surface::LivePenCount();
    EXPECT_EQ(Record([](HDC dc) { DrawCircuit(dc, 992, 666); }), kCircuitAt992x666);
    Trace withArrow = kCircuitAt992x666;
    withArrow.insert(withArrow.end(), kStartArrowAt992x666.begin(), kStartArrowAt992x666.end());
    for (int paint = 2; paint <= 3; ++paint) {
        EXPECT_EQ(Record([](HDC dc) { DrawCircuit(dc, 992, 666); }), withArrow)
            << "paint " << paint;
    }
    EXPECT_EQ(surface::LivePenCount(), pensBefore);
}

struct Caption {
    double loadOhms;
    const char* call;
};

class LoadCaption : public testing::TestWithParam<Caption> {};

TEST_P(LoadCaption, OneDecimalBesideTheLoad) {
    const Caption caption = GetParam();
    EXPECT_EQ(Record([&](HDC dc) { DrawLoadCaption(dc, 992, 666, caption.loadOhms); }),
              Trace{caption.call});
}

INSTANTIATE_TEST_SUITE_P(Loads, LoadCaption,
                         testing::Values(Caption{50, "TextOutA 764 196 \"50.0 ohms\""},
                                         Caption{10000, "TextOutA 764 196 \"10000.0 ohms\""},
                                         Caption{0.1, "TextOutA 764 196 \"0.1 ohms\""},
                                         Caption{73.25, "TextOutA 764 196 \"73.2 ohms\""},
                                         Caption{33.36, "TextOutA 764 196 \"33.4 ohms\""}));

// The start arrow is frame 0's front arrow: the first tick's erasing call removes it.
TEST(Circuit, FirstTickErasesTheStartArrow) {
    ResetRun();
    surface::Canvas firstPaint(992, 666), later(992, 666);
    for (surface::Canvas* canvas : {&firstPaint, &later}) {
        HDC dc = surface::CreateCanvasDC(canvas);
        DrawCircuit(dc, 992, 666);
        surface::ReleaseCanvasDC(dc);
    }
    const std::vector<COLORREF> withArrow(later.data(), later.data() + 992 * 666);
    HDC dc = surface::CreateCanvasDC(&later);
    DrawWaveFrame(dc, 992, 666, 0, 50);
    surface::ReleaseCanvasDC(dc);
    EXPECT_NE(withArrow, std::vector<COLORREF>(firstPaint.data(), firstPaint.data() + 992 * 666));
    EXPECT_EQ(std::vector<COLORREF>(later.data(), later.data() + 992 * 666),
              std::vector<COLORREF>(firstPaint.data(), firstPaint.data() + 992 * 666));
}

}  // namespace
