// The line model on std::complex<double>.
#include "lab/model.h"

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <tuple>
#include <utility>

// The readouts print the same in every edition only if every operation on doubles rounds to a
// double (CMakeLists.txt sees to it on 32-bit x86).
static_assert(FLT_EVAL_METHOD == 0, "doubles must be computed without excess precision");

namespace lab {

namespace {

using std::numbers::pi;

// cos and sin of `turns` whole turns, exact (0, 1, -1, or both parts the same) where turns is a
// whole number of eighths: the angle is reduced to the nearest eighth of a turn, whose cosine
// and sine are known, and the small rest is turned by it.
std::pair<double, double> CosSinOfTurns(double turns) {
    const double eighths = 8 * turns;  // exact: a power of two
    const double nearest = std::nearbyint(eighths);
    const double rest = (eighths - nearest) * (pi / 4);
    double c = std::cos(rest);
    double s = std::sin(rest);
    const int octant = static_cast<int>(std::fmod(nearest, 8.0) + 8) % 8;
    if (octant % 2 == 1) {
        const double half = std::sqrt(0.5);
        std::tie(c, s) = std::pair(half * (c - s), half * (c + s));
    }
    for (int quarter = octant / 2; quarter > 0; --quarter) std::tie(c, s) = std::pair(-s, c);
    return {c, s};
}

double SquaredMagnitude(std::complex<double> z) {
    return z.real() * z.real() + z.imag() * z.imag();
}

}  // namespace

// Worked out in real numbers, (R^2 + X^2 - 2500 + j 100 X) / ((R + 50)^2 + X^2), so that every
// edition does the same operations in the same order whatever its complex division.
std::complex<double> Reflection(const Load& load) {
    if (load.open) return 1.0;
    const double r = load.ohms.real();
    const double x = load.ohms.imag();
    const double below = (r + kLineOhms) * (r + kLineOhms) + x * x;
    return {(r * r + x * x - kLineOhms * kLineOhms) / below, 2 * kLineOhms * x / below};
}

double ReflectionMagnitude(const Load& load) {
    return std::sqrt(SquaredMagnitude(Reflection(load)));
}

bool ReflectsAll(const Load& load) { return load.open || load.ohms.real() == 0; }

// (1 + |Gamma|) / (1 - |Gamma|) with 1 - |Gamma| worked out without cancelling:
// |ZL + 50|^2 - |ZL - 50|^2 = 200 R, so the ratio is (|ZL + 50| + |ZL - 50|)^2 / (200 R).
double Ratio(const Load& load) {
    if (ReflectsAll(load)) return INFINITY;
    const double above = std::sqrt(SquaredMagnitude(load.ohms + kLineOhms));
    const double under = std::sqrt(SquaredMagnitude(load.ohms - kLineOhms));
    return (above + under) * (above + under) / (4 * kLineOhms * load.ohms.real());
}

// Z = 50 (ZL cos + j 50 sin) / (50 cos + j ZL sin) of b l = 2 pi z, multiplied out over the
// denominator's squared magnitude:
//   Z = 50 (50 R (c^2 + s^2) + j (50 X (c^2 - s^2) + c s (2500 - R^2 - X^2)))
//       / ((50 c - X s)^2 + (R s)^2).
// The resistance is never negative and is 0 for a lossless load; a resistive load's impedance
// is real at every quarter wavelength, where c or s is exactly 0.
std::optional<std::complex<double>> ImpedanceAt(const Load& load, double wavelengths) {
    const auto [c, s] = CosSinOfTurns(wavelengths);
    if (load.open) {
        if (s == 0) return std::nullopt;
        return std::complex<double>(0, -kLineOhms * c / s);
    }
    const double r = load.ohms.real();
    const double x = load.ohms.imag();
    const double across = kLineOhms * c - x * s;
    const double below = across * across + r * s * (r * s);
    if (below == 0) return std::nullopt;
    const double resistance = kLineOhms * kLineOhms * r * (c * c + s * s);
    const double reactance = kLineOhms * (kLineOhms * x * (c * c - s * s) +
                                          c * s * (kLineOhms * kLineOhms - r * r - x * x));
    return std::complex<double>(resistance / below, reactance / below);
}

double EnvelopeAt(const Load& load, double wavelengths) {
    const auto [c, s] = CosSinOfTurns(-2 * wavelengths);
    return std::sqrt(SquaredMagnitude(1.0 + Reflection(load) * std::complex<double>(c, s)));
}

// The voltage is least where Gamma, turned back along the line, points to -1: the angle of
// Gamma plus pi, at 4 pi radians per wavelength.
std::optional<double> FirstMinimum(const Load& load) {
    const std::complex<double> gamma = Reflection(load);
    if (gamma == 0.0) return std::nullopt;
    const double z = (std::arg(gamma) + pi) / (4 * pi);
    return z >= 0.5 ? z - 0.5 : z;
}

// A part of the caption: one decimal, or two significant digits where one decimal would show a
// part that is there as 0.0.
std::string CaptionPart(double ohms) {
    char text[32];
    std::snprintf(text, sizeof text, ohms != 0 && std::abs(ohms) < 0.05 ? "%.2g" : "%.1f", ohms);
    return text;
}

std::string Caption(const Load& load) {
    if (load.open) return "open";
    const double r = load.ohms.real();
    const double x = load.ohms.imag();
    if (r == 0 && x == 0) return "short";
    if (x == 0) return CaptionPart(r) + " ohms";
    return CaptionPart(r) + (x < 0 ? " - j" : " + j") + CaptionPart(std::abs(x)) + " ohms";
}

}  // namespace lab
