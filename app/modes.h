// The program's modes, described once. Every edition reads this table to offer them: the desktop
// and velmora-render by their switches, the page by its query, Windows by the command line. A new
// mode adds its row here and its procedures in its own module.
#pragma once

#include <span>
#include <string_view>
#include <vector>

#include "win32/win32.h"

// A key of the mode offered as a button where there may be no keyboard (the page's control bar).
struct KeyButton {
    const char* id;     // the button's name on the page
    const char* label;  // what the button says
    int key;            // the virtual key it sends
};

// A text field of the start-up dialog, in the template's order, and velmora-render's option that
// types its text as a user would.
struct DialogField {
    const char* renderOption;  // "--load"
    // Why the dialog refuses the field's text and waits for another (empty when it takes it);
    // null when it takes every text.
    std::string (*refusal)(std::string_view text);
};

// A reading a mode writes on its window, for a list of readings (a page's text beside a picture
// too small to read, a screen reader's): its name, put before its texts ("Load: 100.0 ohms"),
// empty where they name themselves ("Ratio = 2.00"); and the area where they start.
struct Reading {
    const char* name;
    RECT area;
};

struct Mode {
    const char* name;               // as a link to the mode says it: "Lab" for "Lab mode"
    const char* commandLineSwitch;  // on a command line ("--lab"); empty for the default mode
    const char* pageQuery;          // in the page's address ("lab" for velmora.html?lab)
    const char* description;        // the switch's help, its lines as --help shows them
    const char* caption;            // the main window's title
    const char* picture;            // what the window shows, for a reader who cannot see it
    WNDPROC windowProcedure;
    DLGPROC loadDialog;  // the start-up dialog's procedure
    int dialogTemplate;  // and its template (IDD_LOAD)
    std::span<const DialogField> dialogFields;
    // Whether a paint draws the whole picture, so that the window is erased before the paint
    // after the start-up dialog; otherwise that paint draws over the first picture.
    bool paintsWhole;
    // The clock at which a run ends (its last tick's), in the clock's units.
    int clockEnd;
    // The smallest client area that shows every caption and readout whole.
    int minimumClientWidth;
    int minimumClientHeight;
    const char* newValuesLabel;  // the page's button that opens the start-up dialog again (F1)
    std::span<const KeyButton> keyButtons;  // besides start/pause/resume and new values
    // Where the mode writes its readings in a client of that size, in the order they are read.
    std::vector<Reading> (*readings)(int width, int height);
    // Whether the load is typed as a plain number, so that a phone may offer its keypad for
    // numbers; otherwise it takes words and signs too (75+j50, short, open).
    bool loadIsNumber = true;
};

// Every mode, the default (the plain mode) first.
extern const std::span<const Mode> kModes;

// The mode a command line asks for: the first mode whose switch is among its space- or
// tab-separated words; the default mode when none is.
const Mode& ModeOfCommandLine(const char* commandLine);
