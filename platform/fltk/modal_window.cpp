#include "platform/fltk/modal_window.h"

#include <utility>
#include <vector>

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

ModalWindow::~ModalWindow() {
    stopAwaitingExtents();
    Fl::release_widget_pointer(focusBefore_);
}

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

std::vector<long> Property(Window of, const char* name, long length) {
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    std::vector<long> values;
    if (XGetWindowProperty(fl_display, of, XInternAtom(fl_display, name, False), 0, length, False,
                           AnyPropertyType, &type, &format, &count, &after, &data) == Success &&
        format == 32 && count == static_cast<unsigned long>(length)) {
        const auto* longs = reinterpret_cast<const long*>(data);
        values.assign(longs, longs + length);
    }
    if (data != nullptr) XFree(data);
    return values;
}

int IgnoreError(Display*, XErrorEvent*) { return 0; }

// Whether a window manager runs that answers as its standard asks: the root window names a
// window of the manager's, which names itself. A name left behind by one that ended names a
// window that is gone (asking it is an error, which is expected here).
bool WindowManagerAnswers() {
    const std::vector<long> named =
        Property(RootWindow(fl_display, fl_screen), "_NET_SUPPORTING_WM_CHECK", 1);
    if (named.empty()) return false;
    XSync(fl_display, False);
    const XErrorHandler previous = XSetErrorHandler(IgnoreError);
    const std::vector<long> itself =
        Property(static_cast<Window>(named[0]), "_NET_SUPPORTING_WM_CHECK", 1);
    XSync(fl_display, False);
    XSetErrorHandler(previous);
    return itself == named;
}

}  // namespace

// FLTK asks for the static gravity, where a position is the client area's. The frame goes where
// asked by moving the client area by the frame's extents, once the window manager has framed the
// window. Changing the gravity instead races with the window manager: one that framed the window
// before it saw the new gravity keeps the frame where the old one put it, as a move to the
// position the window already has moves nothing.
void ModalWindow::placeFrame() {
    if (!WindowManagerAnswers()) return;
    xid_ = fl_xid(this);
    frameX_ = x();
    frameY_ = y();
    XWindowAttributes attributes;
    XGetWindowAttributes(fl_display, xid_, &attributes);
    XSelectInput(fl_display, xid_, attributes.your_event_mask | PropertyChangeMask);
    if (moveFrameIntoPlace()) return;
    awaitingExtents_ = true;
    Fl::add_system_handler(frameExtentsTold, this);
}

// Moves the window by its frame's extents, if the window manager has told them.
bool ModalWindow::moveFrameIntoPlace() {
    // left, right, top, bottom
    const std::vector<long> extents = Property(xid_, "_NET_FRAME_EXTENTS", 4);
    if (extents.empty()) return false;
    XMoveWindow(fl_display, xid_, frameX_ + static_cast<int>(extents[0]),
                frameY_ + static_cast<int>(extents[2]));
    return true;
}

int ModalWindow::frameExtentsTold(void* event, void* window) {
    auto* self = static_cast<ModalWindow*>(window);
    const auto* told = static_cast<const XEvent*>(event);
    if (told->type == PropertyNotify && told->xproperty.window == self->xid_ &&
        told->xproperty.atom == XInternAtom(fl_display, "_NET_FRAME_EXTENTS", False) &&
        self->moveFrameIntoPlace()) {
        self->stopAwaitingExtents();
    }
    return 0;  // FLTK handles the event as ever
}

void ModalWindow::stopAwaitingExtents() {
    if (!awaitingExtents_) return;
    awaitingExtents_ = false;
    Fl::remove_system_handler(frameExtentsTold);
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
    stopAwaitingExtents();
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
