// The dialogs as the Windows resource compiler builds them from app/resources/velmora.rc: the
// bytes of the compiled load-value template must be exactly those of the dialog the program
// describes, and every template's those of the template that the other builds link in as data.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "app/resources/dialog_template.h"

namespace {

using Bytes = std::vector<unsigned char>;

// WS_CHILD | WS_VISIBLE is 0x50000000; the rest of each style is the control's own.
const DialogItemResource kLoadItems[] = {
    {0x50010001, 164, 7, 50, 14, 1, "BUTTON", "OK"},  // tab stop, default push button
    {0x50020000, 61, 42, 100, 8, -1, "STATIC", "Enter a value for the load"},  // group, left
    {0x50810080, 81, 77, 40, 14, 1000, "EDIT", ""},  // border, tab stop, automatic scroll
};
// WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT, nothing more.
const DialogResource kLoadDialog = {101, 0x80C800C0,      0,          0, 221, 134, "Load value",
                                    8,   "MS Sans Serif", kLoadItems, 3};

// A classic dialog template (DLGTEMPLATE with a font, then its DLGITEMTEMPLATEs) as the resource
// compiler writes it: little-endian words, UTF-16 strings, items aligned to double words,
// controls of the predefined classes by their atoms.
Bytes Encode(const DialogResource& dialog) {
    const std::map<std::string, int> atoms = {{"BUTTON", 0x80}, {"EDIT", 0x81}, {"STATIC", 0x82}};
    Bytes bytes;
    auto word = [&](int value) {
        bytes.push_back(static_cast<unsigned char>(value));
        bytes.push_back(static_cast<unsigned char>(value >> 8));
    };
    auto text = [&](const std::string& value) {
        for (unsigned char c : value + '\0') word(c);
    };
    // Style, extended style, item count, position and size, no menu, the standard class.
    for (int value : {int(dialog.style & 0xFFFF), int(dialog.style >> 16), 0, 0, dialog.itemCount,
                      int{dialog.x}, int{dialog.y}, int{dialog.cx}, int{dialog.cy}, 0, 0}) {
        word(value);
    }
    text(dialog.caption);
    word(dialog.pointSize);
    text(dialog.faceName);
    for (int i = 0; i < dialog.itemCount; ++i) {
        const DialogItemResource& item = dialog.items[i];
        bytes.resize((bytes.size() + 3) / 4 * 4);
        // Style, extended style, position and size, id, the class's atom, text, no creation data.
        for (int value :
             {int(item.style & 0xFFFF), int(item.style >> 16), 0, 0, int{item.x}, int{item.y},
              int{item.cx}, int{item.cy}, item.id, 0xFFFF, atoms.at(item.className)}) {
            word(value);
        }
        text(item.text);
        word(0);
    }
    return bytes;
}

// Sixteen bytes a line, so that a difference shows where it is.
std::string Hex(const Bytes& bytes) {
    std::string hex;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        char digits[4];
        std::snprintf(digits, sizeof digits, "%02x%c", bytes[i], i % 16 == 15 ? '\n' : ' ');
        hex += digits;
    }
    return hex;
}

// The .res file holds an empty first entry of 32 bytes, then each resource: a header (data size,
// header size, type and name, flags, language) and its data, padded to whole double words.
// The load dialog is the one the program describes; every dialog is the one the other builds
// link in as data, in the same order.
TEST(DialogResources, AreTheDialogsTheProgramDescribesAndLinksIn) {
    std::ifstream file(VELMORA_RES_FILE, std::ios::binary);
    const Bytes bytes{std::istreambuf_iterator<char>(file), {}};
    auto dword = [&](std::size_t at) {
        std::size_t value = 0;
        for (std::size_t i = at + 4; i > at; --i) value = value << 8 | bytes[i - 1];
        return value;
    };
    std::vector<Bytes> dialogs;
    for (std::size_t at = 32; at + 16 <= bytes.size();) {
        const std::size_t dataSize = dword(at), data = at + dword(at + 4);
        ASSERT_LE(data + dataSize, bytes.size());
        const int name = bytes[at + 14] | bytes[at + 15] << 8;
        EXPECT_EQ(Hex(Bytes(bytes.begin() + at + 8, bytes.begin() + at + 14)), "ff ff 05 00 ff ff ")
            << "the type RT_DIALOG (5), the name an ordinal";
        ASSERT_LT(dialogs.size(), dialogTemplates.size()) << "a resource the program lacks";
        EXPECT_EQ(name, dialogTemplates[dialogs.size()].id);
        dialogs.emplace_back(bytes.begin() + data, bytes.begin() + data + dataSize);
        at = data + (dataSize + 3) / 4 * 4;
    }
    ASSERT_EQ(dialogs.size(), dialogTemplates.size());
    EXPECT_EQ(Hex(dialogs[0]), Hex(Encode(kLoadDialog)));
    for (std::size_t i = 0; i < dialogs.size(); ++i) {
        EXPECT_EQ(Hex(Encode(dialogTemplates[i])), Hex(dialogs[i])) << dialogTemplates[i].id;
    }
}

// The label reads whole wherever the program runs: its text takes 119 pixels in Windows' own MS
// Sans Serif 8 and a few more in the fonts drawn in its place (Wine's, Microsoft Sans Serif on
// Windows 10 and later). A fifth more than Windows' own is its room; a unit is 6 / 4 pixels.
TEST(LoadDialogResource, TheLabelHasRoomForTheFontsDrawnInPlaceOfMsSansSerif) {
    const DialogItemResource& label = dialogTemplates[0].items[1];
    ASSERT_STREQ(label.text, "Enter a value for the load");
    EXPECT_GE(label.cx * 6 / 4, 119 * 6 / 5);
    EXPECT_LE(label.x + label.cx, dialogTemplates[0].cx) << "inside the dialog";
}

}  // namespace
