// Tests of the GPIO lines, end stops, focus-motor controller and lens integration over simulated time.
#include "sim_fixture.h"

namespace platform::devices::testing {
namespace {

class MechanicsTest : public SimFixture {};

TEST_F(MechanicsTest, GpioInputShowsTheStopsInBits1And2AndMirrorsTheLatch)
{
    struct Case {
        const char* what;
        double position;
        unsigned zone;
        BYTE latch;
        int expected;
    };
    const Case cases[] = {
        {"back end", 0, 0, 0xFF, 0xFB},   {"middle", 180, 0, 0xFF, 0xFF},      {"front end", 360, 0, 0xFF, 0xFD},
        {"in the back zone", 4, 5, 0xFF, 0xFB}, {"past the zone", 6, 5, 0xFF, 0xFF}, {"latch bits mirrored", 180, 0, 0x36, 0x36},
        {"latch bits 1, 2 low, middle", 180, 0, 0xF9, 0xFF},
    };
    for (const Case& c : cases) {
        cam.setStopZone(c.zone);
        cam.setLensPosition(c.position);
        ASSERT_EQ(chipWrite(0x08, {c.latch}), S_OK);
        EXPECT_EQ(chipRead(0x09), c.expected) << c.what;
        ASSERT_EQ(chipWrite(0x08, {0xFF}), S_OK);
    }
}

TEST_F(MechanicsTest, StopOverridesAndWritesToTheInputAreIgnored)
{
    ASSERT_EQ(chipWrite(0x09, {0x00}), S_OK);
    EXPECT_EQ(chipRead(0x09), 0xFF) << "write to the input ignored";
    cam.setStopOverride(StopOverride::Unknown);
    EXPECT_EQ(chipRead(0x09), 0xF9);
    cam.setStopOverride(StopOverride::Byte, 0x04);
    EXPECT_EQ(chipRead(0x09), 0x04);
    cam.setStopOverride(StopOverride::None);
    EXPECT_EQ(chipRead(0x09), 0xFF);
}

TEST_F(MechanicsTest, GpioDriveMovesTheLensOverSimulatedTimeUntilAStop)
{
    cam.setLensPosition(100);
    ASSERT_EQ(chipWrite(0x08, {0xFD}), S_OK); // bit 1 low: towards the front
    clock.advance(30);
    EXPECT_DOUBLE_EQ(cam.lensPosition(), 130);
    ASSERT_EQ(chipWrite(0x08, {0xFF}), S_OK);
    clock.advance(30);
    EXPECT_DOUBLE_EQ(cam.lensPosition(), 130) << "both lines high stop it";
    ASSERT_EQ(chipWrite(0x08, {0xF9}), S_OK);
    clock.advance(30);
    EXPECT_DOUBLE_EQ(cam.lensPosition(), 130) << "both lines low stop it too";
    ASSERT_EQ(chipWrite(0x08, {0xFB}), S_OK); // bit 2 low: towards the back
    clock.advance(500);
    EXPECT_DOUBLE_EQ(cam.lensPosition(), 0);
    EXPECT_EQ(chipRead(0x09) & 0x06, 0x02) << "back stop reported";

    const auto writes = cam.gpioWrites();
    ASSERT_EQ(writes.size(), 4u);
    EXPECT_EQ(writes[1].timeMs - writes[0].timeMs, 30u);
    const auto moves = cam.motorMoves();
    ASSERT_EQ(moves.size(), 3u) << "front, stop, back (the second stop changes nothing)";
    EXPECT_EQ(moves[0].direction, 1);
    EXPECT_TRUE(moves[0].gpio);
    EXPECT_EQ(moves[2].direction, -1);
    EXPECT_DOUBLE_EQ(moves[2].position, 130);
}

TEST_F(MechanicsTest, ControllerStepsRunAtTheirSpeedKeepBusyAndAreReplacedByANewMove)
{
    cam.setLensPosition(100);
    ASSERT_EQ(motorWrite(0x10, 20), S_OK);
    EXPECT_EQ(motorRead(0x13), 1);
    clock.advance(10);
    EXPECT_DOUBLE_EQ(cam.lensPosition(), 110);
    EXPECT_EQ(motorRead(0x13), 1);
    clock.advance(10);
    EXPECT_DOUBLE_EQ(cam.lensPosition(), 120);
    EXPECT_EQ(motorRead(0x13), 0);
    EXPECT_EQ(motorRead(0x10), 20) << "reads return the last value written";

    ASSERT_EQ(motorWrite(0x11, 50), S_OK);
    clock.advance(5);
    ASSERT_EQ(motorWrite(0x10, 3), S_OK) << "replaces the move";
    clock.advance(100);
    EXPECT_DOUBLE_EQ(cam.lensPosition(), 118);
    ASSERT_EQ(motorWrite(0x11, 40), S_OK);
    clock.advance(10);
    ASSERT_EQ(motorWrite(0x11, 0), S_OK) << "0 stops";
    EXPECT_EQ(motorRead(0x13), 0);
    clock.advance(100);
    EXPECT_DOUBLE_EQ(cam.lensPosition(), 108);

    cam.setMotorSpeed(0.5);
    ASSERT_EQ(motorWrite(0x10, 255), S_OK);
    clock.advance(1000);
    EXPECT_DOUBLE_EQ(cam.lensPosition(), 360) << "clamped at the front stop";
    EXPECT_EQ(chipRead(0x09) & 0x06, 0x04);
}

TEST_F(MechanicsTest, TwentyStepMoveEndsBeforeTheNextFrame)
{
    ASSERT_EQ(motorWrite(0x10, 20), S_OK);
    ASSERT_TRUE(cam.deliverFrames(1));
    EXPECT_EQ(motorRead(0x13), 0);
}

TEST_F(MechanicsTest, MotorKnobsStuckBusyIgnoredMovesAndAbsence)
{
    cam.setLensPosition(100);
    cam.setMotorStuckBusy(true);
    clock.advance(5);
    EXPECT_EQ(motorRead(0x13), 1);
    cam.setMotorStuckBusy(false);
    cam.setMotorIgnoresMoves(true);
    ASSERT_EQ(motorWrite(0x10, 20), S_OK);
    clock.advance(50);
    EXPECT_DOUBLE_EQ(cam.lensPosition(), 100);
    EXPECT_EQ(motorRead(0x13), 0);
    EXPECT_EQ(motorRead(0x10), 20);
    cam.setMotorPresent(false);
    EXPECT_EQ(motorWrite(0x10, 20), kI2cNack);
    EXPECT_EQ(motorRead(0x13), -1);
}

TEST_F(MechanicsTest, KeyBlockShowsTheHeadAndARegister44ReadPopsIt)
{
    ASSERT_EQ(set(kPropChipSelect, 0x4504), S_OK);
    BYTE block[4] = {9, 9, 9, 9};
    ASSERT_EQ(cam.propertyGet(kPropChipData, block), S_OK);
    EXPECT_EQ(std::vector<BYTE>(block, block + 4), (std::vector<BYTE>{0, 0, 0, 0})) << "no key";

    cam.queueKey({0x80, 0x40, 0x1A});
    cam.queueKey({0x01, 0x40, 0x1B});
    ASSERT_EQ(cam.propertyGet(kPropChipData, block), S_OK);
    EXPECT_EQ(std::vector<BYTE>(block, block + 4), (std::vector<BYTE>{0x80, 0x40, 0x1A, 0}));
    ASSERT_EQ(cam.propertyGet(kPropChipData, block), S_OK);
    EXPECT_EQ(block[2], 0x1A) << "reading the head does not pop";
    chipRead(0x44);
    ASSERT_EQ(set(kPropChipSelect, 0x4504), S_OK);
    ASSERT_EQ(cam.propertyGet(kPropChipData, block), S_OK);
    EXPECT_EQ(block[2], 0x1B);
    chipRead(0x44);
    ASSERT_EQ(set(kPropChipSelect, 0x4504), S_OK);
    ASSERT_EQ(cam.propertyGet(kPropChipData, block), S_OK);
    EXPECT_EQ(std::vector<BYTE>(block, block + 4), (std::vector<BYTE>{0x00, 0x40, 0x1B, 0}))
        << "empty queue: the last entry's toggle without repeat, so no new key is seen";
}

} // namespace
} // namespace platform::devices::testing
