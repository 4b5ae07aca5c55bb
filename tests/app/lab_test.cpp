// The lab mode as a user meets it: velmora-render --lab's trace (the readouts, the envelope's
// dots at the formula's heights, the Smith chart's points), and the program on the headless
// backend (the dialog refusing a text that is not a load, the value under the pointer, the
// speed keys, the single step and the steady state).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdio>
#include <functional>
#include <numbers>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "app/modes.h"
#include "app/resources/dialog_template.h"
#include "app/resources/resource.h"
#include "app/velmora.h"
#include "lab/picture.h"
#include "lab/readouts.h"
#include "platform/headless/headless_backend.h"
#include "surface/device_context.h"
#include "surface/recorder.h"
#include "surface/text.h"
#include "tests/app/fresh_process.h"
#include "tests/app/play_mode.h"
#include "tests/app/render_trace.h"

namespace {

using std::numbers::pi;

// The trace of velmora-render --lab with the load (and the options), at the program's own size,
// 992 x 666.
std::string LabTrace(const std::string& load, const std::string& options = "") {
    return RenderTrace("--lab --load '" + load + "' " + options);
}

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

// The matching's readouts right of the chart at the top, and Z1 to Z7 with it in place: the load's
// line below the matching point, 50 ohms beyond it.
TEST(LabMatching, WritesItsReadouts) {
    const struct {
        const char* match;
        std::vector<std::string> lines;
    } kRuns[] = {
        {"stub1",
         {R"(TextOutA 250 20 "Stub at 0.217 wavelengths from the load, 0.132 wavelengths long")",
          R"(TextOutA 250 40 "Ratio on the source side = 1.00")",
          R"(TextOutA 496 423 "Z1 = 66.7 - j50.0 ohms")",
          R"(TextOutA 496 443 "Z2 = 50.0 + j0.0 ohms")",
          R"(TextOutA 496 543 "Z7 = 50.0 + j0.0 ohms")"}},
        {"stub2",
         {R"(TextOutA 250 20 "Stub at 0.399 wavelengths from the load, 0.368 wavelengths long")",
          R"(TextOutA 496 463 "Z3 = 24.0 + j18.0 ohms")",
          R"(TextOutA 496 483 "Z4 = 50.0 + j0.0 ohms")"}},
        {"vmax",
         {R"(TextOutA 250 20 "Quarter-wave section of 77.8 ohms at 0.058 wavelengths from the load")",
          R"(TextOutA 250 40 "Ratio on the source side = 1.00")",
          R"(TextOutA 496 423 "Z1 = 97.7 - j33.3 ohms")",
          R"(TextOutA 496 463 "Z3 = 50.0 + j0.0 ohms")"}},
        {"vmin",
         {R"(TextOutA 250 20 "Quarter-wave section of 32.1 ohms at 0.308 wavelengths from the load")",
          R"(TextOutA 496 483 "Z4 = 42.4 + j12.9 ohms")",
          R"(TextOutA 496 503 "Z5 = 50.0 + j0.0 ohms")"}},
    };
    for (const auto& run : kRuns) {
        SCOPED_TRACE(run.match);
        const std::set<std::string> lines =
            Lines(LabTrace("75+j50", std::string("--match ") + run.match));
        for (const std::string& line : run.lines) EXPECT_TRUE(lines.count(line)) << line;
    }
    const std::string cannot = LabTrace("0-j25", "--match vmin");
    EXPECT_NE(cannot.find(
                  R"(TextOutA 250 20 "A short, an open end or a pure reactance cannot be matched)"),
              std::string::npos);
    EXPECT_EQ(cannot.find("Ratio on the source side"), std::string::npos);
}

// The dots of the envelope lie flat 50 pixels above the line beyond the matching point, and on
// the load side of it at the load's envelope scaled to meet it there: below a stub at d,
// 50 |1 + Gamma e^(-j 4 pi z)| / |1 + Gamma e^(-j 4 pi d)|; below a section, which carries the same
// power, 50 |1 + Gamma e^(-j 4 pi z)| / sqrt(1 - |Gamma|^2).
TEST(LabMatching, TheDotsAreFlatOnTheSourceSideAndScaledOnTheLoadSide) {
    const struct {
        const char* load;
        std::complex<double> ohms;
        const char* match;
        double from, to;  // the matching, in wavelengths from the load (to - from: the section)
    } kRuns[] = {
        {"75+j50", {75, 50}, "stub1", 0.21689885701318368, 0.21689885701318368},
        {"20-j35", {20, -35}, "stub2", 0.18038417981436422, 0.18038417981436422},
        {"75+j50", {75, 50}, "vmax", 0.05782436018968083, 0.30782436018968083},
        {"100", {100, 0}, "vmin", 0.25, 0.5},
    };
    for (const auto& run : kRuns) {
        SCOPED_TRACE(std::string(run.load) + " " + run.match);
        const std::complex<double> gamma = Gamma(run.ohms);
        auto envelope = [&](double z) {
            return std::abs(1.0 + gamma * std::polar(1.0, -4 * pi * z));
        };
        const double scale =
            run.from == run.to ? 1 / envelope(run.from) : 1 / std::sqrt(1 - std::norm(gamma));
        const std::set<std::string> lines =
            Lines(LabTrace(run.load, std::string("--match ") + run.match));
        int checked = 0;
        for (int d = 360; d <= 720; d += 3) {
            const double z = (d - 360) / 360.0;
            if (z >= run.from && z < run.to) continue;  // in the section
            const int height = z >= run.to ? 50 : static_cast<int>(50 * envelope(z) * scale + 0.5);
            const auto [x, y] = Front(d);
            EXPECT_TRUE(lines.count(Pixel(x, y - height, 255))) << d << " " << height;
            ++checked;
        }
        EXPECT_GT(checked, 60);
    }
}

// The reflected wave's phasors stop at the matching point: in the last frame they stand only at
// the stations on the load side of it (and within a section).
TEST(LabMatching, TheReflectedPhasorsStopAtTheMatchingPoint) {
    const struct {
        const char* match;
        int stations;  // with a reflected phasor, from the load: z = 0, 1/8, ...
    } kRuns[] = {{"", 9},
                 {"--match stub1", 2},
                 {"--match stub2", 4},
                 {"--match vmax", 3},
                 {"--match vmin", 5}};
    for (const auto& run : kRuns) {
        SCOPED_TRACE(run.match);
        const std::string trace = LabTrace("75+j50", run.match);
        const std::size_t from = trace.rfind("CreatePen 0 2 200");
        const std::size_t to = trace.find("SetROP2 13", from);
        ASSERT_NE(to, std::string::npos);
        const std::set<std::string> moves = Lines(trace.substr(from, to - from));
        for (int j = 0; j <= 8; ++j) {
            const auto [x, y] = Front(360 + 45 * j);
            const std::string origin = "MoveToEx " + std::to_string(x) + " " + std::to_string(y);
            EXPECT_EQ(moves.count(origin), j < run.stations ? 1u : 0u)
                << "station z = " << j << "/8";
        }
    }
}

// The way on the Smith chart (centre (115, 115), radius 95), in the matching's blue. A stub: the
// load's admittance opposite the load, and where it meets the g = 1 circle, 1 + jb with
// b = +-2 |Gamma| / sqrt(1 - |Gamma|^2), at jb / (2 + jb). A section: the real axis at +-|Gamma|
// and the section's circle, with that point and the centre as its diameter.
TEST(LabMatching, TheSmithChartShowsTheWay) {
    constexpr int kBlue = 0xDC5A00;
    auto point = [](std::complex<double> gamma) {
        return std::pair{115 + static_cast<int>(std::lround(95 * gamma.real())),
                         115 - static_cast<int>(std::lround(95 * gamma.imag()))};
    };
    for (const auto& [text, load] : {std::pair{"75+j50", std::complex<double>(75, 50)},
                                     std::pair{"20-j35", std::complex<double>(20, -35)}}) {
        SCOPED_TRACE(text);
        const std::complex<double> gamma = Gamma(load);
        const double rho = std::abs(gamma);
        const double b = 2 * rho / std::sqrt(1 - rho * rho);
        for (const auto& [match, susceptance] : {std::pair{"stub1", b}, std::pair{"stub2", -b}}) {
            SCOPED_TRACE(match);
            const std::set<std::string> lines =
                Lines(LabTrace(text, std::string("--match ") + match));
            const auto [ax, ay] = point(-gamma);
            EXPECT_TRUE(lines.count(Pixel(ax, ay, kBlue))) << "the load's admittance";
            const std::complex<double> jb(0, susceptance);
            const auto [gx, gy] = point(jb / (2.0 + jb));
            EXPECT_TRUE(lines.count(Pixel(gx, gy, kBlue))) << "on the g = 1 circle";
        }
        for (const auto& [match, real] : {std::pair{"vmax", rho}, std::pair{"vmin", -rho}}) {
            SCOPED_TRACE(match);
            const std::set<std::string> lines =
                Lines(LabTrace(text, std::string("--match ") + match));
            const auto [rx, ry] = point(real);
            EXPECT_TRUE(lines.count(Pixel(rx, ry, kBlue))) << "on the real axis";
            const auto [cx, cy] = point(real / 2);
            const int r = static_cast<int>(std::lround(95 * rho / 2));
            const std::string box = "Arc " + std::to_string(cx - r) + " " + std::to_string(cy - r) +
                                    " " + std::to_string(cx + r + 1) + " " +
                                    std::to_string(cy + r + 1) + " ";
            EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
                return line.starts_with(box);
            })) << box;
        }
    }
}

