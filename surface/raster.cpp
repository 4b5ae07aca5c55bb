#include "surface/detail/raster.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>

#include "surface/detail/pixel_writer.h"

namespace surface::detail {

namespace {

using Int128 = __int128;
using UInt128 = unsigned __int128;

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

// floor(sqrt(n)), exact for every 128-bit n.
std::uint64_t SquareRoot(UInt128 n) {
    if (n == 0) return 0;
    if (n <= UINT64_MAX) {  // the usual case, in faster 64-bit arithmetic
        const auto small = static_cast<std::uint64_t>(n);
        auto root = static_cast<std::uint64_t>(std::sqrt(static_cast<long double>(small)));
        while (root > small / root) --root;
        while (root + 1 <= small / (root + 1)) ++root;
        return root;
    }
    auto root = static_cast<UInt128>(std::sqrt(static_cast<long double>(n)));
    // Compared as root <= n / root, so squaring the estimate cannot overflow.
    while (root > n / root) --root;
    while (root + 1 <= n / (root + 1)) ++root;
    return static_cast<std::uint64_t>(root);
}

// A run of pixels of one row, both ends included.
struct Run {
    std::int64_t left = 0;
    std::int64_t right = -1;
    bool empty() const { return right < left; }
};

Run Intersect(const Run& a, const Run& b) {
    return {std::max(a.left, b.left), std::min(a.right, b.right)};
}

// The ellipse inscribed in a box whose edges lie between pixels: a pixel belongs to it when its
// centre lies inside. Measured in half pixels from the centre of the box, a pixel centre is
// (X, Y) = (2x + 1 - (left + right), 2y + 1 - (top + bottom)) and lies inside when
// X^2 / width^2 + Y^2 / height^2 <= 1, decided exactly in integers.
class EllipseRows {
  public:
    EllipseRows(int left, int top, int right, int bottom)
        : top_(std::min(top, bottom)),
          bottom_(std::max(top, bottom)),
          sumX_(std::int64_t{left} + right),
          sumY_(std::int64_t{top} + bottom),
          width_(static_cast<std::uint64_t>(std::abs(std::int64_t{right} - left))),
          height_(static_cast<std::uint64_t>(bottom_ - top_)) {}

    std::int64_t top() const { return top_; }
    std::int64_t bottom() const { return bottom_; }  // excluded

    Run run(std::int64_t y) const {
        if (y < top_ || y >= bottom_ || width_ == 0) return {};
        const auto rowFromCentre = static_cast<std::uint64_t>(std::abs(2 * y + 1 - sumY_));
        const UInt128 heightLeft =
            UInt128{height_ - rowFromCentre} * (height_ + rowFromCentre);  // height^2 - Y^2
        // The largest X with X^2 height^2 <= width^2 (height^2 - Y^2)...
        std::uint64_t reach = SquareRoot(UInt128{width_} * width_ * heightLeft) / height_;
        // ...that is a pixel centre: X has the parity of width + 1.
        if (((reach ^ (width_ + 1)) & 1) != 0) {
            if (reach == 0) return {};
            --reach;
        }
        const auto halfPixels = static_cast<std::int64_t>(reach);
        return {(sumX_ - 1 - halfPixels) / 2, (sumX_ - 1 + halfPixels) / 2};
    }

    // What is left of row y after peeling `depth` layers of boundary pixels (pixels with a
    // neighbour above, below, left or right outside): the row's run shrunk by depth, cut to every
    // run d rows away shrunk by depth - d.
    Run inner(std::int64_t y, int depth) const {
        const Run row = run(y);
        Run kept{row.left + depth, row.right - depth};
        for (int d = 1; d <= depth && !kept.empty(); ++d) {
            const std::int64_t shrink = depth - d;
            for (const std::int64_t near : {y - d, y + d}) {
                const Run other = run(near);
                if (other.empty()) return {};
                kept = Intersect(kept, {other.left + shrink, other.right - shrink});
            }
        }
        return kept;
    }

