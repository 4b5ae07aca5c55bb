// The circuit picture and the wave frames. The circuit's calls at the default client size, the
// start arrow (frame 0's front arrow) from the second paint on, and the load caption; every call
// of every frame of whole runs against a model written from the frame's description, and calls
// worked out by hand; on a real canvas, each tick's erasing call taking the previous frame off
// the screen except for its text and dots.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "circuit/circuit.h"
#include "circuit/painted_once.h"
#include "surface/canvas.h"
#include "surface/device_context.h"
#include "surface/recorder.h"
#include "wave/frame.h"
#include "wave/frame_values.h"

namespace {

// The trace of whatever draw does on a fresh context (pens named from pen1), drawing on the
// canvas if one is given, else only recording.
std::string Record(const std::function<void(HDC)>& draw, surface::Canvas* canvas = nullptr) {
    std::ostringstream out;
    surface::Recorder recorder(out);
    HDC dc = surface::CreateCanvasDC(canvas);
    draw(dc);
    surface::ReleaseCanvasDC(dc);
    return out.str();
}

// A new run: every station back at (0, 0) and the circuit not yet painted.
void ResetRun() {
    std::fill(std::begin(wave::stations), std::end(wave::stations), POINT{0, 0});
    circuit::paintedOnce = 0;
}

// 992 x 666: source circle at (99, 499), line from (119, 428) to (744, 166).
const std::string kCircuitAt992x666 =
    "Ellipse 99 499 139 539\n"
    "Arc 104 507 119 531 992 519 0 519\nArc 119 507 134 531 0 519 992 519\n"
    // The source ground.
    "MoveToEx 119 539\nLineTo 119 559\nLineTo 124 559\nLineTo 119 569\nLineTo 114 559\n"
    "LineTo 119 559\n"
    // The source resistor, spanning y 448 to 479, and the line.
    "MoveToEx 119 499\nLineTo 119 479\nLineTo 124 476\nLineTo 114 471\nLineTo 124 466\n"
    "LineTo 114 461\nLineTo 124 456\nLineTo 114 451\nLineTo 119 448\nLineTo 119 428\n"
    "LineTo 744 166\n"
    // The load resistor, y 186 to 217, and its ground.
    "LineTo 744 186\nLineTo 739 189\nLineTo 749 194\nLineTo 739 199\nLineTo 749 204\n"
    "LineTo 739 209\nLineTo 749 214\nLineTo 744 217\n"
    "LineTo 744 237\nLineTo 749 237\nLineTo 744 247\nLineTo 739 237\nLineTo 744 237\n"
    "TextOutA 134 459 \"50 ohms\"\nTextOutA 496 333 \"50-ohm transmission line\"\n";

const std::string kStartArrowAt992x666 =
    "SetROP2 10\nCreatePen 0 2 25700\nSelectObject pen1\nMoveToEx 119 428\nLineTo 119 378\n"
    "LineTo 124 383\nMoveToEx 119 378\nLineTo 114 383\nSetROP2 13\nSelectObject BLACK_PEN\n"
    "DeleteObject pen1\n";

TEST(Circuit, FirstPaintDrawsNoStartArrowAndLaterPaintsDrawFrameZerosFrontArrow) {
    ResetRun();
    const int pensBefore = surface::LivePenCount();
    EXPECT_EQ(Record([](HDC dc) { DrawCircuit(dc, 992, 666); }), kCircuitAt992x666);
    for (int paint = 2; paint <= 3; ++paint) {
        EXPECT_EQ(Record([](HDC dc) { DrawCircuit(dc, 992, 666); }),
                  kCircuitAt992x666 + kStartArrowAt992x666)
            << "paint " << paint;
    }
    EXPECT_EQ(surface::LivePenCount(), pensBefore);
    // So the first tick's erasing call removes it.
    EXPECT_EQ(Record([](HDC dc) { DrawWaveFrame(dc, 992, 666, 0, 100); }), kStartArrowAt992x666);
}

TEST(Circuit, LoadCaptionHasOneDecimalBesideTheLoad) {
    const std::pair<double, const char*> captions[] = {
        {50, "50.0"}, {10000, "10000.0"}, {0.1, "0.1"}, {73.25, "73.2"}, {33.36, "33.4"}};
    for (auto [load, text] : captions) {
        EXPECT_EQ(Record([load = load](HDC dc) { DrawLoadCaption(dc, 992, 666, load); }),
                  "TextOutA 764 196 \"" + std::string(text) + " ohms\"\n");
    }
}

template <typename... Args>
std::string Line(const char* format, Args... args) {
    char text[160];
    std::snprintf(text, sizeof text, format, args...);
    return std::string(text) + "\n";
}

// The calls of each frame, written step by step from the description of the frame, in its words:
// front, capture (with the readout), front arrow, incident phasors, reflected pen, arrow and
// phasors, ratio and dots. Played in clock order like the animation, with stations of its own.
class ReferenceFrames {
  public:
    std::string Frame(int w, int h, int d, double R) {
        std::string t;
        int reflSign = R < 50 ? -1 : 1;
        if (R == 50) reflSign = 0;
        const double m = R * 0.02;
        const int loadAboveLine = m > 1;
        const double swr = m >= 1 ? m : 1 / m;
        const double G = (swr - 1) / (swr + 1);
        const int x0 = w / 10 + 20, y0 = (3 * h) / 4 - 71, x1 = (3 * w) / 4, y1 = h / 4;
        const int v = x1 - x0, u = y1 - y0;

        if (d < 1080) t += "SetROP2 10\n";
        t += "CreatePen 0 2 25700\nSelectObject pen1\n";
        const POINT front =
            d <= 360 ? POINT{x0 + (v * d) / 360, y0 + (u * d) / 360}
                     : POINT{x0 + v - (v * (d - 360)) / 360, y0 + u - (u * (d - 360)) / 360};
        t += Line("MoveToEx %d %d", front.x, front.y);
        if (d >= 0 && d <= 720 && d % 45 == 0) {
            const int k = d / 45, n = k - 8;
            stations_[k] = front;
            if (n >= 1 && n <= 7) {
                if (n == 2 || n == 6) t += "SetBkMode 1\n";
                t += Line("TextOutA %d %d \"Z %d\"", front.x - 10, front.y + 10, n);
                const double P = std::pow(G, 2.0), D = P + 1;
                const double re = ((1 - P) * 50) / D, im = ((G + G) * 50) / D;
                const int y = h / 2 + 20 * (n - 1);
                const char sign = ((n == 1 || n == 5) == (R >= 50)) ? '-' : '+';
                if (n == 2 || n == 6) {
                    t += Line("TextOutA %d %d \"Z%d = %.1f + j0 ohms\"", x1, y, n, 2500 / R);
                } else if (n == 4) {
                    t += Line("TextOutA %d %d \"Z4 = %.1f + j0 ohms\"", x1, y, R);
                } else {
                    t +=
                        Line("TextOutA %d %d \"Z%d = %.1f %c j%.1f ohms\"", x1, y, n, re, sign, im);
                }
            }
        }
        POINT frontPt = front;
        if (d <= 360) {
            frontPt.y -= 50;
            t += Line("LineTo %d %d\nLineTo %d %d\nMoveToEx %d %d\nLineTo %d %d", frontPt.x,
                      frontPt.y, frontPt.x + 5, frontPt.y + 5, frontPt.x, frontPt.y, frontPt.x - 5,
                      frontPt.y + 5);
        }
        auto phasor = [&](POINT o, double a, double s, int sigma) {
            const int tx = o.x + sigma * static_cast<int>(std::cos(a) * s * 50);
            const int ty = o.y - sigma * static_cast<int>(std::sin(a) * s * 50);
            auto barb = [&](double b) {
                return Line("LineTo %d %d", tx + sigma * static_cast<int>(7 * std::cos(b)),
                            ty - sigma * static_cast<int>(7 * std::sin(b)));
            };
            t += Line("MoveToEx %d %d", o.x, o.y) + Line("LineTo %d %d", tx, ty) + barb(a + 2.356) +
                 Line("MoveToEx %d %d", tx, ty) + barb(a - 2.356);
        };
        // Station k's phasor turns with the clock, pi/2 - k pi/4 ahead of it in the program's
        // constants: the incident one at station 7 wraps to +3 pi/4, the reflected one does not.
        const double dD = d * wave::kDegToRad;
        const double ahead[9] = {1.570795,   0.7853975, 0,         -0.7853975, -1.570795,
                                 -2.3561925, -3.14159,  2.3561925, 1.570795};
        for (int k = 0; k <= 8; ++k) {
            if (d >= (k == 0 ? 3 : 45 * k)) phasor(stations_[k], dD + ahead[k], 1, 1);
        }
        if (d >= 360) {
            t += "CreatePen 0 2 200\nSelectObject pen2\nDeleteObject pen1\n";
            if (d < 720) {
                const int L = static_cast<int>(static_cast<double>(reflSign * 50) * G);
                const POINT T{frontPt.x, frontPt.y - L};
                const int b = 5 * reflSign;
                t += Line(
                    "MoveToEx %d %d\nLineTo %d %d\nMoveToEx %d %d\nLineTo %d %d\n"
                    "MoveToEx %d %d\nLineTo %d %d",
                    frontPt.x, frontPt.y, T.x, T.y, T.x, T.y, T.x + b, T.y + b, T.x, T.y, T.x - b,
                    T.y + b);
                frontPt = T;
            }
            for (int k = 8; k <= 16; ++k) {
                const double a = dD + (k == 15 ? -3.9269875 : ahead[k - 8]);
                if (d >= 45 * k) phasor(stations_[k], a, G, reflSign);
            }
        }
        t += "SetROP2 13\n";
        if (d >= 360 && d < 721) {
            t += Line("TextOutA %d %d \"Standing Wave\"", x1 + 20, y1 - 50);
            t += Line("TextOutA %d %d \"Ratio = %.2f\"", x1 + 20, y1 - 30, swr);
            const double phi = (360 - 2 * d) * wave::kDegToRad + 3.14159 * loadAboveLine;
            const int E = static_cast<int>(
                50 * std::sqrt((std::pow(G, 2.0) + 1) - 2 * G * std::cos(phi)) + 0.5);
            for (int dx : {0, -1, -2}) {
                for (int dy : {0, -1}) {
                    t += Line("SetPixel %d %d 255", frontPt.x + dx, front.y - E + dy);
                }
            }
        }
        return t + "SelectObject BLACK_PEN\nDeleteObject pen" + (d >= 360 ? "2\n" : "1\n");
    }

