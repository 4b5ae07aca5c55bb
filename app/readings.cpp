// Where each mode writes its readings, named where their texts do not name themselves, in the
// order a reader takes them: what was chosen (the load, the source), then what it gives.
#include <optional>

#include "app/velmora.h"
#include "circuit/circuit.h"
#include "lab/picture.h"
#include "pulse/picture.h"
#include "wave/frame.h"

namespace {

constexpr char kLoad[] = "Load";
constexpr char kSource[] = "Source";

// The place of a text that starts at the point.
RECT StartingAt(POINT at) { return {at.x, at.y, at.x + 1, at.y + 1}; }

}  // namespace

std::vector<Reading> PlainReadings(int width, int height) {
    const POINT caption = wave::StandingWaveCaptionAt(width, height);
    // The caption and the ratio below it read as one: "Standing Wave Ratio = 2.00".
    std::vector<Reading> readings = {
        {kLoad, StartingAt(circuit::LoadCaptionAt(width, height))},
        {"", {caption.x, caption.y, caption.x + 1, caption.y + wave::kTextLineSpacing + 1}},
    };
    for (int row = 0; row < wave::kImpedanceReadouts; ++row) {
        readings.push_back({"", StartingAt(wave::ImpedanceReadoutAt(width, height, row))});
    }
    return readings;
}

std::vector<Reading> LabReadings(int width, int height) {
    std::vector<Reading> readings = {{kLoad, StartingAt(circuit::LoadCaptionAt(width, height))}};
    for (int row = 0; row < lab::kMatchingRows; ++row) {
        readings.push_back({"", StartingAt(lab::MatchingLineAt(width, height, row))});
    }
    // Gamma, the ratio and the minimum, then Z1 to Z7.
    for (int row = 0; row < lab::kReadoutRows; ++row) {
        readings.push_back({"", StartingAt(lab::ReadoutAt(width, height, row))});
    }
    if (const std::optional<POINT> pointer = LabPointer()) {
        readings.push_back({"", lab::PointerValueArea(width, *pointer)});
    }
    return readings;
}

std::vector<Reading> PulseReadings(int width, int height) {
    std::vector<Reading> readings = {
        {kSource, StartingAt(circuit::SourceCaptionAt(width, height))},
        {kLoad, StartingAt(circuit::LoadCaptionAt(width, height))},
    };
    for (int row = 0; row < pulse::kReadoutRows; ++row) {
        readings.push_back({"", StartingAt(pulse::ReadoutAt(width, height, row))});
    }
    return readings;
}
