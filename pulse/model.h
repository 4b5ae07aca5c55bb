// The pulse mode's model: a step or a pulse launched from a source of resistance Rs into the
// 50-ohm lossless line, reflected at the load, again at the source, and so on. It is exact: the
// voltage at a place and a moment is the sum of the amplitudes of the waves present there.
// Times are in one-way trips of the line (T); places in trips from the source end, 0 at the
// source and 1 at the load.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace pulse {

inline constexpr double kLineOhms = 50;
// The resistances the dialog takes, from 0 (an ideal source, a short) to this.
inline constexpr double kMostOhms = 10000;
// A pulse lasts more than 0 and at most this many trips.
inline constexpr double kLongestPulse = 2;
// A run lasts this many trips.
inline constexpr int kRunTrips = 6;

struct Load {
    double ohms = kLineOhms;  // unused when open
    bool open = false;
};

struct Setup {
    double sourceOhms = kLineOhms;
    Load load;
    std::optional<double> width;  // of the pulse, in trips; none for a step
};

// One wave of the lattice: it leaves its end at `start` (whole trips) with this amplitude, and
// occupies the line behind its front (a step) or the `width` trips behind it (a pulse).
struct Wave {
    double amplitude;
    int start;
    bool towardLoad;  // leaves the source; otherwise leaves the load
};

// Gamma_S = (Rs - 50) / (Rs + 50).
double SourceReflection(const Setup& setup);
// Gamma_L = (RL - 50) / (RL + 50); 1 for an open end.
double LoadReflection(const Setup& setup);
// The first wave's amplitude, the source's volt divided between Rs and the line: 50 / (50 + Rs).
double Launched(const Setup& setup);
// Where a step settles, as at direct current: RL / (Rs + RL), 1 for an open load. None for a
// pulse, and for an ideal source into a short, which has no such value.
std::optional<double> Final(const Setup& setup);

// The lattice over the run: wave k leaves at k trips, from the source when k is even, with
// amplitude Launched * Gamma_L^ceil(k/2) * Gamma_S^floor(k/2); waves 0 to kRunTrips.
std::vector<Wave> Waves(const Setup& setup);

// Whether the wave is at the place at the moment: its age there, a = time - start - the
// distance from the end it left, satisfies 0 <= a, and a < width for a pulse. A front counts
// where it is, a pulse's tail does not.
bool Present(const Wave& wave, const Setup& setup, double place, double time);
// V(place, time) = the sum of the amplitudes of the waves present.
double VoltageAt(std::span<const Wave> waves, const Setup& setup, double place, double time);

// The places strictly inside the line where the voltage steps at the moment: every front and
// every pulse's tail, in increasing order. At most 2 (kRunTrips + 1).
using Steps = std::vector<double>;
void StepsAt(std::span<const Wave> waves, const Setup& setup, double time, Steps& steps);

// The texts of the dialog: a resistance (a number of ohms, 0 to 10000, with an optional "ohms";
// for the load also "short" or "open"), and the pulse width (empty for a step). A text that is
// not one, or longer than kLongestText, gets a message saying what to type. An empty resistance
// keeps `kept`.
inline constexpr std::size_t kLongestText = 160;
std::variant<double, std::string> ParseSourceOhms(std::string_view text, double kept);
std::variant<Load, std::string> ParseLoad(std::string_view text, const Load& kept);
std::variant<std::optional<double>, std::string> ParseWidth(std::string_view text);

}  // namespace pulse
