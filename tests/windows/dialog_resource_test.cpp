// The load-value dialog as the Windows resource compiler builds it from app/resources/velmora.rc:
// the bytes of the compiled template, decoded, must be exactly the dialog the program describes,
// and the same as the template that the other builds link in as data.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <ostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/win32.h"

namespace {

constexpr std::uint16_t kDialogType = 5;  // RT_DIALOG
constexpr std::uint16_t kLoadDialogId = 101;
constexpr std::uint16_t kButtonClass = 0x0080;
constexpr std::uint16_t kEditClass = 0x0081;
constexpr std::uint16_t kStaticClass = 0x0082;

// A resource name or a control class: a 16-bit ordinal or a string.
struct NameOrOrdinal {
    int ordinal = -1;  // -1 when it is a string (or absent: empty string)
    std::string text;
    bool operator==(const NameOrOrdinal&) const = default;
};

NameOrOrdinal Ordinal(int ordinal) { return {ordinal, ""}; }
NameOrOrdinal Text(std::string text) { return {-1, std::move(text)}; }

class ByteReader {
  public:
    explicit ByteReader(const std::vector<unsigned char>& bytes, std::size_t begin = 0)
        : bytes_(bytes), pos_(begin), end_(bytes.size()) {
        if (pos_ > end_) throw std::runtime_error("resource data truncated");
    }

    std::uint16_t word() {
        need(2);
        std::uint16_t value = bytes_[pos_] | bytes_[pos_ + 1] << 8;
        pos_ += 2;
        return value;
    }
    std::int16_t signedWord() { return static_cast<std::int16_t>(word()); }
    std::uint32_t dword() {
        std::uint32_t low = word();
        return low | static_cast<std::uint32_t>(word()) << 16;
    }

    // A zero-terminated UTF-16 string; the dialog's texts are plain ASCII.
    std::string string() {
        std::string text;
        for (std::uint16_t unit = word(); unit != 0; unit = word()) {
            if (unit > 0x7f) throw std::runtime_error("non-ASCII character in a resource string");
            text += static_cast<char>(unit);
        }
        return text;
    }

    NameOrOrdinal nameOrOrdinal() {
        need(2);
        if (bytes_[pos_] == 0xff && bytes_[pos_ + 1] == 0xff) {
            word();
            return Ordinal(word());
        }
        return Text(string());
    }

    void alignToDword() {
        pos_ = (pos_ + 3) / 4 * 4;
        if (pos_ > end_) throw std::runtime_error("resource data truncated");
    }
    void skip(std::size_t count) {
        need(count);
        pos_ += count;
    }

  private:
    void need(std::size_t count) const {
        if (end_ - pos_ < count) throw std::runtime_error("resource data truncated");
    }

    const std::vector<unsigned char>& bytes_;
    std::size_t pos_;
    std::size_t end_;
};

struct Resource {
    NameOrOrdinal type;
    NameOrOrdinal name;
    std::vector<unsigned char> data;
};

// Reads a .res file: after an empty first entry, each resource is a header (sizes, type, name,
// flags, language) and its data, both padded to whole double words.
std::vector<Resource> ReadResourceFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) throw std::runtime_error("cannot open " + path);
    const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(file), {}};
    std::vector<Resource> resources;
    for (std::size_t entry = 0; entry < bytes.size();) {
        ByteReader header(bytes, entry);
        const std::uint32_t dataSize = header.dword();
        const std::uint32_t headerSize = header.dword();
        Resource resource{header.nameOrOrdinal(), header.nameOrOrdinal(), {}};
        ByteReader data(bytes, entry + headerSize);
        data.skip(dataSize);
        if (dataSize > 0) {
            const auto begin = bytes.begin() + static_cast<std::ptrdiff_t>(entry + headerSize);
            resource.data.assign(begin, begin + dataSize);
            resources.push_back(std::move(resource));
        }
        entry += headerSize + (dataSize + 3) / 4 * 4;
    }
    return resources;
}

