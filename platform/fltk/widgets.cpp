#include "platform/fltk/widgets.h"

#include <FL/Fl.H>
#include <FL/fl_draw.H>

#include <utility>

#include "win32/user.h"

namespace platform::fltk {

TextBlock::TextBlock(int x, int y, int width, int height, std::string text, Fl_Font font, int size)
    : Fl_Widget(x, y, width, height), text_(std::move(text)), font_(font), size_(size) {}

void TextBlock::measure(const std::string& text, Fl_Font font, int size, int& width, int& height) {
    fl_font(font, size);
    width = 0;
    height = 0;
    fl_measure(text.c_str(), width, height, 0);
}

void TextBlock::draw() {
    fl_font(font_, size_);
    fl_color(active_r() ? FL_FOREGROUND_COLOR : fl_inactive(FL_FOREGROUND_COLOR));
    fl_draw(text_.c_str(), x(), y(), w(), h(), FL_ALIGN_TOP_LEFT | FL_ALIGN_INSIDE, nullptr, 0);
}

PushButton::PushButton(int x, int y, int width, int height, const std::string& text, int id,
                       bool isDefault)
    : Fl_Button(x, y, width, height), id_(id), isDefault_(isDefault) {
    copy_label(text.c_str());
}

void PushButton::draw() {
    Fl_Button::draw();
    if (!isDefault_) return;
    fl_color(FL_BLACK);
    fl_rect(x(), y(), w(), h());
}

MessageIcon::MessageIcon(int x, int y, unsigned iconFlag)
    : Fl_Widget(x, y, kSize, kSize), iconFlag_(iconFlag) {}

void MessageIcon::draw() {
    const int left = x();
    const int top = y();
    const char* sign = "i";
    Fl_Color signColour = FL_WHITE;
    if (iconFlag_ == MB_ICONEXCLAMATION) {
        // A yellow warning triangle.
        fl_color(fl_rgb_color(255, 204, 0));
        fl_polygon(left + kSize / 2, top + 1, left + kSize - 1, top + kSize - 2, left,
                   top + kSize - 2);
        fl_color(FL_BLACK);
        fl_loop(left + kSize / 2, top + 1, left + kSize - 1, top + kSize - 2, left,
                top + kSize - 2);
        sign = "!";
        signColour = FL_BLACK;
    } else {
        fl_color(iconFlag_ == MB_ICONHAND ? fl_rgb_color(204, 0, 0) : fl_rgb_color(0, 80, 200));
        fl_pie(left, top, kSize, kSize, 0, 360);
        if (iconFlag_ == MB_ICONHAND) sign = "X";
        if (iconFlag_ == MB_ICONQUESTION) sign = "?";
    }
    fl_color(signColour);
    fl_font(FL_HELVETICA_BOLD, 20);
    fl_draw(sign, left, top + 4, kSize, kSize - 4, FL_ALIGN_CENTER, nullptr, 0);
}

}  // namespace platform::fltk
