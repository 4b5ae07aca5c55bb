// The seam between our USER32 subset (the core, platform/*.cpp) and a display: a desktop toolkit
// (platform/fltk), a web page (platform/web) or none (platform/headless).
//
// The core keeps everything Windows defines: window classes and windows, the message queue and
// its order, timers, invalid areas and painting, the window's backing store (a surface::Canvas),
// and the modal loops of MessageBoxA and DialogBoxParamA. It knows no toolkit. A backend only
//   - tells the time and waits for input (waitForEvents),
//   - shows windows and the pixels that changed in their backing store,
//   - opens message boxes and dialogs that do not block: the core's modal loop keeps delivering
//     the thread's messages (timer ticks, paints of the main window) and calls waitForEvents
//     until the box has a result or the dialog procedure has called EndDialog,
//   - reports input by calling the event functions below.
//
// Zoom lives here, in the presenting layer: a top-level window may show each pixel of its client
// area as a block of zoom x zoom display pixels (zoom 1 to kMaxZoom, platform/zoom.h), so that
// text, lines and phasors grow, crisp, for a lecture hall or a phone. The program never learns of
// it: its client area is the window's area on the display divided by the zoom, each side
// truncated, and a new zoom reaches it as the resize it is (WM_SIZE). A backend chooses the zoom
// (a key, an option, the page's own choice; never below the program's minimum client, see
// ZoomThatFits), reports it with the window's area (ClientResized) and the pointer in display
// pixels, and shows each canvas pixel as its block: by repeating it itself (surface::Magnify,
// only for the areas it sends) or by having the display scale its picture by the whole factor,
// without smoothing. The few display pixels the division leaves over, right and below, show the
// class brush's white. A zoomed picture is thus the smaller client's picture with every pixel
// repeated, exactly.
//
// Everything runs on one thread. The event functions may be called from within any backend call
// (typically from toolkit callbacks inside waitForEvents); none of them calls back into the
// backend before returning, and only ClientResized calls into the program (it sends WM_SIZE).
//
// A program links the core (velmora_platform) and one backend, and provides WinMain
// (win32/user.h) and its dialog templates. Its edition's main() (editions/) does:
//
//     SomeBackend backend;
//     platform::Session session(backend, dialogTemplates);
//     return WinMain(GetModuleHandleA(nullptr), nullptr, commandLine, SW_SHOWNORMAL);
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "surface/canvas.h"
#include "win32/user.h"

namespace platform {

// Milliseconds on the backend's monotonic clock.
using Millis = std::int64_t;

// An open message box. The core polls result() between waits and destroys the box, which must
// then disappear, as soon as it is non-zero.
class MessageBoxView {
  public:
    virtual ~MessageBoxView() = default;
    // 0 while the box is open; then the button chosen: IDOK, IDRETRY or IDCANCEL.
    virtual int result() const = 0;
};

// One control of a dialog, laid out in pixels of the dialog's client area.
struct DialogControl {
    enum class Kind { PushButton, DefaultPushButton, Label, Edit };
    Kind kind;
    int id;  // -1 for controls the program never addresses (labels)
    std::string text;
    DWORD style;  // the template's style bits, for anything a backend wants beyond Kind
    int x, y, width, height;
};

// A dialog built from its template: dialog units are already converted to pixels with the base
// units of the template's font.
struct DialogLayout {
    std::string caption;
    // Where the template puts the dialog's window (its frame's top-left corner), relative to the
    // top-left corner of its owner's client area.
    int x, y;
    std::string fontName;
    int fontPointSize;
    int width, height;  // client area in pixels
    std::vector<DialogControl> controls;
};

// An open dialog. It reports its buttons, its close box (IDCANCEL) and what the core decides for
// its keys (platform/dialog_keys.h) with DialogCommand; the core destroys it, which must close it,
// after the dialog procedure has called EndDialog.
class DialogView {
  public:
    virtual ~DialogView() = default;
    // Gives the keyboard focus to the control with this id.
    virtual void setFocus(int controlId) = 0;
    // The current text of the control with this id (what the user typed into an edit field), in
    // UTF-8.
    virtual std::string controlText(int controlId) const = 0;
    // Types the text into the edit field with this id at its caret, as the keyboard would: keys
    // typed ahead, before the dialog opened, that the core hands to it.
    virtual void typeText(int controlId, const std::string& text) = 0;
    // Applies an editing key typed ahead to the edit field with this id, as the keyboard would
    // there: BackSpace, Delete, Home, End, Left or Right, with Shift if it was held
    // (platform/edit_field.h says what each does).
    virtual void pressEditingKey(int controlId, int virtualKey, bool shift) = 0;
};

// A reading the program writes on its window, for a list of readings: the area of the client
// in which its texts start (their cells' top left corners), and the program's name for it, put
// before them ("Load: 100.0 ohms"); empty where the texts name themselves ("Ratio = 2.00").
struct ReadingPlace {
    std::string name;
    surface::PixelRect area;
};
// Where the program writes its readings in a client of that size, in the order a reader takes
// them; a text in more than one area belongs to the first.
using ReadingPlaces = std::function<std::vector<ReadingPlace>(int width, int height)>;

// What the program has written on a window and not erased since, as a reader takes it.
struct WindowTexts {
    // Each reading place with texts: its name, a colon and a space, then its texts in reading
    // order, a space apart.
    std::vector<std::string> readings;
    // Every other text, in reading order: by the top of its cell, then by the left.
    std::vector<std::string> others;

