// The load-value dialog as data; the same template as velmora.rc builds for Windows.
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

const DialogResource kLoadDialog = {
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
};

}  // namespace

const std::span<const DialogResource> dialogTemplates{&kLoadDialog, 1};
