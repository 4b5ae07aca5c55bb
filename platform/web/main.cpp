// The program in a web page: the program's WinMain with the page's canvas as its window. The
// page's address gives the command line: velmora.html?lab opens the lab, as --lab does, and
// velmora.html?pulse the pulse mode, as --pulse does.
#include <emscripten.h>

#include "app/resources/dialog_template.h"
#include "platform/backend.h"
#include "platform/web/web_backend.h"

namespace {

// clang-format off
EM_JS(int, velmora_wants_lab, (), { return new URLSearchParams(location.search).has("lab"); });
EM_JS(int, velmora_wants_pulse, (), { return new URLSearchParams(location.search).has("pulse"); });
// clang-format on

}  // namespace

int main() {
    platform::web::WebBackend backend;
    platform::Session session(backend, dialogTemplates);
    char labCommandLine[] = "--lab";
    char pulseCommandLine[] = "--pulse";
    char noArguments[] = "";
    return WinMain(GetModuleHandleA(nullptr), nullptr,
                   velmora_wants_lab()     ? labCommandLine
                   : velmora_wants_pulse() ? pulseCommandLine
                                           : noArguments,
                   SW_SHOWNORMAL);
}
