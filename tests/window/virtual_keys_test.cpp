#include "platform/fltk/virtual_keys.h"

#include <FL/Enumerations.H>
#include <gtest/gtest.h>

namespace {

using platform::fltk::IsPlainKeyDown;
using platform::fltk::VirtualKeyFromFltk;

struct KeyCase {
    int fltkKey;
    bool numLock;
    int virtualKey;
};

TEST(VirtualKeys, KeysMapAsWindowsNumbersThem) {
    const KeyCase cases[] = {
        {FL_Enter, false, 0x0D},     {FL_KP_Enter, true, 0x0D},   {FL_F + 1, false, 0x70},
        {FL_F + 12, false, 0x7B},    {FL_F + 24, false, 0x87},    {FL_Escape, false, 0x1B},
        {FL_BackSpace, false, 0x08}, {FL_Tab, false, 0x09},       {' ', false, 0x20},
        {'a', false, 'A'},           {'z', false, 'Z'},           {'0', false, '0'},
        {'9', false, '9'},           {FL_Left, false, 0x25},      {FL_Up, false, 0x26},
        {FL_Right, false, 0x27},     {FL_Down, false, 0x28},      {FL_Page_Up, false, 0x21},
        {FL_Page_Down, false, 0x22}, {FL_Home, false, 0x24},      {FL_End, false, 0x23},
        {FL_Insert, false, 0x2D},    {FL_Delete, false, 0x2E},    {FL_Shift_L, false, 0x10},
        {FL_Shift_R, false, 0x10},   {FL_Control_R, false, 0x11}, {FL_Alt_L, false, 0x12},
        {FL_Meta_L, false, 0x5B},    {FL_Caps_Lock, false, 0x14}, {FL_Pause, false, 0x13},
        {FL_Print, false, 0x2C},     {FL_Num_Lock, false, 0x90},  {';', false, 0xBA},
        {'=', false, 0xBB},          {'/', false, 0xBF},          {'\'', false, 0xDE},
        {FL_KP + '0', true, 0x60},   {FL_KP + '9', true, 0x69},   {FL_KP + '7', false, 0x24},
        {FL_KP + '5', false, 0x0C},  {FL_KP + '.', true, 0x6E},   {FL_KP + '.', false, 0x2E},
        {FL_KP + '*', false, 0x6A},  {FL_KP + '/', true, 0x6F},   {FL_Volume_Up, false, 0xAF},
    };
    for (const KeyCase& c : cases) {
        EXPECT_EQ(VirtualKeyFromFltk(c.fltkKey, c.numLock), c.virtualKey)
            << "FLTK key 0x" << std::hex << c.fltkKey << (c.numLock ? " with" : " without")
            << " Num Lock";
    }
}

TEST(VirtualKeys, KeysWithoutAWindowsCodeGiveZero) {
    const int keys[] = {0, 'A', 0xE9 /* e acute */, FL_F + 25, FL_Button + 1, FL_KP + '='};
    for (const int key : keys) {
        EXPECT_EQ(VirtualKeyFromFltk(key, true), 0) << "FLTK key 0x" << std::hex << key;
    }
}

TEST(VirtualKeys, AltAndF10AreSystemKeysNotKeyDown) {
    struct Case {
        int virtualKey;
        bool altHeld;
        bool plain;
    };
    const Case cases[] = {
        {0x0D, false, true}, {0x70, false, true}, {'A', false, true},   {0x10, false, true},
        {0x0D, true, false}, {0x70, true, false}, {0x12, false, false}, {0x79, false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsPlainKeyDown(c.virtualKey, c.altHeld), c.plain)
            << "key 0x" << std::hex << c.virtualKey << (c.altHeld ? " with Alt" : "");
    }
}

}  // namespace
