// Window classes, top-level windows, invalidation and painting.
#include <algorithm>
#include <cstring>
#include <optional>

#include "platform/core.h"
#include "surface/device_context.h"
#include "win32/gdi.h"

namespace {

surface::PixelRect WholeClient(const platform::core::Window& window) {
    return {0, 0, window.canvas->width(), window.canvas->height()};
}

}  // namespace

namespace platform::core {

void WrittenTexts::textWritten(int left, int top, std::string_view text) {
    std::string& written = texts_[{top, left}];
    if (written == text) return;
    written = text;
    changed_ = true;
}

void WrittenTexts::erase(const surface::PixelRect& area) {
    changed_ |= std::erase_if(texts_, [&](const auto& text) {
                    const auto [top, left] = text.first;
                    return area.contains(left, top);
                }) > 0;
}

WindowTexts WrittenTexts::forReaders(const std::vector<ReadingPlace>& places) const {
    std::vector<std::string> found(places.size());
    WindowTexts texts;
    for (const auto& [start, text] : texts_) {
        const int top = start.first, left = start.second;
        const auto place = std::find_if(places.begin(), places.end(), [&](const auto& place) {
            return place.area.contains(left, top);
        });
        if (place == places.end()) {
            texts.others.push_back(Utf8Text(text));
            continue;
        }
        std::string& reading = found[static_cast<std::size_t>(place - places.begin())];
        reading += reading.empty() ? "" : " ";
        reading += Utf8Text(text);
    }
    for (std::size_t i = 0; i < places.size(); ++i) {
        if (found[i].empty()) continue;
        texts.readings.push_back(places[i].name.empty() ? found[i]
                                                        : places[i].name + ": " + found[i]);
    }
    return texts;
}

void Invalidate(Window& window, const surface::PixelRect& area, bool erase) {
    // Hidden windows have no update region; showing one invalidates all of it.
    if (!window.visible) return;
    const surface::PixelRect clipped = area.intersected(WholeClient(window));
    if (clipped.empty()) return;
    window.invalid = window.invalid.united(clipped);
    // As on Windows, one request to erase erases the whole update region.
    window.eraseInvalid = window.eraseInvalid || erase;
}

void PresentChanges(Window& window) {
    if (!window.visible) return;
    if (window.texts.takeChanged()) {
        const ReadingPlaces& places = Current().readingPlaces;
        Current().backend.showTexts(
            window.handle,
            window.texts.forReaders(places ? places(window.canvas->width(), window.canvas->height())
                                           : std::vector<ReadingPlace>()));
    }
    surface::Canvas& canvas = *window.canvas;
    if (canvas.changes().empty()) return;
    Current().backend.present(window.handle, canvas.changes());
    canvas.clearChanges();
}

}  // namespace platform::core

using platform::core::Current;
using platform::core::Deliver;
using platform::core::Live;
using platform::core::Window;

namespace {

Window* LiveTopLevel(HWND handle) {
    Window* window = Live(handle);
    return window != nullptr && window->kind == Window::Kind::TopLevel ? window : nullptr;
}

// The only brush of the subset is the stock white one; other brushes leave the background.
std::optional<COLORREF> BrushColour(HBRUSH brush) {
    if (brush != nullptr && brush == static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH))) {
        return RGB(255, 255, 255);
    }
    return std::nullopt;
}

HDC NewWindowDC(Window& window) {
    const HDC dc = surface::CreateCanvasDC(window.canvas.get(), &window.texts);
    Current().windowDCs[dc] = window.handle;
    return dc;
}

BOOL ReleaseWindowDC(HDC dc) {
    auto& windowDCs = Current().windowDCs;
    const auto found = windowDCs.find(dc);
    if (found == windowDCs.end()) return FALSE;
    const HWND handle = found->second;
    windowDCs.erase(found);
    surface::ReleaseCanvasDC(dc);
    if (Window* window = Live(handle)) {
        platform::core::PresentChanges(*window);
    } else {
        platform::core::Forget(handle);  // destroyed while this context drew on it
    }
    return TRUE;
}

