// The readings each mode names for a reader, played as a user would: what was chosen first, then
// what it gives, each reading whole (a caption with its value), and none of the picture's labels
// among them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/resources/resource.h"
#include "app/velmora.h"
#include "tests/app/fresh_process.h"
#include "tests/app/play_mode.h"

namespace {

// Each reading starts with its prefix, in this order, and no other text is a reading.
void ExpectReadings(const platform::WindowTexts& texts, const std::vector<std::string>& prefixes,
                    const std::vector<std::string>& labels) {
    ASSERT_EQ(texts.readings.size(), prefixes.size()) << ::testing::PrintToString(texts.readings);
    for (std::size_t i = 0; i < prefixes.size(); ++i) {
        EXPECT_TRUE(texts.readings[i].starts_with(prefixes[i]))
            << texts.readings[i] << " where " << prefixes[i] << " was due";
    }
    for (const std::string& label : labels) {
        EXPECT_NE(std::find(texts.others.begin(), texts.others.end(), label), texts.others.end())
            << label << " is not among the picture's other texts";
    }
}

const std::vector<std::string> kImpedances = {
    "Z1 = ", "Z2 = ", "Z3 = ", "Z4 = ", "Z5 = ", "Z6 = ", "Z7 = "};

std::vector<std::string> Joined(std::vector<std::string> first,
                                const std::vector<std::string>& then) {
    first.insert(first.end(), then.begin(), then.end());
    return first;
}

TEST(Readings, EachModeNamesItsReadingsInOrderAtTheEndOfARun) {
    const struct {
        const char* commandLine;
        std::vector<std::string> answers;  // typed into the start-up dialog's fields
        std::vector<std::string> readings;
        std::vector<std::string> labels;
    } kRuns[] = {
        {"",
         {"100"},
         Joined({"Load: 100.0 ohms", "Standing Wave Ratio = 2.00"}, kImpedances),
         {"Z 5", "50 ohms", "50-ohm transmission line"}},
        {"--lab",
         {"75+j50"},
         Joined(
             Joined({"Load: 75.0 + j50.0 ohms", "Gamma = ", "Ratio = ", "Vmin at "}, kImpedances),
             {"|V|/|V+| = "}),
         {"Z 5", "Smith chart"}},
        {"--pulse",
         {"20", "open"},
         {"Source: 20.0 ohms", "Load: open", "Gamma at the source = ", "Gamma at the load = ",
          "Launched = ", "Final = ", "t = 6.00 T", "V at the source = ", "V at the load = "},
         {"Bounce diagram", "source", "load"}},
    };
    for (const auto& run : kRuns) {
        SCOPED_TRACE(run.commandLine);
        InFreshProcess([&] {
            platform::HeadlessBackend backend;
            ConfirmIntroAndType(backend, run.answers);
            const int end = ModeOfCommandLine(run.commandLine).clockEnd;
            int step = 0;
            PlayMode(backend, run.commandLine, [&](platform::HeadlessBackend& d) {
                if (step++ == 0) {
                    d.pressKey(VK_RETURN);
                    return true;
                }
                if (clockDeg < end) return true;
                if (LabPointer() == std::nullopt && std::string(run.commandLine) == "--lab") {
                    d.movePointer(744, 166);  // the load end of the line
                    return true;
                }
                ExpectReadings(d.writtenTexts(), run.readings, run.labels);
                return false;
            });
        });
    }
}

}  // namespace
