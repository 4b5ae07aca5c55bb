// Small widgets the message boxes and dialogs share, and the owner of every top-level window.
#pragma once

#include <FL/Enumerations.H>
#include <FL/Fl.H>
#include <FL/Fl_Button.H>
#include <FL/Fl_Widget.H>

#include <string>

namespace platform::fltk {

// Text drawn as given: line feeds break lines; '@' and '&' are plain characters, as in a
// message box or a static control.
class TextBlock : public Fl_Widget {
  public:
    TextBlock(int x, int y, int width, int height, std::string text, Fl_Font font, int size);

    // The size the text needs, unwrapped.
    static void measure(const std::string& text, Fl_Font font, int size, int& width, int& height);

    void draw() override;

  private:
    std::string text_;
    Fl_Font font_;
    int size_;
};

// A push button that can be marked as the default button with a dark outline, as on Windows.
// `id` is what pressing it reports.
class PushButton : public Fl_Button {
  public:
    PushButton(int x, int y, int width, int height, const std::string& text, int id,
               bool isDefault);

    int id() const { return id_; }
    void draw() override;

  private:
    int id_;
    bool isDefault_;
};

// The icon of a message box: MB_ICONHAND, MB_ICONQUESTION, MB_ICONEXCLAMATION or
// MB_ICONASTERISK.
class MessageIcon : public Fl_Widget {
  public:
    static constexpr int kSize = 32;
    MessageIcon(int x, int y, unsigned iconFlag);

    void draw() override;

  private:
    unsigned iconFlag_;
};

// Owns a top-level window until its end, when it is hidden and then deleted by FLTK, not at
// once: the end may come inside one of the window's own event handlers.
template <class Window>
class OwnedWindow {
  public:
    explicit OwnedWindow(Window* window) : window_(window) {}
    ~OwnedWindow() {
        window_->hide();
        Fl::delete_widget(window_);
    }
    OwnedWindow(const OwnedWindow&) = delete;
    OwnedWindow& operator=(const OwnedWindow&) = delete;

    Window* get() const { return window_; }
    Window* operator->() const { return window_; }

  private:
    Window* window_;
};

}  // namespace platform::fltk
