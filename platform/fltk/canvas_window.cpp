#include "platform/fltk/canvas_window.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>

#include <algorithm>
#include <bit>

#include "platform/backend.h"
#include "platform/fltk/virtual_keys.h"

namespace platform::fltk {
namespace {

// fl_draw_image reads 4-byte pixels as red, green, blue and one ignored byte, which is how a
// COLORREF (0x00BBGGRR) lies in memory on a little-endian machine.
static_assert(std::endian::native == std::endian::little);

// The smallest overlapped window Windows allows is 136 x 39 outside the classic frame.
constexpr int kMinimumClientWidth = 128;
constexpr int kMinimumClientHeight = 5;

}  // namespace

CanvasWindow::CanvasWindow(HWND handle, const char* title, const surface::Canvas& canvas)
    // X has no windows without pixels.
    : Fl_Window(0, 0, std::max(canvas.width(), 1), std::max(canvas.height(), 1)),
      handle_(handle),
      canvas_(canvas) {
    copy_label(title);
    shown_.resize(canvas.width(), canvas.height());
    resizable(this);
    size_range(kMinimumClientWidth, kMinimumClientHeight);
    callback(closeBoxPressed);
    end();
}

void CanvasWindow::closeBoxPressed(Fl_Widget* window, void*) {
    // FLTK also calls a window's callback for Esc; on Windows Esc does not close a window.
    if (Fl::event() == FL_SHORTCUT) return;
    CloseRequested(static_cast<CanvasWindow*>(window)->handle_);
}

void CanvasWindow::drawPixels(const surface::PixelRect& area) {
    const COLORREF* first =
        canvas_.data() + static_cast<std::size_t>(area.top) * canvas_.width() + area.left;
    fl_draw_image(reinterpret_cast<const uchar*>(first), area.left, area.top,
                  area.right - area.left, area.bottom - area.top, 4,
                  canvas_.width() * static_cast<int>(sizeof(COLORREF)));
}

void CanvasWindow::draw() {
    int x, y, width, height;
    fl_clip_box(0, 0, w(), h(), x, y, width, height);
    const surface::PixelRect exposed{x, y, x + width, y + height};
    const surface::PixelRect covered =
        exposed.intersected({0, 0, canvas_.width(), canvas_.height()});
    if (!covered.empty()) {
        drawPixels(covered);
        shown_.record(canvas_, covered);
    }
    // Beyond the canvas (only until the backing store has followed a resize): the class brush.
    fl_color(FL_WHITE);
    if (exposed.right > covered.right)
        fl_rectf(covered.right, exposed.top, exposed.right - covered.right, height);
    if (exposed.bottom > covered.bottom)
        fl_rectf(exposed.left, covered.bottom, width, exposed.bottom - covered.bottom);
}

void CanvasWindow::showChanges(const surface::ChangedTiles& changed) {
    if (!shown()) return;  // the first expose draws everything
    const auto differences = shown_.takeDifferences(canvas_, changed);
    if (differences.empty()) return;
    make_current();
    for (const auto& area : differences) drawPixels(area);
}

int CanvasWindow::handle(int event) {
    switch (event) {
        case FL_FOCUS:
        case FL_UNFOCUS:
            return 1;  // the window itself takes the keyboard
        case FL_KEYDOWN: {
            const int virtualKey =
                VirtualKeyFromFltk(Fl::event_key(), Fl::event_state(FL_NUM_LOCK) != 0);
            if (virtualKey != 0 && IsPlainKeyDown(virtualKey, Fl::event_state(FL_ALT) != 0)) {
                KeyDown(handle_, virtualKey);
            }
            return 1;
        }
        case FL_KEYUP:
            return 1;
        case FL_ENTER:
            return 1;  // so that FLTK sends the moves that follow
        case FL_LEAVE:
            MouseLeft(handle_);
            return 1;
        case FL_MOVE:
        case FL_DRAG:
            MouseMoved(handle_, Fl::event_x(), Fl::event_y());
            return 1;
        case FL_SHORTCUT:
            // A key typed into another window of the program, offered here because the mouse is
            // over this one: Windows gives keys only to the window with the focus.
            return 0;
        default:
            return Fl_Window::handle(event);
    }
}

void CanvasWindow::resize(int x, int y, int width, int height) {
    const bool sizeChanged = width != w() || height != h();
    Fl_Window::resize(x, y, width, height);
    if (!sizeChanged) return;
    ClientResized(handle_, width, height);
    // Only what the backing store holds is ever shown from it.
    shown_.resize(canvas_.width(), canvas_.height());
    // The backing store now has the new size; every pixel of it is shown again.
    redraw();
}

}  // namespace platform::fltk
