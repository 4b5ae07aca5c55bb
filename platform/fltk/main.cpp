// The desktop program: the program's WinMain on a real display.
#include <cstdio>
#include <optional>
#include <string_view>

#include "app/resources/dialog_template.h"
#include "platform/backend.h"
#include "platform/fltk/fltk_backend.h"
#include "platform/zoom.h"

namespace {

constexpr char kUsage[] = "velmora [--lab] [--zoom N] [--help] [--version]";

// The smallest client each mode's whole picture fits in.
constexpr platform::ClientSize kMinimumClient{800, 400};
constexpr platform::ClientSize kLabMinimumClient{800, 460};

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
    "             the Smith chart, the value under the pointer; '+' and '-' change the speed and\n"
    "             the right arrow steps while paused\n"
    "  --zoom N   show each of the picture's pixels as an N x N block, N from 1 to 8, for a\n"
    "             lecture hall: the window opens N times as large, as far as the screen\n"
    "             allows, and the program draws in its size divided by N; a zoom that would\n"
    "             leave the picture less than 800x400 pixels (the lab 800x460) is not taken.\n"
    "             In the window, Ctrl+plus and Ctrl+minus step the zoom, Ctrl+0 returns to\n"
    "             1 and F11 toggles full screen\n"
    "  --help     show this help and exit\n"
    "  --version  show the version and exit\n";

static_assert(platform::kMaxZoom == 8 && kMinimumClient.width == 800 &&
                  kMinimumClient.height == 400 && kLabMinimumClient.height == 460,
              "the help names these figures");

// Answers --help and --version, notes --lab and --zoom, and refuses anything else. Returns the
// exit status when the program should not start.
std::optional<int> AnswerArguments(int argc, char** argv, bool& lab, int& zoom) {
    std::string_view answer;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--lab") {
            lab = true;
            continue;
        }
        if (argument == "--zoom") {
            if (i + 1 == argc) {
                std::fprintf(stderr, "velmora: --zoom: missing its value (usage: %s)\n", kUsage);
                return 2;
            }
            const std::string_view value = argv[++i];
            if (value.size() != 1 || value[0] < '1' || value[0] > '0' + platform::kMaxZoom) {
                std::fprintf(stderr,
                             "velmora: --zoom: expected a whole number from 1 to %d, got '%s' "
                             "(usage: %s)\n",
                             platform::kMaxZoom, argv[i], kUsage);
                return 2;
            }
            zoom = value[0] - '0';
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
    int zoom = 1;
    if (const auto status = AnswerArguments(argc, argv, lab, zoom)) return *status;
    platform::fltk::FltkBackend backend(zoom, lab ? kLabMinimumClient : kMinimumClient);
    platform::Session session(backend, dialogTemplates);
    // The program reads its command line as Windows gives it: the arguments after its name.
    char labCommandLine[] = "--lab";
    char noArguments[] = "";
    return WinMain(GetModuleHandleA(nullptr), nullptr, lab ? labCommandLine : noArguments,
                   SW_SHOWNORMAL);
}