// The reflected wave's phasors on the frame of the clock: the front's (while it travels back) at
// the front, at pi / 2 + arg Gamma, and station 8 + j's at the clock's angle plus pi / 2 - j pi / 4
// + arg Gamma, each |Gamma| times 50 pixels long (the glyph's truncation as wave::DrawPhasor has
// it). They are the last lines of the run, after the frame's SetROP2 10.
TEST(LabRender, DrawsTheReflectedPhasorsAtGammasAngle) {
    for (const auto& [text, load] : {std::pair{"75+j50", std::complex<double>(75, 50)},
                                     std::pair{"20-j35", std::complex<double>(20, -35)}}) {
        for (const int d : {363, 405, 543, 717, 1080}) {
            SCOPED_TRACE(std::string(text) + " at " + std::to_string(d));
            const std::string trace = LabTrace(text, "--clock " + std::to_string(d));
            const std::string frame = trace.substr(trace.rfind("SetROP2 10"));
            const std::complex<double> gamma = Gamma(load);
            auto expectPhasor = [&](std::pair<int, int> origin, double angle) {
                const auto [x, y] = origin;
                const int dx = static_cast<int>(std::cos(angle) * std::abs(gamma) * 50);
                const int dy = static_cast<int>(std::sin(angle) * std::abs(gamma) * 50);
                const std::string shaft = "MoveToEx " + std::to_string(x) + " " +
                                          std::to_string(y) + "\nLineTo " + std::to_string(x + dx) +
                                          " " + std::to_string(y - dy);
                EXPECT_NE(frame.find(shaft), std::string::npos) << shaft;
            };
            if (d < 720) expectPhasor(Front(d), pi / 2 + std::arg(gamma));
            for (int j = 0; j <= 8 && d >= 360 + 45 * j; ++j) {
                expectPhasor(Front(360 + 45 * j),
                             d * pi / 180 + pi / 2 - j * pi / 4 + std::arg(gamma));
            }
        }
    }
}

