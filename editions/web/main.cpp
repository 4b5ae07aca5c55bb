// The program in a web page: the program's WinMain with the page's canvas as its window. The
// page's address gives the command line: velmora.html?lab opens the lab, as --lab does, and
// velmora.html?pulse the pulse mode, as --pulse does (so do ?lab=1 and ?lab=true; ?lab=0,
// ?lab=false, ?lab=no and ?lab=off do not, nor the same for pulse). The page's program half
// (controls.js) learns the modes and the keys to offer as buttons from here.
#include <emscripten.h>

#include <string>

#include "app/modes.h"
#include "app/reading_places.h"
#include "app/resources/dialog_template.h"
#include "app/velmora.h"
#include "platform/backend.h"
#include "platform/web/web_backend.h"

namespace {

// clang-format off
EM_JS(int, velmora_page_asks_for, (const char* query), {
    var value = new URLSearchParams(location.search).get(UTF8ToString(query));
    return value !== null && !/^(0|false|no|off)$/i.test(value);
});
EM_JS(void, velmora_set_minimum_client, (int width, int height), {
    Velmora.minClient = [width, height];
});
EM_JS(void, velmora_add_mode, (const char* name, const char* query, int current), {
    VelmoraControls.modes.push({name: UTF8ToString(name), query: UTF8ToString(query),
                                current: current !== 0});
});
EM_JS(void, velmora_add_key_button, (const char* id, const char* label, int key), {
    VelmoraControls.buttons.push({id: UTF8ToString(id), label: UTF8ToString(label), key: key});
});
EM_JS(void, velmora_set_load_is_number, (int isNumber), {
    VelmoraControls.loadIsNumber = isNumber !== 0;
});
EM_JS(void, velmora_keep_from_browser, (int key), { VelmoraControls.ownKeys.push(key); });
EM_JS(void, velmora_describe_picture, (const char* description), {
    document.getElementById("client").setAttribute("aria-label", UTF8ToString(description));
});
// clang-format on

const Mode& ModeOfPage() {
    for (const Mode& mode : kModes.subspan(1)) {
        if (velmora_page_asks_for(mode.pageQuery)) return mode;
    }
    return kModes.front();
}

}  // namespace

// What the run is doing, for the control bar: read whenever the program waits for input.
extern "C" EMSCRIPTEN_KEEPALIVE int velmora_running() { return running; }
extern "C" EMSCRIPTEN_KEEPALIVE int velmora_clock() { return clockDeg; }

int main() {
    const Mode& mode = ModeOfPage();
    for (const Mode& each : kModes) velmora_add_mode(each.name, each.pageQuery, &each == &mode);
    velmora_add_key_button("toggle", "Start", VK_RETURN);
    velmora_add_key_button("new-load", mode.newValuesLabel, VK_F1);
    for (const KeyButton& button : mode.keyButtons) {
        velmora_add_key_button(button.id, button.label, button.key);
    }
    // F1 is the program's, not the browser's help.
    velmora_keep_from_browser(VK_F1);
    velmora_set_minimum_client(mode.minimumClientWidth, mode.minimumClientHeight);
    velmora_set_load_is_number(mode.loadIsNumber ? 1 : 0);
    velmora_describe_picture(mode.picture);

    platform::web::WebBackend backend;
    platform::Session session(backend, dialogTemplates, ReadingPlacesOf(mode));
    std::string commandLine = mode.commandLineSwitch;
    return WinMain(GetModuleHandleA(nullptr), nullptr, commandLine.data(), SW_SHOWNORMAL);
}
