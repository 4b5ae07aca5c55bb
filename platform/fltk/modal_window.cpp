#include "platform/fltk/modal_window.h"

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

void ModalWindow::placeFrame() {
    XSizeHints* hints = XAllocSizeHints();
    long supplied = 0;
    XGetWMNormalHints(fl_display, fl_xid(this), hints, &supplied);
    hints->flags |= USPosition | PWinGravity;
    hints->x = x();
    hints->y = y();
    hints->win_gravity = NorthWestGravity;
    XSetWMNormalHints(fl_display, fl_xid(this), hints);
    XFree(hints);
    // Asked again: a window manager may have placed the window before it saw the gravity.
    XMoveWindow(fl_display, fl_xid(this), x(), y());
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
