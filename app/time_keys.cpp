// The keys of the modes that control time: the speed and a step while paused.
#include "app/resources/resource.h"
#include "app/velmora.h"

namespace {

// The timer's periods from slowest to fastest, halving each time; 12.5 ms is set as 12, the
// timer counting whole milliseconds.
constexpr UINT kPeriods[] = {200, 100, 50, 25, 12};
constexpr int kFirstPeriod = 2;  // the main mode's 50 ms
constexpr int kFastest = sizeof kPeriods / sizeof kPeriods[0] - 1;

int period = kFirstPeriod;

void SetPeriod(HWND window, int wanted, bool runOver) {
    if (wanted < 0 || wanted > kFastest) return;
    period = wanted;
    if (!runOver) SetAnimationTimer(window);
}

}  // namespace

bool HandleTimeKey(HWND window, WPARAM key, void (*tick)(HWND window), bool runOver) {
    switch (key) {
        case VK_OEM_PLUS:
        case VK_ADD:
            SetPeriod(window, period + 1, runOver);
            return true;
        case VK_OEM_MINUS:
        case VK_SUBTRACT:
            SetPeriod(window, period - 1, runOver);
            return true;
        case VK_RIGHT:
            if (running == 0) tick(window);
            return true;
        default:
            return false;
    }
}

void SetAnimationTimer(HWND window) { SetTimer(window, TIMER_ANIM, kPeriods[period], nullptr); }
