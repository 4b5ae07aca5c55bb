// The desktop backend: real windows, message boxes and dialogs on the screen through FLTK 1.3.
#pragma once

#include <map>
#include <memory>

#include "platform/backend.h"
#include "platform/fltk/canvas_window.h"
#include "platform/fltk/widgets.h"

namespace platform::fltk {

class FltkBackend : public Backend {
  public:
    // Connects to the display; without one it ends the program with a message. Windows show the
    // program's pixels as blocks of the zoom (1 to kMaxZoom) where the screen leaves the program
    // at least the minimum client (platform/zoom.h); the user changes the zoom with its keys.
    FltkBackend(int zoom, ClientSize minimumClient);
    ~FltkBackend() override;

    Millis now() override;
    void waitForEvents(std::optional<Millis> deadline) override;

    void showWindow(HWND window, const std::string& title, const surface::Canvas& canvas) override;
    void hideWindow(HWND window) override;
    void present(HWND window, const surface::ChangedTiles& changed) override;
    void destroyWindow(HWND window) override;

    std::unique_ptr<MessageBoxView> openMessageBox(HWND owner, const std::string& text,
                                                   const std::string& caption, UINT type) override;
    std::unique_ptr<DialogView> openDialog(HWND dialog, HWND owner,
                                           const DialogLayout& layout) override;

  private:
    CanvasWindow* find(HWND window) const;

    const int zoom_;
    const ClientSize minimumClient_;
    std::map<HWND, OwnedWindow<CanvasWindow>> windows_;
};

}  // namespace platform::fltk
