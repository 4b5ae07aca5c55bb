// The lab's load text: R, R+jX or R-jX, short or open.
#include "lab/load_text.h"

#include <fast_float/fast_float.h>

#include <cctype>
#include <cmath>

namespace lab {

namespace {

constexpr char kTypeALoad[] =
    "Type a load: R, R+jX or R-jX in ohms (for example 75+j50), short or open.";
constexpr char kNotALoad[] =
    "is not a load. Type R, R+jX or R-jX in ohms (for example 75+j50), short or open.";
constexpr char kTooLong[] = "is too long: the dialog takes at most 159 characters.";
// "is out of range: R must lie from 0 to 10000 ohms, and X from -10000 to 10000 ohms."
std::string OutOfRange() {
    const std::string most = std::to_string(static_cast<int>(kMostOhms));
    return "is out of range: R must lie from 0 to " + most + " ohms, and X from -" + most + " to " +
           most + " ohms.";
}

// Reads the text from its front, one piece at a time.
class Reader {
  public:
    explicit Reader(std::string_view text) : rest_(text) {}

    void skipSpaces() {
        while (!rest_.empty() && std::isspace(static_cast<unsigned char>(rest_.front()))) {
            rest_.remove_prefix(1);
        }
    }
    bool done() const { return rest_.empty(); }
    // Takes the word if the text goes on with it, whatever its case.
    bool take(std::string_view word) {
        if (rest_.size() < word.size()) return false;
        for (std::size_t i = 0; i < word.size(); ++i) {
            if (std::tolower(static_cast<unsigned char>(rest_[i])) != word[i]) return false;
        }
        rest_.remove_prefix(word.size());
        return true;
    }
    // A decimal number with an optional sign, fraction and exponent; none if the text does not
    // go on with one. Converted by fast_float, which rounds correctly and ignores the locale.
    std::optional<double> number() {
        std::size_t end = rest_.empty() || rest_[0] != '-' ? 0 : 1;
        const std::size_t digitsFrom = end;
        while (end < rest_.size() &&
               (std::isdigit(static_cast<unsigned char>(rest_[end])) || rest_[end] == '.')) {
            ++end;
        }
        if (end == digitsFrom) return std::nullopt;
        if (end < rest_.size() && (rest_[end] == 'e' || rest_[end] == 'E')) {
            std::size_t after = end + 1;
            if (after < rest_.size() && (rest_[after] == '+' || rest_[after] == '-')) ++after;
            if (after < rest_.size() && std::isdigit(static_cast<unsigned char>(rest_[after]))) {
                end = after;
                while (end < rest_.size() && std::isdigit(static_cast<unsigned char>(rest_[end]))) {
                    ++end;
                }
            }
        }
        double value = 0;
        const auto [stop, error] = fast_float::from_chars(rest_.data(), rest_.data() + end, value);
        if (error != std::errc() || stop != rest_.data() + end) return std::nullopt;
        rest_.remove_prefix(end);
        return value;
    }

  private:
    std::string_view rest_;
};

// Ends the text: an optional "ohm" or "ohms", then nothing but spaces.
bool AtEnd(Reader& reader) {
    reader.skipSpaces();
    if (reader.take("ohms") || reader.take("ohm")) reader.skipSpaces();
    return reader.done();
}

}  // namespace

// Built by appending: GCC 12 warns falsely (-Wrestrict) about joined temporaries here.
std::string RefusalMessage(std::string_view text, const char* wrong) {
    constexpr std::size_t kLongest = 40;
    std::string message = "\"";
    message.append(text.substr(0, kLongest));
    if (text.size() > kLongest) message.append("...");
    message.append("\" ");
    message.append(wrong);
    return message;
}

std::variant<Load, std::string> ParseLoad(std::string_view text) {
    static_assert(kLongestLoadText == 159, "kTooLong names it");
    if (text.size() > kLongestLoadText) return RefusalMessage(text, kTooLong);
    Reader reader(text);
    reader.skipSpaces();
    if (reader.done()) return std::string(kTypeALoad);
    const std::string notALoad = RefusalMessage(text, kNotALoad);

    if (reader.take("short")) {
        if (AtEnd(reader)) return Load{0.0};
        return notALoad;
    }
    if (reader.take("open")) {
        if (AtEnd(reader)) return Load{0.0, true};
        return notALoad;
    }

    const std::optional<double> r = reader.number();
    if (!r) return notALoad;
    double x = 0;
    reader.skipSpaces();
    const bool plus = reader.take("+");
    if (plus || reader.take("-")) {
        reader.skipSpaces();
        if (!reader.take("j") && !reader.take("i")) return notALoad;
        reader.skipSpaces();
        const std::optional<double> reactance = reader.number();
        if (!reactance || *reactance < 0) return notALoad;
        x = plus ? *reactance : -*reactance;
    }
    if (!AtEnd(reader)) return notALoad;
    if (!(*r >= 0 && *r <= kMostOhms && std::abs(x) <= kMostOhms)) {
        return RefusalMessage(text, OutOfRange().c_str());
    }
    // -0 would print as such.
    return Load{{*r + 0.0, x + 0.0}};
}

}  // namespace lab