// At 1040 x 654 the line runs from (124, 419) to (780, 163), 656 by -256 pixels, so that the
// point an eighth of a wavelength from the load, (698, 195), reads exactly 0.125. The pointer
// reads the line within 30 pixels of it, also beyond its ends, and its readout stands beside
// it on the side with room, 14 pixels off, wholly in the window.
TEST(LabPointer, ReadsTheLineWithinReachAndShowsTheValueBesideIt) {
    const int width = 1040, height = 654;
    const lab::Load load{{75, 50}};
    const struct {
        POINT pointer;
        std::optional<double> wavelengths;
        const char* readout;  // the text written, if the value is exact enough to name
    } kPointers[] = {
        {{698, 195}, 0.125, "|V|/|V+| = 1.31, Z = 66.7 - j50.0 ohms"},
        {{780, 163}, 0.0, "|V|/|V+| = 1.34, Z = 75.0 + j50.0 ohms"},
        {{124, 419}, 1.0, "|V|/|V+| = 1.34, Z = 75.0 + j50.0 ohms"},
        {{805, 163}, 0.0, nullptr},  // 25 pixels beyond the load end
        {{811, 163}, std::nullopt, nullptr},
        {{698, 227}, 0.125 + 32.0 * 256 / (656 * 656 + 256 * 256), nullptr},  // 29.8 pixels off
        {{698, 228}, std::nullopt, nullptr},                                  // 30.7 pixels off
        {{94, 419}, 1.0, nullptr},
        {{93, 419}, std::nullopt, nullptr},
    };
    for (const auto& row : kPointers) {
        SCOPED_TRACE(testing::Message() << row.pointer.x << ", " << row.pointer.y);
        const std::optional<double> z = lab::PointedDistance(width, height, row.pointer);
        ASSERT_EQ(z.has_value(), row.wavelengths.has_value());
        if (!z) continue;
        EXPECT_NEAR(*z, *row.wavelengths, 1e-12);

        std::ostringstream trace;
        {
            surface::Recorder recorder(trace);
            HDC dc = surface::CreateCanvasDC(nullptr);
            lab::DrawPointerValue(dc, width, height, load, row.pointer);
            surface::ReleaseCanvasDC(dc);
        }
        const std::string text = FormatReadout(load, lab::Readout::Pointer, *z);
        if (row.readout != nullptr) {
            EXPECT_EQ(text, row.readout);
        }
        const bool rightHalf = row.pointer.x > width / 2;
        const int x = row.pointer.x + (rightHalf ? -14 : 14);
        const int textWidth = surface::TextWidth(text.c_str(), static_cast<int>(text.size()));
        const int left = rightHalf ? x - textWidth : x;
        EXPECT_GE(left, 0);
        EXPECT_LE(left + textWidth, width);
        const std::string written = std::string("SetTextAlign ") + (rightHalf ? "2" : "0") +
                                    "\nTextOutA " + std::to_string(x) + " " +
                                    std::to_string(row.pointer.y + 14) + " \"" + text + "\"";
        EXPECT_NE(trace.str().find(written), std::string::npos) << trace.str();
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

// Scripts the start: both introductory boxes confirmed, then the load typed into the dialog.

// What the screen shows at moments of a paused lab run, from a process of its own: the driver
// steps the clock with the right arrow to `clock`, takes a picture, acts once per action (the
// repaints), takes a picture, steps `after` ticks more and takes a last picture.
using Action = std::function<void(platform::HeadlessBackend&)>;
using Pixels = std::vector<COLORREF>;
std::vector<Pixels> PausedPictures(const char* load, int clock, const std::vector<Action>& actions,
                                   int after) {
    int channel[2];
    if (pipe(channel) != 0) return {};
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        platform::HeadlessBackend backend;
        ConfirmIntroAndType(backend, {load});
        std::size_t step = 0;
        auto shoot = [&](const platform::HeadlessBackend& d) {
            const surface::Canvas& screen = *d.screen();
            const std::size_t bytes = sizeof(COLORREF) * screen.width() * screen.height();
            if (write(channel[1], screen.data(), bytes) != static_cast<ssize_t>(bytes)) _exit(2);
        };
        PlayMode(backend, "--lab", [&](platform::HeadlessBackend& d) {
            const std::size_t at = step++;
            if (at == 0) {
                for (int d = 0; d < clock; d += 3) backend.pressKey(VK_RIGHT);
            } else if (at == 1) {
                shoot(d);
            }
            if (at >= 1 && at - 1 < actions.size()) {
                actions[at - 1](d);
                return true;
            }
            if (at == actions.size() + 1) {
                shoot(d);
                for (int i = 0; i < after; ++i) d.pressKey(VK_RIGHT);
                return true;
            }
            if (at == actions.size() + 2) shoot(d);
            return at < actions.size() + 2;
        });
        _exit(0);
    }
    close(channel[1]);
    std::vector<Pixels> pictures;
    for (int i = 0; i < 3; ++i) {
        Pixels pixels(992 * 666);
        const std::size_t bytes = sizeof(COLORREF) * pixels.size();
        std::size_t got = 0;
        for (ssize_t n = 1; got < bytes && n > 0; got += n) {
            n = read(channel[0], reinterpret_cast<char*>(pixels.data()) + got, bytes - got);
            if (n <= 0) break;
        }
        if (got == bytes) pictures.push_back(std::move(pixels));
    }
    close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    return pictures;
}

// How many pixels differ, and the box around them.
std::string Difference(const Pixels& a, const Pixels& b) {
    if (a.size() != b.size()) return "sizes differ";
    int count = 0, left = 992, top = 666, right = -1, bottom = -1;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i] == b[i]) continue;
        const int x = static_cast<int>(i % 992), y = static_cast<int>(i / 992);
        ++count;
        left = std::min(left, x), right = std::max(right, x);
        top = std::min(top, y), bottom = std::max(bottom, y);
    }
    if (count == 0) return "";
    return std::to_string(count) + " pixels in x " + std::to_string(left) + "-" +
           std::to_string(right) + ", y " + std::to_string(top) + "-" + std::to_string(bottom);
}

