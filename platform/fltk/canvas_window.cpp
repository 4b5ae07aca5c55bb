#include "platform/fltk/canvas_window.h"

#include <FL/Fl.H>
#include <FL/fl_ask.H>
#include <FL/fl_draw.H>

#include <algorithm>
#include <bit>

#include "platform/backend.h"
#include "platform/fltk/virtual_keys.h"
#include "surface/magnify.h"
#include "surface/reduce.h"

namespace platform::fltk {
namespace {

// fl_draw_image reads 4-byte pixels as red, green, blue and one ignored byte, which is how a
// COLORREF (0x00BBGGRR) lies in memory on a little-endian machine.
static_assert(std::endian::native == std::endian::little);

// The smallest overlapped window Windows allows is 136 x 39 outside the classic frame.
constexpr int kMinimumClientWidth = 128;
constexpr int kMinimumClientHeight = 5;

// A side of the window at a zoom: the canvas's times the zoom, within the screen's work area;
// unzoomed, the canvas's, unless the work area is smaller than the program's minimum (the picture
// is then reduced to fit). X has no windows without pixels.
int OpeningSide(int canvasSide, int zoom, int workAreaSide, int minimumSide) {
    const int side = std::max(canvasSide, 1);
    if (zoom == 1) return minimumSide > workAreaSide ? workAreaSide : side;
    return std::min(side * zoom, workAreaSide);
}

}  // namespace

CanvasWindow::CanvasWindow(HWND handle, const char* title, const surface::Canvas& canvas, int zoom,
                           ClientSize minimumClient)
    : Fl_Window(0, 0, 1, 1),
      handle_(handle),
      canvas_(canvas),
      minimumClient_(minimumClient),
      wantedZoom_(zoom) {
    int x, y, workWidth, workHeight;
    Fl::screen_work_area(x, y, workWidth, workHeight);
    size(OpeningSide(canvas.width(), zoom, workWidth, minimumClient.width),
         OpeningSide(canvas.height(), zoom, workHeight, minimumClient.height));
    copy_label(title);
    shown_.resize(canvas.width(), canvas.height());
    resizable(this);
    // Never less than the program's minimum client, unless the screen is smaller.
    size_range(std::max(kMinimumClientWidth, std::min(minimumClient.width, workWidth)),
               std::max(kMinimumClientHeight, std::min(minimumClient.height, workHeight)));
    callback(closeBoxPressed);
    end();
}

void CanvasWindow::applyZoom() {
    zoom_ = ZoomThatFits(w(), h(), wantedZoom_, minimumClient_);
    // A window smaller than the minimum client still gives the program that client, shown
    // reduced (no zoom then fits, so the zoom is 1).
    ClientResized(handle_, std::max(w(), minimumClient_.width),
                  std::max(h(), minimumClient_.height), zoom_);
    // Only what the backing store holds is ever shown from it.
    shown_.resize(canvas_.width(), canvas_.height());
    // The backing store now has the new size; every pixel of it is shown again.
    redraw();
}

void CanvasWindow::closeBoxPressed(Fl_Widget* window, void*) {
    // FLTK also calls a window's callback for Esc; on Windows Esc does not close a window.
    if (Fl::event() == FL_SHORTCUT) return;
    CloseRequested(static_cast<CanvasWindow*>(window)->handle_);
}

void CanvasWindow::drawPixels(const surface::PixelRect& area) {
    if (zoom_ == 1) {
        const COLORREF* first =
            canvas_.data() + static_cast<std::size_t>(area.top) * canvas_.width() + area.left;
        fl_draw_image(reinterpret_cast<const uchar*>(first), area.left, area.top,
                      area.right - area.left, area.bottom - area.top, 4,
                      canvas_.width() * static_cast<int>(sizeof(COLORREF)));
        return;
    }
    const int width = (area.right - area.left) * zoom_;
    const int height = (area.bottom - area.top) * zoom_;
    magnified_.resize(static_cast<std::size_t>(width) * height);
    surface::Magnify(canvas_, area, zoom_, magnified_.data(), static_cast<std::size_t>(width));
    fl_draw_image(reinterpret_cast<const uchar*>(magnified_.data()), area.left * zoom_,
                  area.top * zoom_, width, height, 4, width * static_cast<int>(sizeof(COLORREF)));
}

bool CanvasWindow::reduced() const {
    return zoom_ == 1 && (w() < canvas_.width() || h() < canvas_.height());
}

void CanvasWindow::drawReduced() {
    const surface::PixelRect size = surface::ReducedSize(canvas_, w(), h());
    magnified_.resize(static_cast<std::size_t>(size.right) * size.bottom);
    surface::Reduce(canvas_, size.right, size.bottom, magnified_.data());
    fl_draw_image(reinterpret_cast<const uchar*>(magnified_.data()), 0, 0, size.right, size.bottom,
                  4, size.right * static_cast<int>(sizeof(COLORREF)));
    fl_color(FL_WHITE);
    if (w() > size.right) fl_rectf(size.right, 0, w() - size.right, h());
    if (h() > size.bottom) fl_rectf(0, size.bottom, size.right, h() - size.bottom);
}

void CanvasWindow::draw() {
    if (reduced()) {
        drawReduced();
        return;
    }
    int x, y, width, height;
    fl_clip_box(0, 0, w(), h(), x, y, width, height);
    const surface::PixelRect exposed{x, y, x + width, y + height};
    // The canvas pixels whose blocks the exposed area touches.
    const surface::PixelRect covered =
        surface::PixelRect{x / zoom_, y / zoom_, (exposed.right + zoom_ - 1) / zoom_,
                           (exposed.bottom + zoom_ - 1) / zoom_}
            .intersected({0, 0, canvas_.width(), canvas_.height()});
    if (!covered.empty()) {
        drawPixels(covered);
        shown_.record(canvas_, covered);
    }
    // Beyond the canvas's blocks (the strip narrower than the zoom that the division leaves, and
    // until the backing store has followed a resize): the class brush.
    const int blocksRight = std::max(exposed.left, canvas_.width() * zoom_);
    const int blocksBottom = std::max(exposed.top, canvas_.height() * zoom_);
    fl_color(FL_WHITE);
    if (exposed.right > blocksRight)
        fl_rectf(blocksRight, exposed.top, exposed.right - blocksRight, height);
    if (exposed.bottom > blocksBottom)
        fl_rectf(exposed.left, blocksBottom, width, exposed.bottom - blocksBottom);
}

void CanvasWindow::showChanges(const surface::ChangedTiles& changed) {
    if (!shown()) return;  // the first expose draws everything
    if (reduced()) {
        make_current();
        drawReduced();
        return;
    }
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
            if (takeViewKey(Fl::event_key(), Fl::event_state())) return 1;
            const int virtualKey =
                VirtualKeyFromFltk(Fl::event_key(), Fl::event_state(FL_NUM_LOCK) != 0);
            if (virtualKey != 0 && IsPlainKeyDown(virtualKey, Fl::event_state(FL_ALT) != 0)) {
                KeyDown(handle_, virtualKey, Fl::event_state(FL_SHIFT) != 0);
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
            if (reduced()) {
                // Where the pointer is on the reduced picture, in the canvas's pixels.
                const surface::PixelRect size = surface::ReducedSize(canvas_, w(), h());
                MouseMoved(handle_, Fl::event_x() * canvas_.width() / size.right,
                           Fl::event_y() * canvas_.height() / size.bottom);
                return 1;
            }
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

// Ctrl+plus (Ctrl+= on keyboards where plus needs Shift) and Ctrl+minus step the zoom, Ctrl+0
// returns to 1, as in a browser; F11 toggles full screen. A zoom that would leave the program
// less than its minimum client is not taken: the display beeps.
bool CanvasWindow::takeViewKey(int key, int modifiers) {
    if ((modifiers & FL_ALT) != 0) return false;
    if (key == FL_F + 11 && (modifiers & FL_CTRL) == 0) {
        if (fullscreen_active()) {
            fullscreen_off();
        } else {
            fullscreen();
        }
        return true;
    }
    if ((modifiers & FL_CTRL) == 0) return false;
    int wanted = 0;
    switch (key) {
        case '=':
        case '+':
        case FL_KP + '+':
            wanted = zoom_ + 1;
            break;
        case '-':
        case FL_KP + '-':
            wanted = zoom_ - 1;
            break;
        case '0':
        case FL_KP + '0':
            wanted = 1;
            break;
        default:
            return false;
    }
    if (wanted < 1 || wanted > kMaxZoom ||
        ZoomThatFits(w(), h(), wanted, minimumClient_) != wanted) {
        fl_beep();
        return true;
    }
    wantedZoom_ = wanted;
    if (wanted != zoom_) applyZoom();
    return true;
}

void CanvasWindow::resize(int x, int y, int width, int height) {
    const bool sizeChanged = width != w() || height != h();
    Fl_Window::resize(x, y, width, height);
    if (sizeChanged) applyZoom();
}

}  // namespace platform::fltk
