// The pulse mode's window procedure and dialog. It keeps the main mode's window, circuit and
// keys, with the lab's speed and single steps, and shows a step or a pulse bouncing between a
// source of resistance Rs and the load: the line's voltage, the bounce diagram, the load's
// voltage over time and the readouts. A paint draws the whole picture at the clock, so a paint
// never changes what a run shows.
#include <variant>

#include "app/resources/resource.h"
#include "app/velmora.h"
#include "pulse/picture.h"

namespace {

// Characters read from an edit field, with the terminator: one more than the dialog takes, so
// that a longer text is refused rather than read in part.
constexpr int kTextSize = pulse::kLongestText + 2;

pulse::Run run = pulse::MakeRun({});
bool introOpen = false;

void Paint(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    pulse::DrawPulseStill(dc, clientWidth, clientHeight, run, clockDeg);
    pulse::DrawLineVoltage(dc, clientWidth, clientHeight, run, clockDeg);
    ShowIntroOnce(ShowPulseIntro, introOpen);
    EndPaint(window, &paint);
}

// The line's old voltage is drawn again, which erases it; then what the new moment adds for
// good, and the line's new voltage. The run ends after its last trip.
void Tick(HWND window) {
    if (clockDeg >= pulse::kRunClock) return;
    HDC dc = GetDC(window);
    pulse::DrawLineVoltage(dc, clientWidth, clientHeight, run, clockDeg);
    clockDeg += pulse::kClockStep;
    pulse::DrawPulseTick(dc, clientWidth, clientHeight, run, clockDeg);
    pulse::DrawLineVoltage(dc, clientWidth, clientHeight, run, clockDeg);
    ReleaseDC(window, dc);
    if (clockDeg >= pulse::kRunClock) {
        running = 0;
        KillTimer(window, TIMER_ANIM);
    }
}

void Reset(HWND window) {
    SetAnimationTimer(window);
    clockDeg = 0;
    running = 0;
    DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_PULSE), window, PulseDlgProc,
                    0);
    InvalidateRect(window, nullptr, TRUE);
}

void KeyDown(HWND window, WPARAM key) {
    if (HandleTimeKey(window, key, Tick, clockDeg >= pulse::kRunClock)) return;
    switch (key) {
        case VK_RETURN:
            running = running == 0 && clockDeg < pulse::kRunClock ? 1 : 0;
            break;
        case VK_F1:
            Reset(window);
            break;
    }
}

// The text of an edit field.
std::string FieldText(HWND dialog, int id) {
    char text[kTextSize];
    GetDlgItemTextA(dialog, id, text, kTextSize);
    return text;
}

// Says what is wrong with a field and gives it the focus; the dialog stays with what was typed.
void Refuse(HWND dialog, int id, const std::string& message) {
    MessageBoxA(dialog, message.c_str(), "Pulse values", MB_OK | MB_ICONWARNING);
    SetFocus(GetDlgItem(dialog, id));
}

}  // namespace

LRESULT CALLBACK PulseWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    static const TimedMode pulseMode{Paint, KeyDown, Tick, introOpen};
    return TimedModeWndProc(pulseMode, window, message, wParam, lParam);
}

// An empty resistance keeps the one shown in the circuit; an empty width asks for a step.
INT_PTR CALLBACK PulseDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM /*lParam*/) {
    if (message == WM_INITDIALOG) {
        SetFocus(GetDlgItem(dialog, ID_SOURCE_EDIT));
    } else if (message == WM_COMMAND && LOWORD(wParam) == IDOK) {
        pulse::Setup setup = run.setup;
        const auto source =
            pulse::ParseSourceOhms(FieldText(dialog, ID_SOURCE_EDIT), setup.sourceOhms);
        if (const auto* wrong = std::get_if<std::string>(&source)) {
            Refuse(dialog, ID_SOURCE_EDIT, *wrong);
            return 0;
        }
        const auto load = pulse::ParseLoad(FieldText(dialog, ID_PULSE_LOAD_EDIT), setup.load);
        if (const auto* wrong = std::get_if<std::string>(&load)) {
            Refuse(dialog, ID_PULSE_LOAD_EDIT, *wrong);
            return 0;
        }
        const auto width = pulse::ParseWidth(FieldText(dialog, ID_WIDTH_EDIT));
        if (const auto* wrong = std::get_if<std::string>(&width)) {
            Refuse(dialog, ID_WIDTH_EDIT, *wrong);
            return 0;
        }
        setup.sourceOhms = std::get<double>(source);
        setup.load = std::get<pulse::Load>(load);
        setup.width = std::get<std::optional<double>>(width);
        run = pulse::MakeRun(setup);
        EndDialog(dialog, 1);
    } else if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, 0);
    }
    return 0;
}
