// Hit tests and moves of the four shapes, from tables of points.
#include "graphic_shapes.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

struct Probe {
    int x;
    int y;
    int hit;
};

void expectHits(CGraphic& shape, std::initializer_list<Probe> probes) {
    for (const Probe& p : probes)
        EXPECT_EQ(shape.HitTest(p.x, p.y), p.hit) << "(" << p.x << ", " << p.y << ")";
}

// The whole infinite line counts, whatever x; the band is 5 wide on each side, bounds included.
TEST(LineHitTest, BandAroundTheInfiniteLine) {
    CGraphicLine line(0, 0, 10, 10);
    expectHits(line,
               {{5, 5, 1}, {50, 53, 1}, {50, 55, 1}, {50, 45, 1}, {50, 56, 0}, {50, 44, 0}, {-20, -24, 1}});
    CGraphicLine falling(10, 0, 0, 10);
    expectHits(falling, {{5, 5, 1}, {0, 10, 1}, {0, 0, 0}});
}

TEST(LineHitTest, VerticalAndPointLinesNeverHit) {
    CGraphicLine vertical(5, 0, 5, 100);
    expectHits(vertical, {{5, 50, 0}, {5, 0, 0}, {4, 50, 0}, {0, 0, 0}});
    CGraphicLine point(0, 0, 0, 0);
    expectHits(point, {{0, 0, 0}});
}

TEST(LineMove, FitFollowsTheMovedSegment) {
    CGraphicLine line(0, 0, 10, 10);
    line.Move(0, 20);
    expectHits(line, {{50, 70, 1}, {50, 50, 0}, {0, 20, 1}});
}

// Corners given in any order; all bounds strict, so corner points do not hit.
TEST(RectHitTest, StrictBandsAlongTheSides) {
    CGraphicRect rect(100, 50, 10, 10);
    expectHits(rect, {{12, 30, 1},
                      {14, 30, 1},
                      {15, 30, 0},
                      {6, 30, 1},
                      {5, 30, 0},
                      {10, 10, 0},
                      {100, 50, 0},
                      {50, 10, 1},
                      {50, 14, 1},
                      {50, 15, 0},
                      {50, 54, 1},
                      {98, 30, 1},
                      {50, 30, 0},
                      {10, 30, 1}});
    rect.Move(100, 0);
    expectHits(rect, {{12, 30, 0}, {112, 30, 1}});
}

TEST(CircleHitTest, StrictRingAroundTheRadius) {
    CGraphicCircle circle(100, 100, 20);
    expectHits(circle, {{116, 100, 1},
                        {120, 100, 1},
                        {124, 100, 1},
                        {115, 100, 0},
                        {125, 100, 0},
                        {100, 100, 0},
                        {100, 80, 1},
                        {114, 114, 1}});
    circle.Move(-100, 0);
    expectHits(circle, {{16, 100, 1}, {116, 100, 0}});
}

TEST(EllipseHitTest, IntegerEquationOnShrunkAndGrownAxes) {
    CGraphicEllipse ellipse(0, 0, 100, 60); // half axes 50 and 30, centre (50, 30)
    expectHits(ellipse,
               {{100, 30, 1}, {0, 30, 1}, {50, 0, 1}, {50, 60, 1}, {50, 30, 0}, {130, 30, 0}, {50, 100, 0}});
    ellipse.Move(10, 10);
    expectHits(ellipse, {{110, 40, 1}, {100, 30, 0}});
}

// Half axes of 4 or less reach 0 while the test shrinks them: no division by zero, and the terms that
// stay defined still decide.
TEST(EllipseHitTest, SmallHalfAxesAreSafe) {
    CGraphicEllipse flat(0, 0, 100, 0); // half height 0
    CGraphicEllipse tiny(0, 0, 8, 8);   // half axes 4
    CGraphicEllipse dot(5, 5, 5, 5);    // half axes 0
    expectHits(flat, {{50, 0, 0}, {100, 0, 1}});
    expectHits(tiny, {{8, 4, 1}, {4, 4, 0}});
    expectHits(dot, {{5, 5, 0}, {6, 5, 1}});
}

} // namespace