char moduleMarker;
char applicationIcon;
char arrowCursor;

}  // namespace

ATOM WINAPI RegisterClassExA(const WNDCLASSEXA* windowClass) {
    auto& classes = Current().classes;
    if (windowClass == nullptr || windowClass->cbSize != sizeof(WNDCLASSEXA) ||
        windowClass->lpfnWndProc == nullptr || windowClass->lpszClassName == nullptr ||
        classes.count(windowClass->lpszClassName) != 0) {
        return 0;
    }
    classes[windowClass->lpszClassName] = {windowClass->style, windowClass->lpfnWndProc,
                                           windowClass->hbrBackground};
    return static_cast<ATOM>(0xC000 + classes.size());
}

HWND WINAPI CreateWindowExA(DWORD /*exStyle*/, LPCSTR className, LPCSTR windowName, DWORD style,
                            int /*x*/, int /*y*/, int width, int height, HWND /*parent*/,
                            HMENU /*menu*/, HINSTANCE /*instance*/, LPVOID /*param*/) {
    auto& classes = Current().classes;
    if (className == nullptr || classes.count(className) == 0) return nullptr;
    Window& window = platform::core::NewWindow(Window::Kind::TopLevel);
    window.windowClass = classes[className];
    window.text = windowName != nullptr ? windowName : "";
    // Any outer size, CW_USEDEFAULT included, gives a client size that WM_SIZE can carry.
    const bool framed = (style & WS_CAPTION) != 0;
    const auto clientSide = [](int outer, int frame) {
        return static_cast<int>(std::clamp(static_cast<long long>(outer) - frame, 0LL, 0xffffLL));
    };
    const int clientWidth = clientSide(width, framed ? platform::core::kFrameWidth : 0);
    const int clientHeight = clientSide(height, framed ? platform::core::kFrameHeight : 0);
    window.clientWidth = clientWidth;
    window.clientHeight = clientHeight;
    window.canvas = std::make_unique<surface::Canvas>(clientWidth, clientHeight);
    const HWND handle = window.handle;
    if (Deliver(window, WM_CREATE, 0, 0) == -1) {
        platform::core::Forget(handle);
        return nullptr;
    }
    // From here on the procedure may destroy its window; only the handle is used.
    SendMessageA(handle, WM_SIZE, 0, MAKELPARAM(clientWidth, clientHeight));
    if ((style & WS_VISIBLE) != 0) ShowWindow(handle, SW_SHOW);
    return handle;
}

BOOL WINAPI ShowWindow(HWND handle, int showCommand) {
    Window* window = LiveTopLevel(handle);
    if (window == nullptr) return FALSE;
    const BOOL wasVisible = window->visible ? TRUE : FALSE;
    if (showCommand == SW_HIDE) {
        if (window->visible) {
            window->visible = false;
            window->invalid = {};
            window->eraseInvalid = false;
            Current().backend.hideWindow(handle);
        }
    } else if (!window->visible) {
        window->visible = true;
        // The backend may give the window another size while showing it (ClientResized), and
        // the procedure may destroy the window on WM_SIZE.
        Current().backend.showWindow(handle, platform::core::Utf8Text(window->text),
                                     *window->canvas);
        window = LiveTopLevel(handle);
        if (window != nullptr) platform::core::Invalidate(*window, WholeClient(*window), true);
    }
    return wasVisible;
}

BOOL WINAPI UpdateWindow(HWND handle) {
    Window* window = LiveTopLevel(handle);
    if (window == nullptr) return FALSE;
    if (window->visible && !window->invalid.empty()) Deliver(*window, WM_PAINT, 0, 0);
    return TRUE;
}

BOOL WINAPI DestroyWindow(HWND handle) {
    Window* window = LiveTopLevel(handle);
    if (window == nullptr) return FALSE;
    platform::core::State& state = Current();
    window->visible = false;
    state.backend.destroyWindow(handle);
    if (state.focus == handle) state.focus = nullptr;
    // The window is still valid while it handles WM_DESTROY.
    Deliver(*window, WM_DESTROY, 0, 0);
    std::erase_if(state.timers,
                  [&](const platform::core::Timer& timer) { return timer.window == handle; });
    platform::core::Forget(handle);
    return TRUE;
}