// A paint at any clock (the window uncovered in whole or in part, the pointer onto the line and
// off it, a resize and back) leaves the picture the run without it shows, then and later.
TEST(LabProgram, APaintGivesThePictureOfTheRunWithoutIt) {
    const RECT nearTheSource{60, 300, 260, 460};
    const RECT acrossTheLine{400, 150, 640, 420};
    const struct {
        const char* what;
        std::vector<Action> actions;
    } kRepaints[] = {
        {"uncovered twice",
         {[](auto& d) { d.uncover(nullptr); }, [](auto& d) { d.uncover(nullptr); }}},
        {"uncovered near the source", {[&](auto& d) { d.uncover(&nearTheSource); }}},
        {"uncovered across the line", {[&](auto& d) { d.uncover(&acrossTheLine); }}},
        {"the pointer onto the line and off it",
         {[](auto& d) { d.movePointer(431, 297); }, [](auto& d) { d.movePointer(900, 600); }}},
        {"resized and back",
         {[](auto& d) { d.resizeClient(640, 480); }, [](auto& d) { d.resizeClient(992, 666); }}},
    };
    // Clock 1083 is the steady state's 723.
    for (const int clock : {3, 357, 360, 405, 702, 720, 1080, 1083}) {
        SCOPED_TRACE(clock);
        const std::vector<Pixels> without = PausedPictures("75+j50", clock, {}, 15);
        ASSERT_EQ(without.size(), 3u);
        for (const auto& repaint : kRepaints) {
            SCOPED_TRACE(repaint.what);
            const std::vector<Pixels> with = PausedPictures("75+j50", clock, repaint.actions, 15);
            ASSERT_EQ(with.size(), 3u);
            EXPECT_EQ(Difference(with[1], without[1]), "") << "after the paint";
            EXPECT_EQ(Difference(with[2], without[2]), "") << "15 ticks later";
        }
    }
}

