// The lab mode as a user meets it: velmora-render --lab's trace (the readouts, the envelope's
// dots at the formula's heights, the Smith chart's points), and the program on the headless
// backend (the dialog refusing a text that is not a load, the value under the pointer, the
// speed keys, the single step and the steady state).
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstdio>
#include <functional>
#include <numbers>
#include <set>
#include <sstream>
#include <string>
#include <utility>

#include "app/modes.h"
#include "app/resources/dialog_template.h"
#include "app/resources/resource.h"
#include "app/velmora.h"
#include "platform/headless/headless_backend.h"
#include "surface/recorder.h"
#include "tests/app/fresh_process.h"
#include "tests/app/play_mode.h"
#include "tests/app/render_trace.h"

namespace {

using std::numbers::pi;

// The trace of velmora-render --lab with the load, at the program's own size, 992 x 666.
std::string LabTrace(const std::string& load) { return RenderTrace("--lab --load '" + load + "'"); }

std::set<std::string> Lines(const std::string& trace) {
    std::set<std::string> lines;
    std::istringstream in(trace);
    for (std::string line; std::getline(in, line);) lines.insert(line);
    return lines;
}

std::string Pixel(int x, int y, int colour) {
    return "SetPixel " + std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(colour);
}

// At 992 x 666 the line runs from (119, 428) to (744, 166); the front at clock d (coming back
// from 361), each quotient truncated toward zero.
std::pair<int, int> Front(int d) {
    const int v = 744 - 119, u = 166 - 428;
    if (d <= 360) return {119 + v * d / 360, 428 + u * d / 360};
    return {119 + v - v * (d - 360) / 360, 428 + u - u * (d - 360) / 360};
}

std::complex<double> Gamma(std::complex<double> load) { return (load - 50.0) / (load + 50.0); }

TEST(LabRender, WritesTheReadoutsInTheirColumn) {
    const struct {
        const char* load;
        std::vector<std::string> lines;
    } kRuns[] = {
        {"75+j50",
         {R"(TextOutA 764 196 "75.0 + j50.0 ohms")",
          R"(TextOutA 496 363 "Gamma = 0.415 at 41.6 deg")", R"(TextOutA 496 383 "Ratio = 2.42")",
          R"(TextOutA 496 403 "Vmin at 0.308 wavelengths from the load")",
          R"(TextOutA 496 423 "Z1 = 66.7 - j50.0 ohms")",
          R"(TextOutA 496 443 "Z2 = 23.1 - j15.4 ohms")",
          R"(TextOutA 496 483 "Z4 = 75.0 + j50.0 ohms")"}},
        {"short",
         {R"(TextOutA 764 196 "short")", R"(TextOutA 496 383 "Ratio = infinite")",
          R"(TextOutA 496 443 "Z2 = infinite")"}},
        {"100",
         {R"(TextOutA 764 196 "100.0 ohms")", R"(TextOutA 496 383 "Ratio = 2.00")",
          R"(TextOutA 496 423 "Z1 = 40.0 - j30.0 ohms")"}},
    };
    for (const auto& run : kRuns) {
        SCOPED_TRACE(run.load);
        const std::set<std::string> lines = Lines(LabTrace(run.load));
        for (const std::string& line : run.lines) EXPECT_TRUE(lines.count(line)) << line;
    }
    // A matched load has no minimum to show.
    EXPECT_EQ(LabTrace("50").find("Vmin"), std::string::npos);
}

// Every frame from 360 to 720 sets a block 3 wide and 2 high, its lower row
// 50 |1 + Gamma e^(-j 4 pi z)| pixels (rounded) above the front, z wavelengths back from the load.
TEST(LabRender, SetsTheEnvelopesDotsAtTheFormulasHeights) {
    for (const auto& [text, load] : {std::pair{"20-j35", std::complex<double>(20, -35)},
                                     std::pair{"75+j50", std::complex<double>(75, 50)},
                                     std::pair{"0", std::complex<double>(0, 0)}}) {
        SCOPED_TRACE(text);
        const std::set<std::string> lines = Lines(LabTrace(text));
        for (int d = 360; d <= 720; d += 3) {
            const double z = (d - 360) / 360.0;
            const int height = static_cast<int>(
                50 * std::abs(1.0 + Gamma(load) * std::polar(1.0, -4 * pi * z)) + 0.5);
            const auto [x, y] = Front(d);
            for (int column = 0; column < 3; ++column) {
                ASSERT_TRUE(lines.count(Pixel(x - column, y - height, 255))) << d;
                ASSERT_TRUE(lines.count(Pixel(x - column, y - height - 1, 255))) << d;
            }
        }
    }
}

// For a resistive load the envelope is the main mode's, at the heights it is known to have.
TEST(LabRender, AResistiveLoadsEnvelopeIsTheMainModes) {
    const struct {
        const char* load;
        std::vector<std::pair<int, int>> heights;  // clock, height
    } kRuns[] = {
        {"100", {{360, 67}, {405, 53}, {450, 33}, {495, 53}, {540, 67}, {720, 67}}},
        {"25", {{360, 33}, {405, 53}, {450, 67}, {540, 33}, {720, 33}}},
    };
    for (const auto& run : kRuns) {
        SCOPED_TRACE(run.load);
        const std::set<std::string> lines = Lines(LabTrace(run.load));
        for (const auto& [d, height] : run.heights) {
            const auto [x, y] = Front(d);
            EXPECT_TRUE(lines.count(Pixel(x, y - height, 255))) << d;
        }
    }
}

// The chart's centre is (115, 115) and its radius 95 at 992 x 666: the load's point in the dots'
// colour, and Zk's a quarter turn clockwise per eighth of a wavelength, in the reflected wave's.
TEST(LabRender, MarksTheLoadAndZ1ToZ7OnTheSmithChart) {
    for (const auto& [text, load] : {std::pair{"75+j50", std::complex<double>(75, 50)},
                                     std::pair{"20-j35", std::complex<double>(20, -35)},
                                     std::pair{"short", std::complex<double>(0, 0)}}) {
        SCOPED_TRACE(text);
        const std::set<std::string> lines = Lines(LabTrace(text));
        auto point = [](std::complex<double> gamma) {
            return std::pair{115 + static_cast<int>(std::lround(95 * gamma.real())),
                             115 - static_cast<int>(std::lround(95 * gamma.imag()))};
        };
        const auto [lx, ly] = point(Gamma(load));
        EXPECT_TRUE(lines.count(Pixel(lx, ly, 255)));
        for (int k = 1; k <= 7; ++k) {
            const auto [x, y] = point(Gamma(load) * std::polar(1.0, -k * pi / 2));
            EXPECT_TRUE(lines.count(Pixel(x, y, 200))) << "Z" << k;
        }
    }
}

TEST(LabCommandLine, IsTheWordLabAmongTheArguments) {
    const std::pair<const char*, bool> kLines[] = {
        {"--lab", true},          {"  --lab  ", true}, {"-x\t--lab", true},
        {"--size 1 --lab", true}, {"", false},         {"--labx", false},
        {"x--lab", false},        {"--la", false},     {"\"--lab\"", false},
    };
    for (const auto& [line, lab] : kLines) {
        EXPECT_EQ(ModeOfCommandLine(line).windowProcedure, lab ? LabWndProc : MainWndProc) << line;
    }
    EXPECT_EQ(&ModeOfCommandLine(nullptr), &kModes.front());
}

// The dialog stays open after the message, waiting for a good text: the script has none for it.
TEST(LabProgram, ADialogTextThatIsNotALoadGetsAMessageAndTheDialogStays) {
    InFreshProcess([] {
        platform::HeadlessBackend backend;
        backend.answerMessageBox(IDOK);  // the explanation
        backend.answerMessageBox(IDOK);  // the key help
        backend.answerDialog("20-");
        backend.answerMessageBox(IDOK);
        try {
            PlayMode(backend, "--lab", [](auto&) { return false; });
            ADD_FAILURE() << "the dialog ended";
        } catch (const platform::HeadlessBackend::Stuck& stuck) {
            EXPECT_STREQ(stuck.what(),
                         "the dialog \"Load value\" is open and the script has no answer for it");
        }
        ASSERT_EQ(backend.messageBoxes().size(), 3u);
        EXPECT_EQ(backend.messageBoxes()[2].text,
                  "\"20-\" is not a load. Type R, R+jX or R-jX in ohms (for example 75+j50), "
                  "short or open.");
        EXPECT_NE(backend.messageBoxes()[2].owner, nullptr);  // the dialog's
        EXPECT_NE(backend.messageBoxes()[2].owner, backend.window());
        EXPECT_EQ(backend.dialogs().size(), 1u);
    });
}

TEST(LabProgram, PointingAtTheLineShowsTheValueThereAndLeavingItTakesItAway) {
    InFreshProcess([] {
        platform::HeadlessBackend backend;
        backend.answerMessageBox(IDOK);  // the explanation
        backend.answerMessageBox(IDOK);  // the key help
        backend.answerDialog("75+j50");
        std::ostringstream trace;
        std::size_t beforeLeaving = 0;
        {
            surface::Recorder recorder(trace);
            int step = 0;
            PlayMode(backend, "--lab", [&](platform::HeadlessBackend& d) {
                switch (step++) {
                    case 0:
                        d.movePointer(744, 166);  // the load end
                        return true;
                    case 1:
                        beforeLeaving = trace.str().size();
                        d.movePointer(900, 600);  // far from the line
                        return true;
                    default:
                        return false;
                }
            });
        }
        const std::string pointed = R"("|V|/|V+| = 1.34, Z = 75.0 + j50.0 ohms")";
        EXPECT_NE(trace.str().rfind(pointed, beforeLeaving), std::string::npos);
        EXPECT_EQ(trace.str().find(pointed, beforeLeaving), std::string::npos);
    });
}

TEST(LabProgram, SpeedKeysStepAndTheSteadyStateThatKeepsTurning) {
    InFreshProcess([] {
        platform::HeadlessBackend backend;
        backend.answerMessageBox(IDOK);  // the explanation
        backend.answerMessageBox(IDOK);  // the key help
        backend.answerDialog("short");
        int step = 0;
        platform::Millis since = 0;
        int clockThen = 0;
        PlayMode(backend, "--lab", [&](platform::HeadlessBackend& d) {
            switch (step++) {
                case 0:  // paused: the right arrow steps one tick, ENTER does not
                    d.pressKey(VK_RIGHT);
                    return true;
                case 1:
                    EXPECT_EQ(clockDeg, 3);
                    d.pressKey(VK_ADD);  // 25 ms
                    return true;
                case 2:
                    d.pressKey(VK_OEM_PLUS);  // 12.5 ms, as 12
                    return true;
                case 3:
                    d.pressKey(VK_OEM_PLUS);  // no faster
                    return true;
                case 4:
                    d.pressKey(VK_RETURN);
                    since = d.now();
                    clockThen = clockDeg;
                    d.wakeDriverAt(since + 120);
                    return true;
                case 5:
                    if (d.now() < since + 120) return --step, true;
                    EXPECT_NEAR(clockDeg - clockThen, 30, 3);  // ten ticks of 12 ms
                    d.pressKey(VK_SUBTRACT);
                    d.pressKey(VK_OEM_MINUS);  // 50 ms again
                    since = d.now();
                    clockThen = clockDeg;
                    d.wakeDriverAt(since + 500);
                    return true;
                case 6:
                    if (d.now() < since + 500) return --step, true;
                    EXPECT_NEAR(clockDeg - clockThen, 30, 3);  // ten ticks of 50 ms
                    return true;
                default:
                    // Past the end of the first run the clock goes on from 723 to 1080, over
                    // and over, with the timer alive.
                    if (clockDeg == 723 && step > 100) {
                        EXPECT_TRUE(platform::TimerExists(d.window(), TIMER_ANIM));
                        return false;
                    }
                    EXPECT_LE(clockDeg, 1080);
                    return true;
            }
        });
    });
}

}  // namespace
