// A top-level desktop window whose client area shows a canvas, the window's backing store, each
// pixel as a block of the window's zoom (platform/backend.h).
#pragma once

#include <FL/Fl_Window.H>

#include <vector>

#include "platform/fltk/shown_pixels.h"
#include "platform/zoom.h"
#include "surface/canvas.h"
#include "win32/user.h"

namespace platform::fltk {

class CanvasWindow : public Fl_Window {
  public:
    // The window opens at the canvas's size times the zoom, as far as the screen's work area
    // allows, and never gives the program less than the minimum client: a zoom that would is not
    // taken, and the window is not made smaller than that, unless the screen is; the picture is
    // then shown reduced to fit, whole.
    CanvasWindow(HWND handle, const char* title, const surface::Canvas& canvas, int zoom,
                 ClientSize minimumClient);

    // Reports the window's area and the zoom it takes to the core (WM_SIZE when the program's
    // client changes) and shows everything again. The window may be gone when this returns.
    void applyZoom();
    int zoom() const { return zoom_; }

    // Sends the pixels of the changed tiles that differ from what the display shows.
    void showChanges(const surface::ChangedTiles& changed);

    void draw() override;
    int handle(int event) override;
    void resize(int x, int y, int width, int height) override;

  private:
    static void closeBoxPressed(Fl_Widget* window, void*);
    // The window's own keys, which the program never gets; false for the program's.
    bool takeViewKey(int key, int modifiers);
    // The canvas's pixels in `area`, each as a block of the zoom.
    void drawPixels(const surface::PixelRect& area);
    // Whether the window is smaller than the canvas, which it then shows whole, reduced.
    bool reduced() const;
    void drawReduced();

    HWND handle_;
    const surface::Canvas& canvas_;
    ShownPixels shown_;  // in canvas pixels
    const ClientSize minimumClient_;
    int wantedZoom_;  // the user's; the window takes it where it fits
    int zoom_ = 1;
    std::vector<COLORREF> magnified_;  // what is sent magnified or reduced, kept to allocate once
};

}  // namespace platform::fltk
