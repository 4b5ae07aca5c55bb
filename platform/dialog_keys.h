// The keys of modal boxes and dialogs and the buttons of message boxes, decided here once for
// every backend as Windows' dialog manager decides them. A backend asks when a key is pressed in
// an open box or dialog and does what the answer says.
#pragma once

#include <optional>
#include <span>
#include <vector>

#include "platform/backend.h"

namespace platform {

// What a key pressed in a box or dialog does.
struct DialogKeyAction {
    enum class Kind {
        Pass,     // the key goes on to the focused control (typing into an edit field)
        Command,  // the box or dialog is answered with `id` (a dialog's WM_COMMAND)
        Focus,    // the control `id` takes the focus
    };
    Kind kind = Kind::Pass;
    int id = 0;

    bool operator==(const DialogKeyAction&) const = default;
};

// `controls` in their tab order, `focused` the id of the control with the focus, if any, and
// `cancelId` what Esc answers. Enter presses the focused push button, else the default one, else
// IDOK; TAB and Shift+TAB move the focus to the next or previous control with a tab stop, round
// from the last to the first, so the focus never leaves the box or dialog.
DialogKeyAction DialogKey(std::span<const DialogControl> controls, std::optional<int> focused,
                          int cancelId, int virtualKey, bool shift);

// The buttons of a message box of this type (MB_TYPEMASK), in their order; the first is the
// default. `cancelId` is what Esc and the close box choose: Cancel, or OK when that is the only
// button.
struct MessageBoxButtons {
    std::vector<DialogControl> buttons;  // positions and sizes are the backend's
    int cancelId;
};
MessageBoxButtons ButtonsOf(UINT type);

}  // namespace platform
