#include "platform/fltk/modal_window.h"

#include <chrono>
#include <thread>
#include <utility>

#include "platform/dialog_keys.h"
#include "platform/fltk/virtual_keys.h"

// Last: it brings in Xlib and its macros.
#include <FL/x.H>

namespace platform::fltk {

ModalWindow::ModalWindow(int x, int y, int width, int height, std::vector<DialogControl> controls,
                         int cancelId, std::function<void(int)> answer)
    : Fl_Window(x, y, width, height),
      controls_(std::move(controls)),
      cancelId_(cancelId),
      answer_(std::move(answer)),
      focusBefore_(Fl::focus()) {
    Fl::watch_widget_pointer(focusBefore_);
    callback(closeBoxPressed);
}

ModalWindow::~ModalWindow() { Fl::release_widget_pointer(focusBefore_); }

Fl_Widget* ModalWindow::control(int id) const {
    const auto found = widgets_.find(id);
    return found != widgets_.end() ? found->second : nullptr;
}

void ModalWindow::open(bool modal) {
    end();
    if (modal) set_modal();
    show();
    keepFrameFixed();
}

namespace {

// The frame's left and top extents once a window manager has framed the window, asked for up to
// a second; none when no window manager runs, or it tells no extents.
std::optional<std::pair<long, long>> FrameExtents(Window window) {
    const Window root = RootWindow(fl_display, fl_screen);
    const Atom wmCheck = XInternAtom(fl_display, "_NET_SUPPORTING_WM_CHECK", False);
    const Atom extentsAtom = XInternAtom(fl_display, "_NET_FRAME_EXTENTS", False);
    const auto property = [](Window of, Atom name, long length) {
        Atom type;
        int format;
        unsigned long count, after;
        unsigned char* data = nullptr;
        std::vector<long> values;
        if (XGetWindowProperty(fl_display, of, name, 0, length, False, AnyPropertyType, &type,
                               &format, &count, &after, &data) == Success &&
            format == 32 && count == static_cast<unsigned long>(length)) {
            const auto* longs = reinterpret_cast<const long*>(data);
            values.assign(longs, longs + length);
        }
        if (data != nullptr) XFree(data);
        return values;
    };
    if (property(root, wmCheck, 1).empty()) return std::nullopt;
    for (int tries = 0; tries < 100; ++tries) {
        // left, right, top, bottom
        if (const auto extents = property(window, extentsAtom, 4); !extents.empty()) {
            return std::pair{extents[0], extents[2]};
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return std::nullopt;
}

}  // namespace

void ModalWindow::placeFrame() {
    // FLTK asks for the static gravity, where a position is the client area's. The frame goes
    // where asked by moving the client area by the frame's extents, once the window manager has
    // framed the window. Changing the gravity instead races with the window manager: one that
    // framed the window before it saw the new gravity keeps the frame where the old one put it,
    // as a move to the position the window already has moves nothing.
    const auto [left, top] = FrameExtents(fl_xid(this)).value_or(std::pair{0L, 0L});
    XMoveWindow(fl_display, fl_xid(this), x() + static_cast<int>(left),
                y() + static_cast<int>(top));
}

// The Motif hints, which most window managers read for what a frame offers: moving and the close
// box only; a border, the title and the window menu. (Openbox keeps its minimise and maximise
// buttons whatever a window asks for; it only refuses to resize a window of fixed size.)
void ModalWindow::keepFrameFixed() {
    struct {
        unsigned long flags, functions, decorations;
        long inputMode;
        unsigned long status;
    } hints = {/*functions and decorations*/ 1 | 2, /*move, close*/ 4 | 32,
               /*border, title, menu*/ 2 | 8 | 16, 0, 0};
    const Atom motifHints = XInternAtom(fl_display, "_MOTIF_WM_HINTS", False);
    XChangeProperty(fl_display, fl_xid(this), motifHints, motifHints, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(&hints), 5);
}

void ModalWindow::closeBoxPressed(Fl_Widget* window, void*) {
    auto* self = static_cast<ModalWindow*>(window);
    self->answer_(self->cancelId_);
}

std::optional<int> ModalWindow::focusedControl() const {
    for (const auto& [id, widget] : widgets_) {
        if (widget == Fl::focus()) return id;
    }
    return std::nullopt;
}

int ModalWindow::handle(int event) {
    // FL_SHORTCUT: a key while no control of the window has the focus.
    if (event == FL_KEYBOARD || event == FL_SHORTCUT) {
        const int virtualKey =
            VirtualKeyFromFltk(Fl::event_key(), Fl::event_state(FL_NUM_LOCK) != 0);
        const DialogKeyAction action = DialogKey(controls_, focusedControl(), cancelId_, virtualKey,
                                                 Fl::event_state(FL_SHIFT) != 0);
        switch (action.kind) {
            case DialogKeyAction::Kind::Command:
                answer_(action.id);
                return 1;
            case DialogKeyAction::Kind::Focus:
                if (Fl_Widget* widget = control(action.id)) widget->take_focus();
                return 1;
            case DialogKeyAction::Kind::Pass:
                break;
        }
    }
    return Fl_Window::handle(event);
}

void ModalWindow::hide() {
    Fl_Window::hide();
    // As on Windows, the window that had the focus gets it back; FLTK would leave its own focus
    // empty while the display still sends that window the keys, which FLTK then offers to no one.
    if (focusBefore_ != nullptr && Fl::focus() == nullptr && focusBefore_->visible_r()) {
        focusBefore_->take_focus();
    }
    Fl::release_widget_pointer(focusBefore_);
    focusBefore_ = nullptr;
}

}  // namespace platform::fltk
