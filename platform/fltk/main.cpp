// The desktop program: the program's WinMain on a real display.
#include <cstdio>
#include <optional>
#include <string_view>

#include "app/resources/dialog_template.h"
#include "platform/backend.h"
#include "platform/fltk/fltk_backend.h"

namespace {

constexpr char kUsage[] = "velmora [--lab] [--help] [--version]";

constexpr char kHelp[] =
    "\n"
    "A teaching animation: a sinusoid launched into a 50-ohm transmission line, reflected by a\n"
    "resistive load you choose, with rotating phasors, the standing-wave envelope, the\n"
    "standing-wave ratio and the impedance seen along the line.\n"
    "\n"
    "Type the load in ohms (0.1 to 10000) into the dialog at start. In the window, ENTER starts,\n"
    "pauses and resumes the animation, and F1 resets it with a new load.\n"
    "\n"
    "Options:\n"
    "  --lab      open the lab: complex loads (R+jX, short, open), the reflection coefficient,\n"
    "             the Smith chart, the value under the pointer; '+' and '-' change the speed,\n"
    "             the right arrow steps while paused, and M matches the load to the line\n"
    "  --help     show this help and exit\n"
    "  --version  show the version and exit\n";

// Answers --help and --version, notes --lab, and refuses anything else. Returns the exit status
// when the program should not start.
std::optional<int> AnswerArguments(int argc, char** argv, bool& lab) {
    std::string_view answer;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--lab") {
            lab = true;
            continue;
        }
        if (argument != "--help" && argument != "--version") {
            std::fprintf(stderr, "velmora: unknown argument '%s' (usage: %s)\n", argv[i], kUsage);
            return 2;
        }
        if (answer.empty()) answer = argument;
    }
    if (answer == "--help") {
        std::printf("Usage: %s\n%s", kUsage, kHelp);
    } else if (answer == "--version") {
        std::printf("velmora %s\n", VELMORA_VERSION);
    } else {
        return std::nullopt;
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    bool lab = false;
    if (const auto status = AnswerArguments(argc, argv, lab)) return *status;
    platform::fltk::FltkBackend backend;
    platform::Session session(backend, dialogTemplates);
    // The program reads its command line as Windows gives it: the arguments after its name.
    char labCommandLine[] = "--lab";
    char noArguments[] = "";
    return WinMain(GetModuleHandleA(nullptr), nullptr, lab ? labCommandLine : noArguments,
                   SW_SHOWNORMAL);
}
