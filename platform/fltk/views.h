// Message boxes and dialogs as FLTK windows. They never block: the core's modal loop keeps the
// program's messages flowing while they are open.
#pragma once

#include <memory>
#include <string>

#include "platform/backend.h"

namespace platform::fltk {

// A message box centred on the screen. A modal box takes all input of the program.
std::unique_ptr<MessageBoxView> OpenMessageBox(const std::string& text, const std::string& caption,
                                               UINT type, bool modal);

// A dialog whose window has its top-left corner at (x, y) on the screen: its frame's, under a
// window manager.
std::unique_ptr<DialogView> OpenDialog(HWND dialog, const DialogLayout& layout, int x, int y,
                                       bool modal);

}  // namespace platform::fltk
