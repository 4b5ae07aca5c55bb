// The main window's procedure: the picture on every paint, and the animation driven by timer 1.
#include "app/resources/resource.h"
#include "app/velmora.h"
#include "circuit/circuit.h"
#include "wave/frame.h"

int clientWidth = 0;
int clientHeight = 0;
int clockDeg = 0;
int running = 0;
int introShown = 0;
double loadOhms = 50.0;

namespace {

using wave::kClockEnd;
using wave::kClockStep;

// The introductory boxes have no owner, so keys still reach the window while they are open; but
// nothing may run before the start-up dialog has been answered.
bool introOpen = false;

void Paint(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    // A paint shows the picture of clock 0 (the start arrow is the frame of 0), so the animation
    // starts over from it: the next tick's erasing frame must match what is on the screen.
    clockDeg = 0;
    DrawCircuit(dc, clientWidth, clientHeight);
    DrawLoadCaption(dc, clientWidth, clientHeight, loadOhms);
    ShowIntroOnce(ShowIntro, introOpen);
    EndPaint(window, &paint);
}

// The previous frame is drawn again, which erases it (NOTXOR), then the next one.
void Tick(HWND window) {
    if (running != 0) {
        HDC dc = GetDC(window);
        DrawWaveFrame(dc, clientWidth, clientHeight, clockDeg, loadOhms);
        clockDeg = clockDeg + kClockStep;
        DrawWaveFrame(dc, clientWidth, clientHeight, clockDeg, loadOhms);
        ReleaseDC(window, dc);
    }
    if (clockDeg >= kClockEnd) KillTimer(window, TIMER_ANIM);
}

void Reset(HWND window) {
    // The timer is gone once an animation has finished, even if a repaint has cleared the clock
    // since; setting it again while it exists only restarts its period. So F1 always leads to a
    // run that ENTER can start.
    SetTimer(window, TIMER_ANIM, kTickPeriod, nullptr);
    clockDeg = 0;
    running = 0;
    DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_LOAD), window, LoadDlgProc, 0);
    InvalidateRect(window, nullptr, TRUE);
}

}  // namespace

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (HandleWindowBasics(window, message, lParam)) return 0;
    switch (message) {
        case WM_PAINT:
            Paint(window);
            return 0;
        case WM_KEYDOWN:
            if (introOpen) return 0;
            if (wParam == VK_RETURN) {
                running = running == 0 ? 1 : 0;
            } else if (wParam == VK_F1) {
                Reset(window);
            }
            return 0;
        case WM_TIMER:
            Tick(window);
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}