  private:
    POINT stations_[17] = {};
};

struct Setting {
    int width, height;
    double loadOhms;
    bool operator==(const Setting&) const = default;
};

// Calls worked out by hand, each found (as consecutive lines) in the frame of clock d. At
// 992 x 666 the line runs from (119, 428) to (744, 166): v = 625, u = -262; at the load the
// envelope's height E is read off the lower row of the dots.
const struct Example {
    Setting run;
    int d;
    const char* calls;
} kExamples[] = {
    // Frame 3: the front at (119 + 1875 / 360, 428 - 786 / 360) with its arrow, then station 0's
    // phasor: shaft (-2, -49), barbs (-4, +5) and (+5, +4).
    {{992, 666, 100},
     3,
     "MoveToEx 124 426\nLineTo 124 376\nLineTo 129 381\nMoveToEx 124 376\n"
     "LineTo 119 381\nMoveToEx 119 428\nLineTo 117 379\nLineTo 113 384\n"
     "MoveToEx 117 379\nLineTo 122 383"},
    {{1000, 700, 49.99}, 45, "MoveToEx 198 420"},                // the front at d = 45
    {{1000, 700, 49.99}, 45, "LineTo 198 371\nLineTo 194 375"},  // station 1's phasor upright
    {{992, 666, 100}, 360, "LineTo 744 100"},  // the reflected arrow, 16 up from the incident tip
    {{992, 666, 25}, 360, "LineTo 744 132\nMoveToEx 744 132\nLineTo 739 127"},  // 16 down
    {{992, 666, 100}, 360, "SetPixel 744 99 255"},                              // E = 67
    {{992, 666, 25}, 360, "SetPixel 744 133 255"},                              // E = 33
    {{992, 666, 0.1}, 360, "SetPixel 744 166 255"},                             // E = 0
    {{992, 666, 10000}, 360, "SetPixel 744 66 255"},                            // E = 100
    {{992, 666, 50}, 360, "SetPixel 744 116 255"},                              // E = 50
    {{992, 666, 50}, 720, "SetPixel 119 378 255"},  // back at the line start
    {{992, 666, 50}, 360, "TextOutA 764 136 \"Ratio = 1.00\""},
    {{992, 666, 0.1}, 603, "TextOutA 764 136 \"Ratio = 500.00\""},
    {{992, 666, 10000}, 720, "TextOutA 764 136 \"Ratio = 200.00\""},
    {{992, 666, 50}, 405, "TextOutA 744 333 \"Z1 = 50.0 - j0.0 ohms\""},
    {{992, 666, 100}, 405, "TextOutA 744 333 \"Z1 = 40.0 - j30.0 ohms\""},
    {{992, 666, 100}, 450, "TextOutA 744 353 \"Z2 = 25.0 + j0 ohms\""},
    {{992, 666, 100}, 540, "TextOutA 744 393 \"Z4 = 100.0 + j0 ohms\""},
    {{992, 666, 25}, 405, "TextOutA 744 333 \"Z1 = 40.0 + j30.0 ohms\""},
    {{992, 666, 25}, 450, "TextOutA 744 353 \"Z2 = 100.0 + j0 ohms\""},
    {{992, 666, 0.1}, 405, "TextOutA 744 333 \"Z1 = 0.2 + j50.0 ohms\""},
    {{992, 666, 0.1}, 630, "TextOutA 744 433 \"Z6 = 25000.0 + j0 ohms\""},
    {{992, 666, 25}, 630, "SetBkMode 1"},
};

// Every frame of whole runs, drawn in clock order as the ticks draw them, makes exactly the calls
// of the model, and those worked out by hand, and deletes every pen it creates.
TEST(Frame, EveryFrameOfWholeRunsMakesTheDescribedCalls) {
    const Setting runs[] = {{992, 666, 50},     {992, 666, 100},   {992, 666, 25},
                            {992, 666, 0.1},    {992, 666, 10000}, {1000, 700, 49.99},
                            {1000, 700, 50.01}, {641, 479, 73.2},  {1600, 1200, 2.5},
                            {137, 95, 333},     {0, 0, 100}};
    std::size_t examplesSeen = 0;
    for (const Setting& run : runs) {
        ResetRun();
        ReferenceFrames reference;
        for (int d = 0; d <= 1080; d += 3) {
            SCOPED_TRACE(::testing::Message() << run.width << "x" << run.height << ", load "
                                              << run.loadOhms << ", frame " << d);
            const int pensBefore = surface::LivePenCount();
            const std::string frame =
                Record([&](HDC dc) { DrawWaveFrame(dc, run.width, run.height, d, run.loadOhms); });
            ASSERT_EQ(frame, reference.Frame(run.width, run.height, d, run.loadOhms));
            ASSERT_EQ(surface::LivePenCount(), pensBefore);
            for (const Example& e : kExamples) {
                if (e.d != d || !(e.run == run)) continue;
                ++examplesSeen;
                // Not "\n" + std::string: GCC 12 warns falsely (-Wrestrict) about it at -O3.
                const std::string calls = std::string("\n").append(e.calls).append("\n");
                EXPECT_TRUE(("\n" + frame).find(calls) != std::string::npos) << e.calls;
            }
        }
    }
    EXPECT_EQ(examplesSeen, std::size(kExamples));
}

constexpr int kWidth = 992, kHeight = 666;
constexpr COLORREF kUntouched = RGB(128, 128, 128);

std::vector<COLORREF> Snapshot(const surface::Canvas& canvas) {
    return {canvas.data(), canvas.data() + canvas.width() * canvas.height()};
}

// Marks on an untouched mask the pixels a frame's text cells and dots may leave changed.
void MarkTextAndDots(const std::string& calls, surface::Canvas& mask) {
    mask.fill({0, 0, kWidth, kHeight}, kUntouched);
    HDC dc = surface::CreateCanvasDC(&mask);
    std::istringstream lines(calls);
    for (std::string call; std::getline(lines, call);) {
        int x, y, start;
        if (std::sscanf(call.c_str(), "TextOutA %d %d %n", &x, &y, &start) == 2) {
            const std::string text = call.substr(start + 1, call.size() - start - 2);
            TextOutA(dc, x, y, text.c_str(), static_cast<int>(text.size()));
        } else if (std::sscanf(call.c_str(), "SetPixel %d %d", &x, &y) == 2) {
            SetPixel(dc, x, y, 0);
        }
    }
    surface::ReleaseCanvasDC(dc);
}

class TickOnScreen : public testing::TestWithParam<double> {};

// The whole run after a paint: circuit, load caption, start arrow, 360 ticks. The dots add up to
// the envelope and the last frame stays.
TEST_P(TickOnScreen, ErasingCallRestoresTheScreenButTextAndDots) {
    const double load = GetParam();
    ResetRun();
    surface::Canvas screen(kWidth, kHeight), mask(kWidth, kHeight);
    HDC paint = surface::CreateCanvasDC(&screen);
    DrawCircuit(paint, kWidth, kHeight);
    DrawLoadCaption(paint, kWidth, kHeight, load);
    std::vector<COLORREF> beforeFrame = Snapshot(screen);
    DrawCircuit(paint, kWidth, kHeight);  // the start arrow stands for frame 0
    surface::ReleaseCanvasDC(paint);
    auto draw = [&](int d) {
        return Record([&](HDC dc) { DrawWaveFrame(dc, kWidth, kHeight, d, load); }, &screen);
    };

    std::set<std::pair<int, int>> dots;
    for (int d = 0; d < 1080; d += 3) {
        const std::string erase = draw(d);
        const std::vector<COLORREF> after = Snapshot(screen);
        if (after != beforeFrame) {
            MarkTextAndDots(erase, mask);
            for (int i = 0; i < kWidth * kHeight; ++i) {
                if (mask.data()[i] == kUntouched && after[i] != beforeFrame[i]) {
                    FAIL() << "load " << load << ", erasing frame " << d << " left pixel ("
                           << i % kWidth << ", " << i / kWidth << ")";
                }
            }
        }
        std::istringstream lines(erase);
        for (std::string call; std::getline(lines, call);) {
            if (int x, y; std::sscanf(call.c_str(), "SetPixel %d %d", &x, &y) == 2)
                dots.insert({x, y});
        }
        if (d == 720) {  // only the circuit, the text and the finished envelope are left
            EXPECT_EQ(std::count(after.begin(), after.end(), 255u), static_cast<long>(dots.size()));
            for (auto [x, y] : dots) EXPECT_EQ(screen.pixel(x, y), 255u) << x << ", " << y;
        }
        beforeFrame = after;
        draw(d + 3);
    }
    // The last frame is drawn in copy mode: it shows and drawing it again changes nothing.
    const std::vector<COLORREF> last = Snapshot(screen);
    EXPECT_NE(last, beforeFrame);
    EXPECT_NE(std::find(last.begin(), last.end(), RGB(100, 100, 0)), last.end());
    draw(1080);
    EXPECT_EQ(Snapshot(screen), last);
}

INSTANTIATE_TEST_SUITE_P(Loads, TickOnScreen, testing::Values(100.0, 25.0, 50.0, 0.1, 10000.0));

}  // namespace
