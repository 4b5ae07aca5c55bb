// The lab's line model: a 50-ohm line one wavelength long, ended by any passive load, worked
// with complex numbers. Distances are in wavelengths, measured back from the load.
#pragma once

#include <complex>
#include <optional>
#include <string>

namespace lab {

inline constexpr double kLineOhms = 50;
// The loads the dialog takes: 0 <= R <= kMostOhms and |X| <= kMostOhms, or an open end.
inline constexpr double kMostOhms = 10000;

struct Load {
    std::complex<double> ohms;  // R + jX; unused when open
    bool open = false;
};

// Gamma = (ZL - 50) / (ZL + 50); 1 for an open end.
std::complex<double> Reflection(const Load& load);
// |Gamma|.
double ReflectionMagnitude(const Load& load);
// Whether all of the wave comes back: a lossless load (R = 0: a short, a pure reactance) or an
// open end.
bool ReflectsAll(const Load& load);
// The standing-wave ratio (1 + |Gamma|) / (1 - |Gamma|); infinite when all comes back.
double Ratio(const Load& load);
// The impedance seen into the line that far from the load,
// Z = 50 (ZL + j 50 tan(2 pi z)) / (50 + j ZL tan(2 pi z)); none where it is unbounded. Exact
// where the line is a whole number of eighths of a wavelength long: its resistance is never
// negative, 0 for a lossless load, and a resistive load's impedance is real at every quarter.
std::optional<std::complex<double>> ImpedanceAt(const Load& load, double wavelengths);
// |V| / |V+| = |1 + Gamma e^(-j 4 pi z)| at z wavelengths from the load: the envelope's height.
double EnvelopeAt(const Load& load, double wavelengths);
// The first voltage minimum, 0 (inclusive) to 0.5 wavelengths from the load; none when matched.
std::optional<double> FirstMinimum(const Load& load);

// The load as the circuit's caption shows it: "75.0 + j50.0 ohms", "short", "open".
std::string Caption(const Load& load);

}  // namespace lab
