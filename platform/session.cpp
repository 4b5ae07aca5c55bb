// The session that binds the core to a backend, the events backends report, and message
// delivery to window and dialog procedures.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <stdexcept>
#include <string>
#include <utility>

#include "platform/core.h"
#include "platform/zoom.h"
#include "surface/device_context.h"
#include "surface/recorder.h"

namespace platform {

namespace core {

namespace {

State* current = nullptr;

// Comments in an active trace, so a reader sees which message drew what.
void NoteInTrace(UINT message, WPARAM wParam, LPARAM lParam) {
    surface::Recorder* recorder = surface::Recorder::active();
    if (recorder == nullptr) return;
    std::string note;
    switch (message) {
        case WM_CREATE:
            note = "WM_CREATE";
            break;
        case WM_SIZE:
            note =
                "WM_SIZE " + std::to_string(LOWORD(lParam)) + " " + std::to_string(HIWORD(lParam));
            break;
        case WM_PAINT:
            note = "WM_PAINT";
            break;
        case WM_TIMER:
            note = "WM_TIMER";
            break;
        case WM_KEYDOWN:
            note = "WM_KEYDOWN " + std::to_string(wParam);
            break;
        case WM_CLOSE:
            note = "WM_CLOSE";
            break;
        case WM_DESTROY:
            note = "WM_DESTROY";
            break;
        case WM_INITDIALOG:
            note = "WM_INITDIALOG";
            break;
        case WM_COMMAND:
            note = "WM_COMMAND " + std::to_string(LOWORD(wParam));
            break;
        default:
            return;
    }
    recorder->comment(note.c_str());
}

}  // namespace

State& Current() {
    if (current == nullptr) {
        std::fputs("platform: a USER32 function was called outside a platform::Session\n", stderr);
        std::abort();
    }
    return *current;
}

Window& NewWindow(Window::Kind kind) {
    State& state = Current();
    // Handles are small odd numbers, never valid addresses, never reused within a session.
    const HWND handle = reinterpret_cast<HWND>(++state.lastHandle * 2 + 1);
    auto window = std::make_unique<Window>();
    window->handle = handle;
    window->kind = kind;
    return *(state.windows[handle] = std::move(window));
}

Window* Live(HWND handle) {
    State& state = Current();
    const auto found = state.windows.find(handle);
    if (found == state.windows.end() || found->second->destroyed) return nullptr;
    return found->second.get();
}

void Forget(HWND handle) {
    State& state = Current();
    const auto found = state.windows.find(handle);
    if (found == state.windows.end()) return;
    found->second->destroyed = true;
    for (const auto& [dc, window] : state.windowDCs) {
        if (window == handle) return;
    }
    state.windows.erase(found);
}

MSG CommandMessage(const Window& dialog, int id) {
    HWND control = nullptr;
    for (HWND handle : dialog.controls) {
        if (Live(handle) != nullptr && Live(handle)->id == id) control = handle;
    }
    return {dialog.handle,
            WM_COMMAND,
            static_cast<WPARAM>(static_cast<WORD>(id)),
            reinterpret_cast<LPARAM>(control),
            0,
            {0, 0}};
}

LRESULT Deliver(Window& window, UINT message, WPARAM wParam, LPARAM lParam) {
    NoteInTrace(message, wParam, lParam);
    switch (window.kind) {
        case Window::Kind::TopLevel:
            return window.windowClass.procedure(window.handle, message, wParam, lParam);
        case Window::Kind::Dialog:
            return window.dialogProcedure(window.handle, message, wParam, lParam);
        case Window::Kind::Control:
            ControlMessage(window, message, wParam);
            break;
    }
    return 0;
}

}  // namespace core

using core::Live;
using core::Window;

Session::Session(Backend& backend, std::span<const DialogResource> dialogs,
                 ReadingPlaces readings) {
    if (core::current != nullptr) throw std::logic_error("a platform session is already open");
    core::current = new core::State(backend, dialogs, std::move(readings));
}

Session::~Session() {
    core::State* state = core::current;
    for (const auto& [dc, window] : state->windowDCs) surface::ReleaseCanvasDC(dc);
    for (const auto& [handle, window] : state->windows) {
        window->view.reset();
        if (window->kind == Window::Kind::TopLevel && !window->destroyed) {
            state->backend.destroyWindow(handle);
        }
    }
    delete state;
    core::current = nullptr;
}

// Whether the window takes input is decided when the input is taken from the queue.
void KeyDown(HWND window, int virtualKey, bool shift) {
    const Window* target = Live(window);
    if (target == nullptr || target->kind != Window::Kind::TopLevel) return;
    core::Current().posted.push_back(
        {{window, WM_KEYDOWN, static_cast<WPARAM>(virtualKey), 1, 0, {0, 0}}, true, shift});
}

void MouseMoved(HWND window, int x, int y) {
    Window* target = Live(window);
    if (target == nullptr || target->kind != Window::Kind::TopLevel) return;
    // Rounded down, not toward zero: the display pixels just left of or above the client area
    // are outside it at every zoom.
    const auto toClient = [zoom = target->zoom](int displayed) {
        return displayed >= 0 ? displayed / zoom : -((zoom - 1 - displayed) / zoom);
    };
    x = toClient(x);
    y = toClient(y);
    target->pointerInside = true;
    // Each coordinate travels in 16 bits, as a signed number: a pointer left of or above the
    // client area (dragged out of it) reads negative.
    const LPARAM position = MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y));
    core::Current().posted.push_back({{window, WM_MOUSEMOVE, 0, position, 0, {x, y}}, true});
}

