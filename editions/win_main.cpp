// Start-up: the window class, the main window, the animation timer, the first paint with the
// introductory messages, the load dialog, the second paint and the message loop.
#include <cstring>

#include "app/resources/resource.h"
#include "app/velmora.h"

bool WantsLab(const char* commandLine) {
    if (commandLine == nullptr) return false;
    for (const char* word = commandLine; *word != '\0';) {
        const std::size_t length = std::strcspn(word, " \t");
        if (length == 5 && std::strncmp(word, "--lab", 5) == 0) return true;
        word += length;
        word += std::strspn(word, " \t");
    }
    return false;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previousInstance*/, LPSTR commandLine,
                   int showCommand) {
    const bool lab = WantsLab(commandLine);
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = lab ? LabWndProc : MainWndProc;
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
        CreateWindowExA(0, "Velmora", lab ? "Velmora lab" : "Velmora", WS_OVERLAPPEDWINDOW, 0, 0,
                        1000, 700, nullptr, nullptr, instance, nullptr);

    while (SetTimer(window, TIMER_ANIM, kTickPeriod, nullptr) == 0) {
        if (MessageBoxA(window, "Too many clocks or timers!", "Velmora",
                        MB_ICONWARNING | MB_RETRYCANCEL) == IDCANCEL) {
            return 0;
        }
    }

    ShowWindow(window, showCommand);
    UpdateWindow(window);  // the first paint, with the introductory messages

    DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_LOAD), window,
                    lab ? LabLoadDlgProc : LoadDlgProc, 0);

    // Drawn over the first picture without erasing it: this paint adds the start arrow. The lab
    // draws its whole picture on every paint, so it wants the window erased first.
    InvalidateRgn(window, nullptr, lab ? TRUE : FALSE);
    UpdateWindow(window);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}
