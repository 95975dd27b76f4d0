// Tests of the shape list: capacity, hit order and its debugger text, choice, moves, clearing, copies.
#include <measure/mensaro.h>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// The debugger output switch is read once, at the first output of the process.
const bool debugOutputOn = [] { return setenv("ORVANEL_DEBUG_OUTPUT", "1", 1) == 0; }();

TEST(Mensaro, HoldsExactly1024Shapes) {
    CMensaro list;
    for (int i = 0; i < 1024; ++i)
        ASSERT_EQ(list.AddCircle(i * 100, 0, 3), 1) << i;
    EXPECT_EQ(list.AddKZLine(0, 0, 1, 1), 0);
    EXPECT_EQ(list.AddKZRect(0, 0, 1, 1), 0);
    EXPECT_EQ(list.AddCircle(0, 0, 1), 0);
    EXPECT_EQ(list.AddKZEllipse(0, 0, 1, 1), 0);
    // The last shape is still there and can be hit.
    EXPECT_EQ(list.IsSelect(1023 * 100 + 3, 0), 1);
}

TEST(Mensaro, FirstShapeWinsAndTheHitIsReported) {
    ASSERT_TRUE(debugOutputOn);
    CMensaro list;
    list.AddKZRect(10, 10, 100, 50);
    list.AddKZLine(0, 30, 200, 30); // runs through the rectangle's left side
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(list.IsSelect(12, 30), 1);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "[debug] CurrentSelect: 0 Graphic Num: 2\n");
    EXPECT_EQ(list.IsSelect(150, 31), 1); // only the line is there
    EXPECT_EQ(list.SetSelect(), 1);
}

// Move acts on the hovered shape; a miss clears the hover, so SetSelect then clears the choice.
TEST(Mensaro, MoveFollowsHoverAndAMissClearsIt) {
    CMensaro list;
    list.AddCircle(100, 100, 20);
    list.AddCircle(300, 100, 20);
    ASSERT_EQ(list.IsSelect(120, 100), 1);
    list.Move(10, 0);
    EXPECT_EQ(list.IsSelect(130, 100), 1);
    EXPECT_EQ(list.IsSelect(120, 100), 0); // moved away; and nothing hovered now
    list.Move(500, 500);                   // no hovered shape: nothing moves
    EXPECT_EQ(list.IsSelect(130, 100), 1);
    EXPECT_EQ(list.IsSelect(320, 100), 1);
    EXPECT_EQ(list.SetSelect(), 1);
    EXPECT_EQ(list.IsSelect(0, 0), 0);
    EXPECT_EQ(list.SetSelect(), 0);
}

TEST(Mensaro, ClearAllGraphEmptiesTheList) {
    CMensaro list;
    list.AddCircle(100, 100, 20);
    ASSERT_EQ(list.IsSelect(120, 100), 1);
    list.ClearAllGraph();
    EXPECT_EQ(list.IsSelect(120, 100), 0);
    list.Move(10, 10); // no shape, no hover: harmless
    EXPECT_EQ(list.AddCircle(0, 0, 10), 1);
    EXPECT_EQ(list.IsSelect(10, 0), 1);
}

// Copies own their shapes: clearing or destroying one list leaves the other intact.
TEST(Mensaro, CopiesAreDeep) {
    auto original = std::make_unique<CMensaro>();
    original->AddKZLine(0, 0, 10, 10);
    original->AddCircle(100, 100, 20);
    CMensaro copy(*original);
    CMensaro assigned;
    assigned.AddKZRect(200, 0, 300, 50);
    assigned = *original;
    original->ClearAllGraph();
    original.reset();
    EXPECT_EQ(copy.IsSelect(120, 100), 1);
    EXPECT_EQ(assigned.IsSelect(50, 52), 1);
    EXPECT_EQ(assigned.IsSelect(202, 20), 0); // the rectangle it held before is gone
    copy.Move(0, 50);
    EXPECT_EQ(assigned.IsSelect(120, 100), 1); // moving the copy's shape leaves the other's
    assigned = assigned;
    EXPECT_EQ(assigned.IsSelect(120, 100), 1);
}

TEST(Mensaro, UnitAndCalibrationChangeNothingElse) {
    CMensaro list;
    list.AddCircle(100, 100, 20);
    list.SetUnit(KZ_UNIT_MILLIMETRE);
    list.SetCalibrationUnit(KZ_UNIT_MICROMETRE, 12345);
    EXPECT_EQ(list.IsSelect(120, 100), 1);
}

} // namespace
