#include <FL/Fl.H>
#include <FL/Fl_Window.H>

#include <algorithm>
#include <optional>
#include <vector>

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

struct ButtonSpec {
    const char* text;
    int id;
};

class FltkMessageBox : public MessageBoxView {
  public:
    FltkMessageBox(const std::string& text, const std::string& caption, UINT type, bool modal);

    int result() const override { return result_; }

  private:
    static void buttonPressed(Fl_Widget* button, void* box);
    static void closed(Fl_Widget* window, void* box);

    std::optional<OwnedWindow<Fl_Window>> window_;  // made once its size is known
    int result_ = 0;
    int cancelResult_;
};

FltkMessageBox::FltkMessageBox(const std::string& text, const std::string& caption, UINT type,
                               bool modal) {
    // Esc and the close box choose Cancel, or OK when that is the only button, as on Windows.
    std::vector<ButtonSpec> buttons;
    if ((type & MB_TYPEMASK) == MB_RETRYCANCEL) {
        buttons = {{"Retry", IDRETRY}, {"Cancel", IDCANCEL}};
        cancelResult_ = IDCANCEL;
    } else {
        buttons = {{"OK", IDOK}};
        cancelResult_ = IDOK;
    }
    const unsigned icon = type & MB_ICONMASK;

    int textWidth, textHeight;
    TextBlock::measure(text, kTextFont, kTextSize, textWidth, textHeight);
    const int iconWidth = icon != 0 ? MessageIcon::kSize + kIconGap : 0;
    const int contentHeight = std::max(icon != 0 ? MessageIcon::kSize : 0, textHeight);
    const int buttonsWidth =
        static_cast<int>(buttons.size()) * (kButtonWidth + kButtonGap) - kButtonGap;
    const int width =
        std::max({iconWidth + textWidth, buttonsWidth, kMinimumWidth - 2 * kMargin}) + 2 * kMargin;
    const int height = kMargin + contentHeight + kButtonsGap + kButtonHeight + kMargin;

    int screenX, screenY, screenWidth, screenHeight;
    Fl::screen_work_area(screenX, screenY, screenWidth, screenHeight);
    window_.emplace(new Fl_Window(screenX + (screenWidth - width) / 2,
                                  screenY + (screenHeight - height) / 2, width, height));
    Fl_Window* window = window_->get();
    window->copy_label(caption.c_str());
    if (icon != 0) new MessageIcon(kMargin, kMargin, icon);
    new TextBlock(kMargin + iconWidth, kMargin + (contentHeight - textHeight) / 2, textWidth,
                  textHeight, text, kTextFont, kTextSize);
    int buttonX = (width - buttonsWidth) / 2;
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        auto* button = new PushButton(buttonX, height - kMargin - kButtonHeight, kButtonWidth,
                                      kButtonHeight, buttons[i].text, buttons[i].id, i == 0);
        button->callback(buttonPressed, this);
        buttonX += kButtonWidth + kButtonGap;
    }
    window->callback(closed, this);
    window_->show(modal);
}

void FltkMessageBox::buttonPressed(Fl_Widget* button, void* box) {
    static_cast<FltkMessageBox*>(box)->result_ = static_cast<PushButton*>(button)->id();
}

void FltkMessageBox::closed(Fl_Widget*, void* box) {
    auto* self = static_cast<FltkMessageBox*>(box);
    self->result_ = self->cancelResult_;
}

}  // namespace

std::unique_ptr<MessageBoxView> OpenMessageBox(const std::string& text, const std::string& caption,
                                               UINT type, bool modal) {
    return std::make_unique<FltkMessageBox>(text, caption, type, modal);
}

}  // namespace platform::fltk
