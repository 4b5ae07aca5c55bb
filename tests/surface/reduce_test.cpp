// A canvas reduced to fit a screen smaller than it: its whole picture, its shape kept, each shown
// pixel the average of those it covers.
#include "surface/reduce.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(ReducedSize, KeepsTheShapeWithinTheAreaAndTheCanvasWhereItFits) {
    const struct {
        int canvasWidth, canvasHeight, width, height;
        int shownWidth, shownHeight;
    } kCases[] = {
        {800, 400, 1000, 700, 800, 400},  // it fits: its own size, never enlarged
        {800, 400, 400, 203, 400, 200},   // the width decides
        {800, 400, 700, 100, 200, 100},   // the height decides
        {832, 460, 820, 452, 817, 452},  {800, 400, 1, 1, 1, 1},  // never a side of 0
    };
    for (const auto& c : kCases) {
        const surface::Canvas canvas(c.canvasWidth, c.canvasHeight);
        const surface::PixelRect size = surface::ReducedSize(canvas, c.width, c.height);
        EXPECT_EQ(size.right, c.shownWidth) << c.width << "x" << c.height;
        EXPECT_EQ(size.bottom, c.shownHeight) << c.width << "x" << c.height;
    }
}

// A black line one pixel wide, across or down a white canvas, fades to the average of what each
// shown pixel covers rather than vanishing; the colours are averaged one by one.
TEST(Reduce, AveragesTheCoveredPixelsSoThinLinesFadeAndColoursStayApart) {
    surface::Canvas canvas(4, 4);
    canvas.fill({0, 1, 4, 2}, RGB(0, 0, 0));       // a line across, in row 1
    canvas.fill({3, 2, 4, 4}, RGB(200, 100, 40));  // a coloured line down, right and below
    std::vector<COLORREF> shown(4);
    surface::Reduce(canvas, 2, 2, shown.data());
    EXPECT_EQ(shown, (std::vector<COLORREF>{RGB(127, 127, 127), RGB(127, 127, 127),
                                            RGB(255, 255, 255), RGB(227, 177, 147)}));
    // Three pixels into two: every pixel is covered, none twice.
    surface::Canvas three(3, 1);
    three.fill({1, 0, 2, 1}, RGB(0, 0, 0));
    std::vector<COLORREF> two(2);
    surface::Reduce(three, 2, 1, two.data());
    EXPECT_EQ(two, (std::vector<COLORREF>{RGB(255, 255, 255), RGB(127, 127, 127)}));
}

}  // namespace
