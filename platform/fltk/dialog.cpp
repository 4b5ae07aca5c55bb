#include <FL/Fl.H>
#include <FL/Fl_Input.H>
#include <FL/Fl_Window.H>

#include <map>

#include "platform/fltk/views.h"
#include "platform/fltk/widgets.h"

namespace platform::fltk {
namespace {

constexpr Fl_Font kDialogFont = FL_HELVETICA;

// A point is 1/72 inch; the dialog font is drawn for a 96 dpi screen as on Windows.
int PixelSize(int pointSize) { return (pointSize * 96 + 36) / 72; }

// Enter that no control took chooses the default button (IDOK when there is none), Esc and the
// close box cancel.
class DialogWindow : public Fl_Window {
  public:
    DialogWindow(int x, int y, int width, int height, HWND dialog, int defaultId)
        : Fl_Window(x, y, width, height), dialog_(dialog), defaultId_(defaultId) {
        callback(cancelled, this);
    }

    int handle(int event) override {
        if (Fl_Window::handle(event)) return 1;
        if (event == FL_SHORTCUT &&
            (Fl::event_key() == FL_Enter || Fl::event_key() == FL_KP_Enter)) {
            DialogCommand(dialog_, defaultId_);
            return 1;
        }
        return 0;
    }

  private:
    static void cancelled(Fl_Widget*, void* window) {
        DialogCommand(static_cast<DialogWindow*>(window)->dialog_, IDCANCEL);
    }

    HWND dialog_;
    int defaultId_;
};

class FltkDialog : public DialogView {
  public:
    FltkDialog(HWND dialog, const DialogLayout& layout, int x, int y, bool modal);

    void setFocus(int controlId) override;
    std::string controlText(int controlId) const override;

  private:
    static void buttonPressed(Fl_Widget* button, void* dialog);

    HWND dialog_;
    OwnedWindow<DialogWindow> window_;
    std::map<int, Fl_Widget*> controls_;
    std::map<int, std::string> fixedTexts_;  // of buttons and labels
};

int DefaultButtonId(const DialogLayout& layout) {
    for (const auto& control : layout.controls) {
        if (control.kind == DialogControl::Kind::DefaultPushButton) return control.id;
    }
    return IDOK;
}

FltkDialog::FltkDialog(HWND dialog, const DialogLayout& layout, int x, int y, bool modal)
    : dialog_(dialog),
      window_(
          new DialogWindow(x, y, layout.width, layout.height, dialog, DefaultButtonId(layout))) {
    window_->copy_label(layout.caption.c_str());
    const int fontSize = PixelSize(layout.fontPointSize);
    for (const auto& control : layout.controls) {
        Fl_Widget* widget = nullptr;
        switch (control.kind) {
            case DialogControl::Kind::PushButton:
            case DialogControl::Kind::DefaultPushButton: {
                auto* button = new PushButton(
                    control.x, control.y, control.width, control.height, control.text, control.id,
                    control.kind == DialogControl::Kind::DefaultPushButton);
                button->labelfont(kDialogFont);
                button->labelsize(fontSize);
                button->callback(buttonPressed, this);
                widget = button;
                break;
            }
            case DialogControl::Kind::Label:
                widget = new TextBlock(control.x, control.y, control.width, control.height,
                                       control.text, kDialogFont, fontSize);
                break;
            case DialogControl::Kind::Edit: {
                auto* input = new Fl_Input(control.x, control.y, control.width, control.height);
                input->textfont(kDialogFont);
                input->textsize(fontSize);
                input->value(control.text.c_str());
                input->when(FL_WHEN_NEVER);
                widget = input;
                break;
            }
        }
        if (control.kind != DialogControl::Kind::Edit) fixedTexts_[control.id] = control.text;
        controls_[control.id] = widget;
    }
    window_.show(modal);
}

void FltkDialog::buttonPressed(Fl_Widget* button, void* dialog) {
    DialogCommand(static_cast<FltkDialog*>(dialog)->dialog_,
                  static_cast<PushButton*>(button)->id());
}

void FltkDialog::setFocus(int controlId) {
    const auto found = controls_.find(controlId);
    if (found != controls_.end()) found->second->take_focus();
}

std::string FltkDialog::controlText(int controlId) const {
    const auto found = controls_.find(controlId);
    if (found == controls_.end()) return {};
    if (auto* input = dynamic_cast<Fl_Input*>(found->second)) return input->value();
    return fixedTexts_.at(controlId);
}

}  // namespace

std::unique_ptr<DialogView> OpenDialog(HWND dialog, const DialogLayout& layout, int x, int y,
                                       bool modal) {
    return std::make_unique<FltkDialog>(dialog, layout, x, y, modal);
}

}  // namespace platform::fltk
