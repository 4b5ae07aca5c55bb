// A top-level desktop window whose client area shows a canvas, the window's backing store.
#pragma once

#include <FL/Fl_Window.H>

#include "platform/fltk/shown_pixels.h"
#include "surface/canvas.h"
#include "win32/user.h"

namespace platform::fltk {

class CanvasWindow : public Fl_Window {
  public:
    CanvasWindow(HWND handle, const char* title, const surface::Canvas& canvas);

    // Sends the pixels of the changed tiles that differ from what the display shows.
    void showChanges(const surface::ChangedTiles& changed);

    void draw() override;
    int handle(int event) override;
    void resize(int x, int y, int width, int height) override;

  private:
    static void closeBoxPressed(Fl_Widget* window, void*);
    void drawPixels(const surface::PixelRect& area);

    HWND handle_;
    const surface::Canvas& canvas_;
    ShownPixels shown_;
};

}  // namespace platform::fltk