struct Rect {
    int x, y, cx, cy;
    bool operator==(const Rect&) const = default;
};

void PrintTo(const Rect& rect, std::ostream* out) {
    *out << rect.x << ", " << rect.y << ", " << rect.cx << " x " << rect.cy;
}

void PrintTo(const NameOrOrdinal& name, std::ostream* out) {
    if (name.ordinal >= 0) {
        *out << "#" << name.ordinal;
    } else {
        *out << '"' << name.text << '"';
    }
}

std::string Hex(std::uint32_t value) {
    std::ostringstream text;
    text << "0x" << std::hex << std::uppercase << value;
    return text.str();
}

struct DialogItem {
    std::uint32_t style;
    std::uint32_t exStyle;
    Rect rect;
    int id;
    NameOrOrdinal windowClass;
    NameOrOrdinal text;
    std::uint16_t creationDataSize;
};

struct DialogTemplate {
    bool extended;
    std::uint32_t style;
    std::uint32_t exStyle;
    Rect rect;
    NameOrOrdinal menu;
    NameOrOrdinal windowClass;
    std::string caption;
    int pointSize;
    std::string faceName;
    std::vector<DialogItem> items;
};

constexpr std::uint32_t kDsSetFont = 0x40;

Rect ReadRect(ByteReader& reader) {
    Rect rect;
    rect.x = reader.signedWord();
    rect.y = reader.signedWord();
    rect.cx = reader.signedWord();
    rect.cy = reader.signedWord();
    return rect;
}

// Decodes a classic dialog template (DLGTEMPLATE and its DLGITEMTEMPLATEs).
DialogTemplate DecodeDialog(const std::vector<unsigned char>& data) {
    ByteReader reader(data);
    DialogTemplate dialog{};
    dialog.style = reader.dword();
    dialog.extended = dialog.style == 0xFFFF0001;  // DLGTEMPLATEEX starts with version 1, 0xFFFF
    if (dialog.extended) return dialog;
    dialog.exStyle = reader.dword();
    const int itemCount = reader.word();
    dialog.rect = ReadRect(reader);
    dialog.menu = reader.nameOrOrdinal();
    dialog.windowClass = reader.nameOrOrdinal();
    dialog.caption = reader.string();
    if (dialog.style & kDsSetFont) {
        dialog.pointSize = reader.word();
        dialog.faceName = reader.string();
    }
    for (int i = 0; i < itemCount; ++i) {
        reader.alignToDword();
        DialogItem item{};
        item.style = reader.dword();
        item.exStyle = reader.dword();
        item.rect = ReadRect(reader);
        item.id = reader.signedWord();
        item.windowClass = reader.nameOrOrdinal();
        item.text = reader.nameOrOrdinal();
        item.creationDataSize = reader.word();
        reader.skip(item.creationDataSize);
        dialog.items.push_back(item);
    }
    return dialog;
}

class LoadDialogResource : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        resources_ = ReadResourceFile(VELMORA_RES_FILE);
        for (const Resource& resource : resources_) {
            if (resource.type == Ordinal(kDialogType) && resource.name == Ordinal(kLoadDialogId)) {
                dialog_ = DecodeDialog(resource.data);
                found_ = true;
            }
        }
    }
    void SetUp() override { ASSERT_TRUE(found_) << "no dialog 101 in " << VELMORA_RES_FILE; }

    static inline std::vector<Resource> resources_;
    static inline DialogTemplate dialog_;
    static inline bool found_ = false;
};

TEST_F(LoadDialogResource, IsTheOnlyResource) {
    ASSERT_EQ(resources_.size(), 1u);
    EXPECT_EQ(resources_[0].type, Ordinal(kDialogType));
    EXPECT_EQ(resources_[0].name, Ordinal(kLoadDialogId));
}