// The dialog stays open after the message, waiting for a good text: the script has none for it.
// A text longer than the dialog takes is refused whole, not read in part.
TEST(LabProgram, ADialogTextThatIsNotALoadGetsAMessageAndTheDialogStays) {
    const struct {
        std::string typed, message;
    } kRefused[] = {
        {"20-",
         "\"20-\" is not a load. Type R, R+jX or R-jX in ohms (for example 75+j50), short or "
         "open."},
        {"75" + std::string(200, ' ') + "+j50",
         "\"75" + std::string(38, ' ') +
             "...\" is too long: the dialog takes at most 159 characters."},
    };
    for (const auto& refused : kRefused) {
        SCOPED_TRACE(refused.typed);
        InFreshProcess([&] {
            platform::HeadlessBackend backend;
            ConfirmIntroAndType(backend, {refused.typed});
            backend.answerMessageBox(IDOK);
            try {
                PlayMode(backend, "--lab", [](auto&) { return false; });
                ADD_FAILURE() << "the dialog ended";
            } catch (const platform::HeadlessBackend::Stuck& stuck) {
                EXPECT_STREQ(
                    stuck.what(),
                    "the dialog \"Load value\" is open and the script has no answer for it");
            }
            ASSERT_EQ(backend.messageBoxes().size(), 3u);
            EXPECT_EQ(backend.messageBoxes()[2].text, refused.message);
            EXPECT_NE(backend.messageBoxes()[2].owner, nullptr);  // the dialog's
            EXPECT_NE(backend.messageBoxes()[2].owner, backend.window());
            EXPECT_EQ(backend.dialogs().size(), 1u);
        });
    }
}

