// The application shell: its procedures and the program-wide state they share.
#pragma once

#include <optional>
#include <vector>

#include "app/modes.h"
#include "win32/win32.h"

// Written by the window procedure (and loadOhms by the load dialog); read by the drawing.
extern int clientWidth;  // client area in device pixels, from WM_SIZE
extern int clientHeight;
extern int clockDeg;     // animation clock in degrees of signal phase, 0 to 1080 in steps of 3
extern int running;      // 1 while timer ticks advance the animation
extern int introShown;   // 1 once the introductory messages have been shown
extern double loadOhms;  // the load in ohms; within [0.1, 10000] once the dialog has set it

// Milliseconds between two ticks of the animation timer.
inline constexpr UINT kTickPeriod = 50;

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK LoadDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The number at the start of the text, read as the C library's atof reads it in the "C" locale,
// with d or D also introducing an exponent; 0.0 if the text does not start with a number.
double ParseLoadText(const char* text);

// Shows the explanation, then the key help, each in its own box; returns when both are closed.
void ShowIntro();

// What every mode's window procedure does alike: WM_DESTROY ends the animation timer and the
// message loop, WM_SIZE keeps the client size for the drawing. Returns whether the message was
// one of these.
bool HandleWindowBasics(HWND window, UINT message, LPARAM lParam);
// On the program's first paint, shows the mode's introductory boxes with introOpen set, so that
// the window procedure can ignore the keys that reach it while they are open.
void ShowIntroOnce(void (*intro)(), bool& introOpen);

// The keys of the modes that control time: '+' and '-' make the animation timer's period half or
// twice as long, from 200 ms to 12.5 ms, and the right arrow calls `tick` while paused. Returns
// whether the key was one of these. Once the run is over, a new speed leaves the timer ended.
bool HandleTimeKey(HWND window, WPARAM key, void (*tick)(HWND window), bool runOver);
// Sets the animation timer at the speed chosen last.
void SetAnimationTimer(HWND window);

// A mode that controls time: what its window does on a paint, on a key once its introductory
// boxes are closed, and on a timer tick while it runs.
struct TimedMode {
    void (*paint)(HWND window);
    void (*keyDown)(HWND window, WPARAM key);
    void (*tick)(HWND window);
    const bool& introOpen;
};
// The window procedure of such a mode, for the messages it does not handle itself.
LRESULT TimedModeWndProc(const TimedMode& mode, HWND window, UINT message, WPARAM wParam,
                         LPARAM lParam);

// Where each mode writes its readings in a client of that size, in the order they are read
// (app/readings.cpp).
std::vector<Reading> PlainReadings(int width, int height);
std::vector<Reading> LabReadings(int width, int height);
std::vector<Reading> PulseReadings(int width, int height);

// The lab mode (app/lab_window.cpp): the same window, circuit, clock and keys, taken further to
// complex loads, the Smith chart and control of time.
LRESULT CALLBACK LabWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK LabLoadDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// Where the lab's pointer reads the line, while it does.
std::optional<POINT> LabPointer();
// The explanation, then the lab's key help.
void ShowLabIntro();

// The pulse mode (app/pulse_window.cpp): a step or a pulse on the same line and circuit, from a
// source of its own resistance, with the bounce diagram and the load's voltage over time.
LRESULT CALLBACK PulseWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CALLBACK PulseDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// The pulse mode's explanation, then its key help.
void ShowPulseIntro();
