// The program in a web page: the program's WinMain with the page's canvas as its window.
#include "app/resources/dialog_template.h"
#include "platform/backend.h"
#include "platform/web/web_backend.h"

int main() {
    platform::web::WebBackend backend;
    platform::Session session(backend, dialogTemplates);
    char commandLine[] = "";
    return WinMain(GetModuleHandleA(nullptr), nullptr, commandLine, SW_SHOWNORMAL);
}