// The readout goes when the pointer leaves the line, leaves the window in one move, or when F1
// asks for a new load (whose values it would otherwise show).
TEST(LabProgram, PointingAtTheLineShowsTheValueThereUntilThePointerLeavesOrF1) {
    const struct {
        const char* what;
        Action leave;
    } kLeavings[] = {
        {"off the line", [](auto& d) { d.movePointer(900, 600); }},
        {"out of the window", [](auto& d) { d.leavePointer(); }},
        {"F1", [](auto& d) { d.pressKey(VK_F1); }},
    };
    for (const auto& leaving : kLeavings) {
        SCOPED_TRACE(leaving.what);
        InFreshProcess([&] {
            platform::HeadlessBackend backend;
            ConfirmIntroAndType(backend, {"75+j50"});
            backend.answerDialog("20-j35");  // after F1
            auto pointerTexts = [&] {
                std::vector<std::string> found;
                for (const std::string& text : backend.texts()) {
                    if (text.starts_with("|V|/|V+|")) found.push_back(text);
                }
                return found;
            };
            int step = 0;
            PlayMode(backend, "--lab", [&](platform::HeadlessBackend& d) {
                switch (step++) {
                    case 0:
                        d.movePointer(744, 166);  // the load end
                        return true;
                    case 1:
                        EXPECT_EQ(pointerTexts(), std::vector<std::string>{
                                                      "|V|/|V+| = 1.34, Z = 75.0 + j50.0 ohms"});
                        leaving.leave(d);
                        return true;
                    default:
                        EXPECT_EQ(pointerTexts(), std::vector<std::string>{});
                        return false;
                }
            });
        });
    }
}

// Stepped on from the end of the first run, the clock goes on from 723 (one period back), to 1080
// and 723 again.
TEST(LabProgram, TheSteadyStateTurnsFrom1080To723) {
    InFreshProcess([] {
        platform::HeadlessBackend backend;
        ConfirmIntroAndType(backend, {"75+j50"});
        std::vector<int> clocks;
        const int kSteps[] = {360, 1, 119, 1};
        std::size_t next = 0;
        PlayMode(backend, "--lab", [&](platform::HeadlessBackend& d) {
            if (next > 0) clocks.push_back(clockDeg);
            if (next == std::size(kSteps)) return false;
            for (int i = 0; i < kSteps[next]; ++i) d.pressKey(VK_RIGHT);
            ++next;
            return true;
        });
        EXPECT_EQ(clocks, (std::vector<int>{1080, 723, 1080, 723}));
    });
}

