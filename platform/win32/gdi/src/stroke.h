// The pixels a pen puts down: thin styled lines, wide round-capped lines and ellipse outlines.
#pragma once

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
    template <class Filter>
    void ellipse(const RECT& box, Filter inArc);

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

// Whether the pixel (x, y) lies inside the ellipse inscribed in the corner rectangle `box` grown by `grow`
// pixels on every side (negative shrinks); tested at the pixel's centre in exact integers.
bool insideEllipse(const RECT& box, int grow, int x, int y);

template <class Filter>
void Stroke::ellipse(const RECT& box, Filter inArc) {
    if (!visible())
        return;
    const RECT area = intersectRect(
        on_.bounds(), RECT{box.left - width_, box.top - width_, box.right + width_, box.bottom + width_});
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) {
            bool onPath;
            if (width_ <= 1) // inside pixels with a neighbour outside
                onPath = insideEllipse(box, 0, x, y) &&
                         (!insideEllipse(box, 0, x - 1, y) || !insideEllipse(box, 0, x + 1, y) ||
                          !insideEllipse(box, 0, x, y - 1) || !insideEllipse(box, 0, x, y + 1));
            else // between the path grown and shrunk by half the width; the path runs through the edge pixels
                onPath = insideEllipse(box, width_ / 2, x, y) && !insideEllipse(box, width_ / 2 - width_, x, y);
            if (onPath && inArc(x, y))
                on_.mark(x, y);
        }
}

} // namespace platform::gdi
