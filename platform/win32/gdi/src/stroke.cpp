// Bresenham lines with dash styles, disc stamping for wide pens and the integer ellipse test.
#include "stroke.h"

#include <algorithm>
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

bool insideEllipse(const RECT& box, int grow, int x, int y) {
    const int64_t w = static_cast<int64_t>(box.right) - box.left + 2 * grow;
    const int64_t h = static_cast<int64_t>(box.bottom) - box.top + 2 * grow;
    if (w <= 0 || h <= 0)
        return false;
    // 128-bit products: the sides may be as large as a LONG allows.
    const __int128 ex = 2 * static_cast<int64_t>(x) + 1 - box.left - box.right;
    const __int128 ey = 2 * static_cast<int64_t>(y) + 1 - box.top - box.bottom;
    return ex * ex * h * h + ey * ey * w * w <= static_cast<__int128>(w) * w * h * h;
}

} // namespace platform::gdi
