#include "surface/raster.h"

#include <algorithm>
#include <cstdint>

#include "surface/pixel_writer.h"

namespace surface::detail {

namespace {

using Int128 = __int128;

// Line steps are numbered 0 to steps - 1; step i lies minorOffset(i) pixels along the minor axis,
// minorOffset(i) = floor((2 i minorSteps + steps) / (2 steps)), i.e. i minorSteps / steps rounded
// half up. It never decreases with i, so the steps within a range of offsets form one run, found
// without walking the line.
struct LineSteps {
    std::int64_t steps;       // along the major axis, > 0
    std::int64_t minorSteps;  // <= steps

    // The first step whose offset is at least `offset` (steps when there is none).
    std::int64_t firstReaching(std::int64_t offset) const {
        if (offset <= 0) return 0;
        if (minorSteps == 0) return steps;
        const Int128 numerator = (Int128{2} * offset - 1) * steps;
        const Int128 denominator = Int128{2} * minorSteps;
        const Int128 first = (numerator + denominator - 1) / denominator;
        return static_cast<std::int64_t>(std::min<Int128>(first, steps));
    }

    // The last step whose offset is at most `offset` (-1 when there is none).
    std::int64_t lastWithin(std::int64_t offset) const {
        if (offset < 0) return -1;
        if (minorSteps == 0) return steps - 1;
        const Int128 numerator = (Int128{2} * offset + 1) * steps;
        const Int128 denominator = Int128{2} * minorSteps;
        const Int128 bound = (numerator + denominator - 1) / denominator;
        return static_cast<std::int64_t>(std::min<Int128>(bound - 1, steps - 1));
    }
};

}  // namespace

bool IsRop2(int mode) { return mode >= R2_BLACK && mode <= R2_WHITE; }

Mix MixFor(int rop2, COLORREF source) {
    // Mode - 1 is the truth table of the operation: bit (2 * pen + destination) is the result.
    const unsigned table = static_cast<unsigned>(rop2 - 1);
    auto all = [table](unsigned bit) { return ((table >> bit) & 1u) != 0 ? kColourBits : 0u; };
    const COLORREF pen = source & kColourBits;
    const COLORREF notPen = ~source & kColourBits;
    Mix mix;
    mix.flip = (pen & all(2)) | (notPen & all(0));
    mix.keep = (pen & (all(2) ^ all(3))) | (notPen & (all(0) ^ all(1)));
    return mix;
}

void DrawLine(Canvas& canvas, const Mix& pen, int penWidth, int x0, int y0, int x1, int y1) {
    const std::int64_t dx = std::int64_t{x1} - x0;
    const std::int64_t dy = std::int64_t{y1} - y0;
    const bool xMajor = std::abs(dx) >= std::abs(dy);
    const std::int64_t majorDelta = xMajor ? dx : dy;
    const std::int64_t minorDelta = xMajor ? dy : dx;
    const LineSteps line{std::abs(majorDelta), std::abs(minorDelta)};
    if (line.steps == 0) return;
    const std::int64_t majorSign = majorDelta > 0 ? 1 : -1;
    const std::int64_t minorSign = minorDelta >= 0 ? 1 : -1;
    const std::int64_t majorStart = xMajor ? x0 : y0;
    const std::int64_t minorStart = xMajor ? y0 : x0;
    const std::int64_t majorSize = xMajor ? canvas.width() : canvas.height();
    const std::int64_t minorSize = xMajor ? canvas.height() : canvas.width();
    const int width = std::clamp(penWidth, 1, kWidestPen);
    const std::int64_t bandLow = -((width - 1) / 2);
    const std::int64_t bandHigh = width / 2;

    // The steps whose major coordinate is on the canvas...
    std::int64_t first = 0;
    std::int64_t last = line.steps - 1;
    if (majorSign > 0) {
        first = std::max(first, -majorStart);
        last = std::min(last, majorSize - 1 - majorStart);
    } else {
        first = std::max(first, majorStart - (majorSize - 1));
        last = std::min(last, majorStart);
    }
    // ...and whose band across the minor axis reaches it.
    const std::int64_t minorLow = -bandHigh;
    const std::int64_t minorHigh = minorSize - 1 - bandLow;
    const std::int64_t lowOffset = minorSign > 0 ? minorLow - minorStart : minorStart - minorHigh;
    const std::int64_t highOffset = minorSign > 0 ? minorHigh - minorStart : minorStart - minorLow;
    first = std::max(first, line.firstReaching(lowOffset));
    last = std::min(last, line.lastWithin(highOffset));
    if (first > last) return;

    // Walk the visible steps exactly as the whole line would: offset and remainder of
    // (2 i minorSteps + steps) / (2 steps).
    const std::int64_t twiceSteps = 2 * line.steps;
    const std::int64_t twiceMinor = 2 * line.minorSteps;
    const Int128 numerator = Int128{2} * first * line.minorSteps + line.steps;
    auto offset = static_cast<std::int64_t>(numerator / twiceSteps);
    auto remainder = static_cast<std::int64_t>(numerator % twiceSteps);
    PixelWriter writer(canvas);
    for (std::int64_t i = first; i <= last; ++i) {
        const std::int64_t major = majorStart + majorSign * i;
        const std::int64_t minor = minorStart + minorSign * offset;
        if (xMajor) {
            writer.column(major, minor + bandLow, minor + bandHigh, pen);
        } else {
            writer.row(major, minor + bandLow, minor + bandHigh, pen);
        }
        remainder += twiceMinor;
        if (remainder >= twiceSteps) {
            remainder -= twiceSteps;
            ++offset;
        }
    }
}

void DrawEllipse(Canvas&, const Mix&, int, const Mix&, int, int, int, int) {}

void DrawArc(Canvas&, const Mix&, int, int, int, int, int, int, int, int, int) {}

}  // namespace surface::detail
