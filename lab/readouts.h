// The lab's readouts: the text lines of the picture, which are also what a screen reader reads.
#pragma once

#include <string>

#include "lab/model.h"

namespace lab {

enum class Readout {
    Gamma,      // "Gamma = 0.415 at 41.6 deg"
    Ratio,      // "Ratio = 2.42" or "Ratio = infinite"
    Minimum,    // "Vmin at 0.308 wavelengths from the load"; empty for a matched load
    Impedance,  // "Z1 = 66.7 - j50.0 ohms" for k eighths of a wavelength from the load
    Pointer,    // "|V|/|V+| = 1.21, Z = 66.7 - j50.0 ohms" at any distance from the load
};

// The text of one readout for the load; `wavelengths` is the distance from the load that
// Impedance (k / 8) and Pointer are read at. A ratio, resistance or reactance of a million or
// more reads "infinite": no load the dialog takes comes near it but one within a hair of
// lossless, where such a figure is an open circuit to a 50-ohm line, and its digits would not
// fit the readouts' place.
std::string FormatReadout(const Load& load, Readout readout, double wavelengths = 0);

}  // namespace lab
