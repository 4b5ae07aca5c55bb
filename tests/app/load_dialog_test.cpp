// The load dialog on OK: the text read as atof reads it (cut to 159 characters), then clamped
// to [0.1, 10000]; cancel keeps the load.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <optional>
#include <string>

#include "app/resources/resource.h"
#include "app/velmora.h"
#include "platform/headless/headless_backend.h"

namespace {

struct Case {
    std::optional<std::string> typed;  // nullopt: cancelled
    double load;
};

std::string Zeros(int count) { return std::string(static_cast<std::size_t>(count), '0'); }

const Case kCases[] = {
    // Not a number, nothing, or too small: the least load.
    {"", 0.1},
    {"abc", 0.1},
    {"0", 0.1},
    {"-5", 0.1},
    {"1e-400", 0.1},
    {"-1e400", 0.1},
    {"0.09", 0.1},
    {".", 0.1},
    {"- 75", 0.1},
    {"inf", 0.1},
    {"nan", 0.1},
    {"0x4B", 0.1},
    {"1e-320", 0.1},
    // The same number however it is written.
    {"75", 75.0},
    {" 75", 75.0},
    {" \t\n\v\f\r75", 75.0},
    {"+75", 75.0},
    {"75ohms", 75.0},
    {"7.5e1", 75.0},
    {"7.5d1", 75.0},
    {"7.5D+1", 75.0},
    {"750e-1", 75.0},
    {".75E2", 75.0},
    {"75.", 75.0},
    {"75e", 75.0},
    {"75e+", 75.0},
    {"75d-x", 75.0},
    {"1,5", 1.0},  // never the user's locale
    {"0." + Zeros(150) + "1e151", 1.0},
    // Correctly rounded: 0.1 is the double 0x3FB999999999999A.
    {"0.1", 0.1},
    {"0.1000000000000000055511151231257827", 0.1},
    {"123.456", 123.456},
    {"9999.99999999999999999", 10000.0},
    // Too large: the greatest load.
    {"10000", 10000.0},
    {"10000.5", 10000.0},
    {"1e5", 10000.0},
    {"1e400", 10000.0},
    // Only the first 159 characters count.
    {Zeros(157) + "75", 75.0},
    {Zeros(158) + "75", 7.0},
    // Cancel keeps the load (50 at start).
    {std::nullopt, 50.0},
};

TEST(LoadDialog, ConvertsAndClampsTheTextOnOkAndKeepsTheLoadOnCancel) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.typed ? "\"" + *c.typed + "\"" : "cancelled");
        platform::HeadlessBackend backend;
        if (c.typed) {
            backend.answerDialog(*c.typed);
        } else {
            backend.cancelDialog();
        }
        platform::Session session(backend);
        loadOhms = 50.0;
        DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_LOAD), nullptr, LoadDlgProc,
                        0);
        EXPECT_EQ(std::bit_cast<std::uint64_t>(loadOhms), std::bit_cast<std::uint64_t>(c.load))
            << loadOhms;
    }
}

}  // namespace
