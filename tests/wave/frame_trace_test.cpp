// The calls of each frame, through the recording context.
#include <gtest/gtest.h>

#include <string>

#include "surface/canvas.h"
#include "wave/frame.h"
#include "wave_test_support.h"

namespace {

struct Setting {
    int width, height;
    double loadOhms;
};

std::string Describe(const Setting& run, int d) {
    return std::to_string(run.width) + "x" + std::to_string(run.height) + ", load " +
           std::to_string(run.loadOhms) + ", frame " + std::to_string(d);
}

// Stops at the first differing call and names it.
void ExpectSameCalls(const Trace& expected, const Trace& actual, const std::string& where) {
    for (std::size_t i = 0; i < std::max(expected.size(), actual.size()); ++i) {
        const std::string want = i < expected.size() ? expected[i] : "(no call)";
        const std::string got = i < actual.size() ? actual[i] : "(no call)";
        ASSERT_EQ(want, got) << where << ", call " << i + 1;
    }
}

// Every frame of a whole run, drawn in clock order as the ticks draw them, makes exactly the
// calls of the model and deletes every pen it creates.
class WholeRun : public testing::TestWithParam<Setting> {};

TEST_P(WholeRun, EveryFrameMakesTheDescribedCalls) {
    const Setting run = GetParam();
    ResetRun();
    ReferenceFrames reference;
    for (int d = 0; d <= 1080; d += 3) {
        const int pensBefore = surface::LivePenCount();
        const Trace actual =
            Record([&](HDC dc) { DrawWaveFrame(dc, run.width, run.height, d, run.loadOhms); });
        ExpectSameCalls(reference.Frame(run.width, run.height, d, run.loadOhms), actual,
                        Describe(run, d));
        ASSERT_EQ(surface::LivePenCount(), pensBefore) << Describe(run, d);
    }
}

INSTANTIATE_TEST_SUITE_P(SizesAndLoads, WholeRun,
                         testing::Values(Setting{992, 666, 50}, Setting{992, 666, 100},
                                         Setting{992, 666, 25}, Setting{992, 666, 0.1},
                                         Setting{992, 666, 10000}, Setting{1000, 700, 49.99},
                                         Setting{1000, 700, 50.01}, Setting{641, 479, 73.2},
                                         Setting{1600, 1200, 2.5}, Setting{137, 95, 333},
                                         Setting{0, 0, 100}));

// Frames worked out by hand for 992 x 666 and a 100-ohm load: line from (119, 428) to
// (744, 166), v = 625, u = -262.
TEST(HandDerivedFrame, StartOfTheRun) {
    ResetRun();
    const Trace frame0 = Record([](HDC dc) { DrawWaveFrame(dc, 992, 666, 0, 100); });
    ExpectSameCalls({"SetROP2 10", "CreatePen 0 2 25700", "SelectObject pen1", "MoveToEx 119 428",
                     "LineTo 119 378", "LineTo 124 383", "MoveToEx 119 378", "LineTo 114 383",
                     "SetROP2 13", "SelectObject BLACK_PEN", "DeleteObject pen1"},
                    frame0, "frame 0");
    // Front (119 + 1875/360, 428 - 786/360); station 0's phasor: shaft (-2, -49), barbs
    // (-4, +5) and (+5, +4) from its tip.
    const Trace frame3 = Record([](HDC dc) { DrawWaveFrame(dc, 992, 666, 3, 100); });
    ExpectSameCalls({"SetROP2 10", "CreatePen 0 2 25700", "SelectObject pen1", "MoveToEx 124 426",
                     "LineTo 124 376", "LineTo 129 381", "MoveToEx 124 376", "LineTo 119 381",
                     "MoveToEx 119 428", "LineTo 117 379", "LineTo 113 384", "MoveToEx 117 379",
                     "LineTo 122 383", "SetROP2 13", "SelectObject BLACK_PEN", "DeleteObject pen1"},
                    frame3, "frame 3");
}

// Single calls stated in the description's own examples, found in the frame of a played run.
struct Example {
    Setting run;
    int d;
    std::string call;
};

class WorkedExample : public testing::TestWithParam<Example> {};

TEST_P(WorkedExample, FrameContainsTheCall) {
    const Example example = GetParam();
    ResetRun();
    Trace frame;
    for (int d = 0; d <= example.d; d += 3) {
        frame = Record([&](HDC dc) {
            DrawWaveFrame(dc, example.run.width, example.run.height, d, example.run.loadOhms);
        });
    }
    EXPECT_NE(std::find(frame.begin(), frame.end(), example.call), frame.end())
        << Describe(example.run, example.d) << ": no \"" << example.call << "\"";
}

// At 992 x 666 the load end is (744, 166); E is read off the lower row of the dots there.
INSTANTIATE_TEST_SUITE_P(
    Examples, WorkedExample,
    testing::Values(
        Example{{1000, 700, 100}, 45, "MoveToEx 198 420"},  // front at d = 45
        Example{{1000, 700, 100}, 45, "LineTo 198 371"},    // upright phasor: 49 pixels
        Example{{1000, 700, 100}, 45, "LineTo 194 375"},    // and 4-pixel barbs
        Example{{992, 666, 100}, 360, "LineTo 744 100"},    // reflected arrow 16 up from the tip
        Example{{992, 666, 25}, 360, "LineTo 744 132"},     // ... and 16 down for 25 ohms
        Example{{992, 666, 25}, 360, "LineTo 739 127"},
        Example{{992, 666, 100}, 360, "SetPixel 744 99 255"},    // E = 67 at the load
        Example{{992, 666, 25}, 360, "SetPixel 744 133 255"},    // E = 33
        Example{{992, 666, 0.1}, 360, "SetPixel 744 166 255"},   // E = 0
        Example{{992, 666, 10000}, 360, "SetPixel 744 66 255"},  // E = 100
        Example{{992, 666, 50}, 360, "SetPixel 744 116 255"},    // E = 50
        Example{{992, 666, 50}, 720, "SetPixel 119 378 255"},    // back at the line start
        Example{{992, 666, 50}, 360, "TextOutA 764 136 \"Ratio = 1.00\""},
        Example{{992, 666, 0.1}, 603, "TextOutA 764 136 \"Ratio = 500.00\""},
        Example{{992, 666, 10000}, 720, "TextOutA 764 136 \"Ratio = 200.00\""},
        Example{{992, 666, 50}, 405, "TextOutA 744 333 \"Z1 = 50.0 - j0.0 ohms\""},
        Example{{992, 666, 100}, 405, "TextOutA 744 333 \"Z1 = 40.0 - j30.0 ohms\""},
        Example{{992, 666, 100}, 450, "TextOutA 744 353 \"Z2 = 25.0 + j0 ohms\""},
        Example{{992, 666, 100}, 540, "TextOutA 744 393 \"Z4 = 100.0 + j0 ohms\""},
        Example{{992, 666, 25}, 405, "TextOutA 744 333 \"Z1 = 40.0 + j30.0 ohms\""},
        Example{{992, 666, 25}, 450, "TextOutA 744 353 \"Z2 = 100.0 + j0 ohms\""},
        Example{{992, 666, 0.1}, 405, "TextOutA 744 333 \"Z1 = 0.2 + j50.0 ohms\""},
        Example{{992, 666, 0.1}, 630, "TextOutA 744 433 \"Z6 = 25000.0 + j0 ohms\""},
        Example{{992, 666, 25}, 630, "SetBkMode 1"}));

}  // namespace
