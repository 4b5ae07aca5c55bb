// The lab's model and readouts against the closed forms, and its load text.
#include "lab/model.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>

#include "lab/load_text.h"
#include "lab/readouts.h"

namespace {

lab::Load Parsed(const char* text) { return std::get<lab::Load>(lab::ParseLoad(text)); }

// Every readout line for a load, in the order of the picture's column.
std::vector<std::string> Column(const lab::Load& load) {
    std::vector<std::string> lines = {FormatReadout(load, lab::Readout::Gamma),
                                      FormatReadout(load, lab::Readout::Ratio),
                                      FormatReadout(load, lab::Readout::Minimum)};
    for (int k = 1; k <= 7; ++k) {
        lines.push_back(FormatReadout(load, lab::Readout::Impedance, k / 8.0));
    }
    return lines;
}

// Expected lines worked out apart from the program, with Z(l) = 50 (ZL + j50 tan bl) /
// (50 + j ZL tan bl), 2500 / ZL at a quarter wavelength, and -j50 cot bl for an open end.
struct ClosedForm {
    const char* load;
    std::vector<std::string> column;
};

const ClosedForm kClosedForms[] = {
    {"50",
     {"Gamma = 0.000 at 0.0 deg", "Ratio = 1.00", "", "Z1 = 50.0 + j0.0 ohms",
      "Z2 = 50.0 + j0.0 ohms", "Z3 = 50.0 + j0.0 ohms", "Z4 = 50.0 + j0.0 ohms",
      "Z5 = 50.0 + j0.0 ohms", "Z6 = 50.0 + j0.0 ohms", "Z7 = 50.0 + j0.0 ohms"}},
    {"short",
     {"Gamma = 1.000 at 180.0 deg", "Ratio = infinite", "Vmin at 0.000 wavelengths from the load",
      "Z1 = 0.0 + j50.0 ohms", "Z2 = infinite", "Z3 = 0.0 - j50.0 ohms", "Z4 = 0.0 + j0.0 ohms",
      "Z5 = 0.0 + j50.0 ohms", "Z6 = infinite", "Z7 = 0.0 - j50.0 ohms"}},
    {"open",
     {"Gamma = 1.000 at 0.0 deg", "Ratio = infinite", "Vmin at 0.250 wavelengths from the load",
      "Z1 = 0.0 - j50.0 ohms", "Z2 = 0.0 + j0.0 ohms", "Z3 = 0.0 + j50.0 ohms", "Z4 = infinite",
      "Z5 = 0.0 - j50.0 ohms", "Z6 = 0.0 + j0.0 ohms", "Z7 = 0.0 + j50.0 ohms"}},
    {"0+j50",
     {"Gamma = 1.000 at 90.0 deg", "Ratio = infinite", "Vmin at 0.375 wavelengths from the load",
      "Z1 = infinite", "Z2 = 0.0 - j50.0 ohms", "Z3 = 0.0 + j0.0 ohms", "Z4 = 0.0 + j50.0 ohms",
      "Z5 = infinite", "Z6 = 0.0 - j50.0 ohms", "Z7 = 0.0 + j0.0 ohms"}},
    {"0-j25",
     {"Gamma = 1.000 at -126.9 deg", "Ratio = infinite", "Vmin at 0.074 wavelengths from the load",
      "Z1 = 0.0 + j16.7 ohms", "Z2 = 0.0 + j100.0 ohms", "Z3 = 0.0 - j150.0 ohms",
      "Z4 = 0.0 - j25.0 ohms", "Z5 = 0.0 + j16.7 ohms", "Z6 = 0.0 + j100.0 ohms",
      "Z7 = 0.0 - j150.0 ohms"}},
    {"75+j50",
     {"Gamma = 0.415 at 41.6 deg", "Ratio = 2.42", "Vmin at 0.308 wavelengths from the load",
      "Z1 = 66.7 - j50.0 ohms", "Z2 = 23.1 - j15.4 ohms", "Z3 = 24.0 + j18.0 ohms",
      "Z4 = 75.0 + j50.0 ohms", "Z5 = 66.7 - j50.0 ohms", "Z6 = 23.1 - j15.4 ohms",
      "Z7 = 24.0 + j18.0 ohms"}},
    {"20-j35",
     {"Gamma = 0.589 at -104.0 deg", "Ratio = 3.87", "Vmin at 0.106 wavelengths from the load",
      "Z1 = 13.1 + j5.7 ohms", "Z2 = 30.8 + j53.8 ohms", "Z3 = 160.0 - j70.0 ohms",
      "Z4 = 20.0 - j35.0 ohms", "Z5 = 13.1 + j5.7 ohms", "Z6 = 30.8 + j53.8 ohms",
      "Z7 = 160.0 - j70.0 ohms"}},
    {"10000-j10000",
     {"Gamma = 0.995 at -0.3 deg", "Ratio = 400.00", "Vmin at 0.250 wavelengths from the load",
      "Z1 = 0.2 - j49.8 ohms", "Z2 = 0.1 + j0.1 ohms", "Z3 = 0.3 + j50.2 ohms",
      "Z4 = 10000.0 - j10000.0 ohms", "Z5 = 0.2 - j49.8 ohms", "Z6 = 0.1 + j0.1 ohms",
      "Z7 = 0.3 + j50.2 ohms"}},
};

TEST(LabModel, ReadoutsMatchTheClosedForms) {
    for (const ClosedForm& form : kClosedForms) {
        SCOPED_TRACE(form.load);
        EXPECT_EQ(Column(Parsed(form.load)), form.column);
    }
}

// A resistive load reads as in the main mode: its ratio line, and Z1 to Z7 from its
// formulas (the reactance's sign by which side of 50 ohms the load lies).
TEST(LabModel, ResistiveLoadsMatchTheMainMode) {
    for (double r : {0.1, 1.0, 25.0, 49.9, 50.0, 50.1, 100.0, 333.0, 10000.0}) {
        SCOPED_TRACE(r);
        const lab::Load load{r};
        const double swr = r >= 50 ? r / 50 : 50 / r;
        const double g = (swr - 1) / (swr + 1);
        char ratio[32];
        std::snprintf(ratio, sizeof ratio, "Ratio = %.2f", swr);
        EXPECT_EQ(FormatReadout(load, lab::Readout::Ratio), ratio);
        EXPECT_NEAR(std::abs(lab::Reflection(load)), g, 1e-12);

        const double re = (1 - g * g) * 50 / (1 + g * g);
        const double im = 2 * g * 50 / (1 + g * g);
        const double above = r >= 50 ? 1 : -1;
        const std::array<std::complex<double>, 7> mainMode = {{{re, -above * im},
                                                               {2500 / r, 0},
                                                               {re, above * im},
                                                               {r, 0},
                                                               {re, -above * im},
                                                               {2500 / r, 0},
                                                               {re, above * im}}};
        for (int k = 1; k <= 7; ++k) {
            const auto z = lab::ImpedanceAt(load, k / 8.0);
            ASSERT_TRUE(z.has_value());
            EXPECT_NEAR(z->real(), mainMode[k - 1].real(), 1e-9 * (1 + std::abs(z->real())));
            EXPECT_NEAR(z->imag(), mainMode[k - 1].imag(), 1e-9 * (1 + std::abs(z->real())));
        }
    }
}

// The envelope swings between 1 + |Gamma| and 1 - |Gamma|, its minimum where Vmin says.
TEST(LabModel, EnvelopeIsLeastAtTheFirstMinimum) {
    for (const char* text : {"75+j50", "20-j35", "short", "open", "10", "200"}) {
        SCOPED_TRACE(text);
        const lab::Load load = Parsed(text);
        const double gamma = std::abs(lab::Reflection(load));
        const double z = *lab::FirstMinimum(load);
        EXPECT_GE(z, 0);
        EXPECT_LT(z, 0.5);
        EXPECT_NEAR(lab::EnvelopeAt(load, z), 1 - gamma, 1e-9);
        EXPECT_NEAR(lab::EnvelopeAt(load, z + 0.25), 1 + gamma, 1e-9);
    }
}

// Loads within a hair of lossless, or of matched: every readout a number a teacher can show,
// the same in every edition. Z2 of 0-j3e-7 is j8.3e9 ohms, of 1e-7 ohms 2.5e10: "infinite".
TEST(LabReadouts, LoadsNearTheLimitsReadAsNumbersToShow) {
    const struct {
        const char* load;
        const char* caption;
        std::vector<std::string> column;  // Gamma, Ratio, Vmin, Z2, Z4, Z6
    } kLoads[] = {
        {"0-j3e-7",
         "0.0 - j3e-07 ohms",
         {"Gamma = 1.000 at 180.0 deg", "Ratio = infinite",
          "Vmin at 0.000 wavelengths from the load", "Z2 = infinite", "Z4 = 0.0 + j0.0 ohms",
          "Z6 = infinite"}},
        {"0-j0.01",
         "0.0 - j0.01 ohms",
         {"Gamma = 1.000 at 180.0 deg", "Ratio = infinite",
          "Vmin at 0.000 wavelengths from the load", "Z2 = 0.0 + j250000.0 ohms",
          "Z4 = 0.0 + j0.0 ohms", "Z6 = 0.0 + j250000.0 ohms"}},
        {"0-j1e-6",
         "0.0 - j1e-06 ohms",
         {"Gamma = 1.000 at 180.0 deg", "Ratio = infinite",
          "Vmin at 0.000 wavelengths from the load", "Z2 = infinite", "Z4 = 0.0 + j0.0 ohms",
          "Z6 = infinite"}},
        {"1e-7",
         "1e-07 ohms",
         {"Gamma = 1.000 at 180.0 deg", "Ratio = infinite",
          "Vmin at 0.000 wavelengths from the load", "Z2 = infinite", "Z4 = 0.0 + j0.0 ohms",
          "Z6 = infinite"}},
        {"0.1",
         "0.1 ohms",
         {"Gamma = 0.996 at 180.0 deg", "Ratio = 500.00", "Vmin at 0.000 wavelengths from the load",
          "Z2 = 25000.0 + j0.0 ohms", "Z4 = 0.1 + j0.0 ohms", "Z6 = 25000.0 + j0.0 ohms"}},
        {"50-j0.01",
         "50.0 - j0.01 ohms",
         {"Gamma = 0.000 at -90.0 deg", "Ratio = 1.00", "", "Z2 = 50.0 + j0.0 ohms",
          "Z4 = 50.0 + j0.0 ohms", "Z6 = 50.0 + j0.0 ohms"}},
        {"50.5",
         "50.5 ohms",
         {"Gamma = 0.005 at 0.0 deg", "Ratio = 1.01", "Vmin at 0.250 wavelengths from the load",
          "Z2 = 49.5 + j0.0 ohms", "Z4 = 50.5 + j0.0 ohms", "Z6 = 49.5 + j0.0 ohms"}},
        // |Gamma| of a pure reactance comes out a unit in the last place below 1.
        {"0+j11",
         "0.0 + j11.0 ohms",
         {"Gamma = 1.000 at 155.2 deg", "Ratio = infinite",
          "Vmin at 0.466 wavelengths from the load", "Z2 = 0.0 - j227.3 ohms",
          "Z4 = 0.0 + j11.0 ohms", "Z6 = 0.0 - j227.3 ohms"}},
        // Gamma's angle is -0.03 degrees.
        {"1000-j5",
         "1000.0 - j5.0 ohms",
         {"Gamma = 0.905 at 0.0 deg", "Ratio = 20.00", "Vmin at 0.250 wavelengths from the load",
          "Z2 = 2.5 + j0.0 ohms", "Z4 = 1000.0 - j5.0 ohms", "Z6 = 2.5 + j0.0 ohms"}},
    };
    for (const auto& row : kLoads) {
        SCOPED_TRACE(row.load);
        const lab::Load load = Parsed(row.load);
        EXPECT_EQ(lab::Caption(load), row.caption);
        std::vector<std::string> column = {FormatReadout(load, lab::Readout::Gamma),
                                           FormatReadout(load, lab::Readout::Ratio),
                                           FormatReadout(load, lab::Readout::Minimum)};
        for (int k : {2, 4, 6}) {
            column.push_back(FormatReadout(load, lab::Readout::Impedance, k / 8.0));
        }
        EXPECT_EQ(column, row.column);
    }
}

// Along the whole line: a lossless load's resistance is exactly 0, every other's positive, and a
// resistive load's impedance is real at every quarter wavelength.
TEST(LabModel, ImpedancesKeepTheirSignsAlongTheLine) {
    for (const char* text : {"0-j3e-7", "0+j11", "0-j1e-6", "short", "0+j50", "0-j10000"}) {
        SCOPED_TRACE(text);
        for (int step = 0; step <= 1000; ++step) {
            const auto z = lab::ImpedanceAt(Parsed(text), step / 1000.0);
            if (z) {
                EXPECT_EQ(z->real(), 0) << step;
            }
        }
    }
    for (const char* text : {"1e-7", "0.1", "20-j35", "10000+j10000", "1000-j5"}) {
        SCOPED_TRACE(text);
        for (int step = 0; step <= 1000; ++step) {
            const auto z = lab::ImpedanceAt(Parsed(text), step / 1000.0);
            ASSERT_TRUE(z.has_value());
            EXPECT_GT(z->real(), 0) << step;
        }
    }
    for (const char* text : {"1e-7", "0.1", "25", "75", "10000"}) {
        SCOPED_TRACE(text);
        for (int k = 0; k <= 8; k += 2) {
            EXPECT_EQ(lab::ImpedanceAt(Parsed(text), k / 8.0)->imag(), 0) << k;
        }
    }
}

TEST(LabReadouts, PointerAndCaption) {
    const lab::Load load = Parsed("75+j50");
    EXPECT_EQ(FormatReadout(load, lab::Readout::Pointer, 0),
              "|V|/|V+| = 1.34, Z = 75.0 + j50.0 ohms");
    EXPECT_EQ(FormatReadout(load, lab::Readout::Pointer, 0.125),
              "|V|/|V+| = 1.31, Z = 66.7 - j50.0 ohms");
    EXPECT_EQ(FormatReadout(Parsed("open"), lab::Readout::Pointer, 0),
              "|V|/|V+| = 2.00, Z = infinite");
    EXPECT_EQ(lab::Caption(load), "75.0 + j50.0 ohms");
    EXPECT_EQ(lab::Caption(Parsed("20-j35")), "20.0 - j35.0 ohms");
    EXPECT_EQ(lab::Caption(Parsed("100")), "100.0 ohms");
    EXPECT_EQ(lab::Caption(Parsed("short")), "short");
    EXPECT_EQ(lab::Caption(Parsed("0")), "short");
    EXPECT_EQ(lab::Caption(Parsed("open")), "open");
}

TEST(LabLoadText, GoodTexts) {
    const struct {
        const char* text;
        std::complex<double> ohms;
        bool open;
    } kGood[] = {
        {"75", {75, 0}, false},
        {" 75 + j50 ", {75, 50}, false},
        {"75-j50", {75, -50}, false},
        {"75+i50", {75, 50}, false},
        {"20 - j 35", {20, -35}, false},
        {"0", {0, 0}, false},
        {"short", {0, 0}, false},
        {"SHORT", {0, 0}, false},
        {" open ", {0, 0}, true},
        {"1e4-j1e4", {10000, -10000}, false},
        {"10000+j10000", {10000, 10000}, false},
        {"75 ohms", {75, 0}, false},
        {"0+j50", {0, 50}, false},
        {"50.5+J0.25", {50.5, 0.25}, false},
        {".5", {0.5, 0}, false},
        {"75+j50ohm", {75, 50}, false},
        {"75+j0", {75, 0}, false},
        {"75-j0", {75, 0}, false},  // not -0
    };
    // As long as the dialog takes.
    const std::string longest = "  75" + std::string(155, ' ');
    ASSERT_EQ(longest.size(), lab::kLongestLoadText);
    for (const auto& good : kGood) {
        SCOPED_TRACE(good.text);
        const auto parsed = lab::ParseLoad(good.text);
        ASSERT_TRUE(std::holds_alternative<lab::Load>(parsed)) << std::get<std::string>(parsed);
        const lab::Load& load = std::get<lab::Load>(parsed);
        EXPECT_EQ(load.open, good.open);
        if (!good.open) {
            EXPECT_EQ(load.ohms, good.ohms);
            if (good.ohms.imag() == 0) {
                EXPECT_FALSE(std::signbit(load.ohms.imag())) << "-0 would print as such";
            }
        }
    }
    EXPECT_EQ(std::get<lab::Load>(lab::ParseLoad(longest)).ohms, std::complex<double>(75, 0));
}

TEST(LabLoadText, BadTextsGetAMessage) {
    const char* const kNotALoad =
        "is not a load. Type R, R+jX or R-jX in ohms (for example 75+j50), short or open.";
    const char* const kOutOfRange =
        "is out of range: R must lie from 0 to 10000 ohms, and X from -10000 to 10000 ohms.";
    const char* const kTooLong = "is too long: the dialog takes at most 159 characters.";
    const std::string forty = "1234567890123456789012345678901234567x+j";
    const struct {
        std::string text;
        std::string message;
    } kBad[] = {
        {"", "Type a load: R, R+jX or R-jX in ohms (for example 75+j50), short or open."},
        {"   ", "Type a load: R, R+jX or R-jX in ohms (for example 75+j50), short or open."},
        {"abc", std::string("\"abc\" ") + kNotALoad},
        {"75+50", std::string("\"75+50\" ") + kNotALoad},
        {"75+j", std::string("\"75+j\" ") + kNotALoad},
        {"j50", std::string("\"j50\" ") + kNotALoad},
        {"75j50", std::string("\"75j50\" ") + kNotALoad},
        {"75+j-5", std::string("\"75+j-5\" ") + kNotALoad},
        {"1.2.3", std::string("\"1.2.3\" ") + kNotALoad},
        {"nan", std::string("\"nan\" ") + kNotALoad},
        {"inf", std::string("\"inf\" ") + kNotALoad},
        {"open 5", std::string("\"open 5\" ") + kNotALoad},
        {"75 ohmsx", std::string("\"75 ohmsx\" ") + kNotALoad},
        {"-5", std::string("\"-5\" ") + kOutOfRange},
        {"10000.5", std::string("\"10000.5\" ") + kOutOfRange},
        {"75+j10001", std::string("\"75+j10001\" ") + kOutOfRange},
        {"1e400", std::string("\"1e400\" ") + kOutOfRange},
        {"12345678901234567890123456789012345678901234567890x",
         std::string("\"1234567890123456789012345678901234567890...\" ") + kNotALoad},
        // At most 40 characters are quoted.
        {forty, "\"" + forty + "\" " + kNotALoad},
        {forty + "5", "\"" + forty + "...\" " + kNotALoad},
        // Longer than the dialog takes: refused whole, not read in part.
        {"75" + std::string(158, ' '), "\"75" + std::string(38, ' ') + "...\" " + kTooLong},
        {"75" + std::string(200, ' ') + "+j50",
         "\"75" + std::string(38, ' ') + "...\" " + kTooLong},
    };
    for (const auto& bad : kBad) {
        SCOPED_TRACE(bad.text);
        const auto parsed = lab::ParseLoad(bad.text);
        ASSERT_TRUE(std::holds_alternative<std::string>(parsed));
        EXPECT_EQ(std::get<std::string>(parsed), bad.message);
    }
}

}  // namespace
