// MoveToEx, LineTo, Rectangle, Ellipse, Polygon, Arc, FillRect and FrameRect.
#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <numbers>
#include <vector>

#include "canvas.h"
#include "coverage.h"
#include "handle_table.h"
#include "stroke.h"

#include <win32/gdi_draw.h>

using namespace platform::gdi;

namespace {

// Coordinates shapes accept: 28-bit signed values, so that no arithmetic on them overflows.
bool coordinatesOk(std::initializer_list<int> values) {
    constexpr int kLimit = 1 << 27;
    for (int v : values)
        if (v < -kLimit || v > kLimit) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return false;
        }
    return true;
}

// The rectangle with its corners in order.
RECT normalized(int left, int top, int right, int bottom) {
    return RECT{std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom)};
}

// Where a shape spanning `box` can draw with the DC's pen: the box grown by the pen, within the clip.
RECT reach(const Canvas& canvas, const RECT& box) {
    const int grow = canvas.dc().pen->width + 1;
    return intersectRect(canvas.clip(), RECT{box.left - grow, box.top - grow, box.right + grow, box.bottom + grow});
}

// Paints a shape: its interior (what the outline leaves of `fill`) with the brush, the dash gaps in the
// background colour when the mode is opaque, then the outline with the pen; all through the ROP2 code.
void paintShape(Canvas& canvas, Coverage* fill, const Stroke& stroke) {
    DeviceContext& dc = canvas.dc();
    if (fill && !dc.brush->hollow) {
        fill->subtract(stroke.on());
        fill->subtract(stroke.gaps());
        fill->paint(canvas, canvas.value(dc.brush->color), dc.rop2);
    }
    if (dc.bkMode == OPAQUE)
        stroke.gaps().paint(canvas, canvas.value(dc.bkColor), dc.rop2);
    stroke.on().paint(canvas, canvas.value(dc.pen->color), dc.rop2);
}

// A closed polygon's interior by the alternate rule, sampled at pixel centres.
void fillPolygon(Coverage& fill, const POINT* points, int count) {
    const RECT& area = fill.bounds();
    std::vector<double> crossings;
    for (int y = area.top; y < area.bottom; ++y) {
        const double yc = y + 0.5;
        crossings.clear();
        for (int i = 0; i < count; ++i) {
            const POINT& p = points[i];
            const POINT& q = points[(i + 1) % count];
            if (p.y == q.y || yc < std::min(p.y, q.y) || yc >= std::max(p.y, q.y))
                continue;
            crossings.push_back(p.x + (yc - p.y) * (q.x - p.x) / static_cast<double>(q.y - p.y));
        }
        std::sort(crossings.begin(), crossings.end());
        for (size_t i = 0; i + 1 < crossings.size(); i += 2)
            fill.markSpan(y, static_cast<int>(std::ceil(crossings[i] - 0.5)),
                          static_cast<int>(std::ceil(crossings[i + 1] - 0.5)));
    }
}

// Outline of a closed polygon or rectangle path through `points`.
void strokeClosed(Stroke& stroke, const POINT* points, int count) {
    for (int i = 0; i < count; ++i)
        stroke.line(points[i], points[(i + 1) % count]);
}

// Angle of the point (x, y) around the centre of `box`, counter-clockwise as seen on the screen, in [0, 2 pi).
double angleAround(const RECT& box, double x, double y) {
    const double a = std::atan2((box.top + box.bottom) / 2.0 - y, x - (box.left + box.right) / 2.0);
    return a < 0 ? a + 2 * std::numbers::pi : a;
}

} // namespace

BOOL MoveToEx(HDC hdc, int x, int y, LPPOINT old) {
    auto dc = findDc(hdc);
    if (!dc)
        return FALSE;
    if (old)
        *old = dc->position;
    dc->position = POINT{x, y};
    return TRUE;
}

BOOL LineTo(HDC hdc, int x, int y) {
    auto dc = findDc(hdc);
    if (!dc || !coordinatesOk({dc->position.x, dc->position.y, x, y}))
        return FALSE;
    const POINT from = dc->position, to{x, y};
    dc->position = to;
    Canvas canvas(*dc);
    Stroke stroke(*dc->pen, reach(canvas, normalized(from.x, from.y, to.x + 1, to.y + 1)));
    stroke.line(from, to);
    paintShape(canvas, nullptr, stroke);
    return TRUE;
}