    // The half-pixel vector from the centre to pixel (x, y), y pointing up.
    Int128 toPixelX(std::int64_t x) const { return Int128{2} * x + 1 - sumX_; }
    Int128 toPixelY(std::int64_t y) const { return sumY_ - (Int128{2} * y + 1); }
    // The same for a point given in box coordinates, such as an arc's start point.
    Int128 toPointX(std::int64_t x) const { return Int128{2} * x - sumX_; }
    Int128 toPointY(std::int64_t y) const { return sumY_ - Int128{2} * y; }

  private:
    std::int64_t top_;
    std::int64_t bottom_;
    std::int64_t sumX_;
    std::int64_t sumY_;
    std::uint64_t width_;
    std::uint64_t height_;
};

// The outline and interior of one visible row of an ellipse drawn with a pen `depth` pixels wide.
struct RowParts {
    Run row;
    Run interior;  // empty when the outline covers the whole row
    // The outline: the row without its interior.
    Run outlineLeft() const { return interior.empty() ? row : Run{row.left, interior.left - 1}; }
    Run outlineRight() const {
        return interior.empty() ? Run{} : Run{interior.right + 1, row.right};
    }
};

// Calls draw(y, parts) for each row of the ellipse that is within the clip.
template <typename DrawRow>
void ForEachVisibleRow(const PixelRect& clip, const EllipseRows& ellipse, int penWidth,
                       DrawRow draw) {
    const int depth = std::clamp(penWidth, 1, kWidestPen);
    const std::int64_t first = std::max<std::int64_t>(ellipse.top(), clip.top);
    const std::int64_t last = std::min<std::int64_t>(ellipse.bottom(), clip.bottom) - 1;
    for (std::int64_t y = first; y <= last; ++y) {
        const Run row = ellipse.run(y);
        if (row.empty()) continue;
        draw(y, RowParts{row, ellipse.inner(y, depth)});
    }
}

// The part of a run that is on the clip's columns.
Run Visible(const Run& run, const PixelRect& clip) {
    return Intersect(run, {clip.left, std::int64_t{clip.right} - 1});
}

struct Direction {
    Int128 x;
    Int128 y;
};

Int128 Cross(const Direction& a, const Direction& b) { return a.x * b.y - a.y * b.x; }
Int128 Dot(const Direction& a, const Direction& b) { return a.x * b.x + a.y * b.y; }

// The directions swept counter-clockwise (y up) from a start ray to an end ray, compared with
// cross products instead of angles so that nothing is rounded.
class Sweep {
  public:
    Sweep(Direction start, Direction end) : start_(OrEast(start)), end_(OrEast(end)) {
        whole_ = Cross(start_, end_) == 0 && Dot(start_, end_) > 0;
        endHalf_ = half(end_);
    }

    bool contains(const Direction& d) const {
        if (whole_) return true;
        const int dHalf = half(d);
        if (dHalf != endHalf_) return dHalf < endHalf_;
        return Cross(d, end_) >= 0;  // d is not past the end
    }

  private:
    // A ray through the centre itself has no direction; it is taken as pointing east.
    static Direction OrEast(const Direction& d) {
        return d.x == 0 && d.y == 0 ? Direction{1, 0} : d;
    }

    // 0 for directions less than half a turn counter-clockwise from the start, else 1.
    int half(const Direction& d) const {
        const Int128 cross = Cross(start_, d);
        if (cross != 0) return cross > 0 ? 0 : 1;
        return Dot(start_, d) >= 0 ? 0 : 1;
    }

    Direction start_;
    Direction end_;
    bool whole_ = false;
    int endHalf_ = 0;
};

// A line seen along its major axis (the one it advances on every step) and its minor axis: step
// i lies at majorStart + majorSign i, and at minorStart + minorSign minorOffset(i) across, where
// the pen covers minor + bandLow to minor + bandHigh. The clip along each axis runs from
// its From (included) to its To (excluded). The walk keeps the remainder of
// (2 i minorSteps + steps) / (2 steps), whose quotient is minorOffset(i).
struct LineAxes {
    bool xMajor;
    std::int64_t majorStart;
    std::int64_t majorSign;
    std::int64_t minorStart;
    std::int64_t minorSign;
    std::int64_t majorFrom;
    std::int64_t majorTo;
    std::int64_t minorFrom;
    std::int64_t minorTo;
    std::int64_t bandLow;
    std::int64_t bandHigh;
    std::int64_t twiceSteps;
    std::int64_t twiceMinor;

