// The pixels a pen puts down: thin styled lines, wide round-capped lines and ellipse outlines.
#pragma once

#include <functional>
#include <vector>

#include "coverage.h"

namespace platform::gdi {

// Collects what one drawing call strokes with `pen` within `bounds`: `on` the pen's pixels, `gaps` the
// gaps of a dashed or dotted pen (drawn in the background colour when the background mode is opaque).
// Pens of width 0 or 1 are thin; wider pens are discs of the width stamped along the path.
class Stroke {
public:
    Stroke(const Pen& pen, const RECT& bounds);

    // A straight line from `a` to `b`: a thin line leaves out `b`, a wide one ends in a round cap at `b`.
    void line(POINT a, POINT b);
    // The outline of the ellipse in the corner rectangle; `inArc` (when given) keeps the pixels it accepts.
    void ellipse(const RECT& box, const std::function<bool(int, int)>& inArc = {});

    const Coverage& on() const { return on_; }
    const Coverage& gaps() const { return gaps_; }
    bool visible() const { return style_ != PS_NULL; }

private:
    void put(int x, int y);

    struct DiscRow {
        int dy, x0, x1;
    };

    const int style_;
    const int width_;
    int dashPosition_ = 0;
    std::vector<DiscRow> disc_; // the spans of a wide pen's disc
    Coverage on_;
    Coverage gaps_;
};

// Columns first <= x < last of row y inside the ellipse inscribed in the corner rectangle `box` grown by
// `grow` pixels on every side (negative shrinks), tested at pixel centres in exact integers; first >= last
// when the row misses it.
struct Columns {
    int first, last;
};
Columns ellipseRow(const RECT& box, int grow, int y);

} // namespace platform::gdi
