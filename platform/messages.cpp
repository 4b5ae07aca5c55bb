// The message queue, the message loop and timers.
#include <algorithm>

#include "platform/core.h"
#include "platform/dialog_keys.h"

namespace platform::core {

namespace {

// The smallest period Windows accepts (USER_TIMER_MINIMUM); shorter ones are raised to it.
constexpr UINT kMinimumTimerPeriod = 10;

Window* WindowToPaint() {
    for (const auto& [handle, window] : Current().windows) {
        if (!window->destroyed && window->visible && !window->invalid.empty()) return window.get();
    }
    return nullptr;
}

// A character for the keys that type one, as an unshifted keyboard gives it.
int CharacterOf(WPARAM virtualKey) {
    switch (virtualKey) {
        case VK_BACK:
        case VK_TAB:
        case VK_RETURN:
        case VK_ESCAPE:
        case VK_SPACE:
            return static_cast<int>(virtualKey);
        case VK_SUBTRACT:
        case VK_OEM_MINUS:
            return '-';
        case VK_DECIMAL:
        case VK_OEM_PERIOD:
            return '.';
        default:
            break;
    }
    if (virtualKey >= '0' && virtualKey <= '9') return static_cast<int>(virtualKey);
    if (virtualKey >= VK_NUMPAD0 && virtualKey <= VK_NUMPAD9) {
        return static_cast<int>(virtualKey - VK_NUMPAD0 + '0');
    }
    if (virtualKey >= 'A' && virtualKey <= 'Z') return static_cast<int>(virtualKey - 'A' + 'a');
    return 0;
}

// The dialog that has the focus (itself or one of its controls), if one does.
Window* FocusedDialog() {
    Window* focus = Live(Current().focus);
    if (focus != nullptr && focus->kind == Window::Kind::Control) focus = Live(focus->parent);
    return focus != nullptr && focus->kind == Window::Kind::Dialog && !focus->ended ? focus
                                                                                    : nullptr;
}

// Input for a window that a box or dialog has disabled since it was typed goes where Windows
// sends it: keys to the dialog with the focus, which decides its dialog keys (Enter, Esc, TAB)
// and gives the others to its focused control, where an edit field types their characters; a
// click on the close box is lost, and so is a dialog's input (its buttons and keys) while a box
// of its own is open. False when the input is lost or used up here.
bool RouteInput(MSG& message) {
    const Window* target = Live(message.hwnd);
    if (target == nullptr) return false;
    if (target->disabledBy == 0) return true;
    if (target->kind != Window::Kind::TopLevel) return false;
    const Window* dialog = message.message == WM_KEYDOWN ? FocusedDialog() : nullptr;
    if (dialog == nullptr || dialog->disabledBy != 0) return false;
    const Window* focus = Live(Current().focus);
    const bool controlFocused = focus != nullptr && focus->kind == Window::Kind::Control;
    const DialogKeyAction action =
        DialogKey(dialog->layoutControls, controlFocused ? std::optional(focus->id) : std::nullopt,
                  IDCANCEL, static_cast<int>(message.wParam), Current().shiftHeld);
    switch (action.kind) {
        case DialogKeyAction::Kind::Command:
            message = CommandMessage(*dialog, action.id);
            return true;
        case DialogKeyAction::Kind::Focus:
            SetFocus(GetDlgItem(dialog->handle, action.id));
            return false;
        case DialogKeyAction::Kind::Pass:
            if (!controlFocused) return false;
            message.hwnd = focus->handle;
            return true;
    }
    return false;
}

bool TakePosted(MSG& message, DWORD time) {
    State& state = Current();
    while (!state.posted.empty()) {
        const Queued queued = state.posted.front();
        state.posted.pop_front();
        message = queued.message;
        if (queued.input) {
            state.shiftHeld = queued.shift;
            if (!RouteInput(message)) continue;
        }
        message.time = time;
        return true;
    }
    return false;
}

}  // namespace

bool TakeMessage(MSG& message) {
    State& state = Current();
    const Millis now = state.backend.now();
    const DWORD time = static_cast<DWORD>(now);
    if (TakePosted(message, time)) return true;
    if (state.quitPosted) {
        state.quitPosted = false;
        message = {nullptr, WM_QUIT, static_cast<WPARAM>(state.quitCode), 0, time, {0, 0}};
        return true;
    }
    // Input comes ahead of paints and timer ticks.
    state.backend.readInput();
    if (TakePosted(message, time)) return true;
    if (const Window* window = WindowToPaint()) {
        message = {window->handle, WM_PAINT, 0, 0, time, {0, 0}};
        return true;
    }
    // A timer is a flag, not a queued message: at most one WM_TIMER per timer is ever pending.
    Timer* due = nullptr;
    for (Timer& timer : state.timers) {
        if (timer.due <= now && (due == nullptr || timer.due < due->due)) due = &timer;
    }
    if (due != nullptr) {
        due->due = now + due->period;
        message = {due->window, WM_TIMER, due->id, reinterpret_cast<LPARAM>(due->callback),
                   time,        {0, 0}};
        return true;
    }
    return false;
}

std::optional<Millis> NextTimerDue() {
    std::optional<Millis> next;
    for (const Timer& timer : Current().timers) {
        if (!next || timer.due < *next) next = timer.due;
    }
    return next;
}

bool RunModalLoop(const std::function<bool()>& finished) {
    State& state = Current();
    while (!finished()) {
        MSG message;
        if (!TakeMessage(message)) {
            state.backend.waitForEvents(NextTimerDue());
            continue;
        }
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return false;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return true;
}

}  // namespace platform::core

using platform::core::Current;
using platform::core::Live;

// Filters are not supported: the program asks for every message of the thread.
BOOL WINAPI GetMessageA(LPMSG message, HWND /*window*/, UINT /*filterMin*/, UINT /*filterMax*/) {
    platform::core::State& state = Current();
    if (message == nullptr) return -1;
    while (!platform::core::TakeMessage(*message)) {
        state.backend.waitForEvents(platform::core::NextTimerDue());
    }
    return message->message == WM_QUIT ? FALSE : TRUE;
}

BOOL WINAPI TranslateMessage(const MSG* message) {
    if (message == nullptr || message->message != WM_KEYDOWN) return FALSE;
    const int character = platform::core::CharacterOf(message->wParam);
    if (character == 0) return FALSE;
    // Posted messages come before input, as on Windows: the character is read before the keys
    // typed after its own.
    auto& posted = Current().posted;
    posted.insert(
        std::find_if(posted.begin(), posted.end(),
                     [](const platform::core::Queued& queued) { return queued.input; }),
        {{message->hwnd, WM_CHAR, static_cast<WPARAM>(character), message->lParam, 0, {0, 0}},
         false});
    return TRUE;
}

LRESULT WINAPI DispatchMessageA(const MSG* message) {
    if (message == nullptr) return 0;
    if (message->message == WM_TIMER && message->lParam != 0) {
        reinterpret_cast<TIMERPROC>(message->lParam)(message->hwnd, WM_TIMER, message->wParam,
                                                     message->time);
        return 0;
    }
    platform::core::Window* window = Live(message->hwnd);
    return window != nullptr ? platform::core::Deliver(*window, message->message, message->wParam,
                                                       message->lParam)
                             : 0;
}

BOOL WINAPI PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (window != nullptr && Live(window) == nullptr) return FALSE;
    Current().posted.push_back({{window, message, wParam, lParam, 0, {0, 0}}, false});
    return TRUE;
}