void MouseLeft(HWND window) {
    Window* target = Live(window);
    if (target == nullptr || target->kind != Window::Kind::TopLevel) return;
    target->pointerInside = false;
    if (!std::exchange(target->trackingLeave, false)) return;
    core::Current().posted.push_back({{window, WM_MOUSELEAVE, 0, 0, 0, {0, 0}}, false});
}

void CloseRequested(HWND window) {
    const Window* target = Live(window);
    if (target == nullptr || target->kind != Window::Kind::TopLevel) return;
    core::Current().posted.push_back({{window, WM_CLOSE, 0, 0, 0, {0, 0}}, true});
}

void ClientResized(HWND window, int width, int height, int zoom) {
    Window* target = Live(window);
    if (target == nullptr || target->kind != Window::Kind::TopLevel) return;
    target->zoom = std::clamp(zoom, 1, kMaxZoom);
    const ClientSize client = ZoomedClient(width, height, target->zoom);
    // WM_SIZE carries each dimension in 16 bits.
    width = std::min(client.width, 0xffff);
    height = std::min(client.height, 0xffff);
    const int oldWidth = target->clientWidth;
    const int oldHeight = target->clientHeight;
    if (width == oldWidth && height == oldHeight) return;
    target->clientWidth = width;
    target->clientHeight = height;
    surface::Canvas& canvas = *target->canvas;
    try {
        canvas.resize(width, height);
    } catch (const std::bad_alloc&) {
        // The old pixels stay: drawing beyond them is clipped, as beyond any canvas.
    }
    target->invalid = target->invalid.intersected({0, 0, canvas.width(), canvas.height()});
    core::Deliver(*target, WM_SIZE, 0, MAKELPARAM(width, height));
    // The procedure may have destroyed the window.
    target = Live(window);
    if (target == nullptr) return;
    const UINT style = target->windowClass.style;
    const bool redrawAll = ((style & CS_HREDRAW) != 0 && width != oldWidth) ||
                           ((style & CS_VREDRAW) != 0 && height != oldHeight);
    if (redrawAll) {
        core::Invalidate(*target, {0, 0, width, height}, true);
    } else {
        // Only what was not part of the window before.
        const bool wider = width > oldWidth;
        const bool taller = height > oldHeight;
        if (wider || taller) {
            core::Invalidate(
                *target,
                {wider && !taller ? oldWidth : 0, taller && !wider ? oldHeight : 0, width, height},
                true);
        }
    }
}

void DialogCommand(HWND dialog, int id) {
    Window* target = Live(dialog);
    if (target == nullptr || target->kind != Window::Kind::Dialog || target->ended) return;
    core::Current().posted.push_back({core::CommandMessage(*target, id), true});
}

bool TimerExists(HWND window, UINT_PTR id) {
    for (const core::Timer& timer : core::Current().timers) {
        if (timer.window == window && timer.id == id) return true;
    }
    return false;
}

}  // namespace platform
