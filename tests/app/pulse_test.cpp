// The pulse mode as a user meets it: velmora-render --pulse's trace (the readouts at chosen
// moments, the height of the line's voltage at the stations, the bounce diagram's labels), and
// the program on the headless backend (the dialog's good and bad texts, the readouts in the
// screen reader's list, a paint giving the picture the run gives, the keys).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/modes.h"
#include "app/resources/dialog_template.h"
#include "app/resources/resource.h"
#include "app/velmora.h"
#include "platform/headless/headless_backend.h"
#include "tests/app/fresh_process.h"
#include "tests/app/play_mode.h"
#include "tests/app/render_trace.h"

namespace {

// The trace of velmora-render --pulse with these arguments, at 992 x 666.
std::string PulseTrace(const std::string& arguments) { return RenderTrace("--pulse " + arguments); }

std::vector<std::string> Lines(const std::string& trace) {
    std::vector<std::string> lines;
    std::istringstream in(trace);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

std::string Text(int x, int y, const std::string& text) {
    return "TextOutA " + std::to_string(x) + " " + std::to_string(y) + " \"" + text + "\"";
}

// The readouts of the moment are the last ones written, in rows 4 to 6 of the column at (20, 20).
TEST(PulseRender, WritesTheReadoutsOfTheMoment) {
    const struct {
        const char* arguments;
        std::vector<std::string> last;  // the last text written on each of rows 0 to 6
    } kRuns[] = {
        {"--source 25 --load 100 --clock 540",
         {"Gamma at the source = -0.333", "Gamma at the load = 0.333", "Launched = 0.667 V",
          "Final = 0.800 V", "t = 1.50 T", "V at the source = 0.667 V", "V at the load = 0.889 V"}},
        {"--source 25 --load 100 --clock 900",
         {"Gamma at the source = -0.333", "Gamma at the load = 0.333", "Launched = 0.667 V",
          "Final = 0.800 V", "t = 2.50 T", "V at the source = 0.815 V", "V at the load = 0.889 V"}},
        {"--source 0 --load short --clock 2160",
         {"Gamma at the source = -1.000", "Gamma at the load = -1.000", "Launched = 1.000 V", "",
          "t = 6.00 T", "V at the source = 1.000 V", "V at the load = 0.000 V"}},
        {"--load open --width 0.5 --clock 432",
         {"Gamma at the source = 0.000", "Gamma at the load = 1.000", "Launched = 0.500 V", "",
          "t = 1.20 T", "V at the source = 0.000 V", "V at the load = 1.000 V"}},
        {"--clock 0",  // the dialog cancelled: 50 ohms at both ends, a step
         {"Gamma at the source = 0.000", "Gamma at the load = 0.000", "Launched = 0.500 V",
          "Final = 0.500 V", "t = 0.00 T", "V at the source = 0.500 V", "V at the load = 0.000 V"}},
    };
    for (const auto& run : kRuns) {
        SCOPED_TRACE(run.arguments);
        // From the last paint on: the first one showed the values before the dialog.
        std::vector<std::string> lines = Lines(PulseTrace(run.arguments));
        const auto paint = std::find(lines.rbegin(), lines.rend(), "# WM_PAINT");
        lines.erase(lines.begin(), paint.base());
        for (int row = 0; row < 7; ++row) {
            const std::string start = "TextOutA 20 " + std::to_string(20 + 20 * row) + " ";
            std::string last;
            for (const std::string& line : lines) {
                if (line.rfind(start, 0) == 0) last = line;
            }
            EXPECT_EQ(last, run.last[row].empty() ? "" : Text(20, 20 + 20 * row, run.last[row]));
        }
    }
}

// The last blue polyline of the run is the line's voltage at the last clock: over the station
// k / 8 of the way from the source, it lies 50 pixels a volt above the line (below for negative
// volts), the line running from (119, 428) to (744, 166).
TEST(PulseRender, DrawsTheLinesVoltageAtFiftyPixelsAVolt) {
    const struct {
        const char* arguments;
        std::vector<std::pair<int, int>> heights;  // station, pixels (0: nothing drawn there)
    } kRuns[] = {
        // 0.815 V behind the third wave's front, halfway, and 0.889 V ahead of it.
        {"--source 25 --load 100 --clock 900", {{1, 41}, {3, 41}, {5, 44}, {7, 44}, {8, 44}}},
        // The pulse meeting its reflection at the open end: 0.5 V, then 1 V where they overlap.
        {"--load open --width 0.5 --clock 432", {{2, 0}, {5, 0}, {6, 25}, {7, 50}}},
        // Negative volts go below the line: the short's reflection on its way back.
        // At 3.25 T the first two waves cancel; the third, -0.111 V, covers the line, and the
        // fourth, +0.111 V, has come 0.25 T back from the load.
        {"--source 100 --load short --clock 1170", {{2, -6}, {5, -6}, {7, 0}}},
        // At 3.6 T the -1 V pulse from the load covers 0.4 to 0.9 T from the source.
        {"--source 0 --load open --width 0.5 --clock 1296", {{2, 0}, {4, -50}, {7, -50}, {8, 0}}},
    };
    for (const auto& run : kRuns) {
        SCOPED_TRACE(run.arguments);
        const std::vector<std::string> lines = Lines(PulseTrace(run.arguments));
        std::size_t from = 0;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (lines[i] == "CreatePen 0 2 16711680") from = i;
        }
        // The segments of the last polyline that run along the line (not the fronts).
        struct Segment {
            int xa, ya, xb, yb;
        };
        std::vector<Segment> segments;
        for (std::size_t i = from; i + 1 < lines.size() && lines[i].rfind("DeleteObject", 0); ++i) {
            Segment s{};
            if (std::sscanf(lines[i].c_str(), "MoveToEx %d %d", &s.xa, &s.ya) == 2 &&
                std::sscanf(lines[i + 1].c_str(), "LineTo %d %d", &s.xb, &s.yb) == 2 &&
                s.xa != s.xb) {
                segments.push_back(s);
            }
        }
        for (const auto& [station, height] : run.heights) {
            const double x = 119 + 625.0 * station / 8;
            const double lineY = 428 - 262.0 * station / 8;
            const Segment* over = nullptr;
            for (const Segment& s : segments) {
                if (s.xa <= x && x <= s.xb) over = &s;
            }
            if (height == 0) {
                EXPECT_EQ(over, nullptr) << "station " << station;
                continue;
            }
            ASSERT_NE(over, nullptr) << "station " << station;
            const double y =
                over->ya + (over->yb - over->ya) * (x - over->xa) / (over->xb - over->xa);
            EXPECT_NEAR(lineY - y, height, 1.0) << "station " << station;
        }
    }
}

// The diagram's axes are at x 773 (the source) and 897 (the load), from y 363 down to 616 at the
// end of the run: a trip's amplitude is written beside its middle and the voltage it leaves at
// its end, as it arrives.
TEST(PulseRender, LabelsEachTripOfTheBounceDiagramAsItArrives) {
    const std::vector<std::string> labels = {
        Text(769, 355, "0.667 V"),  // the source, at the start
        Text(839, 366, "0.667"),   Text(902, 397, "0.889 V"), Text(831, 408, "0.222"),
        Text(769, 439, "0.815 V"), Text(839, 450, "-0.074"),  Text(902, 481, "0.790 V"),
        Text(831, 492, "-0.025"),  Text(769, 523, "0.798 V"), Text(902, 565, "0.801 V"),
        Text(769, 608, "0.800 V"),
    };
    const std::string whole = PulseTrace("--source 25 --load 100");
    const std::set<std::string> lines = [&] {
        const std::vector<std::string> all = Lines(whole);
        return std::set<std::string>(all.begin(), all.end());
    }();
    for (const std::string& label : labels) EXPECT_TRUE(lines.count(label)) << label;

    // Before the first trip arrives, the load has no label yet.
    const std::string early = PulseTrace("--source 25 --load 100 --clock 357");
    EXPECT_EQ(early.find("\"0.889 V\""), std::string::npos);
    EXPECT_NE(PulseTrace("--source 25 --load 100 --clock 360").find(Text(902, 397, "0.889 V")),
              std::string::npos);
}

TEST(PulseCommandLine, IsTheWordPulseAmongTheArguments) {
    const std::pair<const char*, bool> kLines[] = {
        {"--pulse", true}, {" --pulse\t", true}, {"-x --pulse", true},
        {"", false},       {"--pulses", false},  {"-pulse", false},
    };
    for (const auto& [line, pulse] : kLines) {
        EXPECT_EQ(ModeOfCommandLine(line).windowProcedure, pulse ? PulseWndProc : MainWndProc)
            << line;
    }
}

// Each field's text that is not a value gets its own message; the dialog stays open.
TEST(PulseProgram, ADialogTextThatIsNotAValueGetsAMessageAndTheDialogStays) {
    const struct {
        std::vector<std::string> fields;
        const char* message;
    } kBadTexts[] = {
        {{"-5", "100", ""},
         "\"-5\" is not a source resistance. Type a number of ohms from 0 to 10000 (0 is an "
         "ideal source)."},
        {{"25", "75+j50", ""},
         "\"75+j50\" is not a load. Type a number of ohms from 0 to 10000, short or open."},
        {{"25", "100", "2.5"},
         "\"2.5\" is not a pulse width. Type a number of trips over 0 and up to 2, or leave it "
         "empty for a step."},
    };
    for (const auto& bad : kBadTexts) {
        SCOPED_TRACE(bad.message);
        InFreshProcess([&] {
            platform::HeadlessBackend backend;
            ConfirmIntroAndType(backend, bad.fields);
            backend.answerMessageBox(IDOK);
            try {
                PlayMode(backend, "--pulse", [](auto&) { return false; });
                ADD_FAILURE() << "the dialog ended";
            } catch (const platform::HeadlessBackend::Stuck& stuck) {
                EXPECT_STREQ(stuck.what(),
                             "the dialog \"Pulse values\" is open and the script has no answer "
                             "for it");
            }
            ASSERT_EQ(backend.messageBoxes().size(), 3u);
            EXPECT_EQ(backend.messageBoxes()[2].text, bad.message);
            EXPECT_NE(backend.messageBoxes()[2].owner, backend.window());
            EXPECT_EQ(backend.dialogs().size(), 1u);
        });
    }
}

bool SamePicture(const surface::Canvas& a, const surface::Canvas& b) {
    return a.width() == b.width() && a.height() == b.height() &&
           std::equal(a.data(), a.data() + a.width() * a.height(), b.data());
}

// Good texts make the run; its readouts reach the screen reader's list. A paint at any moment
// gives the very picture the run had; the right arrow steps while paused; the run ends at 2160
// without its timer.
TEST(PulseProgram, APaintKeepsThePictureAndTheRunEndsAfterSixTrips) {
    InFreshProcess([] {
        platform::HeadlessBackend backend;
        ConfirmIntroAndType(backend, {"25", "100", ""});
        const std::vector<int> pauses = {3, 540, 903, 1440, 2160};
        std::size_t next = 0;
        enum class Phase { Step, Running, Paused, Painted } phase = Phase::Step;
        std::optional<surface::Canvas> before;
        PlayMode(backend, "--pulse", [&](platform::HeadlessBackend& d) {
            switch (phase) {
                case Phase::Step:
                    d.pressKey(VK_RIGHT);  // one tick while paused
                    phase = Phase::Paused;
                    return true;
                case Phase::Running:
                    if (clockDeg < pauses[next]) return true;
                    if (clockDeg < 2160) {
                        d.pressKey(VK_RETURN);
                        phase = Phase::Paused;
                        return true;
                    }
                    [[fallthrough]];  // the run has ended by itself
                case Phase::Paused:
                    EXPECT_EQ(clockDeg, pauses[next]);
                    before = *d.screen();
                    d.uncover(nullptr);
                    phase = Phase::Painted;
                    return true;
                case Phase::Painted:
                    EXPECT_TRUE(SamePicture(*before, *d.screen())) << "at " << clockDeg;
                    if (++next == pauses.size()) break;
                    d.pressKey(VK_RETURN);
                    phase = Phase::Running;
                    return true;
            }
            EXPECT_FALSE(platform::TimerExists(d.window(), TIMER_ANIM));
            const std::vector<std::string>& texts = d.texts();
            for (const char* text : {"Final = 0.800 V", "t = 6.00 T", "V at the load = 0.801 V",
                                     "0.889 V", "-0.074"}) {
                EXPECT_NE(std::find(texts.begin(), texts.end(), text), texts.end()) << text;
            }
            return false;
        });
        EXPECT_EQ(next, pauses.size());
    });
}

}  // namespace

namespace {

// The source's circle shows what it sends: a step up, or a pulse that comes down again; never
// the plain mode's sine.
TEST(PulseProgram, TheSourceShowsAStepOrAPulse) {
    const struct {
        const char* width;  // typed into the pulse width field
        bool highAtRight, lowAtRight;
    } kSources[] = {{"", true, false}, {"0.5", false, true}};
    for (const auto& source : kSources) {
        SCOPED_TRACE(source.width);
        InFreshProcess([&] {
            platform::HeadlessBackend backend;
            ConfirmIntroAndType(backend, {"", "100", source.width});
            PlayMode(backend, "--pulse", [&](platform::HeadlessBackend& d) {
                // The circle's middle, below its resistor at the bottom left (992 x 666).
                const int left = 992 / 10, middle = (3 * 666) / 4 + 20;
                auto black = [&](int x, int y) { return d.screen()->pixel(x, y) == RGB(0, 0, 0); };
                EXPECT_EQ(black(left + 30, middle - 8), source.highAtRight);
                EXPECT_EQ(black(left + 30, middle + 8), source.lowAtRight);
                EXPECT_TRUE(black(left + 10, middle + 8));  // low before it rises
                return false;
            });
        });
    }
}

}  // namespace
