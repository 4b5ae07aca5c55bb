// The desktop program: the program's WinMain on a real display.
#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

#include "app/modes.h"
#include "app/resources/dialog_template.h"
#include "platform/backend.h"
#include "platform/fltk/fltk_backend.h"
#include "platform/zoom.h"

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

constexpr char kZoomHelpAndVersion[] =
    "  --zoom N   show each of the picture's pixels as an N x N block, N from 1 to 8, for a\n"
    "             lecture hall: the window opens N times as large, as far as the screen\n"
    "             allows, and the program draws in its size divided by N; a zoom that would\n"
    "             leave the picture less room than it needs is not taken. In the window,\n"
    "             Ctrl+plus and Ctrl+minus step the zoom, Ctrl+0 returns to 1 and F11\n"
    "             toggles full screen\n"
    "  --help     show this help and exit\n"
    "  --version  show the version and exit\n";
static_assert(platform::kMaxZoom == 8, "the help names it");

// "velmora [--lab] [--zoom N] [--help] [--version]", a switch for each mode.
std::string Usage() {
    std::string usage = "velmora";
    for (const Mode& mode : kModes.subspan(1))
        usage += " [" + std::string(mode.commandLineSwitch) + "]";
    return usage + " [--zoom N] [--help] [--version]";
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

// Answers --help and --version, notes the mode's switch and the zoom, and refuses anything else.
// Returns the exit status when the program should not start.
std::optional<int> AnswerArguments(int argc, char** argv, const Mode*& chosen, int& zoom) {
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
        if (argument == "--zoom") {
            if (i + 1 == argc) {
                std::fprintf(stderr, "velmora: --zoom: missing its value (usage: %s)\n",
                             Usage().c_str());
                return 2;
            }
            const std::string_view value = argv[++i];
            if (value.size() != 1 || value[0] < '1' || value[0] > '0' + platform::kMaxZoom) {
                std::fprintf(stderr,
                             "velmora: --zoom: expected a whole number from 1 to %d, got '%s' "
                             "(usage: %s)\n",
                             platform::kMaxZoom, argv[i], Usage().c_str());
                return 2;
            }
            zoom = value[0] - '0';
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
                    kZoomHelpAndVersion);
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
    int zoom = 1;
    if (const auto status = AnswerArguments(argc, argv, mode, zoom)) return *status;
    platform::fltk::FltkBackend backend(zoom,
                                        {mode->minimumClientWidth, mode->minimumClientHeight});
    platform::Session session(backend, dialogTemplates);
    // The program reads its command line as Windows gives it: the arguments after its name.
    std::string commandLine = mode->commandLineSwitch;
    return WinMain(GetModuleHandleA(nullptr), nullptr, commandLine.data(), SW_SHOWNORMAL);
}
