#include "platform/fltk/virtual_keys.h"

#include <FL/Enumerations.H>

#include <array>
#include <utility>

namespace platform::fltk {
namespace {

// Virtual-key codes as Windows numbers them; letters and digits are their upper-case ASCII.
enum VirtualKey : int {
    kBack = 0x08,
    kTab = 0x09,
    kClear = 0x0C,
    kReturn = 0x0D,
    kShift = 0x10,
    kControl = 0x11,
    kMenu = 0x12,
    kPause = 0x13,
    kCapital = 0x14,
    kEscape = 0x1B,
    kSpace = 0x20,
    kPrior = 0x21,
    kNext = 0x22,
    kEnd = 0x23,
    kHome = 0x24,
    kLeft = 0x25,
    kUp = 0x26,
    kRight = 0x27,
    kDown = 0x28,
    kSnapshot = 0x2C,
    kInsert = 0x2D,
    kDelete = 0x2E,
    kHelp = 0x2F,
    kLeftWin = 0x5B,
    kRightWin = 0x5C,
    kApps = 0x5D,
    kSleep = 0x5F,
    kNumpad0 = 0x60,
    kMultiply = 0x6A,
    kAdd = 0x6B,
    kSeparator = 0x6C,
    kSubtract = 0x6D,
    kDecimal = 0x6E,
    kDivide = 0x6F,
    kF1 = 0x70,
    kF10 = 0x79,
    kF24 = 0x87,
    kNumLock = 0x90,
    kScroll = 0x91,
    kBrowserBack = 0xA6,
    kBrowserForward = 0xA7,
    kBrowserRefresh = 0xA8,
    kBrowserStop = 0xA9,
    kBrowserSearch = 0xAA,
    kBrowserFavorites = 0xAB,
    kBrowserHome = 0xAC,
    kVolumeMute = 0xAD,
    kVolumeDown = 0xAE,
    kVolumeUp = 0xAF,
    kMediaNextTrack = 0xB0,
    kMediaPrevTrack = 0xB1,
    kMediaStop = 0xB2,
    kMediaPlayPause = 0xB3,
    kLaunchMail = 0xB4,
    kOemSemicolon = 0xBA,
    kOemPlus = 0xBB,
    kOemComma = 0xBC,
    kOemMinus = 0xBD,
    kOemPeriod = 0xBE,
    kOemSlash = 0xBF,
    kOemBacktick = 0xC0,
    kOemOpenBracket = 0xDB,
    kOemBackslash = 0xDC,
    kOemCloseBracket = 0xDD,
    kOemQuote = 0xDE,
    kOem102 = 0xE2,
};

constexpr std::pair<int, int> kNamedKeys[] = {
    {FL_BackSpace, kBack},
    {FL_Tab, kTab},
    {FL_Enter, kReturn},
    {FL_KP_Enter, kReturn},
    {FL_Pause, kPause},
    {FL_Scroll_Lock, kScroll},
    {FL_Escape, kEscape},
    {FL_Home, kHome},
    {FL_Left, kLeft},
    {FL_Up, kUp},
    {FL_Right, kRight},
    {FL_Down, kDown},
    {FL_Page_Up, kPrior},
    {FL_Page_Down, kNext},
    {FL_End, kEnd},
    {FL_Print, kSnapshot},
    {FL_Insert, kInsert},
    {FL_Menu, kApps},
    {FL_Help, kHelp},
    {FL_Num_Lock, kNumLock},
    {FL_Shift_L, kShift},
    {FL_Shift_R, kShift},
    {FL_Control_L, kControl},
    {FL_Control_R, kControl},
    {FL_Caps_Lock, kCapital},
    {FL_Meta_L, kLeftWin},
    {FL_Meta_R, kRightWin},
    {FL_Alt_L, kMenu},
    {FL_Alt_R, kMenu},
    {FL_Delete, kDelete},
    {FL_Iso_Key, kOem102},
    {FL_KP + '*', kMultiply},
    {FL_KP + '+', kAdd},
    {FL_KP + ',', kSeparator},
    {FL_KP + '-', kSubtract},
    {FL_KP + '/', kDivide},
    {FL_Volume_Down, kVolumeDown},
    {FL_Volume_Mute, kVolumeMute},
    {FL_Volume_Up, kVolumeUp},
    {FL_Media_Play, kMediaPlayPause},
    {FL_Media_Stop, kMediaStop},
    {FL_Media_Prev, kMediaPrevTrack},
    {FL_Media_Next, kMediaNextTrack},
    {FL_Home_Page, kBrowserHome},
    {FL_Mail, kLaunchMail},
    {FL_Search, kBrowserSearch},
    {FL_Back, kBrowserBack},
    {FL_Forward, kBrowserForward},
    {FL_Stop, kBrowserStop},
    {FL_Refresh, kBrowserRefresh},
    {FL_Sleep, kSleep},
    {FL_Favorites, kBrowserFavorites},
    {' ', kSpace},
};

// The US layout's punctuation keys, which Windows names VK_OEM_*.
constexpr std::pair<int, int> kPunctuationKeys[] = {
    {';', kOemSemicolon},  {'=', kOemPlus},         {',', kOemComma},    {'-', kOemMinus},
    {'.', kOemPeriod},     {'/', kOemSlash},        {'`', kOemBacktick}, {'[', kOemOpenBracket},
    {'\\', kOemBackslash}, {']', kOemCloseBracket}, {'\'', kOemQuote},
};

// With Num Lock off, the keypad's digit keys are the navigation keys printed under them.
constexpr std::array<int, 10> kKeypadNavigation{kInsert, kEnd,   kDown, kNext, kLeft,
                                                kClear,  kRight, kHome, kUp,   kPrior};

}  // namespace

int VirtualKeyFromFltk(int fltkKey, bool numLock) {
    if (fltkKey >= 'a' && fltkKey <= 'z') return fltkKey - 'a' + 'A';
    if (fltkKey >= '0' && fltkKey <= '9') return fltkKey;
    if (fltkKey > FL_F && fltkKey <= FL_F + (kF24 - kF1 + 1)) return kF1 + (fltkKey - FL_F - 1);
    if (fltkKey >= FL_KP + '0' && fltkKey <= FL_KP + '9') {
        const int digit = fltkKey - FL_KP - '0';
        return numLock ? kNumpad0 + digit : kKeypadNavigation[digit];
    }
    if (fltkKey == FL_KP + '.') return numLock ? kDecimal : kDelete;
    for (const auto& [fltk, virtualKey] : kNamedKeys) {
        if (fltk == fltkKey) return virtualKey;
    }
    for (const auto& [character, virtualKey] : kPunctuationKeys) {
        if (character == fltkKey) return virtualKey;
    }
    return 0;
}

bool IsPlainKeyDown(int virtualKey, bool altHeld) {
    return !altHeld && virtualKey != kMenu && virtualKey != kF10;
}

}  // namespace platform::fltk