    // From one step to the next. The minor coordinate moves on exactly when the remainder
    // wraps, and then the new remainder is below twiceMinor.
    void advance(std::int64_t& minor, std::int64_t& remainder) const {
        remainder += twiceMinor;
        if (remainder >= twiceSteps) {
            remainder -= twiceSteps;
            minor += minorSign;
        }
    }

    // Steps from this major coordinate on the canvas to the edge of its tile.
    std::int64_t stepsInTile(std::int64_t major) const {
        const std::int64_t tile = xMajor ? ChangedTiles::kTileWidth : ChangedTiles::kTileHeight;
        return majorSign > 0 ? tile - major % tile : major % tile + 1;
    }

    // The box of the steps from majors a to b and minors c to d, with the band, on the canvas.
    PixelRect box(std::int64_t majorA, std::int64_t majorB, std::int64_t minorC,
                  std::int64_t minorD) const {
        const auto low = static_cast<int>(std::min(minorC, minorD) + bandLow);
        const auto high = static_cast<int>(std::max(minorC, minorD) + bandHigh) + 1;
        const auto from = static_cast<int>(std::min(majorA, majorB));
        const auto to = static_cast<int>(std::max(majorA, majorB)) + 1;
        return xMajor ? PixelRect{from, low, to, high} : PixelRect{low, from, high, to};
    }
};

// Walks steps first to last of a line on the canvas in pieces that stay in one tile along the
// major axis, and marks each piece's box as changed: the line's minor coordinate moves by at most
// one per step, so the box of a piece holds no tile the piece does not cross.
// writeSteps(major, steps, minor, remainder) writes a piece and walks minor and remainder on.
template <typename WriteSteps>
void WalkInTilePieces(Canvas& canvas, const LineAxes& axes, std::int64_t first, std::int64_t last,
                      std::int64_t minor, std::int64_t remainder, WriteSteps writeSteps) {
    for (std::int64_t i = first; i <= last;) {
        const std::int64_t major = axes.majorStart + axes.majorSign * i;
        const std::int64_t steps = std::min(last - i + 1, axes.stepsInTile(major));
        const std::int64_t minorFirst = minor;
        writeSteps(major, steps, minor, remainder);
        const std::int64_t minorLast = remainder < axes.twiceMinor ? minor - axes.minorSign : minor;
        canvas.markChanged(
            axes.box(major, major + axes.majorSign * (steps - 1), minorFirst, minorLast));
        i += steps;
    }
}

// Writes one step's band of a line that needs no clipping.
template <int kWidth>
void WriteBand(COLORREF* pixel, std::ptrdiff_t minorStride, int width, Mix pen) {
    const int count = kWidth > 0 ? kWidth : width;
    for (int m = 0; m < count; ++m, pixel += minorStride) *pixel = pen.apply(*pixel);
}

// A line whose every step and band lie within the clip: no clipping, and each step moves an index
// into the pixels instead of computing it. A line along a row or column is written as runs.
template <int kWidth>
// The pen is taken by value: a copy in registers, which writes to pixels cannot change.
void DrawWholeLineOfWidth(Canvas& canvas, Mix pen, int width, const LineAxes& axes,
                          std::int64_t steps) {
    COLORREF* const pixels = canvas.row(0);
    const std::ptrdiff_t majorStride = axes.xMajor ? 1 : canvas.width();
    const std::ptrdiff_t minorStride = axes.xMajor ? canvas.width() : 1;
    const std::ptrdiff_t majorStep = axes.majorSign * majorStride;
    const std::ptrdiff_t minorStep = axes.minorSign * minorStride;
    auto indexOf = [&](std::int64_t major, std::int64_t minor) {
        return major * majorStride + (minor + axes.bandLow) * minorStride;
    };
    if (axes.twiceMinor == 0) {
        WalkInTilePieces(
            canvas, axes, 0, steps - 1, axes.minorStart, steps,
            [&](std::int64_t major, std::int64_t count, std::int64_t& minor, std::int64_t&) {
                const std::int64_t low = axes.majorSign > 0 ? major : major - (count - 1);
                for (int m = 0; m < (kWidth > 0 ? kWidth : width); ++m) {
                    COLORREF* run = pixels + indexOf(low, minor) + m * minorStride;
                    for (std::int64_t i = 0; i < count; ++i) {
                        run[i * majorStride] = pen.apply(run[i * majorStride]);
                    }
                }
            });
        return;
    }
    WalkInTilePieces(
        canvas, axes, 0, steps - 1, axes.minorStart, steps,
        [&](std::int64_t major, std::int64_t count, std::int64_t& minor, std::int64_t& remainder) {
            std::ptrdiff_t at = indexOf(major, minor);
            for (std::int64_t i = 0; i < count; ++i) {
                WriteBand<kWidth>(pixels + at, minorStride, width, pen);
                at += majorStep;
                remainder += axes.twiceMinor;
                if (remainder >= axes.twiceSteps) {
                    remainder -= axes.twiceSteps;
                    minor += axes.minorSign;
                    at += minorStep;
                }
            }
        });
}

void DrawWholeLine(Canvas& canvas, Mix pen, int width, const LineAxes& axes, std::int64_t steps) {
    switch (width) {
        case 1:
            return DrawWholeLineOfWidth<1>(canvas, pen, width, axes, steps);
        case 2:
            return DrawWholeLineOfWidth<2>(canvas, pen, width, axes, steps);
        default:
            return DrawWholeLineOfWidth<0>(canvas, pen, width, axes, steps);
    }
}

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

void DrawLine(Canvas& canvas, const PixelRect& clip, const Mix& pen, int penWidth, int x0, int y0,
              int x1, int y1) {
    const std::int64_t dx = std::int64_t{x1} - x0;
    const std::int64_t dy = std::int64_t{y1} - y0;
    const bool xMajor = std::abs(dx) >= std::abs(dy);
    const std::int64_t majorDelta = xMajor ? dx : dy;
    const std::int64_t minorDelta = xMajor ? dy : dx;
    const LineSteps line{std::abs(majorDelta), std::abs(minorDelta)};
    // Without pixels there is no row to address, and the band clipping below assumes one.
    if (line.steps == 0 || clip.empty()) return;
    const int width = std::clamp(penWidth, 1, kWidestPen);
    const LineAxes axes{xMajor,
                        xMajor ? x0 : y0,
                        majorDelta > 0 ? 1 : -1,
                        xMajor ? y0 : x0,
                        minorDelta >= 0 ? 1 : -1,
                        xMajor ? clip.left : clip.top,
                        xMajor ? clip.right : clip.bottom,
                        xMajor ? clip.top : clip.left,
                        xMajor ? clip.bottom : clip.right,
                        -((width - 1) / 2),
                        width / 2,
                        2 * line.steps,
                        2 * line.minorSteps};

    // The common case: the whole line and its band lie within the clip (the excluded end point
    // stands in for the last step across the minor axis), so nothing needs clipping.
    const std::int64_t majorLast = axes.majorStart + axes.majorSign * (line.steps - 1);
    const std::int64_t minorEnd = axes.minorStart + minorDelta;
    if (std::min(axes.majorStart, majorLast) >= axes.majorFrom &&
        std::max(axes.majorStart, majorLast) < axes.majorTo &&
        std::min(axes.minorStart, minorEnd) + axes.bandLow >= axes.minorFrom &&
        std::max(axes.minorStart, minorEnd) + axes.bandHigh < axes.minorTo) {
        DrawWholeLine(canvas, pen, width, axes, line.steps);
        return;
    }

    // The steps whose major coordinate is within the clip...
    std::int64_t first = 0;
    std::int64_t last = line.steps - 1;
    if (axes.majorSign > 0) {
        first = std::max(first, axes.majorFrom - axes.majorStart);
        last = std::min(last, axes.majorTo - 1 - axes.majorStart);
    } else {
        first = std::max(first, axes.majorStart - (axes.majorTo - 1));
        last = std::min(last, axes.majorStart - axes.majorFrom);
    }
    // ...and whose band across the minor axis reaches it.
    const std::int64_t minorLow = axes.minorFrom - axes.bandHigh;
    const std::int64_t minorHigh = axes.minorTo - 1 - axes.bandLow;
    const std::int64_t lowOffset =
        axes.minorSign > 0 ? minorLow - axes.minorStart : axes.minorStart - minorHigh;
    const std::int64_t highOffset =
        axes.minorSign > 0 ? minorHigh - axes.minorStart : axes.minorStart - minorLow;
    first = std::max(first, line.firstReaching(lowOffset));
    last = std::min(last, line.lastWithin(highOffset));
    if (first > last) return;

    // Walk the visible steps exactly as the whole line would: offset and remainder of
    // (2 i minorSteps + steps) / (2 steps). Each step's band reaches the clip, so only its
    // ends need clipping.
    const Int128 numerator = Int128{2} * first * line.minorSteps + line.steps;
    const auto offset = static_cast<std::int64_t>(numerator / axes.twiceSteps);
    COLORREF* const pixels = canvas.row(0);
    const std::ptrdiff_t majorStride = xMajor ? 1 : canvas.width();
    const std::ptrdiff_t minorStride = xMajor ? canvas.width() : 1;
    WalkInTilePieces(
        canvas, axes, first, last, axes.minorStart + axes.minorSign * offset,
        static_cast<std::int64_t>(numerator % axes.twiceSteps),
        [&](std::int64_t major, std::int64_t steps, std::int64_t& minor, std::int64_t& remainder) {
            for (std::int64_t i = 0; i < steps; ++i, major += axes.majorSign) {
                const std::int64_t bandFrom =
                    std::max<std::int64_t>(minor + axes.bandLow, axes.minorFrom);
                const std::int64_t bandTo =
                    std::min<std::int64_t>(minor + axes.bandHigh, axes.minorTo - 1);
                for (std::int64_t m = bandFrom; m <= bandTo; ++m) {
                    COLORREF& pixel = pixels[major * majorStride + m * minorStride];
                    pixel = pen.apply(pixel);
                }
                axes.advance(minor, remainder);
            }
        });
}

void DrawEllipse(Canvas& canvas, const PixelRect& clip, const Mix& pen, int penWidth,
                 const Mix& brush, int left, int top, int right, int bottom) {
    const EllipseRows ellipse(left, top, right, bottom);
    PixelWriter writer(canvas, clip);
    ForEachVisibleRow(clip, ellipse, penWidth, [&](std::int64_t y, const RowParts& parts) {
        const Run outlineLeft = parts.outlineLeft();
        const Run outlineRight = parts.outlineRight();
        writer.row(y, outlineLeft.left, outlineLeft.right, pen);
        if (!parts.interior.empty())
            writer.row(y, parts.interior.left, parts.interior.right, brush);
        writer.row(y, outlineRight.left, outlineRight.right, pen);
    });
}

void DrawArc(Canvas& canvas, const PixelRect& clip, const Mix& pen, int penWidth, int left, int top,
             int right, int bottom, int xStart, int yStart, int xEnd, int yEnd) {
    const EllipseRows ellipse(left, top, right, bottom);
    const Sweep sweep({ellipse.toPointX(xStart), ellipse.toPointY(yStart)},
                      {ellipse.toPointX(xEnd), ellipse.toPointY(yEnd)});
    PixelWriter writer(canvas, clip);
    ForEachVisibleRow(clip, ellipse, penWidth, [&](std::int64_t y, const RowParts& parts) {
        const Int128 pixelY = ellipse.toPixelY(y);
        for (const Run& outline : {parts.outlineLeft(), parts.outlineRight()}) {
            const Run visible = Visible(outline, clip);
            for (std::int64_t x = visible.left; x <= visible.right; ++x) {
                if (sweep.contains({ellipse.toPixelX(x), pixelY})) writer.row(y, x, x, pen);
            }
        }
    });
}

}  // namespace surface::detail
