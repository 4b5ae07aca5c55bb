// The load-value dialog: the text typed, converted and clamped to the loads the picture can show.
#include <fast_float/fast_float.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "app/resources/resource.h"
#include "app/velmora.h"

namespace {

constexpr double kLeastLoad = 0.1;
constexpr double kGreatestLoad = 10000.0;
constexpr int kTextSize = 160;  // characters read from the edit field, with the terminator

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Appends the digits at text and returns where they end.
const char* TakeDigits(const char* text, std::string& digits) {
    while (IsDigit(*text)) digits += *text++;
    return text;
}

}  // namespace

// The accepted prefix is scanned here and converted with fast_float, which rounds correctly,
// ignores the user's locale and behaves the same with every compiler's C++ library.
double ParseLoadText(const char* text) {
    while (*text != '\0' && std::strchr(" \t\n\v\f\r", *text) != nullptr) ++text;
    const bool negative = *text == '-';
    if (*text == '+' || *text == '-') ++text;

    std::string whole;
    std::string fraction;
    text = TakeDigits(text, whole);
    if (*text == '.') text = TakeDigits(text + 1, fraction);
    if (whole.empty() && fraction.empty()) return 0.0;

    // An exponent counts only with at least one digit; a huge one is capped, which changes no
    // result: the mantissa's digits can move the value only so many decades.
    long long exponent = 0;
    if (*text != '\0' && std::strchr("eEdD", *text) != nullptr) {
        const char* after = text + 1;
        const bool negativeExponent = *after == '-';
        if (*after == '+' || *after == '-') ++after;
        if (IsDigit(*after)) {
            for (; IsDigit(*after); ++after) {
                exponent = std::min(exponent * 10 + (*after - '0'), 1000000000LL);
            }
            if (negativeExponent) exponent = -exponent;
        }
    }

    const std::string number = (whole.empty() ? "0" : whole) +
                               (fraction.empty() ? "" : "." + fraction) + "e" +
                               std::to_string(exponent);
    // Beyond the doubles, the result is infinity or zero, whichever side the number lies on.
    double value = 0.0;
    fast_float::from_chars(number.data(), number.data() + number.size(), value);
    return negative ? -value : value;
}

INT_PTR CALLBACK LoadDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM /*lParam*/) {
    switch (message) {
        case WM_INITDIALOG:
            // Returning 0 keeps this focus.
            SetFocus(GetDlgItem(dialog, ID_LOAD_EDIT));
            return 0;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDOK) {
                char text[kTextSize];
                GetDlgItemTextA(dialog, ID_LOAD_EDIT, text, kTextSize);
                loadOhms = ParseLoadText(text);
                if (!(loadOhms >= kLeastLoad)) loadOhms = kLeastLoad;
                if (loadOhms > kGreatestLoad) loadOhms = kGreatestLoad;
                EndDialog(dialog, 1);
            } else if (LOWORD(wParam) == IDCANCEL) {
                EndDialog(dialog, 0);
            }
            return 0;
        default:
            return 0;
    }
}
