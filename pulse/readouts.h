// The pulse mode's readouts: the text lines of the picture, which are also what a screen reader
// reads, and the bounce diagram's labels.
#pragma once

#include <span>
#include <string>

#include "pulse/model.h"

namespace pulse {

enum class Readout {
    SourceGamma,    // "Gamma at the source = -0.333"
    LoadGamma,      // "Gamma at the load = 0.333"
    Launched,       // "Launched = 0.667 V"
    Final,          // "Final = 0.800 V"; empty where there is no final value
    Time,           // "t = 1.50 T", the time in one-way trips
    SourceVoltage,  // "V at the source = 0.815 V" at the time
    LoadVoltage,    // "V at the load = 0.889 V" at the time
};

// The text of one readout; `time` (trips) is when the last three are read.
std::string FormatReadout(std::span<const Wave> waves, const Setup& setup, Readout readout,
                          double time);

// Volts as the diagram labels them, "%.3f" (a wave's amplitude) or with " V" (an end's voltage);
// never "-0.000".
std::string Volts(double volts, bool unit);

}  // namespace pulse
