// Matching in closed form, and the line's stretches worked out from the junctions.
#include "lab/match.h"

#include <cmath>
#include <numbers>
#include <utility>

namespace lab {

namespace {

using std::numbers::pi;

constexpr double kQuarterWave = 0.25;
// What a matching leaves coming back is rounding: below this the source side is taken as matched.
constexpr double kLeftOver = 1e-9;

double IntoHalfWavelength(double wavelengths) {
    double z = std::fmod(wavelengths, 0.5);
    if (z < 0) z += 0.5;
    return z >= 0.5 ? z - 0.5 : z;
}

std::complex<double> Turned(std::complex<double> reflection, double wavelengths) {
    return reflection * std::polar(1.0, -4 * pi * wavelengths);
}

std::complex<double> ReflectionAgainst(std::complex<double> ohms, double lineOhms) {
    return (ohms - lineOhms) / (ohms + lineOhms);
}

// The stretch on the source side of a junction at z that sees `ohms` toward the load, its
// incident wave that of the line without a matching.
Stretch SourceSide(std::complex<double> ohms, double wavelengths) {
    std::complex<double> seen = ReflectionAgainst(ohms, kLineOhms);
    if (std::abs(seen) < kLeftOver) seen = 0.0;
    return {1.0, Turned(seen, -wavelengths), kLineOhms};
}

// The incident amplitude of the stretch below a junction at z that gives it the voltage of the
// stretch above there.
std::complex<double> IncidentBelow(const Stretch& above, std::complex<double> reflectionBelow,
                                   double wavelengths) {
    return above.incident * (1.0 + Turned(above.reflection, wavelengths)) /
           (1.0 + Turned(reflectionBelow, wavelengths));
}

}  // namespace

MatchChoice NextMatchChoice(MatchChoice choice) {
    switch (choice) {
        case MatchChoice::None:
            return MatchChoice::FirstStub;
        case MatchChoice::FirstStub:
            return MatchChoice::SecondStub;
        case MatchChoice::SecondStub:
            return MatchChoice::SectionAtMaximum;
        case MatchChoice::SectionAtMaximum:
            return MatchChoice::SectionAtMinimum;
        case MatchChoice::SectionAtMinimum:
            break;
    }
    return MatchChoice::None;
}

bool CanBeMatched(const Load& load) { return Reflection(load) != 0.0 && !ReflectsAll(load); }

std::optional<Match> MatchFor(const Load& load, MatchChoice choice) {
    if (choice == MatchChoice::None || !CanBeMatched(load)) return std::nullopt;
    const std::complex<double> gamma = Reflection(load);
    const double magnitude = std::abs(gamma);
    const double angle = std::arg(gamma);
    if (choice == MatchChoice::SectionAtMaximum || choice == MatchChoice::SectionAtMinimum) {
        const double root = std::sqrt(Ratio(load));
        const double maximum = IntoHalfWavelength(angle / (4 * pi));
        if (choice == MatchChoice::SectionAtMaximum) {
            return Match{false, maximum, 0, kLineOhms * root};
        }
        return Match{false, IntoHalfWavelength(maximum + kQuarterWave), 0, kLineOhms / root};
    }

    Match stubs[2];
    const double phi = std::acos(-magnitude);
    for (int i = 0; i < 2; ++i) {
        const double turnedTo = i == 0 ? phi : -phi;
        const double b = -2 * magnitude * std::sin(turnedTo) / (1 - magnitude * magnitude);
        stubs[i] = {true, IntoHalfWavelength((angle - turnedTo) / (4 * pi)),
                    std::atan2(1.0, b) / (2 * pi), 0};
    }
    if (stubs[1].distance < stubs[0].distance) std::swap(stubs[0], stubs[1]);
    return stubs[choice == MatchChoice::FirstStub ? 0 : 1];
}

double MatchingPoint(const Match& match) {
    return match.stub ? match.distance : match.distance + kQuarterWave;
}

MatchedLine WithMatching(const Load& load, MatchChoice choice) {
    MatchedLine line{load, MatchFor(load, choice), {1.0, Reflection(load), kLineOhms}, {}, {}};
    if (!line.match) return line;
    const Match& match = *line.match;
    const double d = match.distance;
    // The load's line is finite wherever a matching goes: its reflection is less than whole.
    const std::complex<double> atMatching = Turned(line.loadSide.reflection, d);
    const std::complex<double> loadLineOhms = kLineOhms * (1.0 + atMatching) / (1.0 - atMatching);
    if (match.stub) {
        const std::complex<double> stubOhms(0, kLineOhms * std::tan(2 * pi * match.stubLength));
        line.sourceSide = SourceSide(1.0 / (1.0 / loadLineOhms + 1.0 / stubOhms), d);
        line.loadSide.incident = IncidentBelow(line.sourceSide, line.loadSide.reflection, d);
        return line;
    }
    const double zs = match.sectionOhms;
    const std::complex<double> atLoadEnd = ReflectionAgainst(loadLineOhms, zs);
    const double end = d + kQuarterWave;
    line.sourceSide = SourceSide(zs * (1.0 - atLoadEnd) / (1.0 + atLoadEnd), end);
    line.section.reflection = Turned(atLoadEnd, -d);
    line.section.ohms = zs;
    line.section.incident = IncidentBelow(line.sourceSide, line.section.reflection, end);
    line.loadSide.incident = IncidentBelow(line.section, line.loadSide.reflection, d);
    return line;
}

const Stretch& StretchAt(const MatchedLine& line, double wavelengths) {
    if (!line.match || wavelengths < line.match->distance) return line.loadSide;
    if (wavelengths >= MatchingPoint(*line.match)) return line.sourceSide;
    return line.section;
}

double EnvelopeAt(const MatchedLine& line, double wavelengths) {
    if (!line.match) return EnvelopeAt(line.load, wavelengths);
    const Stretch& stretch = StretchAt(line, wavelengths);
    return std::abs(stretch.incident) * std::abs(1.0 + Turned(stretch.reflection, wavelengths));
}

std::optional<std::complex<double>> ImpedanceAt(const MatchedLine& line, double wavelengths) {
    const Stretch& stretch = StretchAt(line, wavelengths);
    if (&stretch == &line.loadSide) return ImpedanceAt(line.load, wavelengths);
    const std::complex<double> g = Turned(stretch.reflection, wavelengths);
    return stretch.ohms * (1.0 + g) / (1.0 - g);
}

std::complex<double> ChartReflectionAt(const MatchedLine& line, double wavelengths) {
    const Stretch& stretch = StretchAt(line, wavelengths);
    if (&stretch == &line.loadSide) return Turned(Reflection(line.load), wavelengths);
    return ReflectionAgainst(*ImpedanceAt(line, wavelengths), kLineOhms);
}

}  // namespace lab
