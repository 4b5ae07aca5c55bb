// The readouts' formats, in one place.
#include "lab/readouts.h"

#include <cmath>
#include <cstdio>
#include <numbers>

namespace lab {

namespace {

constexpr int kEighths = 8;
// A value this large or larger reads "infinite" (see readouts.h).
constexpr double kInfinite = 1e6;

std::string Printed(const char* format, auto... values) {
    char text[96];
    const int length = std::snprintf(text, sizeof text, format, values...);
    return length > 0 ? std::string(text) : std::string();
}

// Values that print as 0.0 print without a sign: a lossless line's resistance comes out a few
// units in the last place either side of 0.
double Tidy(double value) { return std::abs(value) < 0.05 ? 0.0 : value; }

// "66.7 - j50.0 ohms" or "infinite"; the sign is the reactance's.
std::string Impedance(const std::optional<std::complex<double>>& z) {
    if (!z || std::abs(z->real()) >= kInfinite || std::abs(z->imag()) >= kInfinite) {
        return "infinite";
    }
    const double x = Tidy(z->imag());
    return Printed("%.1f %c j%.1f ohms", Tidy(z->real()), x < 0 ? '-' : '+', std::abs(x));
}

// The angle in degrees within (-180, 180] as printed, and never "-0.0": one that would print
// as -180.0 prints as 180.0.
double Degrees(std::complex<double> gamma) {
    const double degrees = std::arg(gamma) * 180 / std::numbers::pi;
    return degrees < -179.95 ? 180 : Tidy(degrees);
}

std::string RatioText(const Load& load) {
    const double ratio = Ratio(load);
    return ratio >= kInfinite ? "infinite" : Printed("%.2f", ratio);
}

// What the matching is, or why there is none.
std::string MatchingText(const Load& load, MatchChoice choice) {
    if (choice == MatchChoice::None) return "";
    const std::optional<Match> match = MatchFor(load, choice);
    if (!match) {
        return Reflection(load) == 0.0
                   ? "The load is matched already: nothing comes back."
                   : "A short, an open end or a pure reactance cannot be matched: all of the wave "
                     "comes back.";
    }
    if (match->stub) {
        return Printed("Stub at %.3f wavelengths from the load, %.3f wavelengths long",
                       match->distance, match->stubLength);
    }
    return Printed("Quarter-wave section of %.1f ohms at %.3f wavelengths from the load",
                   match->sectionOhms, match->distance);
}

}  // namespace

std::string FormatReadout(const Load& load, Readout readout, double wavelengths,
                          MatchChoice choice) {
    switch (readout) {
        case Readout::Gamma:
            return Printed("Gamma = %.3f at %.1f deg", ReflectionMagnitude(load),
                           Degrees(Reflection(load)));
        case Readout::Ratio:
            return "Ratio = " + RatioText(load);
        case Readout::Minimum: {
            // A line that shows as flat has no minimum to show.
            const std::optional<double> z = FirstMinimum(load);
            if (!z || RatioText(load) == "1.00") return "";
            return Printed("Vmin at %.3f wavelengths from the load", *z);
        }
        case Readout::Impedance: {
            const int k = static_cast<int>(std::lround(wavelengths * kEighths));
            return Printed("Z%d = ", k) +
                   Impedance(ImpedanceAt(WithMatching(load, choice), wavelengths));
        }
        case Readout::Pointer: {
            const MatchedLine line = WithMatching(load, choice);
            return Printed("|V|/|V+| = %.2f, Z = ", EnvelopeAt(line, wavelengths)) +
                   Impedance(ImpedanceAt(line, wavelengths));
        }
        case Readout::Matching:
            return MatchingText(load, choice);
        case Readout::SourceRatio: {
            const MatchedLine line = WithMatching(load, choice);
            if (!line.match) return "";
            const double left = std::abs(line.sourceSide.reflection);
            return Printed("Ratio on the source side = %.2f", (1 + left) / (1 - left));
        }
    }
    return "";
}

}  // namespace lab
