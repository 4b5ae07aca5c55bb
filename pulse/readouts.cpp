// The readouts' formats, in one place.
#include "pulse/readouts.h"

#include <cmath>
#include <cstdio>

namespace pulse {

namespace {

std::string Printed(const char* format, double value) {
    char text[64];
    const int length = std::snprintf(text, sizeof text, format, value);
    return length > 0 ? std::string(text) : std::string();
}

// Values that print as 0.000 print without a sign: sums of waves that cancel come out a few
// units in the last place either side of 0.
double Tidy(double value) { return std::abs(value) < 0.0005 ? 0.0 : value; }

}  // namespace

std::string Volts(double volts, bool unit) {
    return Printed(unit ? "%.3f V" : "%.3f", Tidy(volts));
}

std::string FormatReadout(std::span<const Wave> waves, const Setup& setup, Readout readout,
                          double time) {
    switch (readout) {
        case Readout::SourceGamma:
            return Printed("Gamma at the source = %.3f", Tidy(SourceReflection(setup)));
        case Readout::LoadGamma:
            return Printed("Gamma at the load = %.3f", Tidy(LoadReflection(setup)));
        case Readout::Launched:
            return "Launched = " + Volts(Launched(setup), true);
        case Readout::Final: {
            const std::optional<double> final = Final(setup);
            return final ? "Final = " + Volts(*final, true) : "";
        }
        case Readout::Time:
            return Printed("t = %.2f T", time);
        case Readout::SourceVoltage:
            return "V at the source = " + Volts(VoltageAt(waves, setup, 0, time), true);
        case Readout::LoadVoltage:
            return "V at the load = " + Volts(VoltageAt(waves, setup, 1, time), true);
    }
    return "";
}

}  // namespace pulse
