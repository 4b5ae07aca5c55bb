#include <FL/Fl.H>

#include <algorithm>
#include <optional>
#include <vector>

#include "platform/dialog_keys.h"
#include "platform/fltk/modal_window.h"
#include "platform/fltk/views.h"
#include "platform/fltk/widgets.h"

namespace platform::fltk {
namespace {

constexpr Fl_Font kTextFont = FL_HELVETICA;
constexpr int kTextSize = 12;
constexpr int kMargin = 12;
constexpr int kIconGap = 12;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr int kButtonGap = 8;
constexpr int kButtonsGap = 16;  // between the text and the row of buttons
constexpr int kMinimumWidth = 160;

class FltkMessageBox : public MessageBoxView {
  public:
    FltkMessageBox(const std::string& text, const std::string& caption, UINT type, bool modal);

    int result() const override { return result_; }

  private:
    static void buttonPressed(Fl_Widget* button, void* box);

    std::optional<OwnedWindow<ModalWindow>> window_;  // made once its size is known
    int result_ = 0;
};

FltkMessageBox::FltkMessageBox(const std::string& text, const std::string& caption, UINT type,
                               bool modal) {
    const MessageBoxButtons buttons = ButtonsOf(type);
    const unsigned icon = type & MB_ICONMASK;

    int textWidth, textHeight;
    TextBlock::measure(text, kTextFont, kTextSize, textWidth, textHeight);
    const int iconWidth = icon != 0 ? MessageIcon::kSize + kIconGap : 0;
    const int contentHeight = std::max(icon != 0 ? MessageIcon::kSize : 0, textHeight);
    const int buttonsWidth =
        static_cast<int>(buttons.buttons.size()) * (kButtonWidth + kButtonGap) - kButtonGap;
    const int width =
        std::max({iconWidth + textWidth, buttonsWidth, kMinimumWidth - 2 * kMargin}) + 2 * kMargin;
    const int height = kMargin + contentHeight + kButtonsGap + kButtonHeight + kMargin;

    int screenX, screenY, screenWidth, screenHeight;
    Fl::screen_work_area(screenX, screenY, screenWidth, screenHeight);
    window_.emplace(new ModalWindow(
        screenX + (screenWidth - width) / 2, screenY + (screenHeight - height) / 2, width, height,
        buttons.buttons, buttons.cancelId, [this](int button) { result_ = button; }));
    ModalWindow* window = window_->get();
    window->copy_label(caption.c_str());
    if (icon != 0) new MessageIcon(kMargin, kMargin, icon);
    new TextBlock(kMargin + iconWidth, kMargin + (contentHeight - textHeight) / 2, textWidth,
                  textHeight, text, kTextFont, kTextSize);
    int buttonX = (width - buttonsWidth) / 2;
    for (const DialogControl& control : buttons.buttons) {
        auto* button = new PushButton(buttonX, height - kMargin - kButtonHeight, kButtonWidth,
                                      kButtonHeight, control.text, control.id,
                                      control.kind == DialogControl::Kind::DefaultPushButton);
        button->callback(buttonPressed, this);
        window->addControl(control.id, button);
        buttonX += kButtonWidth + kButtonGap;
    }
    window->open(modal);
}

void FltkMessageBox::buttonPressed(Fl_Widget* button, void* box) {
    static_cast<FltkMessageBox*>(box)->result_ = static_cast<PushButton*>(button)->id();
}

}  // namespace

std::unique_ptr<MessageBoxView> OpenMessageBox(const std::string& text, const std::string& caption,
                                               UINT type, bool modal) {
    return std::make_unique<FltkMessageBox>(text, caption, type, modal);
}

}  // namespace platform::fltk
