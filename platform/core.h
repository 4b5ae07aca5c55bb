// Internal state of our USER32 subset, shared by the files of the core.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/backend.h"
#include "surface/device_context.h"

namespace platform::core {

// The classic frame of an overlapped window: outer size minus client size.
constexpr int kFrameWidth = 8;
constexpr int kFrameHeight = 34;

// The texts the program has written on a window and not erased since, in reading order: by the
// top of their cells, then by the left. A text written where another starts replaces it.
class WrittenTexts final : public surface::TextListener {
  public:
    void textWritten(int left, int top, std::string_view text) override;
    // The background was erased there: the texts that start in the area are gone.
    void erase(const surface::PixelRect& area);
    // Those that start in a reading place as its reading, the rest among the others.
    WindowTexts forReaders(const std::vector<ReadingPlace>& places) const;
    // True once after the texts changed.
    bool takeChanged() { return std::exchange(changed_, false); }

  private:
    std::map<std::pair<int, int>, std::string> texts_;  // by (top, left)
    bool changed_ = false;
};

struct WindowClass {
    UINT style;
    WNDPROC procedure;
    HBRUSH background;
};

struct Window {
    enum class Kind { TopLevel, Dialog, Control };

    HWND handle;
    Kind kind;
    std::string text;  // caption, or a control's text
    bool destroyed = false;

    // Top-level windows.
    WindowClass windowClass{};
    int clientWidth = 0;  // the client size, which the canvas holds as far as it can
    int clientHeight = 0;
    int zoom = 1;  // each client pixel shown as zoom x zoom on the display (backend.h)
    std::unique_ptr<surface::Canvas> canvas;
    bool visible = false;
    int disabledBy = 0;  // open modal boxes and dialogs owned by this window
    surface::PixelRect invalid;
    bool eraseInvalid = false;
    bool pointerInside = false;  // since the backend last reported a move or the pointer leaving
    bool trackingLeave = false;  // WM_MOUSELEAVE is due when the pointer leaves (TrackMouseEvent)
    WrittenTexts texts;

    // Dialogs.
    DLGPROC dialogProcedure = nullptr;
    std::vector<DialogControl> layoutControls;  // in the template's order, the tab order
    std::unique_ptr<DialogView> view;
    std::vector<HWND> controls;
    bool ended = false;
    INT_PTR result = 0;

    // Controls.
    HWND parent = nullptr;
    int id = 0;
    DWORD style = 0;
};

struct Timer {
    HWND window;
    UINT_PTR id;
    UINT period;
    TIMERPROC callback;
    Millis due;
};

// A message waiting in the thread's queue. Input (keys, the close box) is routed when it is taken,
// as Windows routes it: to the window that then has the focus.
struct Queued {
    MSG message;
    bool input;
    bool shift = false;  // held when the key was pressed
};

struct State {
    State(Backend& b, std::span<const DialogResource> d, ReadingPlaces r)
        : backend(b), dialogs(d), readingPlaces(std::move(r)) {}

    Backend& backend;
    std::span<const DialogResource> dialogs;
    ReadingPlaces readingPlaces;
    std::map<std::string, WindowClass> classes;
    // A destroyed window leaves once no device context draws on it; handles are never reused,
    // so a stale one finds nothing.
    std::map<HWND, std::unique_ptr<Window>> windows;
    std::uintptr_t lastHandle = 0;
    std::map<HDC, HWND> windowDCs;  // from GetDC and BeginPaint, until released
    std::deque<Queued> posted;
    bool quitPosted = false;
    int quitCode = 0;
    std::vector<Timer> timers;
    HWND focus = nullptr;
    // Whether Shift was held for the input last taken from the queue, as Windows keeps the
    // keyboard's state in step with the queue.
    bool shiftHeld = false;
};

// The state of the current session; aborts with a message when there is none.
State& Current();

Window& NewWindow(Window::Kind kind);
// A window that exists and is not destroyed, or null.
Window* Live(HWND handle);
// Marks the window destroyed and frees it as soon as no device context draws on its canvas
// (call again when one is released).
void Forget(HWND handle);

// WM_COMMAND from the dialog's control with this id (a button, Enter or Esc).
MSG CommandMessage(const Window& dialog, int id);

// A control's own handling of a message sent to it: an edit field types WM_CHAR's character.
void ControlMessage(const Window& control, UINT message, WPARAM wParam);

// The dialog's text as the program reads it through GetDlgItemTextA: UTF-8 converted to the
// Windows code page 1252 as Windows' ANSI conversion does it, with its best fit
// (platform/ansi_best_fit.h): the minus sign, dashes and quotes a user types, and the full-width
// forms an input method types, become their look-alikes in the code page; what has none becomes
// '?'.
std::string AnsiText(std::string_view utf8);
// The program's text in code page 1252 as UTF-8, for the backends, which show UTF-8: a message
// that quotes what the user typed ("75\xb0") shows it as typed ("75°").
std::string Utf8Text(std::string_view ansi);

// Calls the window's procedure (or dialog procedure), noting the message in an active trace.
LRESULT Deliver(Window& window, UINT message, WPARAM wParam, LPARAM lParam);

// The next message the thread has, in the order Windows gives them: posted messages, WM_QUIT,
// WM_PAINT, WM_TIMER. False when there is none right now.
bool TakeMessage(MSG& message);
// The earliest time a timer falls due, if any timer exists.
std::optional<Millis> NextTimerDue();

// Delivers the thread's messages, waiting for input as needed, until finished() holds. Returns
// false if WM_QUIT arrived first; it is posted again for the outer loop, as Windows does.
bool RunModalLoop(const std::function<bool()>& finished);

// Shows the pixels the window's canvas has changed since the last call.
void PresentChanges(Window& window);

void Invalidate(Window& window, const surface::PixelRect& area, bool erase);

}  // namespace platform::core
