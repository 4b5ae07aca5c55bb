// The dialogs as data (the load value, the pulse values); the same templates as velmora.rc
// builds for Windows.
#include "app/resources/dialog_template.h"

#include "app/resources/resource.h"

namespace {

const DialogItemResource kLoadItems[] = {
    {WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 164, 7, 50, 14, IDOK, "BUTTON", "OK"},
    {WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT, 61, 42, 100, 8, -1, "STATIC",
     "Enter a value for the load"},
    {WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 81, 77, 40, 14, ID_LOAD_EDIT,
     "EDIT", ""},
};

// Each field below the label that names it, as Windows' screen readers expect.
const DialogItemResource kPulseItems[] = {
    {WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, 164, 7, 50, 14, IDOK, "BUTTON", "OK"},
    {WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT, 14, 30, 200, 8, -1, "STATIC",
     "Source resistance Rs in ohms, 0 to 10000"},
    {WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 14, 41, 60, 14,
     ID_SOURCE_EDIT, "EDIT", ""},
    {WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT, 14, 62, 200, 8, -1, "STATIC",
     "Load RL in ohms, 0 to 10000, short or open"},
    {WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 14, 73, 60, 14,
     ID_PULSE_LOAD_EDIT, "EDIT", ""},
    {WS_CHILD | WS_VISIBLE | WS_GROUP | SS_LEFT, 14, 94, 200, 8, -1, "STATIC",
     "Pulse width in trips, up to 2 (empty: a step)"},
    {WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, 14, 105, 60, 14,
     ID_WIDTH_EDIT, "EDIT", ""},
};

const DialogResource kTemplates[] = {
    {
        IDD_LOAD,
        static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT),
        0,
        0,
        221,
        134,
        "Load value",
        8,
        "MS Sans Serif",
        kLoadItems,
        static_cast<int>(sizeof kLoadItems / sizeof kLoadItems[0]),
    },
    {
        IDD_PULSE,
        static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT),
        0,
        0,
        221,
        134,
        "Pulse values",
        8,
        "MS Sans Serif",
        kPulseItems,
        static_cast<int>(sizeof kPulseItems / sizeof kPulseItems[0]),
    },
};

}  // namespace

const std::span<const DialogResource> dialogTemplates{kTemplates};
