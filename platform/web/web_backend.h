// The browser backend: the program's window is the page's canvas, message boxes and dialogs are
// HTML <dialog> elements, and waiting for input yields to the browser (Asyncify) until a timer is
// due or the page reports an event. The page side lives in page.js.
//
// A page has one canvas: the first top-level window shown gets it, and the title becomes the
// page's title. Other top-level windows are not shown.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/backend.h"

namespace platform::web {

class WebBackend final : public Backend {
  public:
    // Hands the page the numbers it shares with this backend.
    WebBackend();

    Millis now() override;
    void waitForEvents(std::optional<Millis> deadline) override;

    void showWindow(HWND window, const std::string& title, const surface::Canvas& canvas) override;
    void hideWindow(HWND window) override;
    void present(HWND window, const surface::ChangedTiles& changed) override;
    void showTexts(HWND window, const WindowTexts& texts) override;
    void timersChanged(HWND window, bool anyTimer) override;
    void destroyWindow(HWND window) override;

    std::unique_ptr<MessageBoxView> openMessageBox(HWND owner, const std::string& text,
                                                   const std::string& caption, UINT type) override;
    std::unique_ptr<DialogView> openDialog(HWND dialog, HWND owner,
                                           const DialogLayout& layout) override;

  private:
    class Box;
    class Dialog;

    // Reports what the page has queued; false if it had nothing.
    bool takeEvents();
    // Does what the core decides for a dialog key pressed in the box or dialog `id`.
    void answerDialogKey(int id, int virtualKey, bool shift, std::optional<int> focused);

    HWND window_ = nullptr;
    const surface::Canvas* canvas_ = nullptr;  // the window's, valid until destroyWindow
    // The window's pixels as the page's canvas takes them (RGBA bytes), kept between calls so
    // that presenting allocates nothing.
    std::vector<std::uint32_t> shown_;
    int shownWidth_ = 0;
    int shownHeight_ = 0;
    int lastElementId_ = 0;           // boxes and dialogs on the page
    std::map<int, Box*> boxes_;       // open message boxes by element id
    std::map<int, Dialog*> dialogs_;  // open dialogs by element id
    std::set<HWND> timed_;            // windows with a timer
};

}  // namespace platform::web
