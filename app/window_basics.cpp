// What every mode's window procedure does alike.
#include "app/resources/resource.h"
#include "app/velmora.h"

bool HandleWindowBasics(HWND window, UINT message, LPARAM lParam) {
    switch (message) {
        case WM_DESTROY:
            KillTimer(window, TIMER_ANIM);
            PostQuitMessage(0);
            return true;
        case WM_SIZE:
            clientHeight = HIWORD(lParam);
            clientWidth = LOWORD(lParam);
            return true;
        default:
            return false;
    }
}

void ShowIntroOnce(void (*intro)(), bool& introOpen) {
    if (introShown != 0) return;
    introShown = 1;
    introOpen = true;
    intro();
    introOpen = false;
}

LRESULT TimedModeWndProc(const TimedMode& mode, HWND window, UINT message, WPARAM wParam,
                         LPARAM lParam) {
    if (HandleWindowBasics(window, message, lParam)) return 0;
    switch (message) {
        case WM_PAINT:
            mode.paint(window);
            return 0;
        case WM_KEYDOWN:
            if (!mode.introOpen) mode.keyDown(window, wParam);
            return 0;
        case WM_TIMER:
            if (running != 0) mode.tick(window);
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}
