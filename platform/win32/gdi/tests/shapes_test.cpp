// Lines, rectangles, ellipses, arcs and polygons: exact pixels, edges excluded, pens and raster operations.
#include <functional>
#include <gtest/gtest.h>

#include "gdi_fixture.h"

using namespace gdi_test;

namespace {

using Rows = std::vector<std::string>;
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kGreen = RGB(0, 255, 0);

struct LineCase {
    const char* name;
    POINT from, to;
    Rows expected;
};
void PrintTo(const LineCase& c, std::ostream* os) { *os << c.name; }

class LineToTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(LineToTest, DrawsUpToButNotIncludingTheEndPoint) {
    const LineCase& c = GetParam();
    Picture picture(6, 6);
    POINT old{};
    MoveToEx(picture.dc(), c.from.x, c.from.y, nullptr);
    ASSERT_TRUE(LineTo(picture.dc(), c.to.x, c.to.y));
    EXPECT_EQ(picture.mask(kBlack), c.expected);
    MoveToEx(picture.dc(), 0, 0, &old);
    EXPECT_EQ(old.x, c.to.x); // the end point became the current position
    EXPECT_EQ(old.y, c.to.y);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, LineToTest,
    ::testing::Values(
        LineCase{"Horizontal", {0, 2}, {5, 2}, {"......", "......", "#####.", "......", "......", "......"}},
        LineCase{"HorizontalBackwards", {5, 2}, {0, 2}, {"......", "......", ".#####", "......", "......", "......"}},
        LineCase{"Vertical", {1, 0}, {1, 4}, {".#....", ".#....", ".#....", ".#....", "......", "......"}},
        LineCase{"Diagonal", {0, 0}, {4, 4}, {"#.....", ".#....", "..#...", "...#..", "......", "......"}},
        // Halves round towards the smaller coordinate, so both directions cover the same pixels.
        LineCase{"Shallow", {0, 0}, {6, 3}, {"##....", "..##..", "....##", "......", "......", "......"}},
        LineCase{"ShallowBackwards", {6, 3}, {0, 0}, {".#....", "..##..", "....##", "......", "......", "......"}},
        LineCase{"ZeroLength", {2, 2}, {2, 2}, {"......", "......", "......", "......", "......", "......"}},
        LineCase{"ClippedFarOutside", {-100000, 3}, {100000, 3}, {"......", "......", "......", "######", "......", "......"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Rectangle, OutlinesWithThePenAndFillsWithTheBrushExcludingRightAndBottom) {
    Picture picture(6, 5);
    HBRUSH brush = CreateSolidBrush(kGreen);
    SelectObject(picture.dc(), brush);
    ASSERT_TRUE(Rectangle(picture.dc(), 1, 1, 5, 4));
    EXPECT_EQ(picture.letters(), (Rows{"WWWWWW", "WKKKKW", "WKGGKW", "WKKKKW", "WWWWWW"}));
    SelectObject(picture.dc(), GetStockObject(NULL_BRUSH));
    DeleteObject(brush);
    // Corners given the other way round make the same rectangle.
    Picture swapped(6, 5);
    SelectObject(swapped.dc(), GetStockObject(NULL_BRUSH));
    Rectangle(swapped.dc(), 5, 4, 1, 1);
    EXPECT_EQ(swapped.mask(kBlack), (Rows{"......", ".####.", ".#..#.", ".####.", "......"}));
}

TEST(FillRect, FillsAndFramesWithTheGivenBrushExcludingRightAndBottom) {
    Picture picture(5, 4);
    HBRUSH brush = CreateSolidBrush(kGreen);
    SetROP2(picture.dc(), R2_XORPEN); // not used by brush rectangles
    RECT r{1, 0, 4, 3};
    EXPECT_EQ(FillRect(picture.dc(), &r, brush), 1);
    EXPECT_EQ(picture.letters(), (Rows{"WGGGW", "WGGGW", "WGGGW", "WWWWW"}));
    RECT frame{0, 0, 5, 4};
    EXPECT_EQ(FrameRect(picture.dc(), &frame, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))), 1);
    EXPECT_EQ(picture.letters(), (Rows{"KKKKK", "KGGGK", "KGGGK", "KKKKK"}));
    EXPECT_EQ(FillRect(picture.dc(), &r, static_cast<HBRUSH>(GetStockObject(NULL_BRUSH))), 1);
    EXPECT_EQ(picture.letters(), (Rows{"KKKKK", "KGGGK", "KGGGK", "KKKKK"}));
    DeleteObject(brush);
}

TEST(Ellipse, OutlineStaysInsideTheRectangleAndTheBrushFillsTheRest) {
    Picture picture(10, 10);
    HBRUSH brush = CreateSolidBrush(kGreen);
    SelectObject(picture.dc(), brush);
    ASSERT_TRUE(Ellipse(picture.dc(), 0, 0, 9, 9));
    EXPECT_EQ(picture.letters(), (Rows{"WWKKKKKWWW", "WKGGGGGKWW", "KGGGGGGGKW", "KGGGGGGGKW", "KGGGGGGGKW",
                                      "KGGGGGGGKW", "KGGGGGGGKW", "WKGGGGGKWW", "WWKKKKKWWW", "WWWWWWWWWW"}));
    SelectObject(picture.dc(), GetStockObject(WHITE_BRUSH));
    DeleteObject(brush);
}

TEST(Arc, EqualStartAndEndDrawTheWholeEllipseOutline) {
    struct Box {
        RECT r;
        int width;
    };
    const Box boxes[] = {{{0, 0, 9, 9}, 1}, {{1, 1, 12, 8}, 1}, {{2, 1, 10, 13}, 0}, {{0, 0, 2, 2}, 1},
                         {{3, 3, 11, 11}, 2}, {{3, 2, 12, 12}, 4}};
    for (const Box& b : boxes) {
        Picture arc(16, 16), ellipse(16, 16);
        HPEN pen = CreatePen(PS_SOLID, b.width, kBlack);
        SelectObject(arc.dc(), pen);
        SelectObject(ellipse.dc(), pen);
        SelectObject(ellipse.dc(), GetStockObject(NULL_BRUSH));
        ASSERT_TRUE(Arc(arc.dc(), b.r.left, b.r.top, b.r.right, b.r.bottom, 0, 0, 0, 0));
        ASSERT_TRUE(Ellipse(ellipse.dc(), b.r.left, b.r.top, b.r.right, b.r.bottom));
        EXPECT_EQ(arc.mask(kBlack), ellipse.mask(kBlack)) << b.r.left << "," << b.r.top << " width " << b.width;
        SelectObject(arc.dc(), GetStockObject(BLACK_PEN));
        SelectObject(ellipse.dc(), GetStockObject(BLACK_PEN));
        DeleteObject(pen);
    }
}

TEST(Arc, RunsCounterClockwiseFromTheStartRayToTheEndRay) {
    Picture full(9, 9), quarter(9, 9);
    Arc(full.dc(), 0, 0, 9, 9, 0, 0, 0, 0);
    // From the ray pointing right to the ray pointing up: the upper right quarter.
    Arc(quarter.dc(), 0, 0, 9, 9, 9, 4, 4, 0);
    EXPECT_EQ(quarter.mask(kBlack), (Rows{"....###..", ".......#.", "........#", "........#", ".........",
                                         ".........", ".........", ".........", "........."}));
    // From up to right the other way round: everything else of the ring.
    Picture rest(9, 9);
    Arc(rest.dc(), 0, 0, 9, 9, 4, 0, 9, 4);
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 9; ++x)
            EXPECT_EQ(full.at(x, y) == kBlack, quarter.at(x, y) == kBlack || rest.at(x, y) == kBlack) << x << "," << y;
}

TEST(Polygon, FillsTheInteriorWithoutGapsToTheOutline) {
    // The thumbnail marker: a triangle pointing down.
    Picture picture(11, 11);
    HBRUSH brush = CreateSolidBrush(kGreen);
    SelectObject(picture.dc(), brush);
    const POINT corners[3] = {{0, 0}, {10, 0}, {5, 10}};
    ASSERT_TRUE(Polygon(picture.dc(), corners, 3));
    EXPECT_EQ(picture.letters(), (Rows{"KKKKKKKKKKK", "KGGGGGGGGKW", "WKGGGGGGGKW", "WKGGGGGGKWW", "WWKGGGGGKWW",
                                      "WWKGGGGKWWW", "WWWKGGGKWWW", "WWWKGGKWWWW", "WWWWKGKWWWW", "WWWWKKWWWWW",
                                      "WWWWWKWWWWW"}));
    SelectObject(picture.dc(), GetStockObject(WHITE_BRUSH));
    DeleteObject(brush);
}

TEST(Pens, StylesWidthsAndTheNullPen) {
    {
        Picture picture(12, 3);
        HPEN dot = CreatePen(PS_DOT, 1, kBlack);
        SelectObject(picture.dc(), dot);
        SetBkColor(picture.dc(), RGB(255, 0, 0));
        MoveToEx(picture.dc(), 0, 1, nullptr);
        LineTo(picture.dc(), 12, 1);
        EXPECT_EQ(picture.letters()[1], "KKKRRRKKKRRR") << "opaque mode fills the gaps with the background";
        MoveToEx(picture.dc(), -4, 0, nullptr);
        LineTo(picture.dc(), 12, 0);
        EXPECT_EQ(picture.letters()[0], "RRKKKRRRKKKR") << "the dashes start where the line starts, off the bitmap";
        SetBkMode(picture.dc(), TRANSPARENT);
        MoveToEx(picture.dc(), 0, 2, nullptr);
        LineTo(picture.dc(), 12, 2);
        EXPECT_EQ(picture.letters()[2], "KKKWWWKKKWWW") << "transparent mode leaves the gaps";
        SelectObject(picture.dc(), GetStockObject(BLACK_PEN));
        DeleteObject(dot);
    }
    {
        Picture picture(12, 6);
        HPEN wide = CreatePen(PS_SOLID, 4, kBlack);
        SelectObject(picture.dc(), wide);
        MoveToEx(picture.dc(), 3, 3, nullptr);
        LineTo(picture.dc(), 8, 3);
        EXPECT_EQ(picture.mask(kBlack),
                  (Rows{"............", "..#######...", ".#########..", ".#########..", "..#######...", "............"}));
        // Far beyond the bitmap only the part inside is walked; beyond 28-bit coordinates is refused.
        MoveToEx(picture.dc(), -100000000, 0, nullptr);
        EXPECT_TRUE(LineTo(picture.dc(), 100000000, 0));
        EXPECT_EQ(picture.mask(kBlack)[0], "############");
        EXPECT_FALSE(LineTo(picture.dc(), 0x7FFFFFFF, 0));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
        SelectObject(picture.dc(), GetStockObject(BLACK_PEN));
        DeleteObject(wide);
    }
    {
        Picture picture(4, 4);
        SelectObject(picture.dc(), GetStockObject(NULL_PEN));
        MoveToEx(picture.dc(), 0, 0, nullptr);
        LineTo(picture.dc(), 4, 4);
        Arc(picture.dc(), 0, 0, 4, 4, 0, 0, 0, 0);
        EXPECT_EQ(picture.mask(kBlack), (Rows{"....", "....", "....", "...."}));
    }
    // A colour with the top byte set (the measurement overlay's inverted red) draws its low three bytes.
    Picture picture(3, 1);
    HPEN inverted = CreatePen(PS_SOLID, 1, ~RGB(255, 0, 0));
    SelectObject(picture.dc(), inverted);
    MoveToEx(picture.dc(), 0, 0, nullptr);
    LineTo(picture.dc(), 3, 0);
    EXPECT_EQ(picture.letters()[0], "CCC");
    SelectObject(picture.dc(), GetStockObject(BLACK_PEN));
    DeleteObject(inverted);
}

// Shapes drawn twice with R2_XORPEN (or R2_NOT) must give back the picture: each pixel is combined once.
struct XorCase {
    const char* name;
    int rop2;
    int width;
    std::function<void(HDC)> draw;
};
void PrintTo(const XorCase& c, std::ostream* os) { *os << c.name; }

class XorTwiceTest : public ::testing::TestWithParam<XorCase> {};

TEST_P(XorTwiceTest, RestoresThePicture) {
    const XorCase& c = GetParam();
    Picture picture(24, 24);
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 24; ++x)
            picture.set(x, y, RGB(x * 37 + y * 11, x * 5 + y * 71, (x ^ y) * 9));
    const std::vector<DWORD> before = picture.pixels();
    HPEN pen = CreatePen(PS_SOLID, c.width, RGB(200, 60, 255));
    HBRUSH brush = CreateSolidBrush(RGB(17, 130, 90));
    SelectObject(picture.dc(), pen);
    SelectObject(picture.dc(), brush);
    SetROP2(picture.dc(), c.rop2);
    c.draw(picture.dc());
    EXPECT_NE(picture.pixels(), before);
    c.draw(picture.dc());
    EXPECT_EQ(picture.pixels(), before);
    SelectObject(picture.dc(), GetStockObject(BLACK_PEN));
    SelectObject(picture.dc(), GetStockObject(WHITE_BRUSH));
    DeleteObject(pen);
    DeleteObject(brush);
}

