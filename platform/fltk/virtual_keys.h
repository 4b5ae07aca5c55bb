// Translation of FLTK key codes into the virtual-key codes Windows gives in WM_KEYDOWN.
#pragma once

namespace platform::fltk {

// The virtual-key code for an FLTK key code (Fl::event_key()), or 0 for a key Windows has no
// code for. Keypad keys depend on Num Lock as on Windows: digits with it on, navigation keys
// with it off.
int VirtualKeyFromFltk(int fltkKey, bool numLock);

// Whether Windows reports the key as WM_KEYDOWN: keys pressed with Alt held, Alt itself and F10
// are system keys (WM_SYSKEYDOWN), which a window procedure does not see as WM_KEYDOWN.
bool IsPlainKeyDown(int virtualKey, bool altHeld);

}  // namespace platform::fltk
