// The lab's window procedure and load dialog. The lab keeps the main mode's window,
// circuit, clock and keys, and adds: complex loads, a picture redrawn whole on every paint (so a
// paint does not restart the run), a run that goes on turning in the steady state, speed and
// single steps, the value under the pointer, and matching (M goes round the stubs and sections).
#include <optional>
#include <variant>

#include "app/resources/resource.h"
#include "app/velmora.h"
#include "circuit/circuit.h"
#include "lab/load_text.h"
#include "lab/picture.h"
#include "wave/frame.h"

namespace {

using wave::kClockEnd;
using wave::kClockStep;

// After the first run the steady state turns on: one period of the signal, over and over.
constexpr int kPeriodDegrees = 360;
// Characters read from the edit field, with the terminator: one more than the dialog takes, so
// that a longer text is refused rather than cut.
constexpr int kTextSize = lab::kLongestLoadText + 2;
// A letter's virtual-key code is its capital.
constexpr WPARAM kMatchKey = 'M';

lab::Load labLoad{50.0};
lab::MatchChoice matchChoice = lab::MatchChoice::None;
std::optional<POINT> pointer;  // where the pointer reads the line, while it does
bool introOpen = false;

// The whole picture at the clock. Where only part of the window is to be painted, the context
// draws only there (over the erased background), so the frame's NOTXOR lines elsewhere stay.
void Paint(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    // The circuit draws the frame of 0's arrow (the start arrow) on every paint but the first;
    // past clock 0 that arrow is drawn once more, which erases it, before the clock's frame.
    const bool startArrow = CircuitDrawsStartArrow();
    DrawCircuit(dc, clientWidth, clientHeight);
    lab::DrawLabStill(dc, clientWidth, clientHeight, labLoad, clockDeg, matchChoice);
    if (pointer) {
        lab::DrawPointerValue(dc, clientWidth, clientHeight, labLoad, *pointer, matchChoice);
    }
    if (!startArrow || clockDeg != 0) {
        if (startArrow) lab::DrawLabFrame(dc, clientWidth, clientHeight, labLoad, 0, matchChoice);
        lab::DrawLabFrame(dc, clientWidth, clientHeight, labLoad, clockDeg, matchChoice);
    }
    ShowIntroOnce(ShowLabIntro, introOpen);
    EndPaint(window, &paint);
}

// The previous frame is drawn again, which erases it; then what the new frame adds for good,
// and the new frame.
void Tick(HWND window) {
    HDC dc = GetDC(window);
    lab::DrawLabFrame(dc, clientWidth, clientHeight, labLoad, clockDeg, matchChoice);
    clockDeg = clockDeg + kClockStep;
    if (clockDeg > kClockEnd) clockDeg -= kPeriodDegrees;
    lab::DrawLabMarks(dc, clientWidth, clientHeight, labLoad, clockDeg, matchChoice);
    lab::DrawLabFrame(dc, clientWidth, clientHeight, labLoad, clockDeg, matchChoice);
    ReleaseDC(window, dc);
}

void Reset(HWND window) {
    SetAnimationTimer(window);
    pointer.reset();  // its value was the old load's
    clockDeg = 0;
    running = 0;
    matchChoice = lab::MatchChoice::None;
    DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_LOAD), window, LabLoadDlgProc,
                    0);
    InvalidateRect(window, nullptr, TRUE);
}

void KeyDown(HWND window, WPARAM key) {
    if (HandleTimeKey(window, key, Tick, false)) return;
    switch (key) {
        case VK_RETURN:
            running = running == 0 ? 1 : 0;
            break;
        case VK_F1:
            Reset(window);
            break;
        case kMatchKey:
            // The whole picture changes with the matching, at the clock it has.
            matchChoice = lab::NextMatchChoice(matchChoice);
            InvalidateRect(window, nullptr, TRUE);
            break;
    }
}

// The pointer's readout follows it while it points at the line, and goes when it leaves the line
// or the window (WM_MOUSELEAVE, asked for while there is a readout).
void PointerMoved(HWND window, LPARAM position) {
    const POINT at{static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
    const bool onLine = lab::PointedDistance(clientWidth, clientHeight, at).has_value();
    if (!onLine && !pointer) return;
    if (onLine && !pointer) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window, 0};
        TrackMouseEvent(&track);
    }
    pointer = onLine ? std::optional<POINT>(at) : std::nullopt;
    InvalidateRect(window, nullptr, TRUE);
}

void PointerLeft(HWND window) {
    if (!pointer) return;
    pointer.reset();
    InvalidateRect(window, nullptr, TRUE);
}

}  // namespace

std::optional<POINT> LabPointer() { return pointer; }

LRESULT CALLBACK LabWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    static const TimedMode labMode{Paint, KeyDown, Tick, introOpen};
    switch (message) {
        case WM_MOUSEMOVE:
            PointerMoved(window, lParam);
            return 0;
        case WM_MOUSELEAVE:
            PointerLeft(window);
            return 0;
        default:
            return TimedModeWndProc(labMode, window, message, wParam, lParam);
    }
}

// A text that is not a load is answered with a message saying what to type; the dialog stays.
INT_PTR CALLBACK LabLoadDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM /*lParam*/) {
    if (message == WM_INITDIALOG) {
        SetFocus(GetDlgItem(dialog, ID_LOAD_EDIT));
    } else if (message == WM_COMMAND && LOWORD(wParam) == IDOK) {
        char text[kTextSize];
        GetDlgItemTextA(dialog, ID_LOAD_EDIT, text, kTextSize);
        const auto parsed = lab::ParseLoad(text);
        if (const auto* load = std::get_if<lab::Load>(&parsed)) {
            labLoad = *load;
            EndDialog(dialog, 1);
        } else {
            MessageBoxA(dialog, std::get<std::string>(parsed).c_str(), "Load value",
                        MB_OK | MB_ICONWARNING);
            SetFocus(GetDlgItem(dialog, ID_LOAD_EDIT));
        }
    } else if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, 0);
    }
    return 0;
}
