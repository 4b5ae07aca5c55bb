// libFuzzer target: the load dialog's conversion against an independent reading of the same text,
// the C library's strtod, which must agree bit for bit.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/velmora.h"

namespace {

// strtod given only what the dialog reads as a number (no hexadecimal, infinity or nan), with the
// exponent letter d spelled e.
double Reference(std::string text) {
    text.resize(std::min(text.size(), text.find_first_not_of(" \t\n\v\f\r+-.0123456789eEdD")));
    for (char& c : text) {
        if (c == 'd' || c == 'D') c = 'e';
    }
    return std::strtod(text.c_str(), nullptr);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The dialog hands over a C string.
    std::string text(reinterpret_cast<const char*>(data), size);
    text.resize(std::strlen(text.c_str()));
    const double converted = ParseLoadText(text.c_str());
    const double expected = Reference(text);
    if (std::memcmp(&converted, &expected, sizeof converted) != 0) {
        std::fprintf(stderr, "\"%s\" converts to %.17g, strtod reads %.17g\n", text.c_str(),
                     converted, expected);
        std::abort();
    }
    return 0;
}
