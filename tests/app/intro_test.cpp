// The two introductory texts: the key help exactly, the explanation's size and layout.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "app/velmora.h"

namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        lines.push_back(text.substr(start, end - start));
    }
    lines.push_back(text.substr(start));
    return lines;
}

TEST(Intro, TheKeyHelpIsExactlyTheProgramsText) {
    EXPECT_EQ(std::string(introKeyHelp),
              "Press 'ENTER' to activate a dialog box and enter a\n  value, decimal or integer, "
              "for the load on the line.\n\nPress 'ENTER' to start/pause/resume the "
              "animation.\n\nPress 'F1' to reset the program and reactivate the\n  dialog "
              "box.\n\nQuit the program as you would any windows program.");
    EXPECT_EQ(std::string(introKeyHelp).size(), 275u);
}

TEST(Intro, TheExplanationHasItsSizeAndLayout) {
    const std::string text = introExplanation;
    EXPECT_EQ(text.size(), 2214u);
    EXPECT_EQ(text.rfind("This program illustrates the effect of varying the value of load "
                         "resistance\nat the end of a 50-ohm transmission line.",
                         0),
              0u);
    EXPECT_EQ(text.find('\r'), std::string::npos);
    EXPECT_NE(text.back(), '\n');

    const std::vector<std::string> lines = Lines(text);
    EXPECT_EQ(lines.size(), 32u);
    std::vector<int> paragraphs{0};
    for (const std::string& line : lines) {
        EXPECT_LE(line.size(), 88u) << line;
        if (line.empty()) {
            paragraphs.push_back(0);
        } else {
            ++paragraphs.back();
        }
    }
    EXPECT_EQ(paragraphs, (std::vector<int>{9, 7, 4, 9}));
}

}  // namespace
