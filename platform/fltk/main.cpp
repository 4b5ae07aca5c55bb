// The desktop program: the program's WinMain on a real display.
#include <string>

#include "app/resources/dialog_template.h"
#include "platform/backend.h"
#include "platform/fltk/fltk_backend.h"

int main(int argc, char** argv) {
    platform::fltk::FltkBackend backend;
    platform::Session session(backend, dialogTemplates);
    // As on Windows, the command line without the program's name.
    std::string commandLine;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) commandLine += ' ';
        commandLine += argv[i];
    }
    return WinMain(GetModuleHandleA(nullptr), nullptr, commandLine.data(), SW_SHOWNORMAL);
}