LRESULT WINAPI SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    platform::core::Window* target = Live(window);
    return target != nullptr ? platform::core::Deliver(*target, message, wParam, lParam) : 0;
}

void WINAPI PostQuitMessage(int exitCode) {
    platform::core::State& state = Current();
    state.quitPosted = true;
    state.quitCode = exitCode;
}

namespace {

std::ptrdiff_t TimerCount(const platform::core::State& state, HWND window) {
    return std::count_if(
        state.timers.begin(), state.timers.end(),
        [&](const platform::core::Timer& timer) { return timer.window == window; });
}

}  // namespace

// Only TME_LEAVE: WM_MOUSELEAVE once the pointer leaves the window, at once if it is not in it.
BOOL WINAPI TrackMouseEvent(LPTRACKMOUSEEVENT track) {
    if (track == nullptr || track->cbSize != sizeof(TRACKMOUSEEVENT) ||
        track->dwFlags != TME_LEAVE) {
        return FALSE;
    }
    platform::core::Window* window = Live(track->hwndTrack);
    if (window == nullptr || window->kind != platform::core::Window::Kind::TopLevel) return FALSE;
    window->trackingLeave = true;
    if (!window->pointerInside) platform::MouseLeft(track->hwndTrack);
    return TRUE;
}

// Only window timers: the program always names its window.
UINT_PTR WINAPI SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC callback) {
    platform::core::State& state = Current();
    if (Live(window) == nullptr || !state.backend.grantTimer()) return 0;
    const UINT period = std::max(elapse, platform::core::kMinimumTimerPeriod);
    const platform::Millis due = state.backend.now() + period;
    for (platform::core::Timer& timer : state.timers) {
        if (timer.window == window && timer.id == id) {
            // Setting an existing timer again restarts it with the new period.
            timer = {window, id, period, callback, due};
            return TRUE;
        }
    }
    state.timers.push_back({window, id, period, callback, due});
    if (TimerCount(state, window) == 1) state.backend.timersChanged(window, true);
    return TRUE;
}

BOOL WINAPI KillTimer(HWND window, UINT_PTR id) {
    platform::core::State& state = Current();
    if (std::erase_if(state.timers, [&](const platform::core::Timer& timer) {
            return timer.window == window && timer.id == id;
        }) == 0) {
        return FALSE;
    }
    if (TimerCount(state, window) == 0) state.backend.timersChanged(window, false);
    return TRUE;
}