void polyline(HDC dc) {
    MoveToEx(dc, 2, 3, nullptr);
    LineTo(dc, 20, 3);
    LineTo(dc, 20, 18);
    LineTo(dc, 2, 18);
    LineTo(dc, 2, 3);
}

INSTANTIATE_TEST_SUITE_P(
    Shapes, XorTwiceTest,
    ::testing::Values(XorCase{"Polyline", R2_XORPEN, 1, polyline}, XorCase{"WidePolyline", R2_XORPEN, 4, polyline},
                      XorCase{"PolylineNot", R2_NOT, 2, polyline},
                      XorCase{"Rectangle", R2_XORPEN, 1, [](HDC dc) { Rectangle(dc, 1, 2, 20, 19); }},
                      XorCase{"WideEllipse", R2_XORPEN, 2, [](HDC dc) { Ellipse(dc, 1, 2, 22, 19); }},
                      XorCase{"WideArc", R2_NOTXORPEN, 4, [](HDC dc) { Arc(dc, 3, 3, 21, 21, 0, 0, 0, 0); }},
                      XorCase{"Polygon", R2_XORPEN, 1,
                              [](HDC dc) {
                                  const POINT p[4] = {{1, 1}, {22, 5}, {12, 22}, {4, 15}};
                                  Polygon(dc, p, 4);
                              }}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
