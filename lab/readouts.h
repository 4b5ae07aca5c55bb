// The lab's readouts: the text lines of the picture, which are also what a screen reader reads.
#pragma once

#include <string>

#include "lab/match.h"
#include "lab/model.h"

namespace lab {

enum class Readout {
    Gamma,      // "Gamma = 0.415 at 41.6 deg"
    Ratio,      // "Ratio = 2.42" or "Ratio = infinite"
    Minimum,    // "Vmin at 0.308 wavelengths from the load"; empty for a matched load
    Impedance,  // "Z1 = 66.7 - j50.0 ohms" for k eighths of a wavelength from the load
    Pointer,    // "|V|/|V+| = 1.21, Z = 66.7 - j50.0 ohms" at any distance from the load
    Matching,   // "Stub at 0.217 wavelengths from the load, 0.132 wavelengths long", "Quarter-wave
                // section of 77.8 ohms at 0.058 wavelengths from the load", or why there is none;
                // empty without a matching chosen
    SourceRatio,  // "Ratio on the source side = 1.00"; empty without a matching
};

// The text of one readout for the load; `wavelengths` is the distance from the load that
// Impedance (k / 8) and Pointer are read at, with the chosen matching in place. A ratio,
// resistance or reactance of a million or more reads "infinite": no load the dialog takes comes
// near it but one within a hair of lossless, where such a figure is an open circuit to a 50-ohm
// line, and its digits would not fit the readouts' place.
std::string FormatReadout(const Load& load, Readout readout, double wavelengths = 0,
                          MatchChoice choice = MatchChoice::None);

}  // namespace lab
