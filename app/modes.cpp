#include "app/modes.h"

#include <cstring>
#include <variant>

#include "app/velmora.h"
#include "lab/load_text.h"

namespace {

const KeyButton kLabButtons[] = {
    {"slower", "Slower", VK_OEM_MINUS},
    {"faster", "Faster", VK_OEM_PLUS},
    {"step", "Step", VK_RIGHT},
};

std::string LabLoadRefusal(std::string_view text) {
    const auto parsed = lab::ParseLoad(text);
    const auto* refusal = std::get_if<std::string>(&parsed);
    return refusal != nullptr ? *refusal : std::string();
}

// The smallest clients that show the whole picture: the plain mode's captions and readouts
// need 800 x 400 not to overlap; the lab's load caption "10000.0 + j10000.0 ohms" needs 829 pixels
// across, and its column of readouts, down to Z7, some 450 pixels down.
const Mode kModeTable[] = {
    {"Plain", "", "", "", "Velmora", MainWndProc, LoadDlgProc, nullptr, false, 800, 400, {}},
    {"Lab", "--lab", "lab",
     "open the lab: complex loads (R+jX, short, open), the reflection coefficient,\n"
     "the Smith chart, the value under the pointer; '+' and '-' change the speed and\n"
     "the right arrow steps while paused",
     "Velmora lab", LabWndProc, LabLoadDlgProc, LabLoadRefusal, true, 832, 460, kLabButtons, false},
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