LRESULT WINAPI DefWindowProcA(HWND window, UINT message, WPARAM /*wParam*/, LPARAM /*lParam*/) {
    switch (message) {
        case WM_CLOSE:
            DestroyWindow(window);
            break;
        case WM_PAINT: {
            // Validates the window, or WM_PAINT would come back for ever.
            PAINTSTRUCT paint;
            if (BeginPaint(window, &paint) != nullptr) EndPaint(window, &paint);
            break;
        }
        default:
            break;
    }
    return 0;
}

BOOL WINAPI GetClientRect(HWND handle, RECT* rect) {
    const Window* window = LiveTopLevel(handle);
    if (window == nullptr || rect == nullptr) return FALSE;
    *rect = {0, 0, window->clientWidth, window->clientHeight};
    return TRUE;
}

// As on Windows, the context draws only within the area to paint: a program may draw its whole
// picture, and what lies outside the area stays as it is.
HDC WINAPI BeginPaint(HWND handle, LPPAINTSTRUCT paint) {
    Window* window = LiveTopLevel(handle);
    if (window == nullptr || paint == nullptr) return nullptr;
    const surface::PixelRect area = window->invalid;
    const bool erase = window->eraseInvalid;
    window->invalid = {};
    window->eraseInvalid = false;
    if (erase && !area.empty()) {
        if (const auto colour = BrushColour(window->windowClass.background)) {
            window->canvas->fill(area, *colour);
            window->texts.erase(area);
        }
    }
    std::memset(paint, 0, sizeof *paint);
    paint->hdc = NewWindowDC(*window);
    surface::ClipCanvasDC(paint->hdc, area);
    paint->fErase = FALSE;  // the background has been erased where it was asked for
    paint->rcPaint = {area.left, area.top, area.right, area.bottom};
    return paint->hdc;
}

BOOL WINAPI EndPaint(HWND /*window*/, const PAINTSTRUCT* paint) {
    return paint != nullptr ? ReleaseWindowDC(paint->hdc) : FALSE;
}

HDC WINAPI GetDC(HWND handle) {
    Window* window = LiveTopLevel(handle);
    return window != nullptr ? NewWindowDC(*window) : nullptr;
}

int WINAPI ReleaseDC(HWND /*window*/, HDC dc) { return ReleaseWindowDC(dc); }

BOOL WINAPI InvalidateRect(HWND handle, const RECT* rect, BOOL erase) {
    Window* window = LiveTopLevel(handle);
    if (window == nullptr) return FALSE;
    const surface::PixelRect area =
        rect != nullptr ? surface::PixelRect{rect->left, rect->top, rect->right, rect->bottom}
                        : WholeClient(*window);
    platform::core::Invalidate(*window, area, erase != FALSE);
    return TRUE;
}

// The subset has no region objects, so the region is always null: the whole client area.
BOOL WINAPI InvalidateRgn(HWND handle, HRGN region, BOOL erase) {
    Window* window = LiveTopLevel(handle);
    if (window == nullptr || region != nullptr) return FALSE;
    platform::core::Invalidate(*window, WholeClient(*window), erase != FALSE);
    return TRUE;
}

HICON WINAPI LoadIconA(HINSTANCE instance, LPCSTR name) {
    return instance == nullptr && name == IDI_APPLICATION
               ? reinterpret_cast<HICON>(&applicationIcon)
               : nullptr;
}

HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR name) {
    return instance == nullptr && name == IDC_ARROW ? reinterpret_cast<HCURSOR>(&arrowCursor)
                                                    : nullptr;
}

HMODULE WINAPI GetModuleHandleA(LPCSTR moduleName) {
    return moduleName == nullptr ? reinterpret_cast<HMODULE>(&moduleMarker) : nullptr;
}
