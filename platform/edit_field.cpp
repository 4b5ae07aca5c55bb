#include "platform/edit_field.h"

#include <algorithm>

#include "win32/virtual_keys.h"

namespace platform {

namespace {

bool IsContinuationByte(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) == 0x80; }

std::size_t PreviousCharacter(const std::string& text, std::size_t at) {
    if (at == 0) return 0;
    do {
        --at;
    } while (at > 0 && IsContinuationByte(text[at]));
    return at;
}

std::size_t NextCharacter(const std::string& text, std::size_t at) {
    if (at >= text.size()) return text.size();
    do {
        ++at;
    } while (at < text.size() && IsContinuationByte(text[at]));
    return at;
}

}  // namespace

void TypeInto(EditField& field, std::string_view typed) {
    const std::size_t start = std::min(field.anchor, field.caret);
    const std::size_t end = std::max(field.anchor, field.caret);
    field.text.replace(start, end - start, typed);
    field.anchor = field.caret = start + typed.size();
}

bool IsEditingKey(int virtualKey) {
    switch (virtualKey) {
        case VK_BACK:
        case VK_DELETE:
        case VK_HOME:
        case VK_END:
        case VK_LEFT:
        case VK_RIGHT:
            return true;
        default:
            return false;
    }
}

void PressEditingKey(EditField& field, int virtualKey, bool shift) {
    const std::size_t start = std::min(field.anchor, field.caret);
    const std::size_t end = std::max(field.anchor, field.caret);
    const bool selected = start != end;
    std::size_t caret = field.caret;
    switch (virtualKey) {
        case VK_BACK:
        case VK_DELETE:
            if (!selected) {
                field.anchor = virtualKey == VK_BACK ? PreviousCharacter(field.text, caret)
                                                     : NextCharacter(field.text, caret);
            }
            TypeInto(field, "");
            return;
        case VK_HOME:
            caret = 0;
            break;
        case VK_END:
            caret = field.text.size();
            break;
        case VK_LEFT:
            caret = selected && !shift ? start : PreviousCharacter(field.text, caret);
            break;
        case VK_RIGHT:
            caret = selected && !shift ? end : NextCharacter(field.text, caret);
            break;
        default:
            return;
    }
    field.caret = caret;
    if (!shift) field.anchor = caret;
}

}  // namespace platform
