#include "app/modes.h"

#include <cstring>
#include <string_view>

#include "app/resources/resource.h"
#include "app/velmora.h"
#include "pulse/model.h"
#include "pulse/picture.h"
#include "wave/frame.h"

namespace {

// The keys of the modes that control time: speed, and a step while paused.
const KeyButton kTimeButtons[] = {
    {"slower", "Slower", VK_OEM_MINUS},
    {"faster", "Faster", VK_OEM_PLUS},
    {"step", "Step", VK_RIGHT},
};
// The lab's: time's, and going round the matchings.
const KeyButton kLabButtons[] = {
    {"slower", "Slower", VK_OEM_MINUS},
    {"faster", "Faster", VK_OEM_PLUS},
    {"step", "Step", VK_RIGHT},
    {"match", "Match", 'M'},  // a letter's virtual key is its capital
};

// The refusal of a parser that gives a value or why the text is not one.
template <auto parse>
std::string Refusal(std::string_view text) {
    const auto parsed = parse(text);
    const auto* refusal = std::get_if<std::string>(&parsed);
    return refusal != nullptr ? *refusal : std::string();
}

// An empty resistance is taken (it keeps the one shown), so what is kept does not matter here.
std::variant<double, std::string> ParsePulseSource(std::string_view text) {
    return pulse::ParseSourceOhms(text, pulse::kLineOhms);
}
std::variant<pulse::Load, std::string> ParsePulseLoad(std::string_view text) {
    return pulse::ParseLoad(text, pulse::Load{});
}

const DialogField kLoadField[] = {{"--load", nullptr}};
// The lab's dialog reads its text as typed (the 159 characters it takes, typed look-alikes) and
// answers a refusal itself.
const DialogField kLabFields[] = {{"--load", nullptr}};
const DialogField kPulseFields[] = {
    {"--source", Refusal<ParsePulseSource>},
    {"--load", Refusal<ParsePulseLoad>},
    {"--width", Refusal<pulse::ParseWidth>},
};

// The smallest clients that show the whole picture: the plain mode's captions and readouts
// need 800 x 400 not to overlap; the lab's load caption "10000.0 + j10000.0 ohms" needs 829 pixels
// across, and its column of readouts, down to Z7, some 450 pixels down; the pulse mode's bounce
// diagram and graph need 560 pixels down beside the readouts.
const Mode kModeTable[] = {
    {.name = "Plain",
     .commandLineSwitch = "",
     .pageQuery = "",
     .description = "",
     .caption = "Velmora",
     .picture = "Velmora: a wave travelling along a 50-ohm transmission line to its load and "
                "reflected there, with the standing-wave ratio and the impedances along the line",
     .windowProcedure = MainWndProc,
     .loadDialog = LoadDlgProc,
     .dialogTemplate = IDD_LOAD,
     .dialogFields = kLoadField,
     .paintsWhole = false,
     .clockEnd = wave::kClockEnd,
     .minimumClientWidth = 800,
     .minimumClientHeight = 400,
     .newValuesLabel = "New load",
     .keyButtons = {},
     .readings = PlainReadings},
    {.name = "Lab",
     .commandLineSwitch = "--lab",
     .pageQuery = "lab",
     .description = "open the lab: complex loads (R+jX, short, open), the reflection coefficient,\n"
                    "the Smith chart, the value under the pointer; '+' and '-' change the speed,\n"
                    "the right arrow steps while paused, and M matches the load to the line",
     .caption = "Velmora lab",
     .picture = "Velmora lab: a wave travelling along a 50-ohm transmission line to a complex "
                "load and reflected there, with the reflection coefficient, the standing-wave "
                "ratio, the impedances along the line and the Smith chart",
     .windowProcedure = LabWndProc,
     .loadDialog = LabLoadDlgProc,
     .dialogTemplate = IDD_LOAD,
     .dialogFields = kLabFields,
     .paintsWhole = true,
     .clockEnd = wave::kClockEnd,
     .minimumClientWidth = 832,
     .minimumClientHeight = 460,
     .newValuesLabel = "New load",
     .keyButtons = kLabButtons,
     .readings = LabReadings,
     .loadIsNumber = false},
    {.name = "Pulse",
     .commandLineSwitch = "--pulse",
     .pageQuery = "pulse",
     .description = "open the pulse mode: a step or a pulse from a source of resistance Rs,\n"
                    "reflected between the source and the load (0 to 10000 ohms, short, open),\n"
                    "the bounce diagram and the load's voltage over time; '+', '-' and the right "
                    "arrow as in the lab",
     .caption = "Velmora pulse",
     .picture = "Velmora pulse: a step or a pulse travelling along a 50-ohm transmission line "
                "and reflected between the source and the load, with the bounce diagram and the "
                "load's voltage over time",
     .windowProcedure = PulseWndProc,
     .loadDialog = PulseDlgProc,
     .dialogTemplate = IDD_PULSE,
     .dialogFields = kPulseFields,
     .paintsWhole = true,
     .clockEnd = pulse::kRunClock,
     .minimumClientWidth = 800,
     .minimumClientHeight = 560,
     .newValuesLabel = "New values",
     .keyButtons = kTimeButtons,
     .readings = PulseReadings,
     .loadIsNumber = false},
};

bool HasWord(const char* commandLine, std::string_view wanted) {
    for (const char* word = commandLine; *word != '\0';) {
        const std::size_t length = std::strcspn(word, " \t");
        if (std::string_view(word, length) == wanted) return true;
        word += length;
        word += std::strspn(word, " \t");
    }
    return false;
}

}  // namespace

const std::span<const Mode> kModes = kModeTable;

const Mode& ModeOfCommandLine(const char* commandLine) {
    if (commandLine != nullptr) {
        for (const Mode& mode : kModes.subspan(1)) {
            if (HasWord(commandLine, mode.commandLineSwitch)) return mode;
        }
    }
    return kModes.front();
}
