// The dialog's texts: resistances in ohms (short and open for the load) and the pulse width.
#include <fast_float/fast_float.h>

#include <cctype>

#include "lab/load_text.h"
#include "pulse/model.h"

namespace pulse {

namespace {

constexpr char kNotASource[] =
    "is not a source resistance. Type a number of ohms from 0 to 10000 (0 is an ideal source).";
constexpr char kNotALoad[] = "is not a load. Type a number of ohms from 0 to 10000, short or open.";
constexpr char kNotAWidth[] =
    "is not a pulse width. Type a number of trips over 0 and up to 2, or leave it empty for a "
    "step.";

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) {
        text.remove_prefix(1);
    }
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) {
        text.remove_suffix(1);
    }
    return text;
}

bool SameWord(std::string_view text, std::string_view word) {
    if (text.size() != word.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) != word[i]) return false;
    }
    return true;
}

bool EndsWithWord(std::string_view text, std::string_view word) {
    return text.size() >= word.size() && SameWord(text.substr(text.size() - word.size()), word);
}

// The whole text a decimal number (fast_float: correctly rounded, whatever the locale); an
// "ohm" or "ohms" after it when `unit` is set.
std::optional<double> Number(std::string_view text, bool unit) {
    if (unit) {
        if (EndsWithWord(text, "ohms")) {
            text = Trimmed(text.substr(0, text.size() - 4));
        } else if (EndsWithWord(text, "ohm")) {
            text = Trimmed(text.substr(0, text.size() - 3));
        }
    }
    if (text.empty() || text.front() == '+') return std::nullopt;
    double value = 0;
    const auto [stop, error] =
        fast_float::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || stop != text.data() + text.size()) return std::nullopt;
    return value + 0.0;  // -0 would print as such
}

bool InRange(double ohms) { return ohms >= 0 && ohms <= kMostOhms; }

}  // namespace

std::variant<double, std::string> ParseSourceOhms(std::string_view text, double kept) {
    if (text.size() > kLongestText) return lab::RefusalMessage(text, kNotASource);
    const std::string_view trimmed = Trimmed(text);
    if (trimmed.empty()) return kept;
    const std::optional<double> ohms = Number(trimmed, true);
    if (!ohms || !InRange(*ohms)) return lab::RefusalMessage(text, kNotASource);
    return *ohms;
}

std::variant<Load, std::string> ParseLoad(std::string_view text, const Load& kept) {
    if (text.size() > kLongestText) return lab::RefusalMessage(text, kNotALoad);
    const std::string_view trimmed = Trimmed(text);
    if (trimmed.empty()) return kept;
    if (SameWord(trimmed, "short")) return Load{0, false};
    if (SameWord(trimmed, "open")) return Load{kLineOhms, true};
    const std::optional<double> ohms = Number(trimmed, true);
    if (!ohms || !InRange(*ohms)) return lab::RefusalMessage(text, kNotALoad);
    return Load{*ohms, false};
}

std::variant<std::optional<double>, std::string> ParseWidth(std::string_view text) {
    if (text.size() > kLongestText) return lab::RefusalMessage(text, kNotAWidth);
    const std::string_view trimmed = Trimmed(text);
    if (trimmed.empty()) return std::optional<double>();
    const std::optional<double> width = Number(trimmed, false);
    if (!width || !(*width > 0 && *width <= kLongestPulse))
        return lab::RefusalMessage(text, kNotAWidth);
    return width;
}

}  // namespace pulse
