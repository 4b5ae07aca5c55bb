#include "platform/fltk/virtual_keys.h"

#include <FL/Enumerations.H>

#include <array>
#include <utility>

#include "win32/virtual_keys.h"

namespace platform::fltk {
namespace {

constexpr std::pair<int, int> kNamedKeys[] = {
    {FL_BackSpace, VK_BACK},
    {FL_Tab, VK_TAB},
    {FL_Enter, VK_RETURN},
    {FL_KP_Enter, VK_RETURN},
    {FL_Pause, VK_PAUSE},
    {FL_Scroll_Lock, VK_SCROLL},
    {FL_Escape, VK_ESCAPE},
    {FL_Home, VK_HOME},
    {FL_Left, VK_LEFT},
    {FL_Up, VK_UP},
    {FL_Right, VK_RIGHT},
    {FL_Down, VK_DOWN},
    {FL_Page_Up, VK_PRIOR},
    {FL_Page_Down, VK_NEXT},
    {FL_End, VK_END},
    {FL_Print, VK_SNAPSHOT},
    {FL_Insert, VK_INSERT},
    {FL_Menu, VK_APPS},
    {FL_Help, VK_HELP},
    {FL_Num_Lock, VK_NUMLOCK},
    {FL_Shift_L, VK_SHIFT},
    {FL_Shift_R, VK_SHIFT},
    {FL_Control_L, VK_CONTROL},
    {FL_Control_R, VK_CONTROL},
    {FL_Caps_Lock, VK_CAPITAL},
    {FL_Meta_L, VK_LWIN},
    {FL_Meta_R, VK_RWIN},
    {FL_Alt_L, VK_MENU},
    {FL_Alt_R, VK_MENU},
    {FL_Delete, VK_DELETE},
    {FL_Iso_Key, VK_OEM_102},
    {FL_KP + '*', VK_MULTIPLY},
    {FL_KP + '+', VK_ADD},
    {FL_KP + ',', VK_SEPARATOR},
    {FL_KP + '-', VK_SUBTRACT},
    {FL_KP + '/', VK_DIVIDE},
    {FL_Volume_Down, VK_VOLUME_DOWN},
    {FL_Volume_Mute, VK_VOLUME_MUTE},
    {FL_Volume_Up, VK_VOLUME_UP},
    {FL_Media_Play, VK_MEDIA_PLAY_PAUSE},
    {FL_Media_Stop, VK_MEDIA_STOP},
    {FL_Media_Prev, VK_MEDIA_PREV_TRACK},
    {FL_Media_Next, VK_MEDIA_NEXT_TRACK},
    {FL_Home_Page, VK_BROWSER_HOME},
    {FL_Mail, VK_LAUNCH_MAIL},
    {FL_Search, VK_BROWSER_SEARCH},
    {FL_Back, VK_BROWSER_BACK},
    {FL_Forward, VK_BROWSER_FORWARD},
    {FL_Stop, VK_BROWSER_STOP},
    {FL_Refresh, VK_BROWSER_REFRESH},
    {FL_Sleep, VK_SLEEP},
    {FL_Favorites, VK_BROWSER_FAVORITES},
    {' ', VK_SPACE},
};

// The US layout's punctuation keys, which Windows names VK_OEM_*.
constexpr std::pair<int, int> kPunctuationKeys[] = {
    {';', VK_OEM_1},      {'=', VK_OEM_PLUS}, {',', VK_OEM_COMMA}, {'-', VK_OEM_MINUS},
    {'.', VK_OEM_PERIOD}, {'/', VK_OEM_2},    {'`', VK_OEM_3},     {'[', VK_OEM_4},
    {'\\', VK_OEM_5},     {']', VK_OEM_6},    {'\'', VK_OEM_7},
};

// With Num Lock off, the keypad's digit keys are the navigation keys printed under them.
constexpr std::array<int, 10> kKeypadNavigation{VK_INSERT, VK_END,   VK_DOWN, VK_NEXT, VK_LEFT,
                                                VK_CLEAR,  VK_RIGHT, VK_HOME, VK_UP,   VK_PRIOR};

}  // namespace

int VirtualKeyFromFltk(int fltkKey, bool numLock) {
    if (fltkKey >= 'a' && fltkKey <= 'z') return fltkKey - 'a' + 'A';
    if (fltkKey >= '0' && fltkKey <= '9') return fltkKey;
    if (fltkKey > FL_F && fltkKey <= FL_F + (VK_F24 - VK_F1 + 1))
        return VK_F1 + (fltkKey - FL_F - 1);
    if (fltkKey >= FL_KP + '0' && fltkKey <= FL_KP + '9') {
        const int digit = fltkKey - FL_KP - '0';
        return numLock ? VK_NUMPAD0 + digit : kKeypadNavigation[digit];
    }
    if (fltkKey == FL_KP + '.') return numLock ? VK_DECIMAL : VK_DELETE;
    for (const auto& [fltk, virtualKey] : kNamedKeys) {
        if (fltk == fltkKey) return virtualKey;
    }
    for (const auto& [character, virtualKey] : kPunctuationKeys) {
        if (character == fltkKey) return virtualKey;
    }
    return 0;
}

bool IsPlainKeyDown(int virtualKey, bool altHeld) {
    return !altHeld && virtualKey != VK_MENU && virtualKey != VK_F10;
}

}  // namespace platform::fltk
