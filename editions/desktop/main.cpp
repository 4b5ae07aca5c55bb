// The desktop program: the program's WinMain on a real display.
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "app/modes.h"
#include "app/resources/dialog_template.h"
#include "platform/backend.h"
#include "platform/fltk/fltk_backend.h"

namespace {

constexpr char kAbout[] =
    "\n"
    "A teaching animation: a sinusoid launched into a 50-ohm transmission line, reflected by a\n"
    "resistive load you choose, with rotating phasors, the standing-wave envelope, the\n"
    "standing-wave ratio and the impedance seen along the line.\n"
    "\n"
    "Type the load in ohms (0.1 to 10000) into the dialog at start. In the window, ENTER starts,\n"
    "pauses and resumes the animation, and F1 resets it with a new load.\n"
    "\n"
    "Options:\n";

constexpr char kHelpAndVersion[] =
    "  --help     show this help and exit\n"
    "  --version  show the version and exit\n";

// "velmora [--lab] [--help] [--version]", a switch for each mode.
std::string Usage() {
    std::string usage = "velmora";
    for (const Mode& mode : kModes.subspan(1))
        usage += " [" + std::string(mode.commandLineSwitch) + "]";
    return usage + " [--help] [--version]";
}

// Each mode's switch and its description, the description's lines in a column.
std::string ModeOptions() {
    std::string options;
    for (const Mode& mode : kModes.subspan(1)) {
        std::string line = "  " + std::string(mode.commandLineSwitch);
        line.resize(13, ' ');
        options += line;
        for (const char c : std::string_view(mode.description)) {
            options += c;
            if (c == '\n') options += std::string(13, ' ');
        }
        options += '\n';
    }
    return options;
}

// Answers --help and --version, notes the mode's switch, and refuses anything else. Returns the
// exit status when the program should not start.
std::optional<int> AnswerArguments(int argc, char** argv, const Mode*& chosen) {
    std::string_view answer;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        const Mode* named = nullptr;
        for (const Mode& mode : kModes.subspan(1)) {
            if (argument == mode.commandLineSwitch) named = &mode;
        }
        if (named != nullptr) {
            chosen = named;
            continue;
        }
        if (argument != "--help" && argument != "--version") {
            std::fprintf(stderr, "velmora: unknown argument '%s' (usage: %s)\n", argv[i],
                         Usage().c_str());
            return 2;
        }
        if (answer.empty()) answer = argument;
    }
    if (answer == "--help") {
        std::printf("Usage: %s\n%s%s%s", Usage().c_str(), kAbout, ModeOptions().c_str(),
                    kHelpAndVersion);
    } else if (answer == "--version") {
        std::printf("velmora %s\n", VELMORA_VERSION);
    } else {
        return std::nullopt;
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const Mode* mode = &kModes.front();
    if (const auto status = AnswerArguments(argc, argv, mode)) return *status;
    platform::fltk::FltkBackend backend;
    platform::Session session(backend, dialogTemplates);
    // The program reads its command line as Windows gives it: the arguments after its name.
    std::string commandLine = mode->commandLineSwitch;
    return WinMain(GetModuleHandleA(nullptr), nullptr, commandLine.data(), SW_SHOWNORMAL);
}
