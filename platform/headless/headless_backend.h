// A backend without a display, for tests and the headless edition. Message boxes and dialogs are
// answered from a script, timers fire in simulated time (nothing ever sleeps), the screen is the
// window's backing canvas, and a driver acts whenever the program waits for input.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/backend.h"

namespace platform {

class HeadlessBackend final : public Backend {
  public:
    // The program waits for something nobody will give it: a box or dialog without a scripted
    // answer, input the driver does not provide, or more than kTimeLimit of simulated time.
    struct Stuck : std::runtime_error {
        using std::runtime_error::runtime_error;
    };
    static constexpr Millis kTimeLimit = 60 * 60 * 1000;

    using Driver = std::function<void(HeadlessBackend&)>;

    struct ShownBox {
        HWND owner;
        std::string text;
        std::string caption;
        UINT type;
        Millis openedAt;
    };
    struct ShownDialog {
        HWND owner;
        DialogLayout layout;
        Millis openedAt;
    };

    // The script: each box or dialog, as it opens, takes the next answer, which is given once
    // `after` milliseconds of simulated time have passed with the box or dialog open.
    void answerMessageBox(int button, Millis after = 0);
    // Types the text into the control that has the focus (if it is an edit field), then OK.
    void answerDialog(std::string typed, Millis after = 0);
    // Types each text into the dialog's edit fields, in the template's order, then OK.
    void answerDialogFields(std::vector<std::string> fields, Millis after = 0);
    void cancelDialog(Millis after = 0);  // Esc
    // The next `times` calls of SetTimer fail.
    void failSetTimer(int times) { timerFailures_ = times; }
    // A window, once shown, gets this client size on the display, as a window manager may
    // decide.
    void setShownClientSize(int width, int height) { shownSize_ = {width, height}; }
    // The main window shows each pixel of the program's client as a zoom x zoom block
    // (backend.h), from its showing on (its area then its client size times the zoom, unless a
    // shown size is set) or, once shown, at once, in the area it has. screen() is then the
    // magnified picture, as a display would show it.
    void setZoom(int zoom);

    // Called whenever the program waits for input and no scripted answer is due. If it does
    // nothing, simulated time moves on to the next timer, answer or wake-up time.
    void setDriver(Driver driver) { driver_ = std::move(driver); }
    // Has the driver called again at this time at the latest, even if nothing else happens.
    void wakeDriverAt(Millis time) { driverWake_ = time; }

    // Input to the main window (the first window shown), for the driver.
    void pressKey(int virtualKey, bool shift = false);
    void movePointer(int x, int y);
    void leavePointer();  // the pointer leaves the client area
    void closeWindow();
    // The main window's area on the display, in display pixels (client pixels at zoom 1).
    void resizeClient(int width, int height);
    // Another window moved away: the area (null: the whole client area) must be repainted.
    void uncover(const RECT* area);
    // Lets simulated time pass without the program running, as if a handler took that long.
    void passTime(Millis duration);
    // A key pressed while the program is busy (called from inside one of its handlers): the
    // display holds it until the program reads its input, before its next paint or tick at the
    // latest.
    void keyArrives(int virtualKey);

    HWND window() const { return window_; }
    // The main window's picture: its backing canvas, magnified when it is zoomed; after the
    // window is destroyed, its last picture (null where there was no memory to keep it).
    const surface::Canvas* screen() const;
    bool modalOpen() const { return !modals_.empty(); }
    const std::vector<ShownBox>& messageBoxes() const { return boxes_; }
    const std::vector<ShownDialog>& dialogs() const { return dialogs_; }
    // The texts on the main window as the core last gave them: its readings, then the others.
    const WindowTexts& writtenTexts() const { return texts_; }
    // All of them in one list, the readings first.
    std::vector<std::string> texts() const;
    // What the core said each time the main window got its first timer or lost its last.
    const std::vector<bool>& timerChanges() const { return timerChanges_; }

    // Backend.
    Millis now() override { return now_; }
    void waitForEvents(std::optional<Millis> deadline) override;
    void readInput() override;
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
    bool grantTimer() override;

  private:
    struct Answer {
        enum class Kind { Box, DialogOk, DialogCancel };
        Kind kind;
        int button;
        std::string typed;
        Millis after;
        std::vector<std::string> fields;  // typed into the edit fields instead, when given
    };
    class Box;
    class Dialog;
    // An open box or dialog and the answer it will get.
    struct Modal {
        Box* box;
        Dialog* dialog;
        std::string description;
        std::optional<Answer> answer;
        Millis dueAt;
    };

    // The main window now covers this area of the display at zoom_.
    void showArea(int width, int height);
    // Magnifies the canvas's pixels in `area` into magnified_.
    void magnify(surface::PixelRect area);

    std::optional<Answer> takeAnswer(Answer::Kind expected, const std::string& description);
    void give(Modal& modal);
    void closeModal(const void* view);

    Millis now_ = 0;
    std::deque<Answer> script_;
    std::deque<int> arrivedKeys_;
    std::vector<Modal> modals_;  // innermost last
    int timerFailures_ = 0;
    std::optional<std::pair<int, int>> shownSize_;
    Driver driver_;
    std::optional<Millis> driverWake_;
    bool driverActed_ = false;
    int actionsWithoutTime_ = 0;
    HWND window_ = nullptr;
    const surface::Canvas* liveScreen_ = nullptr;
    int zoom_ = 1;
    std::pair<int, int> area_;                  // the main window's, on the display
    std::optional<surface::Canvas> magnified_;  // while the main window is zoomed
    std::optional<surface::Canvas> lastScreen_;
    std::vector<ShownBox> boxes_;
    std::vector<ShownDialog> dialogs_;
    WindowTexts texts_;
    std::vector<bool> timerChanges_;
};

}  // namespace platform
