// The lattice of waves and the sums over it.
#include "pulse/model.h"

#include <algorithm>

namespace pulse {

double SourceReflection(const Setup& setup) {
    return (setup.sourceOhms - kLineOhms) / (setup.sourceOhms + kLineOhms);
}

double LoadReflection(const Setup& setup) {
    if (setup.load.open) return 1;
    return (setup.load.ohms - kLineOhms) / (setup.load.ohms + kLineOhms);
}

double Launched(const Setup& setup) { return kLineOhms / (kLineOhms + setup.sourceOhms); }

std::optional<double> Final(const Setup& setup) {
    if (setup.width) return std::nullopt;
    if (setup.load.open) return 1.0;
    const double total = setup.sourceOhms + setup.load.ohms;
    if (total == 0) return std::nullopt;
    return setup.load.ohms / total;
}

std::vector<Wave> Waves(const Setup& setup) {
    std::vector<Wave> waves;
    double amplitude = Launched(setup);
    for (int k = 0; k <= kRunTrips; ++k) {
        const bool towardLoad = k % 2 == 0;
        waves.push_back({amplitude + 0.0, k, towardLoad});
        // The wave reaching an end starts the next with its amplitude times that end's Gamma.
        amplitude *= towardLoad ? LoadReflection(setup) : SourceReflection(setup);
    }
    return waves;
}

namespace {

double Age(const Wave& wave, double place, double time) {
    return time - wave.start - (wave.towardLoad ? place : 1 - place);
}

}  // namespace

bool Present(const Wave& wave, const Setup& setup, double place, double time) {
    const double age = Age(wave, place, time);
    return age >= 0 && (!setup.width || age < *setup.width);
}

double VoltageAt(std::span<const Wave> waves, const Setup& setup, double place, double time) {
    double volts = 0;
    for (const Wave& wave : waves) {
        if (Present(wave, setup, place, time)) volts += wave.amplitude;
    }
    return volts;
}

void StepsAt(std::span<const Wave> waves, const Setup& setup, double time, Steps& steps) {
    steps.clear();
    auto add = [&](const Wave& wave, double travelled) {
        if (travelled <= 0 || travelled >= 1) return;
        steps.push_back(wave.towardLoad ? travelled : 1 - travelled);
    };
    for (const Wave& wave : waves) {
        if (wave.amplitude == 0) continue;
        const double travelled = time - wave.start;
        add(wave, travelled);
        if (setup.width) add(wave, travelled - *setup.width);
    }
    std::sort(steps.begin(), steps.end());
}

}  // namespace pulse
