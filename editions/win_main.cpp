// WinMain, the program's entry as Windows calls it; the other editions call it with the command
// line Windows would give. Start-up: the window class, the main window, the animation timer, the
// first paint with the introductory messages, the load dialog, the second paint and the message
// loop, each as the mode the command line asks for wants it.
#include "app/modes.h"
#include "app/resources/resource.h"
#include "app/velmora.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previousInstance*/, LPSTR commandLine,
                   int showCommand) {
    const Mode& mode = ModeOfCommandLine(commandLine);
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = mode.windowProcedure;
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

    HWND window = CreateWindowExA(0, "Velmora", mode.caption, WS_OVERLAPPEDWINDOW, 0, 0, 1000, 700,
                                  nullptr, nullptr, instance, nullptr);

    while (SetTimer(window, TIMER_ANIM, kTickPeriod, nullptr) == 0) {
        if (MessageBoxA(window, "Too many clocks or timers!", "Velmora",
                        MB_ICONWARNING | MB_RETRYCANCEL) == IDCANCEL) {
            return 0;
        }
    }

    ShowWindow(window, showCommand);
    UpdateWindow(window);  // the first paint, with the introductory messages

    DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_LOAD), window, mode.loadDialog, 0);

    // Drawn over the first picture without erasing it: this paint adds the start arrow. A mode
    // that draws its whole picture on every paint wants the window erased first.
    InvalidateRgn(window, nullptr, mode.paintsWhole ? TRUE : FALSE);
    UpdateWindow(window);

    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}
