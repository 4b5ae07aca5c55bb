// The lab's load text, as its dialog reads it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <variant>

#include "lab/model.h"

namespace lab {

// The most characters the dialogs read from their edit field.
inline constexpr std::size_t kLongestLoadText = 159;

// The load text of the dialog: R, R+jX or R-jX (spaces allowed, i for j, an optional "ohms"),
// "short" or "open". A text that is not a load, or longer than kLongestLoadText, gets a message
// saying what to type.
std::variant<Load, std::string> ParseLoad(std::string_view text);

// The message refusing a text a dialog does not take: the text quoted (at most 40 characters of
// it), then what is wrong with it.
std::string RefusalMessage(std::string_view text, const char* wrong);

}  // namespace lab
