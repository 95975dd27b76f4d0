// The picture is fit for the camera library's loops: small models of its white balance and coarse
// focus climb converge on the simulated chip, driving it only through the private interface.
#include "sim_fixture.h"

#include <cmath>

namespace platform::devices::testing {
namespace {

constexpr LONG kWidth = 640, kHeight = 480;

class LibraryLoopsTest : public SimFixture {
protected:
    LibraryLoopsTest() = default;
    explicit LibraryLoopsTest(SimulatedCamera camera) : SimFixture(std::move(camera)) {}
    void SetUp() override
    {
        SimFixture::SetUp();
        ASSERT_TRUE(cam.device().setFormat({PixelFormat::Rgb24, kWidth, kHeight}));
    }
    int sensor(BYTE reg)
    {
        std::vector<BYTE> b(2);
        EXPECT_EQ(i2cRead(kSensorAddress, reg, b), S_OK);
        return b[0] << 8 | b[1];
    }
    static const BYTE* pixel(const FrameView& f, LONG x, LONG y)
    {
        return f.data + std::size_t(y) * ((kWidth * 3 + 3) & ~3) + std::size_t(x) * 3;
    }
    // Sum of each grey pixel's differences to its four neighbours over the centre region.
    static double focusValue(const FrameView& f)
    {
        const LONG w = kWidth / 4, h = kHeight / 4, left = kWidth / 2 - w / 2, top = kHeight / 2 - h / 2;
        std::vector<int> grey(std::size_t(w) * h);
        for (LONG y = 0; y < h; ++y)
            for (LONG x = 0; x < w; ++x) {
                const BYTE* p = pixel(f, left + x, top + y);
                grey[y * w + x] = (6 * p[1] + 3 * p[2] + p[0]) / 10;
            }
        double value = 0;
        for (LONG y = 1; y < h - 1; ++y)
            for (LONG x = 1; x < w - 1; ++x) {
                const int c = grey[y * w + x];
                value += std::abs(c - grey[y * w + x - 1]) + std::abs(c - grey[y * w + x + 1]) +
                         std::abs(c - grey[(y - 1) * w + x]) + std::abs(c - grey[(y + 1) * w + x]);
            }
        return value;
    }
    // White balance as the library runs it: every 4th frame, centre region (a quarter each way), step =
    // (180 - average) / 10. Runs `frames` frames; the frame at which no gain moved any more, or 0.
    int whiteBalanceFinish(unsigned frames)
    {
        int counter = 0, finishedAt = 0;
        cam.device().startStream([&](const FrameView& f) {
            if (finishedAt || ++counter % 4 != 0)
                return;
            const LONG rw = kWidth / 4, rh = kHeight / 4, top = (kHeight - rh) / 2, left = kWidth / 2 - rw / 2;
            long sums[3] = {};
            for (LONG y = top; y < top + rh; ++y)
                for (LONG x = left; x < left + rw; ++x)
                    for (int c = 0; c < 3; ++c)
                        sums[c] += pixel(f, x, y)[c];
            int steps[3];
            for (int c = 0; c < 3; ++c)
                steps[c] = (180 - int(sums[c] / (rw * rh))) / 10;
            const BYTE regs[3] = {0x2C, 0x2B, 0x2D}; // blue, green, red
            for (int c = 0; c < 3; ++c)
                if (steps[c]) {
                    const int gain = std::clamp(sensor(regs[c]) + steps[c], 1, 63);
                    EXPECT_EQ(sensorWrite(regs[c], gain), S_OK);
                    if (c == 1) {
                        EXPECT_EQ(sensorWrite(0x2E, gain), S_OK);
                    }
                }
            if (!steps[0] && !steps[1] && !steps[2])
                finishedAt = counter;
        });
        EXPECT_TRUE(cam.deliverFrames(frames));
        cam.device().stopStream();
        return finishedAt;
    }
    // End-stop state from the GPIO input: 0 back end, 1 middle, 2 front end, 3 unknown.
    int motorPosition()
    {
        switch (chipRead(0x09) & 0x06) {
        case 0x02:
            return 0;
        case 0x06:
            return 1;
        case 0x04:
            return 2;
        default:
            return 3;
        }
    }
};

TEST_F(LibraryLoopsTest, WhiteBalanceFromPowerOnGainsReachesNeutralWithin28Frames)
{
    EXPECT_EQ(whiteBalanceFinish(28), 28);
    for (BYTE reg : {0x2C, 0x2B, 0x2E, 0x2D})
        EXPECT_NEAR(sensor(reg), 43, 1) << "register " << int(reg);
}

// The program's live look (noise, warm cast, counter, natural scene): white balance still ends neutral, each
// gain near 43 over its channel's sensitivity (blue 0.8, green 1.75, red 1.3).
class LiveLookLoopsTest : public LibraryLoopsTest {
protected:
    LiveLookLoopsTest() : LibraryLoopsTest(SimulatedCamera(std::make_shared<SimulatedDevice>(SimulatedDevice::Defaults::Live))) {}
};

TEST_F(LiveLookLoopsTest, WhiteBalanceTurnsTheCastNeutral)
{
    cam.setScene(Scene::Natural);
    const int finishedAt = whiteBalanceFinish(60);
    EXPECT_GT(finishedAt, 0);
    EXPECT_NEAR(sensor(0x2C), 43 / 0.8, 2);
    EXPECT_NEAR(sensor(0x2B), 43 / 1.75, 2);
    EXPECT_NEAR(sensor(0x2D), 43 / 1.3, 2);
}

// The focus loops on the test defaults and on the program's live look (noise, warm cast, frame counter, the
// natural scene): the noise must not stop a climb or a sweep far from the peak. It does decide between two
// positions equally far from the peak, which the climb's fine phase then may not leave: within 30 steps.
class FocusOnEachLook : public LibraryLoopsTest, public ::testing::WithParamInterface<SimulatedDevice::Defaults> {
protected:
    FocusOnEachLook() : LibraryLoopsTest(SimulatedCamera(std::make_shared<SimulatedDevice>(GetParam()))) {}
    void SetUp() override
    {
        LibraryLoopsTest::SetUp();
        if (GetParam() == SimulatedDevice::Defaults::Live)
            cam.setScene(Scene::Natural);
    }
};

INSTANTIATE_TEST_SUITE_P(Looks, FocusOnEachLook,
                         ::testing::Values(SimulatedDevice::Defaults::Test, SimulatedDevice::Defaults::Live),
                         [](const auto& info) { return info.param == SimulatedDevice::Defaults::Live ? "Live" : "Test"; });

// Coarse climb of 20-step moves (reversing when the focus value does not rise, fine 15-step phase
// after three reversals) ends near the peak from either end and from the middle.
TEST_P(FocusOnEachLook, FocusClimbEndsNearThePeak)
{
    const double within = GetParam() == SimulatedDevice::Defaults::Live ? 30 : 20;
    for (double start : {0.0, 100.0, 200.0, 360.0})
        for (double peak : {30.0, 150.0, 250.0, 340.0}) {
            cam.setLensPosition(start);
            cam.setFocusPeak(peak);
            bool on = true, fine = false;
            int direction = 1, step = 20, coarse = 0, reversals = 0, fineCount = 0;
            double current = 0, maximum = 0;
            auto move = [&] { EXPECT_EQ(motorWrite(direction ? 0x10 : 0x11, BYTE(step)), S_OK); };
            cam.device().startStream([&](const FrameView& f) {
                if (!on || motorRead(0x13) != 0)
                    return;
                const double value = focusValue(f);
                if (fine) {
                    if (fineCount == 0) {
                        current = value;
                        step = 15;
                    } else if (value > maximum || fineCount >= 20) {
                        on = false;
                        return;
                    } else {
                        direction = value > current ? direction : 1 - direction;
                        current = value;
                    }
                    move();
                    ++fineCount;
                    return;
                }
                if (coarse >= 20) {
                    on = false;
                    return;
                }
                if (coarse == 0) {
                    current = maximum = value;
                    direction = motorPosition() == 2 ? 0 : 1;
                    move();
                } else if (value > current) {
                    maximum = std::max(maximum, value);
                    move();
                    current = value;
                } else {
                    direction = 1 - direction;
                    move();
                    if (++reversals == 3) {
                        fine = true;
                        return;
                    }
                    current = value;
                }
                ++coarse;
            });
            ASSERT_TRUE(cam.deliverFrames(80));
            cam.device().stopStream();
            EXPECT_FALSE(on) << "start " << start << " peak " << peak;
            EXPECT_NEAR(cam.lensPosition(), peak, within) << "start " << start << " peak " << peak;
        }
}

// End-stop sweep: run to an end stop in 20-step moves, sweep to the other in 18-step moves noting
// the sharpest step, then return that many steps (or until sharper). It ends within 9 steps of the peak.
TEST_P(FocusOnEachLook, EndStopSweepReturnsWithin9StepsOfThePeak)
{
    for (double start : {0.0, 100.0, 200.0, 360.0})
        for (double peak : {30.0, 150.0, 250.0, 340.0}) {
            cam.setLensPosition(start);
            cam.setFocusPeak(peak);
            bool on = true, started = false, returning = false;
            int direction = 1, step = 20, count = 0, countAtMax = 0;
            double maximum = 0;
            auto move = [&] { EXPECT_EQ(motorWrite(direction ? 0x10 : 0x11, BYTE(step)), S_OK); };
            cam.device().startStream([&](const FrameView& f) {
                if (!on || motorRead(0x13) != 0)
                    return;
                if (returning) {
                    if (count - countAtMax > 0 && focusValue(f) <= maximum) {
                        move();
                        ++countAtMax;
                    } else {
                        on = false;
                    }
                    return;
                }
                const int position = motorPosition();
                if (position == 0 || position == 2) {
                    const int away = position == 2 ? 0 : 1; // the direction off this stop
                    if (!started) {
                        started = true;
                        maximum = focusValue(f);
                        step = 18;
                        direction = away;
                        move();
                        ++count;
                    } else if (direction == away) {
                        move();
                    } else {
                        const double value = focusValue(f);
                        if (value > maximum) {
                            maximum = value;
                            countAtMax = count;
                        }
                        direction = away;
                        returning = true;
                    }
                } else if (position == 1) {
                    if (started) {
                        const double value = focusValue(f);
                        if (value > maximum) {
                            maximum = value;
                            countAtMax = count;
                        }
                        ++count;
                    }
                    move();
                }
            });
            ASSERT_TRUE(cam.deliverFrames(80));
            cam.device().stopStream();
            EXPECT_FALSE(on) << "start " << start << " peak " << peak;
            EXPECT_NEAR(cam.lensPosition(), peak, 9) << "start " << start << " peak " << peak;
        }
}

} // namespace
} // namespace platform::devices::testing
