// The window of a message box or dialog. Its keys are the core's to decide (platform/
// dialog_keys.h), before a control or FLTK's own navigation sees them; the window does what the
// core answers. It keeps its size (FLTK's windows do unless made resizable) and asks a window
// manager for a frame that moves and has a close box, nothing more, as Windows' modal boxes and
// dialog frames have; when it closes, the focus goes back where it was.
#pragma once

#include <FL/Fl.H>
#include <FL/Fl_Window.H>

#include <functional>
#include <map>
#include <optional>
#include <vector>

#include "platform/backend.h"

namespace platform::fltk {

class ModalWindow : public Fl_Window {
  public:
    // `answer` gets what the box or dialog is answered with: a button's id, `cancelId` for Esc
    // and the close box.
    ModalWindow(int x, int y, int width, int height, std::vector<DialogControl> controls,
                int cancelId, std::function<void(int)> answer);
    ~ModalWindow() override;
    ModalWindow(const ModalWindow&) = delete;
    ModalWindow& operator=(const ModalWindow&) = delete;

    // The widget of the control with this id, for the focus the core moves.
    void addControl(int id, Fl_Widget* widget) { widgets_[id] = widget; }
    Fl_Widget* control(int id) const;

    // Closes the window's list of widgets and shows it; a modal one takes all input of the
    // program.
    void open(bool modal);
    // Puts the window's frame, not its client area, at its position (x(), y()), as Windows
    // places a dialog; waits up to a second for a window manager to frame the window. Call after
    // open.
    void placeFrame();
    int handle(int event) override;
    void hide() override;

  private:
    static void closeBoxPressed(Fl_Widget* window, void*);
    std::optional<int> focusedControl() const;
    void keepFrameFixed();

    std::vector<DialogControl> controls_;
    int cancelId_;
    std::function<void(int)> answer_;
    std::map<int, Fl_Widget*> widgets_;
    Fl_Widget* focusBefore_;
};

}  // namespace platform::fltk
