#include <FL/Fl.H>
#include <FL/Fl_Input.H>

#include <map>

#include "platform/edit_field.h"
#include "platform/fltk/modal_window.h"
#include "platform/fltk/views.h"
#include "platform/fltk/widgets.h"

namespace platform::fltk {
namespace {

constexpr Fl_Font kDialogFont = FL_HELVETICA;

// A point is 1/72 inch; the dialog font is drawn for a 96 dpi screen as on Windows.
int PixelSize(int pointSize) { return (pointSize * 96 + 36) / 72; }

// Its buttons, its keys and its close box report commands to the dialog.
class FltkDialog : public DialogView {
  public:
    FltkDialog(HWND dialog, const DialogLayout& layout, int x, int y, bool modal);

    void setFocus(int controlId) override;
    std::string controlText(int controlId) const override;
    void typeText(int controlId, const std::string& text) override;
    void pressEditingKey(int controlId, int virtualKey, bool shift) override;

  private:
    static void buttonPressed(Fl_Widget* button, void* dialog);

    HWND dialog_;
    OwnedWindow<ModalWindow> window_;
    std::map<int, std::string> fixedTexts_;  // of buttons and labels
};

FltkDialog::FltkDialog(HWND dialog, const DialogLayout& layout, int x, int y, bool modal)
    : dialog_(dialog),
      window_(new ModalWindow(x, y, layout.width, layout.height, layout.controls, IDCANCEL,
                              [dialog](int id) { DialogCommand(dialog, id); })) {
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
        window_->addControl(control.id, widget);
    }
    window_->open(modal);
    window_->placeFrame();
}

void FltkDialog::buttonPressed(Fl_Widget* button, void* dialog) {
    DialogCommand(static_cast<FltkDialog*>(dialog)->dialog_,
                  static_cast<PushButton*>(button)->id());
}

void FltkDialog::setFocus(int controlId) {
    if (Fl_Widget* widget = window_->control(controlId)) widget->take_focus();
}

std::string FltkDialog::controlText(int controlId) const {
    Fl_Widget* widget = window_->control(controlId);
    if (widget == nullptr) return {};
    if (auto* input = dynamic_cast<Fl_Input*>(widget)) return input->value();
    return fixedTexts_.at(controlId);
}

void FltkDialog::typeText(int controlId, const std::string& text) {
    if (auto* input = dynamic_cast<Fl_Input*>(window_->control(controlId))) {
        input->insert(text.c_str(), static_cast<int>(text.size()));
    }
}

void FltkDialog::pressEditingKey(int controlId, int virtualKey, bool shift) {
    auto* input = dynamic_cast<Fl_Input*>(window_->control(controlId));
    if (input == nullptr) return;
    EditField field{std::string(input->value(), static_cast<std::size_t>(input->size())),
                    static_cast<std::size_t>(input->mark()),
                    static_cast<std::size_t>(input->position())};
    PressEditingKey(field, virtualKey, shift);
    input->value(field.text.data(), static_cast<int>(field.text.size()));
    input->position(static_cast<int>(field.caret), static_cast<int>(field.anchor));
}

}  // namespace

std::unique_ptr<DialogView> OpenDialog(HWND dialog, const DialogLayout& layout, int x, int y,
                                       bool modal) {
    return std::make_unique<FltkDialog>(dialog, layout, x, y, modal);
}

}  // namespace platform::fltk
