// The line model on std::complex<double>.
#include "lab/model.h"

#include <cmath>
#include <cstdio>
#include <numbers>

namespace lab {

namespace {

// Closer to all than this, the wave is taken as wholly reflected: |Gamma| of a pure reactance
// comes out within a few units in the last place of 1.
constexpr double kWhole = 1e-9;

// Gamma turned back along the line: the reflection as seen z wavelengths from the load.
std::complex<double> ReflectionAt(const Load& load, double wavelengths) {
    return Reflection(load) * std::polar(1.0, -4 * std::numbers::pi * wavelengths);
}

}  // namespace

std::complex<double> Reflection(const Load& load) {
    if (load.open) return 1.0;
    return (load.ohms - kLineOhms) / (load.ohms + kLineOhms);
}

bool ReflectsAll(const Load& load) { return std::abs(Reflection(load)) > 1 - kWhole; }

double Ratio(const Load& load) {
    if (ReflectsAll(load)) return INFINITY;
    const double magnitude = std::abs(Reflection(load));
    return (1 + magnitude) / (1 - magnitude);
}

std::optional<std::complex<double>> ImpedanceAt(const Load& load, double wavelengths) {
    const std::complex<double> gamma = ReflectionAt(load, wavelengths);
    const std::complex<double> below = 1.0 - gamma;
    if (std::abs(below) < kWhole) return std::nullopt;
    return kLineOhms * (1.0 + gamma) / below;
}

double EnvelopeAt(const Load& load, double wavelengths) {
    return std::abs(1.0 + ReflectionAt(load, wavelengths));
}

// The voltage is least where Gamma, turned back along the line, points to -1: the angle of
// Gamma plus pi, at 4 pi radians per wavelength.
std::optional<double> FirstMinimum(const Load& load) {
    const std::complex<double> gamma = Reflection(load);
    if (gamma == 0.0) return std::nullopt;
    const double z = (std::arg(gamma) + std::numbers::pi) / (4 * std::numbers::pi);
    return z >= 0.5 ? z - 0.5 : z;
}

std::string Caption(const Load& load) {
    if (load.open) return "open";
    const double r = load.ohms.real();
    const double x = load.ohms.imag();
    if (r == 0 && x == 0) return "short";
    char text[64];
    if (x == 0) {
        std::snprintf(text, sizeof text, "%.1f ohms", r);
    } else {
        std::snprintf(text, sizeof text, "%.1f %c j%.1f ohms", r, x < 0 ? '-' : '+', std::abs(x));
    }
    return text;
}

}  // namespace lab
