#include "platform/fltk/fltk_backend.h"

#include <FL/Fl.H>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/fltk/views.h"

// Last: it brings in Xlib and its macros.
#include <FL/x.H>

namespace platform::fltk {

namespace {

std::string displayName;

// Xlib ends the program when this returns; FLTK's own handler says only "X I/O error".
int DisplayLost(Display*) {
    std::fprintf(stderr,
                 "%s: the connection to the X server on display %s was lost (the server "
                 "ended, or the session was closed), so the window is gone and %s ends\n",
                 program_invocation_short_name, displayName.c_str(), program_invocation_short_name);
    std::exit(1);
}

}  // namespace

FltkBackend::FltkBackend(int zoom, ClientSize minimumClient)
    : zoom_(zoom), minimumClient_(minimumClient) {
    // FLTK's own message for this names no display at all.
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') {
        std::fprintf(stderr, "No display to open the window on: DISPLAY is not set\n");
        std::exit(1);
    }
    displayName = display;
    fl_open_display();
    XSetIOErrorHandler(DisplayLost);
}

FltkBackend::~FltkBackend() {
    windows_.clear();
    Fl::do_widget_deletion();
}

Millis FltkBackend::now() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void FltkBackend::waitForEvents(std::optional<Millis> deadline) {
    // Fl::wait draws what FLTK has to draw, flushes everything to the display and sleeps until
    // an event arrives or the time is up: no busy waiting.
    constexpr double kForever = 1e20;
    if (!deadline) {
        Fl::wait(kForever);
        return;
    }
    const Millis left = *deadline - now();
    if (left > 0) {
        Fl::wait(static_cast<double>(left) / 1000.0);
    } else {
        Fl::check();
    }
}

CanvasWindow* FltkBackend::find(HWND window) const {
    const auto found = windows_.find(window);
    return found == windows_.end() ? nullptr : found->second.get();
}

void FltkBackend::showWindow(HWND window, const std::string& title, const surface::Canvas& canvas) {
    CanvasWindow* shown = find(window);
    if (!shown) {
        shown = new CanvasWindow(window, title.c_str(), canvas, zoom_, minimumClient_);
        windows_.try_emplace(window, shown);
        shown->applyZoom();
        if (shown->zoom() < zoom_) {
            std::fprintf(stderr,
                         "A zoom of %d would leave the picture less than the %dx%d pixels it "
                         "needs on this screen: zoom %d instead\n",
                         zoom_, minimumClient_.width, minimumClient_.height, shown->zoom());
        }
        // The program may have destroyed the window on WM_SIZE.
        shown = find(window);
        if (!shown) return;
    }
    shown->show();
}

void FltkBackend::hideWindow(HWND window) {
    if (CanvasWindow* shown = find(window)) shown->hide();
}

void FltkBackend::present(HWND window, const surface::ChangedTiles& changed) {
    if (CanvasWindow* shown = find(window)) shown->showChanges(changed);
}

void FltkBackend::destroyWindow(HWND window) { windows_.erase(window); }

std::unique_ptr<MessageBoxView> FltkBackend::openMessageBox(HWND owner, const std::string& text,
                                                            const std::string& caption, UINT type) {
    return OpenMessageBox(text, caption, type, owner != nullptr);
}

std::unique_ptr<DialogView> FltkBackend::openDialog(HWND dialog, HWND owner,
                                                    const DialogLayout& layout) {
    // As on Windows, the template's position is relative to the top-left corner of the owner's
    // client area, asked of the X server: FLTK's idea of where the window is may not have
    // followed a window manager's frame. The modal window puts its frame there
    // (ModalWindow::placeFrame), as Windows does.
    int x = 0;
    int y = 0;
    if (CanvasWindow* shown = find(owner); shown != nullptr && shown->shown()) {
        Window child;
        XTranslateCoordinates(fl_display, fl_xid(shown), RootWindow(fl_display, fl_screen), 0, 0,
                              &x, &y, &child);
        x += layout.x;
        y += layout.y;
    } else {
        int screenWidth, screenHeight;
        Fl::screen_work_area(x, y, screenWidth, screenHeight);
        x += (screenWidth - layout.width) / 2;
        y += (screenHeight - layout.height) / 2;
    }
    return OpenDialog(dialog, layout, x, y, owner != nullptr);
}

}  // namespace platform::fltk
