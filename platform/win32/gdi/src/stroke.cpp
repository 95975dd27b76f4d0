// Bresenham lines with dash styles, disc stamping for wide pens and the integer ellipse test.
#include "stroke.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace platform::gdi {
namespace {

// Dash patterns of thin pens: pixels on, then pixels off.
struct DashPattern {
    int on, off;
};
DashPattern patternOf(int style) {
    switch (style) {
    case PS_DASH: return {18, 6};
    case PS_DOT: return {3, 3};
    default: return {1, 0};
    }
}

// ceil(numerator / denominator) for a positive denominator: i * minor / steps rounded, halves down, when
// called with (2 i minor - steps, 2 steps).
int64_t roundHalfDown(int64_t numerator, int64_t denominator) {
    const int64_t q = numerator / denominator;
    return (numerator % denominator > 0) ? q + 1 : q;
}

// floor(v / 2).
int64_t halfDown(int64_t v) { return v >= 0 ? v / 2 : -((1 - v) / 2); }

} // namespace

Stroke::Stroke(const Pen& pen, const RECT& bounds)
    : style_(pen.style), width_(pen.width), on_(bounds), gaps_(bounds) {
    // A disc of width_ pixels, as one span per row; even widths reach one pixel further left and up.
    const int low = -(width_ / 2);
    const int twiceCentre = 2 * low + width_ - 1;
    for (int dy = low; width_ > 1 && dy < low + width_; ++dy) {
        const int ey = 2 * dy - twiceCentre;
        int first = 0, last = -1;
        for (int dx = low; dx < low + width_; ++dx) {
            const int ex = 2 * dx - twiceCentre;
            if (ex * ex + ey * ey <= width_ * width_) {
                first = last < first ? dx : first;
                last = dx;
            }
        }
        if (last >= first)
            disc_.push_back(DiscRow{dy, first, last + 1});
    }
}

void Stroke::put(int x, int y) {
    if (width_ > 1) {
        for (const DiscRow& row : disc_)
            on_.markSpan(y + row.dy, x + row.x0, x + row.x1);
        return;
    }
    const DashPattern pattern = patternOf(style_);
    const bool on = dashPosition_ % (pattern.on + pattern.off) < pattern.on;
    ++dashPosition_;
    (on ? on_ : gaps_).mark(x, y);
}

void Stroke::line(POINT a, POINT b) {
    if (!visible())
        return;
    // One pixel per step along the longer axis; on the other axis the exact line's coordinate rounded, halves
    // towards the smaller coordinate, so that a line covers the same pixels in either direction and meets
    // the pixel-centre rule of filled shapes without gaps.
    const int64_t dx = static_cast<int64_t>(b.x) - a.x, dy = static_cast<int64_t>(b.y) - a.y;
    const bool alongX = std::abs(dx) >= std::abs(dy);
    const int64_t major = alongX ? dx : dy, minor = alongX ? dy : dx;
    const int64_t steps = std::abs(major), direction = major < 0 ? -1 : 1;
    // Only the steps whose pixel can reach the bounds along the longer axis.
    const RECT& bounds = on_.bounds();
    const int64_t start = alongX ? a.x : a.y;
    const int64_t low = (alongX ? bounds.left : bounds.top) - width_ - start;
    const int64_t high = (alongX ? bounds.right : bounds.bottom) + width_ - start;
    const int64_t first = std::max<int64_t>(0, direction > 0 ? low : -high);
    const int64_t last = std::min<int64_t>(steps, direction > 0 ? high : -low);
    const DashPattern pattern = patternOf(style_);
    dashPosition_ += static_cast<int>(first % (pattern.on + pattern.off)); // keeps the dash phase of skipped steps
    for (int64_t i = first; i < last; ++i) {
        const int64_t offset = roundHalfDown(2 * i * minor - steps, 2 * steps);
        const int64_t along = i * direction;
        put(static_cast<int>(alongX ? a.x + along : a.x + offset), static_cast<int>(alongX ? a.y + offset : a.y + along));
    }
    if (width_ > 1)
        put(b.x, b.y);
}

Columns ellipseRow(const RECT& box, int grow, int y) {
    const int64_t w = static_cast<int64_t>(box.right) - box.left + 2 * grow;
    const int64_t h = static_cast<int64_t>(box.bottom) - box.top + 2 * grow;
    if (w <= 0 || h <= 0)
        return {0, 0};
    // Pixel (x, y) is inside when ex^2 h^2 + ey^2 w^2 <= w^2 h^2, with ex and ey twice its centre's offsets
    // from the ellipse's centre; 128-bit products, the sides may be as large as a LONG allows.
    const int64_t ey = 2 * static_cast<int64_t>(y) + 1 - box.top - box.bottom;
    const auto inside = [&](int64_t ex) {
        return static_cast<__int128>(ex) * ex * h * h + static_cast<__int128>(ey) * ey * w * w <=
               static_cast<__int128>(w) * w * h * h;
    };
    if (!inside(0))
        return {0, 0};
    // The largest |ex| inside: estimated in floating point, then settled exactly.
    const double share = 1.0 - static_cast<double>(ey) * ey / (static_cast<double>(h) * h);
    int64_t reach = static_cast<int64_t>(static_cast<double>(w) * std::sqrt(std::max(0.0, share)));
    while (reach > 0 && !inside(reach))
        --reach;
    while (inside(reach + 1))
        ++reach;
    // |2x + 1 - left - right| <= reach
    const int64_t twiceCentre = static_cast<int64_t>(box.left) + box.right - 1;
    const int64_t first = -halfDown(reach - twiceCentre), last = halfDown(twiceCentre + reach);
    return {static_cast<int>(first), static_cast<int>(last + 1)};
}

void Stroke::ellipse(const RECT& box, const std::function<bool(int, int)>& inArc) {
    if (!visible())
        return;
    const auto put = [&](int y, int x0, int x1) {
        if (!inArc) {
            on_.markSpan(y, x0, x1);
            return;
        }
        for (int x = x0; x < x1; ++x)
            if (inArc(x, y))
                on_.mark(x, y);
    };
    // The parts of `outer` that `inner` leaves.
    const auto putDifference = [&](int y, Columns outer, Columns inner) {
        if (outer.first >= outer.last)
            return;
        if (inner.first >= inner.last) {
            put(y, outer.first, outer.last);
            return;
        }
        put(y, outer.first, std::min(outer.last, inner.first));
        put(y, std::max(outer.first, inner.last), outer.last);
    };
    const RECT& bounds = on_.bounds();
    const int top = std::max<int>(bounds.top, box.top - width_), bottom = std::min<int>(bounds.bottom, box.bottom + width_);
    for (int y = top; y < bottom; ++y) {
        if (width_ > 1) {
            // Between the path grown and shrunk by half the width; the path runs through the edge pixels.
            putDifference(y, ellipseRow(box, width_ / 2, y), ellipseRow(box, width_ / 2 - width_, y));
            continue;
        }
        // Inside pixels with a neighbour outside: the row's ends and what the rows above and below leave.
        const Columns row = ellipseRow(box, 0, y);
        if (row.first >= row.last)
            continue;
        put(y, row.first, row.first + 1);
        if (row.last - 1 > row.first)
            put(y, row.last - 1, row.last);
        for (const Columns next : {ellipseRow(box, 0, y - 1), ellipseRow(box, 0, y + 1)})
            putDifference(y, Columns{row.first + 1, row.last - 1}, next);
    }
}

} // namespace platform::gdi