// '-' past the slowest period keeps it (200 ms); the right arrow steps only while paused.
TEST(LabProgram, TheSlowestPeriodStaysAndTheRightArrowWaitsForAPause) {
    InFreshProcess([] {
        platform::HeadlessBackend backend;
        ConfirmIntroAndType(backend, {"75+j50"});
        int step = 0;
        platform::Millis since = 0;
        int clockThen = 0;
        PlayMode(backend, "--lab", [&](platform::HeadlessBackend& d) {
            switch (step++) {
                case 0:
                    for (int i = 0; i < 4; ++i) d.pressKey(VK_SUBTRACT);  // 100, 200, 200, 200
                    d.pressKey(VK_RETURN);
                    since = d.now();
                    clockThen = clockDeg;
                    d.wakeDriverAt(since + 2000);
                    return true;
                case 1:
                    if (d.now() < since + 2000) return --step, true;
                    EXPECT_NEAR(clockDeg - clockThen, 30, 3);  // ten ticks of 200 ms
                    clockThen = clockDeg;
                    for (int i = 0; i < 5; ++i) d.pressKey(VK_RIGHT);
                    return true;
                default:
                    EXPECT_EQ(clockDeg, clockThen);
                    return false;
            }
        });
    });
}

TEST(LabProgram, SpeedKeysStepAndTheSteadyStateThatKeepsTurning) {
    InFreshProcess([] {
        platform::HeadlessBackend backend;
        ConfirmIntroAndType(backend, {"short"});
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

// M goes round the matchings, each paint showing the chosen one; F1 and a new load end it.
TEST(LabProgram, MGoesRoundTheMatchingsAndANewLoadEndsIt) {
    InFreshProcess([] {
        platform::HeadlessBackend backend;
        ConfirmIntroAndType(backend, {"75+j50"});
        backend.answerDialog("100");
        const std::string kAtTheTop = "TextOutA 250 20 \"";
        const std::vector<std::string> kShown = {
            "Stub at 0.217 wavelengths from the load, 0.132 wavelengths long",
            "Stub at 0.399 wavelengths from the load, 0.368 wavelengths long",
            "Quarter-wave section of 77.8 ohms at 0.058 wavelengths from the load",
            "Quarter-wave section of 32.1 ohms at 0.308 wavelengths from the load",
            "",  // none again
            "Stub at 0.217 wavelengths from the load, 0.132 wavelengths long",
            "",  // F1 and the new load, 100 ohms
            "Stub at 0.152 wavelengths from the load, 0.152 wavelengths long",
        };
        std::ostringstream trace;
        surface::Recorder recorder(trace);
        std::size_t step = 0, since = 0;
        PlayMode(backend, "--lab", [&](platform::HeadlessBackend& d) {
            if (step > 0) {
                // What the paint after the key wrote at the top of the picture.
                const std::string painted = trace.str().substr(since);
                const std::size_t at = painted.find(kAtTheTop);
                const std::string& wanted = kShown[step - 1];
                if (wanted.empty()) {
                    EXPECT_EQ(at, std::string::npos) << "step " << step;
                } else {
                    EXPECT_EQ(painted.substr(at + kAtTheTop.size(), wanted.size()), wanted)
                        << "step " << step;
                }
            }
            if (step == kShown.size()) return false;
            since = trace.str().size();
            d.pressKey(step == 6 ? VK_F1 : 'M');
            ++step;
            return true;
        });
        EXPECT_EQ(step, kShown.size());
    });
}

}  // namespace
