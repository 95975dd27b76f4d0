// Drawing of the shape list on a memory DC: the normal, inverted and highlighted looks in pixels.
#include <measure/mensaro.h>

#include "dib_canvas.h"

#include <gtest/gtest.h>

namespace {

constexpr COLORREF white = RGB(255, 255, 255);
constexpr COLORREF red = RGB(255, 0, 0);
constexpr COLORREF cyan = RGB(0, 255, 255); // the complement of red
constexpr COLORREF magenta = RGB(255, 0, 255);

class Drawing : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(canvas.ready()); }
    DibCanvas canvas{160, 120};
    CMensaro list;
};

TEST_F(Drawing, NormalLookOfEachShape) {
    list.AddKZRect(10, 10, 60, 40);
    list.AddCircle(110, 40, 20);
    list.AddKZEllipse(20, 60, 120, 110);
    list.Draw(canvas.dc());
    EXPECT_TRUE(canvas.near(35, 10, red));  // rectangle's top side
    EXPECT_TRUE(canvas.near(60, 25, red));  // its right side
    EXPECT_EQ(canvas.pixel(35, 25), white); // not filled
    EXPECT_TRUE(canvas.near(130, 40, red)); // circle's right edge
    EXPECT_TRUE(canvas.near(110, 20, red)); // its top
    EXPECT_EQ(canvas.pixel(110, 40), white);
    EXPECT_TRUE(canvas.near(20, 85, red)); // ellipse's left end
    EXPECT_TRUE(canvas.near(70, 60, red)); // its top
    EXPECT_EQ(canvas.pixel(70, 85), white);
}

// The normal line look adds the magenta fitted-line trace from x1 to x2 - 1 over the red segment.
TEST_F(Drawing, LineTraceRunsOnlyLeftToRight) {
    list.AddKZLine(10, 10, 50, 50);
    list.Draw(canvas.dc());
    EXPECT_EQ(canvas.pixel(30, 30), magenta);
    EXPECT_GT(canvas.count(red), 0);
    DibCanvas other(160, 120);
    CMensaro falling;
    falling.AddKZLine(50, 10, 10, 50);
    falling.Draw(other.dc());
    EXPECT_TRUE(other.near(30, 30, red));
    EXPECT_EQ(other.count(magenta), 0);
}

// The hovered shape is inverted, also when it is the chosen one too, and the line then has no trace.
TEST_F(Drawing, HoveredShapeIsInverted) {
    list.AddKZLine(10, 10, 50, 50);
    list.AddKZRect(80, 10, 150, 60);
    ASSERT_EQ(list.IsSelect(82, 30), 1);
    ASSERT_EQ(list.SetSelect(), 1);
    list.Draw(canvas.dc());
    EXPECT_TRUE(canvas.near(115, 10, cyan));
    EXPECT_FALSE(canvas.near(115, 10, red));
    EXPECT_EQ(canvas.pixel(30, 30), magenta); // the other shape keeps its normal look
    ASSERT_EQ(list.IsSelect(30, 30), 1);      // now the line is hovered
    DibCanvas next(160, 120);
    list.Draw(next.dc());
    EXPECT_TRUE(next.near(30, 30, cyan));
    EXPECT_EQ(next.count(magenta), 0);
}

// The chosen shape is drawn with the wider highlight pen, its colour advancing at every draw.
TEST_F(Drawing, ChosenShapeHighlightAdvances) {
    list.AddKZRect(10, 10, 60, 40);
    ASSERT_EQ(list.IsSelect(12, 20), 1);
    ASSERT_EQ(list.SetSelect(), 1);
    ASSERT_EQ(list.IsSelect(100, 100), 0); // no hover: the choice shows highlighted
    const COLORREF expected[] = {RGB(1, 1, 0), RGB(2, 2, 0), RGB(3, 3, 0)};
    int highlighted = 0;
    for (COLORREF colour : expected) {
        DibCanvas pass(160, 120);
        list.Draw(pass.dc());
        EXPECT_TRUE(pass.near(35, 10, colour)) << std::hex << colour;
        highlighted = pass.count(colour);
    }
    CMensaro plain;
    plain.AddKZRect(10, 10, 60, 40);
    plain.Draw(canvas.dc());
    EXPECT_GT(highlighted, canvas.count(red)); // 4 pixels wide against 2
}

// Clearing deletes every shape but keeps the chosen index: nothing is drawn, and the next shape added at
// that index shows highlighted.
TEST_F(Drawing, ClearedListDrawsNothingAndKeepsTheChoice) {
    list.AddKZRect(10, 10, 60, 40);
    ASSERT_EQ(list.IsSelect(12, 20), 1);
    ASSERT_EQ(list.SetSelect(), 1);
    list.ClearAllGraph();
    list.Draw(canvas.dc());
    EXPECT_EQ(canvas.count(white), 160 * 120);

    list.AddKZRect(10, 10, 60, 40);
    list.Draw(canvas.dc());
    EXPECT_TRUE(canvas.near(35, 10, RGB(1, 1, 0)));
    EXPECT_EQ(canvas.count(red), 0);
}

} // namespace
