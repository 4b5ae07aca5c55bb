// An edit field's text and selection, and what typing and the editing keys do to them, decided
// once as a Windows edit field does it. Backends whose fields are not the toolkit's own, or that
// apply keys typed ahead to a toolkit's field, keep the field with it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// The selection runs from the anchor to the caret (nothing is selected when they are equal);
// both are byte offsets into the UTF-8 text, at the start of a character.
struct EditField {
    std::string text;
    std::size_t anchor = 0;
    std::size_t caret = 0;

    bool operator==(const EditField&) const = default;
};

// Replaces the selection with the typed text and puts the caret after it.
void TypeInto(EditField& field, std::string_view typed);

// BackSpace, Delete, Home, End, Left and Right.
bool IsEditingKey(int virtualKey);

// BackSpace and Delete delete the selection, or else the character before or after the caret.
// Home, End, Left and Right move the caret by a character or to an end; with Shift the anchor
// stays, extending the selection, and without it Left and Right first collapse a selection to
// its start or its end. Other keys change nothing.
void PressEditingKey(EditField& field, int virtualKey, bool shift);

}  // namespace platform