TEST_F(LoadDialogResource, HeaderIsTheClassicPopupWithCaptionAndFont) {
    EXPECT_FALSE(dialog_.extended);
    // WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT, nothing more.
    EXPECT_EQ(Hex(dialog_.style), "0x80C800C0");
    EXPECT_EQ(dialog_.exStyle, 0u);
    EXPECT_EQ(dialog_.rect, (Rect{0, 0, 221, 134}));
    EXPECT_EQ(dialog_.menu, Text(""));
    EXPECT_EQ(dialog_.windowClass, Text(""));
    EXPECT_EQ(dialog_.caption, "Load value");
    EXPECT_EQ(dialog_.pointSize, 8);
    EXPECT_EQ(dialog_.faceName, "MS Sans Serif");
}

struct ExpectedItem {
    const char* what;
    int id;
    Rect rect;
    std::uint32_t style;
    std::uint16_t windowClass;
    const char* text;
};

// WS_CHILD | WS_VISIBLE is 0x50000000; the rest is each control's own.
const ExpectedItem kExpectedItems[] = {
    {"OK button: tab stop, default push button",
     1,
     {164, 7, 50, 14},
     0x50010001,
     kButtonClass,
     "OK"},
    {"label: group, left-aligned",
     -1,
     {61, 42, 80, 8},
     0x50020000,
     kStaticClass,
     "Enter a value for the load"},
    {"edit field: border, tab stop, automatic horizontal scroll",
     1000,
     {81, 77, 40, 14},
     0x50810080,
     kEditClass,
     ""},
};

TEST_F(LoadDialogResource, ControlsAreExactlyTheThreeInOrder) {
    ASSERT_EQ(dialog_.items.size(), std::size(kExpectedItems));
    for (std::size_t i = 0; i < std::size(kExpectedItems); ++i) {
        const ExpectedItem& expected = kExpectedItems[i];
        const DialogItem& item = dialog_.items[i];
        SCOPED_TRACE(expected.what);
        EXPECT_EQ(item.id, expected.id);
        EXPECT_EQ(item.rect, expected.rect);
        EXPECT_EQ(Hex(item.style), Hex(expected.style));
        EXPECT_EQ(item.exStyle, 0u);
        EXPECT_EQ(item.windowClass, Ordinal(expected.windowClass));
        EXPECT_EQ(item.text, Text(expected.text));
        EXPECT_EQ(item.creationDataSize, 0);
    }
}

// Windows' predefined control classes by their atoms.
std::uint16_t ClassAtom(const std::string& className) {
    if (className == "BUTTON") return kButtonClass;
    if (className == "EDIT") return kEditClass;
    if (className == "STATIC") return kStaticClass;
    return 0;
}

TEST_F(LoadDialogResource, IsTheTemplateTheOtherBuildsLinkIn) {
    const DialogResource* linked = FindDialogResource(kLoadDialogId);
    ASSERT_NE(linked, nullptr);
    EXPECT_EQ(Hex(linked->style), Hex(dialog_.style));
    EXPECT_EQ((Rect{linked->x, linked->y, linked->cx, linked->cy}), dialog_.rect);
    EXPECT_EQ(linked->caption, dialog_.caption);
    EXPECT_EQ(linked->pointSize, dialog_.pointSize);
    EXPECT_EQ(linked->faceName, dialog_.faceName);
    ASSERT_EQ(static_cast<std::size_t>(linked->itemCount), dialog_.items.size());
    for (std::size_t i = 0; i < dialog_.items.size(); ++i) {
        const DialogItemResource& item = linked->items[i];
        SCOPED_TRACE(item.text);
        EXPECT_EQ(Hex(item.style), Hex(dialog_.items[i].style));
        EXPECT_EQ((Rect{item.x, item.y, item.cx, item.cy}), dialog_.items[i].rect);
        EXPECT_EQ(item.id, dialog_.items[i].id);
        EXPECT_EQ(Ordinal(ClassAtom(item.className)), dialog_.items[i].windowClass);
        EXPECT_EQ(Text(item.text), dialog_.items[i].text);
    }
}

}  // namespace
