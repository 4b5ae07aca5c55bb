// The pulse mode's model against the lattice worked by hand, its readouts, and the dialog's
// texts.
#include "pulse/model.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pulse/readouts.h"

namespace {

using pulse::Readout;

struct Reading {
    double place, time;  // trips from the source; trips since the start
    const char* volts;
};

// Each case by hand: Gamma_S, Gamma_L, the first wave 50 / (50 + Rs), the final value, then
// the sums of the waves present at a few places and moments.
struct Lattice {
    const char* name;
    pulse::Setup setup;
    std::vector<std::string> column;  // Gamma at the source and the load, Launched, Final
    std::vector<Reading> readings;
};

const Lattice kLattices[] = {
    {"matched source and load",
     {50, {50}, {}},
     {"Gamma at the source = 0.000", "Gamma at the load = 0.000", "Launched = 0.500 V",
      "Final = 0.500 V"},
     {{0, 0, "0.500 V"},
      {0.5, 0.25, "0.000 V"},
      {0.5, 0.5, "0.500 V"},
      {1, 0.99, "0.000 V"},
      {1, 1, "0.500 V"},
      {0, 3, "0.500 V"}}},
    {"matched source, 100 ohms",
     {50, {100}, {}},
     {"Gamma at the source = 0.000", "Gamma at the load = 0.333", "Launched = 0.500 V",
      "Final = 0.667 V"},
     {{1, 1, "0.667 V"},
      {0.5, 1.4, "0.500 V"},
      {0.5, 1.5, "0.667 V"},
      {0, 2, "0.667 V"},
      {1, 5, "0.667 V"}}},
    {"25 ohms into a matched load",
     {25, {50}, {}},
     {"Gamma at the source = -0.333", "Gamma at the load = 0.000", "Launched = 0.667 V",
      "Final = 0.667 V"},
     {{0, 0, "0.667 V"}, {1, 1, "0.667 V"}, {0, 6, "0.667 V"}}},
    {"open end",
     {50, {50, true}, {}},
     {"Gamma at the source = 0.000", "Gamma at the load = 1.000", "Launched = 0.500 V",
      "Final = 1.000 V"},
     {{1, 1, "1.000 V"},
      {0, 1.5, "0.500 V"},
      {0.25, 1.5, "0.500 V"},
      {0.75, 1.5, "1.000 V"},
      {0, 2, "1.000 V"}}},
    {"short",
     {50, {0}, {}},
     {"Gamma at the source = 0.000", "Gamma at the load = -1.000", "Launched = 0.500 V",
      "Final = 0.000 V"},
     {{1, 1, "0.000 V"}, {0.5, 1.4, "0.500 V"}, {0.5, 1.5, "0.000 V"}, {0, 2, "0.000 V"}}},
    {"ideal source, 100 ohms",
     {0, {100}, {}},
     {"Gamma at the source = -1.000", "Gamma at the load = 0.333", "Launched = 1.000 V",
      "Final = 1.000 V"},
     {{1, 1, "1.333 V"}, {0, 2, "1.000 V"}, {1, 3, "0.889 V"}, {0.5, 2.5, "1.000 V"}}},
    {"ideal source into a short",
     {0, {0}, {}},
     {"Gamma at the source = -1.000", "Gamma at the load = -1.000", "Launched = 1.000 V", ""},
     {{1, 1, "0.000 V"},
      {1, 3, "0.000 V"},
      {0, 2, "1.000 V"},
      {0.5, 0.5, "1.000 V"},
      {0.5, 1.5, "0.000 V"},
      {0.5, 2.5, "1.000 V"},
      {0.5, 3.5, "0.000 V"}}},
    {"25 ohms, 100 ohms",
     {25, {100}, {}},
     {"Gamma at the source = -0.333", "Gamma at the load = 0.333", "Launched = 0.667 V",
      "Final = 0.800 V"},
     {{1, 1.5, "0.889 V"}, {0, 2.5, "0.815 V"}, {1, 3, "0.790 V"}, {0, 4, "0.798 V"}}},
    {"a pulse meeting its own reflection at an open end",
     {50, {50, true}, 0.5},
     {"Gamma at the source = 0.000", "Gamma at the load = 1.000", "Launched = 0.500 V", ""},
     {{0.9, 0.9, "0.500 V"},
      {0.3, 0.9, "0.000 V"},
      {0.9, 1.2, "1.000 V"},
      {0.75, 1.2, "0.500 V"},
      {0.6, 1.2, "0.000 V"},
      {1, 1.2, "1.000 V"},
      {1, 1.5, "0.000 V"},
      {0, 2.2, "0.500 V"},
      {0, 2.5, "0.000 V"}}},
};

TEST(PulseModel, MatchesTheLatticeByHand) {
    for (const Lattice& lattice : kLattices) {
        SCOPED_TRACE(lattice.name);
        const std::vector<pulse::Wave> waves = pulse::Waves(lattice.setup);
        std::vector<std::string> column;
        for (Readout readout :
             {Readout::SourceGamma, Readout::LoadGamma, Readout::Launched, Readout::Final}) {
            column.push_back(pulse::FormatReadout(waves, lattice.setup, readout, 0));
        }
        EXPECT_EQ(column, lattice.column);
        for (const Reading& reading : lattice.readings) {
            EXPECT_EQ(
                pulse::Volts(pulse::VoltageAt(waves, lattice.setup, reading.place, reading.time),
                             true),
                reading.volts)
                << "at " << reading.place << " T from the source, t = " << reading.time << " T";
        }
    }
}

// The voltage steps where the fronts and the pulses' tails are, and nowhere else.
TEST(PulseModel, StepsAreTheFrontsAndTheTails) {
    const struct {
        pulse::Setup setup;
        double time;
        std::vector<double> steps;
    } kMoments[] = {
        {{50, {50, true}, 0.5}, 1.2, {0.7, 0.8}},
        {{50, {50, true}, 0.5}, 0.4, {0.4}},
        {{25, {100}, {}}, 1.25, {0.75}},
        {{25, {100}, {}}, 1.0, {}},
        {{50, {50}, {}}, 1.5, {}},  // the matched load starts no wave
    };
    for (const auto& moment : kMoments) {
        pulse::Steps steps;
        const std::vector<pulse::Wave> waves = pulse::Waves(moment.setup);
        pulse::StepsAt(waves, moment.setup, moment.time, steps);
        ASSERT_EQ(steps.size(), moment.steps.size()) << moment.time;
        for (std::size_t i = 0; i < steps.size(); ++i) {
            EXPECT_NEAR(steps[i], moment.steps[i], 1e-12);
        }
    }
}

TEST(PulseReadouts, TellTheMomentAndNeverMinusZero) {
    const pulse::Setup setup{25, {100}, {}};
    const std::vector<pulse::Wave> waves = pulse::Waves(setup);
    EXPECT_EQ(pulse::FormatReadout(waves, setup, Readout::Time, 1.5), "t = 1.50 T");
    EXPECT_EQ(pulse::FormatReadout(waves, setup, Readout::LoadVoltage, 1.5),
              "V at the load = 0.889 V");
    EXPECT_EQ(pulse::FormatReadout(waves, setup, Readout::SourceVoltage, 2.5),
              "V at the source = 0.815 V");
    EXPECT_EQ(pulse::Volts(-0.0004, true), "0.000 V");
    EXPECT_EQ(pulse::Volts(-0.0, false), "0.000");
    EXPECT_EQ(pulse::Volts(-0.0006, false), "-0.001");
    const pulse::Setup shorted{0, {0}, {}};
    const std::vector<pulse::Wave> lattice = pulse::Waves(shorted);
    for (double time = 1; time <= 6; time += 0.25) {
        EXPECT_EQ(pulse::FormatReadout(lattice, shorted, Readout::LoadVoltage, time),
                  "V at the load = 0.000 V");
    }
}

TEST(PulseDialogTexts, TakeValuesAndRefuseTheRest) {
    const struct {
        const char* text;
        double ohms;  // -1: refused
    } kSources[] = {{"25", 25},   {" 0 ", 0},     {"12.5 ohms", 12.5}, {"1e4", 10000},
                    {"", 75},     {"75 Ohm", 75}, {"-1", -1},          {"10001", -1},
                    {"open", -1}, {"25x", -1},    {"nan", -1},         {"+5", -1}};
    for (const auto& [text, ohms] : kSources) {
        const auto parsed = pulse::ParseSourceOhms(text, 75);
        if (ohms < 0) {
            ASSERT_TRUE(std::holds_alternative<std::string>(parsed)) << text;
            // Built by appending: GCC 12 warns falsely (-Wrestrict) about joined temporaries.
            std::string message = "\"";
            message.append(text).append(
                "\" is not a source resistance. Type a number of ohms from 0 to 10000 (0 is an "
                "ideal source).");
            EXPECT_EQ(std::get<std::string>(parsed), message);
        } else {
            ASSERT_TRUE(std::holds_alternative<double>(parsed)) << text;
            EXPECT_EQ(std::get<double>(parsed), ohms) << text;
        }
    }

    // Longer than the dialog takes, though a number and spaces: refused, as the dialog reads
    // only one character more than it takes.
    const std::string longText = "1" + std::string(pulse::kLongestText, ' ');
    EXPECT_TRUE(std::holds_alternative<std::string>(pulse::ParseSourceOhms(longText, 75)));
    EXPECT_TRUE(std::holds_alternative<std::string>(pulse::ParseLoad(longText, {})));
    EXPECT_TRUE(std::holds_alternative<std::string>(pulse::ParseWidth(longText)));
    EXPECT_TRUE(std::holds_alternative<double>(pulse::ParseSourceOhms(longText.substr(1), 75)));

    const pulse::Load kept{75};
    const struct {
        const char* text;
        bool good;
        pulse::Load load;
    } kLoads[] = {{"100", true, {100}},  {"short", true, {0}}, {"OPEN ", true, {50, true}},
                  {"", true, {75}},      {"0", true, {0}},     {"75+j50", false, {}},
                  {"shorts", false, {}}, {"-0.5", false, {}}};
    for (const auto& [text, good, load] : kLoads) {
        const auto parsed = pulse::ParseLoad(text, kept);
        ASSERT_EQ(std::holds_alternative<pulse::Load>(parsed), good) << text;
        if (!good) continue;
        EXPECT_EQ(std::get<pulse::Load>(parsed).ohms, load.ohms) << text;
        EXPECT_EQ(std::get<pulse::Load>(parsed).open, load.open) << text;
    }
    EXPECT_EQ(std::get<std::string>(pulse::ParseLoad("75+j50", kept)),
              "\"75+j50\" is not a load. Type a number of ohms from 0 to 10000, short or open.");

    const struct {
        const char* text;
        bool good;
        std::optional<double> width;
    } kWidths[] = {{"0.5", true, 0.5}, {"2", true, 2.0},       {" ", true, {}},
                   {"0", false, {}},   {"2.01", false, {}},    {"step", false, {}},
                   {"-1", false, {}},  {"0.5 ohms", false, {}}};
    for (const auto& [text, good, width] : kWidths) {
        const auto parsed = pulse::ParseWidth(text);
        ASSERT_EQ(std::holds_alternative<std::optional<double>>(parsed), good) << text;
        if (good) {
            EXPECT_EQ(std::get<std::optional<double>>(parsed), width) << text;
        }
    }
    EXPECT_EQ(std::get<std::string>(pulse::ParseWidth("0")),
              "\"0\" is not a pulse width. Type a number of trips over 0 and up to 2, or leave it "
              "empty for a step.");
}

}  // namespace
