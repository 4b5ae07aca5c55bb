// The pulse mode's layout: at the least client it is made for and above, no text of the picture
// overlaps another, and none of the mode's own texts lies where the line's voltage can be drawn
// (up to 2 V, 100 pixels, either side of the line).
#include "pulse/picture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "circuit/line.h"
#include "surface/device_context.h"
#include "surface/recorder.h"
#include "surface/text.h"

namespace {

struct Cell {
    int left, top, right, bottom;  // right and bottom excluded
    std::string text;
};

// The cells of every TextOutA of the whole picture at the end of the run.
std::vector<Cell> TextCells(const pulse::Setup& setup, int width, int height) {
    std::ostringstream trace;
    {
        surface::Recorder recorder(trace);
        pulse::Run run = pulse::MakeRun(setup);
        HDC dc = surface::CreateCanvasDC(nullptr);
        pulse::DrawPulseStill(dc, width, height, run, pulse::kRunClock);
        surface::ReleaseCanvasDC(dc);
    }
    std::vector<Cell> cells;
    bool right = false;
    std::istringstream lines(trace.str());
    for (std::string line; std::getline(lines, line);) {
        int x = 0, y = 0, align = 0;
        if (std::sscanf(line.c_str(), "SetTextAlign %d", &align) == 1) right = align == TA_RIGHT;
        char quoted[128] = "";
        if (std::sscanf(line.c_str(), "TextOutA %d %d \"%127[^\"]", &x, &y, quoted) != 3) continue;
        const std::string text = quoted;
        const int wide = surface::TextWidth(text.c_str(), static_cast<int>(text.size()));
        const int left = right ? x - wide : x;
        cells.push_back({left, y, left + wide, y + surface::kFontHeight, text});
    }
    return cells;
}

bool Overlap(const Cell& a, const Cell& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// Whether the cell reaches within 2 V (100 pixels) above or below the line.
bool NearTheLine(const Cell& cell, const circuit::LineEnds& line) {
    const int from = std::max(cell.left, line.x0), to = std::min(cell.right, line.x1);
    if (from >= to) return false;
    auto lineY = [&](int x) {
        return line.y0 +
               static_cast<double>(line.y1 - line.y0) * (x - line.x0) / (line.x1 - line.x0);
    };
    // The line rises to the right: its highest point over the cell is at `to`, its lowest at
    // `from`.
    return cell.top < lineY(from) + 100 && cell.bottom > lineY(to) - 100;
}

TEST(PulseLayout, TextsStayApartAndClearOfTheLinesVoltage) {
    const pulse::Setup kSetups[] = {
        {25, {100}, {}}, {0, {50, true}, 0.5}, {0, {0}, {}}, {10000, {0}, 2.0}, {0, {10000}, {}},
    };
    const std::pair<int, int> kSizes[] = {
        {pulse::kLeastWidth, pulse::kLeastHeight}, {992, 666}, {1920, 1080}};
    for (const auto& [width, height] : kSizes) {
        for (const pulse::Setup& setup : kSetups) {
            SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height) + ", Rs " +
                         std::to_string(setup.sourceOhms));
            const std::vector<Cell> cells = TextCells(setup, width, height);
            ASSERT_GT(cells.size(), 20u);
            for (std::size_t i = 0; i < cells.size(); ++i) {
                for (std::size_t j = i + 1; j < cells.size(); ++j) {
                    EXPECT_FALSE(Overlap(cells[i], cells[j]))
                        << cells[i].text << " at " << cells[i].left << "," << cells[i].top
                        << " and " << cells[j].text << " at " << cells[j].left << ","
                        << cells[j].top;
                }
            }
            // The circuit's captions beside the line are its own; the voltage crosses them.
            const circuit::LineEnds line = circuit::LineOnScreen(width, height);
            for (const Cell& cell : cells) {
                const bool circuits =
                    cell.text == "50-ohm transmission line" ||
                    (cell.left == width / 10 + 35 && cell.top == (3 * height) / 4 - 40);
                if (!circuits) {
                    EXPECT_FALSE(NearTheLine(cell, line))
                        << cell.text << " at " << cell.left << "," << cell.top;
                }
            }
        }
    }
}

}  // namespace