namespace {

// Draws a closed shape within `box` on the DC: `shape(fill, stroke)` marks its interior and its outline.
template <class Shape>
BOOL drawClosed(HDC hdc, const RECT& box, Shape shape) {
    auto dc = findDc(hdc);
    if (!dc || !coordinatesOk({box.left, box.top, box.right, box.bottom}))
        return FALSE;
    Canvas canvas(*dc);
    const RECT area = reach(canvas, box);
    Coverage fill(area);
    Stroke stroke(*dc->pen, area);
    shape(fill, stroke);
    paintShape(canvas, &fill, stroke);
    return TRUE;
}

} // namespace

BOOL Rectangle(HDC hdc, int left, int top, int right, int bottom) {
    const RECT box = normalized(left, top, right, bottom);
    return drawClosed(hdc, box, [&](Coverage& fill, Stroke& stroke) {
        if (rectEmpty(box))
            return;
        for (int y = box.top; y < box.bottom; ++y)
            fill.markSpan(y, box.left, box.right);
        // The outline runs through the outermost pixels, right and bottom edges excluded.
        const POINT corners[4] = {{box.left, box.top}, {box.right - 1, box.top}, {box.right - 1, box.bottom - 1},
                                  {box.left, box.bottom - 1}};
        strokeClosed(stroke, corners, 4);
    });
}

BOOL Ellipse(HDC hdc, int left, int top, int right, int bottom) {
    const RECT box = normalized(left, top, right, bottom);
    return drawClosed(hdc, box, [&](Coverage& fill, Stroke& stroke) {
        for (int y = fill.bounds().top; y < fill.bounds().bottom; ++y) {
            const Columns row = ellipseRow(box, 0, y);
            fill.markSpan(y, row.first, row.last);
        }
        stroke.ellipse(box);
    });
}

BOOL Polygon(HDC hdc, const POINT* points, int count) {
    if (!points || count < 2) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    for (int i = 0; i < count; ++i)
        if (!coordinatesOk({points[i].x, points[i].y}))
            return FALSE;
    RECT box{points[0].x, points[0].y, points[0].x + 1, points[0].y + 1};
    for (int i = 1; i < count; ++i)
        box = unionRect(box, RECT{points[i].x, points[i].y, points[i].x + 1, points[i].y + 1});
    return drawClosed(hdc, box, [&](Coverage& fill, Stroke& stroke) {
        fillPolygon(fill, points, count);
        strokeClosed(stroke, points, count);
    });
}

BOOL Arc(HDC hdc, int left, int top, int right, int bottom, int xStart, int yStart, int xEnd, int yEnd) {
    auto dc = findDc(hdc);
    if (!dc || !coordinatesOk({left, top, right, bottom, xStart, yStart, xEnd, yEnd}))
        return FALSE;
    const RECT box = normalized(left, top, right, bottom);
    const double start = angleAround(box, xStart, yStart);
    double sweep = angleAround(box, xEnd, yEnd) - start;
    if (sweep <= 0)
        sweep += 2 * std::numbers::pi; // equal rays: the whole ellipse
    Canvas canvas(*dc);
    Stroke stroke(*dc->pen, reach(canvas, box));
    stroke.ellipse(box, [&](int x, int y) {
        double a = angleAround(box, x + 0.5, y + 0.5) - start;
        if (a < 0)
            a += 2 * std::numbers::pi;
        return a <= sweep;
    });
    paintShape(canvas, nullptr, stroke);
    return TRUE;
}

namespace {

// Fills or frames a rectangle with a brush by plain copy.
int brushRect(HDC hdc, const RECT* rect, HBRUSH handle, bool frameOnly) {
    auto dc = findDc(hdc);
    auto brush = findAs<Brush>(handle, ObjectKind::Brush);
    if (!dc || !brush)
        return 0;
    if (!rect) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const RECT box = *rect;
    if (brush->hollow || rectEmpty(box))
        return 1;
    Canvas canvas(*dc);
    const uint32_t value = canvas.value(brush->color);
    for (int y = std::max(box.top, canvas.clip().top); y < std::min(box.bottom, canvas.clip().bottom); ++y) {
        if (!frameOnly || y == box.top || y == box.bottom - 1) {
            canvas.span(y, box.left, box.right, value, R2_COPYPEN);
        } else {
            canvas.plot(box.left, y, value, R2_COPYPEN);
            canvas.plot(box.right - 1, y, value, R2_COPYPEN);
        }
    }
    return 1;
}

} // namespace

int FillRect(HDC dc, const RECT* rect, HBRUSH brush) { return brushRect(dc, rect, brush, false); }

int FrameRect(HDC dc, const RECT* rect, HBRUSH brush) { return brushRect(dc, rect, brush, true); }
