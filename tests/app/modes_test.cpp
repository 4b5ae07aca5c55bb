// The table of modes: each mode found by its switch, and each one's smallest client showing every
// text the program writes whole, for loads with the widest readouts.
#include "app/modes.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "surface/text.h"
#include "tests/app/render_trace.h"

namespace {

TEST(Modes, TheDefaultComesFirstAndEachOtherHasItsOwnSwitchAndQuery) {
    ASSERT_FALSE(kModes.empty());
    EXPECT_STREQ(kModes.front().commandLineSwitch, "");
    EXPECT_STREQ(kModes.front().pageQuery, "");
    std::set<std::string> switches, queries;
    for (const Mode& mode : kModes.subspan(1)) {
        EXPECT_TRUE(switches.insert(mode.commandLineSwitch).second) << mode.name;
        EXPECT_TRUE(queries.insert(mode.pageQuery).second) << mode.name;
        EXPECT_EQ(std::string(mode.commandLineSwitch).rfind("--", 0), 0u) << mode.name;
        EXPECT_NE(std::string(mode.pageQuery), "") << mode.name;
        EXPECT_EQ(&ModeOfCommandLine(mode.commandLineSwitch), &mode) << mode.name;
    }
}

// The texts of velmora-render's trace that do not lie whole in the client area.
std::string TextsOutside(const Mode& mode, const std::string& load) {
    const int width = mode.minimumClientWidth, height = mode.minimumClientHeight;
    const std::string trace =
        RenderTrace(std::string(mode.commandLineSwitch) + " --size " + std::to_string(width) + "x" +
                    std::to_string(height) + " --load '" + load + "'");

    static const std::regex kTextOut(R"re(^TextOutA (-?\d+) (-?\d+) "((?:[^"\\]|\\.)*)"$)re");
    std::string outside;
    std::istringstream lines(trace);
    for (std::string line; std::getline(lines, line);) {
        std::smatch match;
        if (!std::regex_match(line, match, kTextOut)) continue;
        const int x = std::stoi(match[1]), y = std::stoi(match[2]);
        const std::string text = std::regex_replace(match[3].str(), std::regex(R"(\\(.))"), "$1");
        const int right = x + surface::TextWidth(text.c_str(), static_cast<int>(text.size()));
        if (x < 0 || y < 0 || right > width || y + surface::kFontHeight > height) {
            outside += line + "\n";
        }
    }
    return outside;
}

TEST(Modes, TheSmallestClientShowsEveryTextWhole) {
    const struct {
        const char* mode;
        const char* loads[3];
    } kRuns[] = {
        {"", {"100", "0.1", "10000"}},
        {"--lab", {"75+j50", "10000+j10000", "0.1+j9999"}},
    };
    for (const auto& run : kRuns) {
        const Mode& mode = ModeOfCommandLine(run.mode);
        for (const char* load : run.loads) {
            EXPECT_EQ(TextsOutside(mode, load), "") << mode.name << " mode, load " << load;
        }
    }
}

}  // namespace
