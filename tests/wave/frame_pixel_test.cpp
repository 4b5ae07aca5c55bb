// Frames on a real canvas: each tick's erasing call takes the previous frame off the screen
// except for the text and dots it wrote, the dots add up to the envelope, the last frame stays.
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "circuit/circuit.h"
#include "surface/canvas.h"
#include "wave/frame.h"
#include "wave_test_support.h"

namespace {

constexpr int kWidth = 992, kHeight = 666;
constexpr COLORREF kUntouched = RGB(128, 128, 128);

using Pixels = std::vector<COLORREF>;
Pixels Snapshot(const surface::Canvas& canvas) {
    return Pixels(canvas.data(), canvas.data() + canvas.width() * canvas.height());
}

// Draws one frame on a fresh context of the screen and returns its calls.
Trace DrawFrame(surface::Canvas& screen, int d, double loadOhms) {
    return Record([&](HDC dc) { DrawWaveFrame(dc, kWidth, kHeight, d, loadOhms); }, &screen);
}

// The pixels a frame's text cells and dots may leave changed: each text drawn opaque and each
// dot set on an untouched canvas.
void MarkTextAndDots(const Trace& calls, surface::Canvas& mask) {
    mask.fill({0, 0, kWidth, kHeight}, kUntouched);
    HDC dc = surface::CreateCanvasDC(&mask);
    for (const std::string& call : calls) {
        int x, y, start;
        POINT dot;
        if (std::sscanf(call.c_str(), "TextOutA %d %d %n", &x, &y, &start) == 2) {
            const std::string text = call.substr(start + 1, call.size() - start - 2);
            TextOutA(dc, x, y, text.c_str(), static_cast<int>(text.size()));
        } else if (ParseDot(call, dot)) {
            SetPixel(dc, dot.x, dot.y, 0);
        }
    }
    surface::ReleaseCanvasDC(dc);
}

class TickOnScreen : public testing::TestWithParam<double> {};

// The whole run after a paint: circuit, load caption, start arrow, 360 ticks.
TEST_P(TickOnScreen, ErasingCallRestoresTheScreenButTextAndDots) {
    const double load = GetParam();
    ResetRun();
    surface::Canvas screen(kWidth, kHeight);
    HDC paint = surface::CreateCanvasDC(&screen);
    DrawCircuit(paint, kWidth, kHeight);
    DrawLoadCaption(paint, kWidth, kHeight, load);
    Pixels beforeFrame = Snapshot(screen);
    DrawCircuit(paint, kWidth, kHeight);  // the start arrow stands for frame 0
    surface::ReleaseCanvasDC(paint);

    surface::Canvas mask(kWidth, kHeight);
    std::set<std::pair<int, int>> dots;
    for (int d = 0; d < 1080; d += 3) {
        const Trace erase = DrawFrame(screen, d, load);
        const Pixels after = Snapshot(screen);
        const bool changed = after != beforeFrame;
        if (changed) MarkTextAndDots(erase, mask);
        for (int i = 0; changed && i < kWidth * kHeight; ++i) {
            if (mask.data()[i] != kUntouched || after[i] == beforeFrame[i]) continue;
            FAIL() << "load " << load << ", erasing frame " << d << " left pixel (" << i % kWidth
                   << ", " << i / kWidth << ")";
        }
        for (const std::string& call : erase) {
            if (POINT dot; ParseDot(call, dot)) dots.insert({dot.x, dot.y});
        }
        if (d == 720) {  // only the circuit, the text and the finished envelope are left
            int red = 0;
            for (COLORREF pixel : after) red += pixel == 255;
            EXPECT_EQ(red, static_cast<int>(dots.size())) << "load " << load;
            for (auto [x, y] : dots) EXPECT_EQ(screen.pixel(x, y), 255u) << x << ", " << y;
        }
        beforeFrame = after;
        DrawFrame(screen, d + 3, load);
    }
    // The last frame is drawn in copy mode: it shows and drawing it again changes nothing.
    const Pixels last = Snapshot(screen);
    EXPECT_NE(last, beforeFrame);
    EXPECT_NE(std::find(last.begin(), last.end(), RGB(100, 100, 0)), last.end());
    DrawFrame(screen, 1080, load);
    EXPECT_EQ(Snapshot(screen), last);
}

INSTANTIATE_TEST_SUITE_P(Loads, TickOnScreen, testing::Values(100.0, 25.0, 50.0, 0.1, 10000.0));

// The quarter-wave readouts leave the background mode transparent for the rest of the context:
// the following captions on it draw no white cell, while a fresh context's do.
TEST(BackgroundMode, TransparentFromTheQuarterWaveReadoutOnTheSameContext) {
    ResetRun();
    auto whitePixels = [](const surface::Canvas& canvas) {
        const Pixels pixels = Snapshot(canvas);
        return std::count(pixels.begin(), pixels.end(), RGB(255, 255, 255));
    };
    surface::Canvas sameContext(kWidth, kHeight, kUntouched),
        freshContext(kWidth, kHeight, kUntouched);
    HDC dc = surface::CreateCanvasDC(&sameContext);
    DrawWaveFrame(dc, kWidth, kHeight, 450, 100);
    DrawWaveFrame(dc, kWidth, kHeight, 453, 100);
    surface::ReleaseCanvasDC(dc);
    EXPECT_EQ(whitePixels(sameContext), 0);
    DrawFrame(freshContext, 453, 100);
    EXPECT_GT(whitePixels(freshContext), 0);
}

}  // namespace
