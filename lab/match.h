// Matching the lab's load to the line: a short-circuited stub in parallel, or a quarter-wave
// section in series, and the line's waves with it in place. Distances are in wavelengths, measured
// back from the load, as in lab/model.h.
#pragma once

#include <complex>
#include <optional>

#include "lab/model.h"

namespace lab {

// What the M key has chosen; it goes round in this order, back to None.
enum class MatchChoice { None, FirstStub, SecondStub, SectionAtMaximum, SectionAtMinimum };
MatchChoice NextMatchChoice(MatchChoice choice);

// Whether a matching can cure the load: some of the wave comes back, but not all of it (a short,
// an open end and a pure reactance take no power, whatever is put before them).
bool CanBeMatched(const Load& load);

struct Match {
    bool stub;           // a short-circuited stub in parallel; otherwise a quarter-wave section
    double distance;     // to the stub, or to the section's load end: 0 (inclusive) to 0.5
    double stubLength;   // the stub's, 0 to 0.5
    double sectionOhms;  // the section's impedance
};

// The chosen matching; none for MatchChoice::None or a load that cannot be matched.
// Stubs: where Gamma turned back to d points at phi with cos phi = -|Gamma|, the line's admittance
// there is (1 + jb) / 50 with b = -2 |Gamma| sin phi / (1 - |Gamma|^2); d = (arg Gamma - phi) /
// (4 pi), taken into [0, 0.5), and the stub cancels jb: cot(2 pi l) = b, l = atan2(1, b) / (2 pi).
// The first stub is the one nearer the load.
// Sections: at the first voltage maximum, d = arg Gamma / (4 pi) taken into [0, 0.5), the line
// shows 50 ratio ohms and the section is of 50 sqrt(ratio); at the first minimum, a quarter
// wavelength on, it shows 50 / ratio and the section is of 50 / sqrt(ratio).
std::optional<Match> MatchFor(const Load& load, MatchChoice choice);

// Where the matching ends toward the source: the stub's place, or a quarter wavelength beyond the
// section's load end. Beyond it nothing comes back.
double MatchingPoint(const Match& match);

// One stretch of the line between junctions, its voltage V(z) = incident e^(j 2 pi z) (1 +
// reflection e^(-j 4 pi z)) on a line of `ohms`; the incident wave beyond the matching is e^(j 2 pi
// z), as on the line without one. Where two stretches meet the voltage is the same on both.
struct Stretch {
    std::complex<double> incident;
    std::complex<double> reflection;  // referred to the load, z = 0
    double ohms;
};

// The line with the matching in place, worked out once. Without a matching, the load side runs
// the whole line: incident 1, the load's reflection, 50 ohms.
struct MatchedLine {
    Load load;
    std::optional<Match> match;
    Stretch loadSide;    // from the load to the stub or the section
    Stretch section;     // the section's own; unused for a stub
    Stretch sourceSide;  // beyond the matching point: its reflection is 0 when the matching works
};
MatchedLine WithMatching(const Load& load, MatchChoice choice);

// The stretch z lies on; at a junction, the one on its source side.
const Stretch& StretchAt(const MatchedLine& line, double wavelengths);
// |V| / |V+| = |incident| |1 + reflection e^(-j 4 pi z)|, against the incident wave beyond the
// matching: 1 there, and on the load side of a stub at d the load's envelope scaled to meet it,
// |1 + Gamma e^(-j 4 pi z)| / |1 + Gamma e^(-j 4 pi d)|.
double EnvelopeAt(const MatchedLine& line, double wavelengths);
// The impedance seen toward the load: the load's line below the matching, ohms (1 + g) / (1 - g)
// with g = reflection e^(-j 4 pi z) in the section and beyond it (50 ohms when matched).
std::optional<std::complex<double>> ImpedanceAt(const MatchedLine& line, double wavelengths);
// That impedance's reflection against 50 ohms, (Z - 50) / (Z + 50): where the Smith chart shows
// it. On the load side, Gamma e^(-j 4 pi z).
std::complex<double> ChartReflectionAt(const MatchedLine& line, double wavelengths);

}  // namespace lab
