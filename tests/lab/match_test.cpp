// The matchings against the textbook's closed forms, and the line with one in place.
#include "lab/match.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

#include "lab/load_text.h"
#include "lab/readouts.h"

namespace {

using std::numbers::pi;
using Complex = std::complex<double>;

constexpr double kZ0 = 50;

lab::Load Parsed(const char* text) { return std::get<lab::Load>(lab::ParseLoad(text)); }

// Z(d) = 50 (ZL + j50 tan bd) / (50 + j ZL tan bd).
Complex LineOhms(Complex load, double d) {
    const Complex t(0, std::tan(2 * pi * d));
    return kZ0 * (load + kZ0 * t) / (kZ0 + load * t);
}

struct Stub {
    double distance, length;
};

// The single-stub solutions as the textbooks write them: t = tan bd from
// t = (X +- sqrt(R ((50 - R)^2 + X^2) / 50)) / (R - 50), or t = -X / 100 and d = 1/4 when R = 50;
// the line's susceptance there B = (R^2 t - (50 - X t)(X + 50 t)) / (50 (R^2 + (X + 50 t)^2)),
// and a shorted stub with tan bl = (1/50) / B.
std::vector<Stub> TextbookStubs(Complex load) {
    const double r = load.real(), x = load.imag();
    std::vector<double> ts;
    if (r == kZ0) {
        ts = {-x / (2 * kZ0), INFINITY};
    } else {
        const double root = std::sqrt(r * ((kZ0 - r) * (kZ0 - r) + x * x) / kZ0);
        ts = {(x + root) / (r - kZ0), (x - root) / (r - kZ0)};
    }
    std::vector<Stub> stubs;
    for (double t : ts) {
        const double d =
            std::isinf(t) ? 0.25 : (t >= 0 ? std::atan(t) : pi + std::atan(t)) / (2 * pi);
        const double b = std::isinf(t) ? x / (kZ0 * kZ0)
                                       : (r * r * t - (kZ0 - x * t) * (x + kZ0 * t)) /
                                             (kZ0 * (r * r + (x + kZ0 * t) * (x + kZ0 * t)));
        double l = std::atan(1 / (kZ0 * b)) / (2 * pi);
        if (l < 0) l += 0.5;
        stubs.push_back({d, l});
    }
    std::sort(stubs.begin(), stubs.end(), [](Stub a, Stub b) { return a.distance < b.distance; });
    return stubs;
}

// What the source side sees at the matching point: the stub in parallel with the line, or the
// section turning the line's impedance into Zs^2 / Z.
Complex SeenFromTheSource(Complex load, const lab::Match& match) {
    const Complex line = LineOhms(load, match.distance);
    if (match.stub) {
        const Complex stub(0, kZ0 * std::tan(2 * pi * match.stubLength));
        return 1.0 / (1.0 / line + 1.0 / stub);
    }
    return match.sectionOhms * match.sectionOhms / line;
}

constexpr lab::MatchChoice kStubs[] = {lab::MatchChoice::FirstStub, lab::MatchChoice::SecondStub};
constexpr lab::MatchChoice kSections[] = {lab::MatchChoice::SectionAtMaximum,
                                          lab::MatchChoice::SectionAtMinimum};

TEST(LabMatch, SolutionsAreTheClosedForms) {
    const struct {
        const char* load;
        bool matchable;
    } kLoads[] = {
        {"100", true},    {"10000", true},    {"25", true},     {"0.1", true},
        {"75+j50", true}, {"10+j20", true},   {"20-j35", true}, {"300-j1000", true},
        {"50+j50", true}, {"50-j0.01", true}, {"50", false},    {"short", false},
        {"open", false},  {"0+j50", false},   {"0-j25", false}, {"0+j10000", false},
    };
    for (const auto& row : kLoads) {
        SCOPED_TRACE(row.load);
        const lab::Load load = Parsed(row.load);
        EXPECT_EQ(lab::CanBeMatched(load), row.matchable);
        if (!row.matchable) {
            for (auto choice : {kStubs[0], kStubs[1], kSections[0], kSections[1]}) {
                EXPECT_FALSE(lab::MatchFor(load, choice).has_value());
            }
            continue;
        }
        EXPECT_FALSE(lab::MatchFor(load, lab::MatchChoice::None).has_value());
        const std::vector<Stub> textbook = TextbookStubs(load.ohms);
        for (int i = 0; i < 2; ++i) {
            const lab::Match stub = *lab::MatchFor(load, kStubs[i]);
            EXPECT_TRUE(stub.stub);
            EXPECT_NEAR(stub.distance, textbook[i].distance, 1e-9) << "stub " << i + 1;
            EXPECT_NEAR(stub.stubLength, textbook[i].length, 1e-9) << "stub " << i + 1;
            EXPECT_NEAR(std::abs(SeenFromTheSource(load.ohms, stub) - kZ0), 0, 1e-9);
        }
        const double swr = lab::Ratio(load);
        const double expectedOhms[] = {kZ0 * std::sqrt(swr), kZ0 / std::sqrt(swr)};
        double distances[2];
        for (int i = 0; i < 2; ++i) {
            const lab::Match section = *lab::MatchFor(load, kSections[i]);
            distances[i] = section.distance;
            EXPECT_FALSE(section.stub);
            EXPECT_GE(section.distance, 0);
            EXPECT_LT(section.distance, 0.5);
            EXPECT_NEAR(section.sectionOhms, expectedOhms[i], 1e-9 * expectedOhms[i]);
            // The line is real there: 50 ratio at the maximum, 50 / ratio at the minimum.
            const Complex there = LineOhms(load.ohms, section.distance);
            const double real = i == 0 ? kZ0 * swr : kZ0 / swr;
            EXPECT_NEAR(there.real(), real, 1e-7 * real);
            EXPECT_NEAR(there.imag(), 0, 1e-7 * real);
            EXPECT_NEAR(std::abs(SeenFromTheSource(load.ohms, section) - kZ0), 0, 1e-7);
        }
        EXPECT_NEAR(std::fmod(distances[0] + 0.25, 0.5), distances[1], 1e-12);
    }
}

TEST(LabMatch, TheKeyGoesRoundTheChoices) {
    lab::MatchChoice choice = lab::MatchChoice::None;
    const lab::MatchChoice kRound[] = {kStubs[0], kStubs[1], kSections[0], kSections[1],
                                       lab::MatchChoice::None};
    for (lab::MatchChoice next : kRound) {
        choice = lab::NextMatchChoice(choice);
        EXPECT_EQ(choice, next);
    }
}

// Beyond the matching the line is flat and 50 ohms; below it the load's line, in a section a line
// of the section's ohms. The line is lossless, so the power |V|^2 Re(1 / Z) / 2 is the same
// everywhere: the voltage meets at every junction. Below a stub that is the load's envelope
// scaled, |1 + Gamma e^(-j 4 pi z)| / |1 + Gamma e^(-j 4 pi d)|.
TEST(LabMatch, TheMatchedLine) {
    for (const char* text : {"75+j50", "20-j35", "100", "10"}) {
        SCOPED_TRACE(text);
        const lab::Load load = Parsed(text);
        const Complex gamma = lab::Reflection(load);
        for (auto choice : {kStubs[0], kStubs[1], kSections[0], kSections[1]}) {
            const lab::MatchedLine line = lab::WithMatching(load, choice);
            const lab::Match& match = *line.match;
            const double d = match.distance;
            const double end = lab::MatchingPoint(match);
            EXPECT_EQ(end, match.stub ? d : d + 0.25);
            for (int step = 0; step <= 200; ++step) {
                const double z = step / 200.0;
                SCOPED_TRACE(z);
                const double envelope = lab::EnvelopeAt(line, z);
                const Complex ohms = *lab::ImpedanceAt(line, z);
                EXPECT_NEAR(envelope * envelope * (kZ0 / ohms).real(), 1, 1e-9);
                if (z >= end) {
                    EXPECT_EQ(envelope, 1);
                    EXPECT_EQ(ohms, kZ0);
                    EXPECT_EQ(lab::ChartReflectionAt(line, z), 0.0);
                    continue;
                }
                EXPECT_NEAR(std::abs(lab::ChartReflectionAt(line, z) - (ohms - kZ0) / (ohms + kZ0)),
                            0, 1e-9);
                if (z < d) {
                    EXPECT_NEAR(std::abs(ohms - LineOhms(load.ohms, z)), 0, 1e-9 * std::abs(ohms));
                    if (match.stub) {
                        EXPECT_NEAR(envelope,
                                    std::abs(1.0 + gamma * std::polar(1.0, -4 * pi * z)) /
                                        std::abs(1.0 + gamma * std::polar(1.0, -4 * pi * d)),
                                    1e-9);
                    }
                } else {
                    const Complex t(0, std::tan(2 * pi * (z - d)));
                    const Complex there = LineOhms(load.ohms, d);
                    const double zs = match.sectionOhms;
                    EXPECT_NEAR(std::abs(ohms - zs * (there + zs * t) / (zs + there * t)), 0,
                                1e-9 * std::abs(ohms));
                }
            }
        }
    }
}

// Without a matching, or with one chosen for a load that cannot take it, the line is the load's,
// to the last bit.
TEST(LabMatch, WithoutAMatchingTheLineIsTheLoads) {
    const std::pair<const char*, lab::MatchChoice> kLines[] = {
        {"75+j50", lab::MatchChoice::None},
        {"50", lab::MatchChoice::None},
        {"50", kStubs[0]},
        {"short", kSections[0]},
        {"0+j50", kStubs[1]},
        {"open", kSections[1]},
    };
    for (const auto& [text, choice] : kLines) {
        SCOPED_TRACE(text);
        const lab::Load load = Parsed(text);
        const lab::MatchedLine line = lab::WithMatching(load, choice);
        for (int step = 0; step <= 16; ++step) {
            const double z = step / 16.0;
            EXPECT_EQ(lab::EnvelopeAt(line, z), lab::EnvelopeAt(load, z));
            EXPECT_EQ(lab::ImpedanceAt(line, z), lab::ImpedanceAt(load, z));
            EXPECT_EQ(lab::ChartReflectionAt(line, z),
                      lab::Reflection(load) * std::polar(1.0, -4 * pi * z));
        }
    }
}

// The readouts a headless run does not reach: no matching, a load matched already, and the value
// under the pointer. Below any matching the load's standing wave is scaled by
// 1 / sqrt(1 - |Gamma|^2): the power it takes is the line's.
TEST(LabMatch, Readouts) {
    const lab::Load load = Parsed("75+j50");
    EXPECT_EQ(FormatReadout(load, lab::Readout::Matching), "");
    EXPECT_EQ(FormatReadout(load, lab::Readout::SourceRatio), "");
    EXPECT_EQ(FormatReadout(Parsed("50"), lab::Readout::Matching, 0, kStubs[1]),
              "The load is matched already: nothing comes back.");
    EXPECT_EQ(FormatReadout(Parsed("short"), lab::Readout::SourceRatio, 0, kStubs[0]), "");
    for (auto choice : {kStubs[0], kStubs[1], kSections[0], kSections[1]}) {
        EXPECT_EQ(FormatReadout(load, lab::Readout::Pointer, 0, choice),
                  "|V|/|V+| = 1.47, Z = 75.0 + j50.0 ohms");
        EXPECT_EQ(FormatReadout(load, lab::Readout::Pointer, 0.9, choice),
                  "|V|/|V+| = 1.00, Z = 50.0 + j0.0 ohms");
    }
}

}  // namespace
