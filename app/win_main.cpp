// Start-up: the window class, the main window, the animation timer, the first paint with the
// introductory messages, the load dialog, the second paint and the message loop.
#include <cstring>
#include <string_view>

#include "app/resources/resource.h"
#include "app/velmora.h"

namespace {

// Whether the word is among the command line's space-separated words.
bool HasWord(const char* commandLine, std::string_view wanted) {
    if (commandLine == nullptr) return false;
    for (const char* word = commandLine; *word != '\0';) {
        const std::size_t length = std::strcspn(word, " \t");
        if (std::string_view(word, length) == wanted) return true;
        word += length;
        word += std::strspn(word, " \t");
    }
    return false;
}

}  // namespace

bool WantsLab(const char* commandLine) { return HasWord(commandLine, "--lab"); }
bool WantsPulse(const char* commandLine) { return HasWord(commandLine, "--pulse"); }

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previousInstance*/, LPSTR commandLine,
                   int showCommand) {
    const bool lab = WantsLab(commandLine);
    const bool pulse = !lab && WantsPulse(commandLine);
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = lab ? LabWndProc : pulse ? PulseWndProc : MainWndProc;
    windowClass.cbClsExtra = 0;
    windowClass.cbWndExtra = 0;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszMenuName = nullptr;
    windowClass.lpszClassName = "Velmora";
    windowClass.hIconSm = LoadIconA(nullptr, IDI_APPLICATION);
    RegisterClassExA(&windowClass);

    HWND window =
        CreateWindowExA(0, "Velmora",
                        lab     ? "Velmora lab"
                        : pulse ? "Velmora pulse"
                                : "Velmora",
                        WS_OVERLAPPEDWINDOW, 0, 0, 1000, 700, nullptr, nullptr, instance, nullptr);

    while (SetTimer(window, TIMER_ANIM, kTickPeriod, nullptr) == 0) {
        if (MessageBoxA(window, "Too many clocks or timers!", "Velmora",
                        MB_ICONWARNING | MB_RETRYCANCEL) == IDCANCEL) {
            return 0;
        }
    }

    ShowWindow(window, showCommand);
    UpdateWindow(window);  // the first paint, with the introductory messages

    if (pulse) {
        DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_PULSE), window, PulseDlgProc, 0);
    } else {
        DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_LOAD), window,
                        lab ? LabLoadDlgProc : LoadDlgProc, 0);
    }

    // Drawn over the first picture without erasing it: this paint adds the start arrow. The lab
    // and the pulse mode draw their whole picture on every paint, so they want the window erased
    // first.
    InvalidateRgn(window, nullptr, lab || pulse ? TRUE : FALSE);
    UpdateWindow(window);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}