    bool operator==(const WindowTexts&) const = default;
};

class Backend {
  public:
    virtual ~Backend() = default;

    virtual Millis now() = 0;
    // Handles input until at least one event has been reported or the clock reaches the deadline
    // (no deadline: wait for input only). May return early; the core simply asks again.
    virtual void waitForEvents(std::optional<Millis> deadline) = 0;
    // Reports the input that has already arrived, without waiting. The core asks before it hands
    // out a paint or a timer tick, as Windows reads input ahead of them: a program whose paints
    // or ticks keep it busy still answers its keys and its close box. A backend whose input
    // arrives only while the program waits (the page's) has none here.
    virtual void readInput() {}

    // Shows a top-level window whose client area is the canvas (at zoom 1, until the backend
    // reports another area or zoom with ClientResized). The canvas object stays valid and at its
    // address until destroyWindow; it may change size (ClientResized) and content.
    virtual void showWindow(HWND window, const std::string& title,
                            const surface::Canvas& canvas) = 0;
    virtual void hideWindow(HWND window) = 0;
    // Pixels of the window's canvas were written: only those in the changed tiles can differ
    // from what the display shows (each as a block of the window's zoom). The core clears the
    // changes when this returns.
    virtual void present(HWND window, const surface::ChangedTiles& changed) = 0;
    // The texts on the window changed: all the program has written with TextOutA and not erased
    // since, for a display that can offer them as text (to assistive technology, or beside a
    // picture too small to read).
    virtual void showTexts(HWND /*window*/, const WindowTexts& /*texts*/) {}
    // The window got its first timer or lost its last: a display may show whether it animates.
    virtual void timersChanged(HWND /*window*/, bool /*anyTimer*/) {}
    // The window is gone; forget it. Called for hidden windows too.
    virtual void destroyWindow(HWND window) = 0;

    // Opens a message box (buttons and icon from MB_TYPEMASK and MB_ICONMASK of `type`). With an
    // owner, the owner takes no input while the box is open (the core also disables it); without
    // one, the program's windows stay live.
    virtual std::unique_ptr<MessageBoxView> openMessageBox(HWND owner, const std::string& text,
                                                           const std::string& caption,
                                                           UINT type) = 0;
    // Opens a dialog modal to its owner. `dialog` is the handle to report commands with.
    virtual std::unique_ptr<DialogView> openDialog(HWND dialog, HWND owner,
                                                   const DialogLayout& layout) = 0;

    // Asked by SetTimer; false makes it fail, as Windows does when it runs out of timers.
    virtual bool grantTimer() { return true; }
};

// Binds the USER32 functions to a backend for the session's lifetime. Classes, windows, the
// queue and the timers belong to the session and end with it. One session at a time.
// DialogBoxParamA finds its templates by resource id among `dialogs`, which must outlive the
// session. `readings` tells where the program's top-level windows show its readings
// (Backend::showTexts); without it every text is among the others.
class Session {
  public:
    explicit Session(Backend& backend, std::span<const DialogResource> dialogs = {},
                     ReadingPlaces readings = {});
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;
};

// Events a backend reports. Input is routed when the program takes it from the queue, as on
// Windows: keys for a window that is then disabled go to its open dialog (its dialog keys as
// platform/dialog_keys.h decides them, characters into its focused edit field), close requests
// for it are lost; a dialog's commands while a box of its own is open are lost too.
// Posts WM_KEYDOWN. Whether Shift was held goes with the key, for the dialog keys and edit fields
// it may be routed to (Shift+TAB moves backwards; Shift+Left selects).
void KeyDown(HWND window, int virtualKey, bool shift = false);
void CloseRequested(HWND window);         // posts WM_CLOSE (the close box)
void DialogCommand(HWND dialog, int id);  // posts WM_COMMAND to the dialog

// The window's client area now covers width x height pixels of the display, each pixel of the
// program's client shown as a zoom x zoom block: the program's client is the area divided by the
// zoom (platform::ZoomedClient). When that changes, sends WM_SIZE and repaints what the window's
// class asks to; a backend shows the whole canvas again after any change of area or zoom.
void ClientResized(HWND window, int width, int height, int zoom = 1);

// Posts WM_MOUSEMOVE: the pointer (a mouse's or a touch's) moved to (x, y) in display pixels
// from the top-left corner of the client area; the program reads them divided by the zoom.
void MouseMoved(HWND window, int x, int y);
// The pointer left the client area: posts WM_MOUSELEAVE if the window asked for it with
// TrackMouseEvent, which it must do again for the next time, as on Windows.
void MouseLeft(HWND window);

// State for drivers and tests.
bool TimerExists(HWND window, UINT_PTR id);

}  // namespace platform
