// The program's narrow text as Windows gives it to an ANSI function such as GetDlgItemTextA.
#include <algorithm>
#include <array>
#include <cstdint>

#include "platform/ansi_best_fit.h"
#include "platform/core.h"

namespace platform::core {

namespace {

constexpr char32_t kInvalid = 0xFFFD;

// The code point of the UTF-8 sequence at text[at], moving `at` past it; a malformed sequence
// gives kInvalid and moves past its first byte only.
char32_t NextCodePoint(std::string_view text, std::size_t& at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(at);
    int length = 0;
    char32_t code = 0;
    if (lead < 0x80) {
        ++at;
        return lead;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07;
    } else {
        ++at;
        return kInvalid;
    }
    if (at + length > text.size()) {
        ++at;
        return kInvalid;
    }
    for (int i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) {
            ++at;
            return kInvalid;
        }
        code = code << 6 | (byte(at + i) & 0x3F);
    }
    // Overlong forms, surrogates and code points beyond Unicode are not characters.
    constexpr std::array<char32_t, 5> kLeast = {0, 0, 0x80, 0x800, 0x10000};
    if (code < kLeast[length] || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) {
        ++at;
        return kInvalid;
    }
    at += length;
    return code;
}

char AnsiCharacter(char32_t code) {
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) return static_cast<char>(code);
    const auto found =
        std::lower_bound(kBestFit1252.begin(), kBestFit1252.end(), code,
                         [](const BestFit& fit, char32_t wanted) { return fit.code < wanted; });
    return found != kBestFit1252.end() && found->code == code ? static_cast<char>(found->ansi)
                                                              : '?';
}

// Code page 1252's bytes 0x80 to 0x9F; 0 where the byte is its own C1 code point.
constexpr std::array<char16_t, 32> kHighBytes = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void AppendUtf8(std::string& text, char32_t code) {
    const auto byte = [&](char32_t value) { text.push_back(static_cast<char>(value)); };
    if (code < 0x80) {
        byte(code);
    } else if (code < 0x800) {
        byte(0xC0 | code >> 6);
        byte(0x80 | (code & 0x3F));
    } else {
        byte(0xE0 | code >> 12);
        byte(0x80 | (code >> 6 & 0x3F));
        byte(0x80 | (code & 0x3F));
    }
}

}  // namespace

std::string Utf8Text(std::string_view ansi) {
    std::string utf8;
    utf8.reserve(ansi.size());
    for (const char c : ansi) {
        const auto byte = static_cast<unsigned char>(c);
        const char16_t high = byte >= 0x80 && byte <= 0x9F ? kHighBytes[byte - 0x80] : 0;
        AppendUtf8(utf8, high != 0 ? high : byte);
    }
    return utf8;
}

std::string AnsiText(std::string_view utf8) {
    std::string ansi;
    for (std::size_t at = 0; at < utf8.size();) ansi += AnsiCharacter(NextCodePoint(utf8, at));
    return ansi;
}

}  // namespace platform::core
