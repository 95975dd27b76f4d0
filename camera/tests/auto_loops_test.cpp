// Auto white balance and auto exposure: one step on made-up frames, and convergence on the simulated camera.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "auto_loop_fixture.h"

namespace {

using korvib::AutoLoops;
using platform::devices::Light;

struct BalanceCase {
    const char* name;
    int gains[3];
    int exposure;
    BYTE average[3]; // red, green, blue of the region
    int expectedGains[3];
    int expectedExposure;
    bool finishes;
};

// One working call of the white balance on a uniform frame: the steps, the too-dark and too-bright
// corrections, and the finish with its result word. The three calls before it do nothing.
TEST_F(AutoLoopTest, WhiteBalanceStep) {
    const BalanceCase cases[] = {
        {"balanced", {31, 21, 40}, 660, {180, 180, 180}, {31, 21, 40}, 660, true},
        {"average 100 steps by 8", {31, 21, 40}, 660, {100, 100, 100}, {39, 29, 48}, 660, false},
        {"185 and 171 step by 0", {31, 21, 40}, 660, {185, 171, 180}, {31, 21, 40}, 660, true},
        {"too dark", {5, 5, 5}, 660, {180, 180, 180}, {20, 20, 20}, 330, false},
        {"too dark at exposure 2", {5, 5, 5}, 2, {180, 180, 180}, {20, 20, 20}, 1, false},
        {"too dark at exposure 1", {5, 5, 5}, 1, {180, 180, 180}, {20, 20, 20}, 1, false},
        {"too dark at exposure 3", {5, 5, 5}, 3, {180, 180, 180}, {20, 20, 20}, 2, false},
        {"too bright", {62, 30, 50}, 16300, {180, 180, 180}, {42, 20, 30}, 16302, false},
        {"too bright keeps gains at 1", {62, 8, 50}, 1000, {180, 180, 180}, {42, 1, 30}, 1100, false},
    };
    ASSERT_NE(Open(), nullptr);
    AutoLoops().SetResultWindow(Window());
    for (const BalanceCase& c : cases) {
        SetSensor(c.gains[0], c.gains[1], c.gains[2], c.exposure);
        AutoLoops().SwitchWhiteBalance(true);
        std::vector<BYTE> frame = UniformFrame(64, 48, c.average[2], c.average[1], c.average[0]);
        const std::vector<BYTE> original = frame;
        for (int call = 1; call <= 3; ++call) {
            korvib::RunAutoLoops(frame.data(), 64, 48);
        }
        EXPECT_EQ(frame, original) << c.name << ": only every 4th call works";
        EXPECT_TRUE(Camera().registerWrites().empty()) << c.name;
        korvib::RunAutoLoops(frame.data(), 64, 48);
        EXPECT_EQ(Sensor(0x2D), static_cast<unsigned>(c.expectedGains[0])) << c.name;
        EXPECT_EQ(Sensor(0x2B), static_cast<unsigned>(c.expectedGains[1])) << c.name;
        EXPECT_EQ(Sensor(0x2E), static_cast<unsigned>(c.expectedGains[1])) << c.name;
        EXPECT_EQ(Sensor(0x2C), static_cast<unsigned>(c.expectedGains[2])) << c.name;
        EXPECT_EQ(Sensor(0x09), static_cast<unsigned>(c.expectedExposure)) << c.name;
        EXPECT_EQ(AutoLoops().WhiteBalanceOn(), !c.finishes) << c.name;
        const auto results = TakeResults();
        if (c.finishes) {
            const WPARAM word = c.gains[0] | c.gains[1] << 8 | c.gains[2] << 16;
            ASSERT_EQ(results.size(), 2u) << c.name;
            EXPECT_EQ(results[0], std::make_pair(korvib::WM_AWB_RESULT, word)) << c.name;
            EXPECT_EQ(results[1], std::make_pair(korvib::WM_AE_RESULT, static_cast<WPARAM>(c.exposure)));
        } else {
            EXPECT_TRUE(results.empty()) << c.name;
        }
    }
}

struct ExposureCase {
    const char* name;
    int exposure;
    BYTE mean;
    int expected;
    bool finishes;
};

TEST_F(AutoLoopTest, ExposureStep) {
    const ExposureCase cases[] = {
        {"mean 100 raises by 8", 660, 100, 668, false}, {"stops at the maximum", 16380, 100, 16383, false},
        {"mean 250 lowers by 7", 660, 250, 653, false}, {"mean 175 finishes", 660, 175, 660, true},
        {"mean 189 finishes", 660, 189, 660, true},
    };
    ASSERT_NE(Open(), nullptr);
    AutoLoops().SetResultWindow(Window());
    for (const ExposureCase& c : cases) {
        SetSensor(31, 21, 40, c.exposure);
        AutoLoops().SwitchExposure(true);
        std::vector<BYTE> frame = UniformFrame(64, 48, c.mean, c.mean, c.mean);
        for (int call = 1; call <= 4; ++call) {
            korvib::RunAutoLoops(frame.data(), 64, 48);
        }
        EXPECT_EQ(Sensor(0x09), static_cast<unsigned>(c.expected)) << c.name;
        EXPECT_EQ(AutoLoops().ExposureOn(), !c.finishes) << c.name;
        const auto results = TakeResults();
        ASSERT_EQ(results.size(), c.finishes ? 1u : 0u) << c.name;
        if (c.finishes) {
            EXPECT_EQ(results[0], std::make_pair(korvib::WM_AE_RESULT, static_cast<WPARAM>(c.exposure)));
        }
    }
}

// Loops whose steps never reach 0 finish on the call with counter 84 and not before. Both measure the frame
// as it came (exposure before white balance marks it), and white balance reports the gains it wrote on its
// last run, leaving the exposure to the loop still running.
TEST_F(AutoLoopTest, LoopsGiveUpAfterTwentyOneRuns) {
    ASSERT_NE(Open(), nullptr);
    AutoLoops().SetResultWindow(Window());
    SetSensor(15, 15, 15, 660);
    AutoLoops().SwitchWhiteBalance(true);
    AutoLoops().SwitchExposure(true);
    for (int call = 1; call <= 84; ++call) {
        EXPECT_TRUE(AutoLoops().WhiteBalanceOn()) << call;
        EXPECT_TRUE(AutoLoops().ExposureOn()) << call;
        // Step 1 for every colour and for the exposure.
        std::vector<BYTE> frame = UniformFrame(64, 48, 170, 170, 170);
        korvib::RunAutoLoops(frame.data(), 64, 48);
    }
    EXPECT_FALSE(AutoLoops().WhiteBalanceOn());
    EXPECT_FALSE(AutoLoops().ExposureOn());
    EXPECT_EQ(Sensor(0x2D), 15u + 21u) << "one step on each of the 21 runs";
    EXPECT_EQ(Sensor(0x09), 660u + 20u) << "the exposure moves on 20 runs, the 21st finishes";
    const auto results = TakeResults();
    ASSERT_EQ(results.size(), 2u);
    EXPECT_EQ(results[0],
              std::make_pair(korvib::WM_AWB_RESULT, static_cast<WPARAM>(36 | 36 << 8 | 36 << 16)));
    EXPECT_EQ(results[1], std::make_pair(korvib::WM_AE_RESULT, static_cast<WPARAM>(680)));
}

// The bound ends the loop in the too-dark and too-bright branches too (a clipped highlight steps the gains
// down into too dark, a black region up into too bright, for ever), and the result is what the sensor holds.
TEST_F(AutoLoopTest, BoundEndsTheCorrectingBranches) {
    const struct {
        const char* name;
        BYTE level;
    } cases[] = {{"clipped highlight", 235}, {"black region", 0}};
    ASSERT_NE(Open(), nullptr);
    AutoLoops().SetResultWindow(Window());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SetSensor(31, 21, 40, 660);
        AutoLoops().SwitchWhiteBalance(true);
        for (int call = 1; call <= 84; ++call) {
            std::vector<BYTE> frame = UniformFrame(64, 48, c.level, c.level, c.level);
            korvib::RunAutoLoops(frame.data(), 64, 48);
        }
        EXPECT_FALSE(AutoLoops().WhiteBalanceOn());
        const auto results = TakeResults();
        ASSERT_EQ(results.size(), 2u);
        EXPECT_EQ(results[0],
                  std::make_pair(korvib::WM_AWB_RESULT,
                                 static_cast<WPARAM>(Sensor(0x2D) | Sensor(0x2B) << 8 | Sensor(0x2C) << 16)));
        EXPECT_EQ(results[1], std::make_pair(korvib::WM_AE_RESULT, static_cast<WPARAM>(Sensor(0x09))));
    }
}

// The region: width / 4 by height / 4, centred; white balance starts one column further right than
// exposure when the width is even and the region width odd. Each of its bytes drops by 10, stopping at 0
// so a dark region never turns bright; the rest of the frame, row padding included, stays.
TEST_F(AutoLoopTest, RegionIsDarkenedInPlace) {
    ASSERT_NE(Open(), nullptr);
    constexpr int kWidth = 14; // stride 44: two padding bytes per row
    constexpr int kHeight = 8;
    constexpr std::size_t kStride = 44;
    for (bool whiteBalance : {true, false}) {
        std::vector<BYTE> frame(kStride * kHeight);
        for (std::size_t i = 0; i < frame.size(); ++i) {
            frame[i] = static_cast<BYTE>(i * 7);
        }
        const std::size_t probe = 3 * kStride + 6 * 3;
        frame[probe] = 5;
        frame[probe + 1] = 200;
        frame[probe + 2] = 10;
        std::vector<BYTE> expected = frame;
        const int left = whiteBalance ? 6 : 5; // 14 / 2 - 3 / 2, (14 - 3) / 2
        for (int y = 3; y < 5; ++y) {
            for (std::size_t b = 0; b < 9; ++b) {
                BYTE& byte = expected[y * kStride + left * 3 + b];
                byte = byte >= 10 ? static_cast<BYTE>(byte - 10) : 0;
            }
        }
        AutoLoops().SwitchWhiteBalance(whiteBalance);
        AutoLoops().SwitchExposure(!whiteBalance);
        for (int call = 1; call <= 4; ++call) {
            korvib::RunAutoLoops(frame.data(), kWidth, kHeight);
        }
        EXPECT_EQ(frame, expected) << (whiteBalance ? "white balance" : "exposure");
        EXPECT_EQ(frame[probe], 0);
        EXPECT_EQ(frame[probe + 1], 190);
        EXPECT_EQ(frame[probe + 2], 0);
    }
}

// A split that leaves no region, or a sensor that does not answer, switches the loop off on its first run
// without touching the frame or the sensor; the dialog is told it stopped, with no result.
TEST_F(AutoLoopTest, UnusableRunsSwitchOff) {
    ASSERT_NE(Open(), nullptr);
    AutoLoops().SetResultWindow(Window());
    for (bool absentSensor : {false, true}) {
        korvib::AutoParameters parameters;
        parameters.autoSplit = absentSensor ? 4 : 100;
        AutoLoops().SetParameters(parameters);
        Camera().setSensorPresent(!absentSensor);
        Camera().clearLogs();
        AutoLoops().SwitchWhiteBalance(true);
        AutoLoops().SwitchExposure(true);
        std::vector<BYTE> frame = UniformFrame(64, 48, 100, 100, 100);
        for (int call = 1; call <= 4; ++call) {
            korvib::RunAutoLoops(frame.data(), 64, 48);
        }
        EXPECT_FALSE(AutoLoops().WhiteBalanceOn()) << absentSensor;
        EXPECT_FALSE(AutoLoops().ExposureOn()) << absentSensor;
        EXPECT_TRUE(Camera().registerWrites().empty()) << absentSensor;
        const auto stopped = std::make_pair(korvib::WM_AUTO_STOPPED, WPARAM{0});
        EXPECT_EQ(TakeResults(), (std::vector{stopped, stopped}))
            << absentSensor << ": no result, one stop each";
        if (!absentSensor) {
            EXPECT_EQ(frame, UniformFrame(64, 48, 100, 100, 100));
        }
    }
}

// From the power-on gains the live loop balances the chart: neutral light ends with three near-equal gains,
// warm light with red below blue, cool light (red short of the target even at the highest gain, so the
// too-bright correction takes turns with the steps) with red above blue; the posted result holds the gains
// the sensor has.
TEST_F(AutoLoopTest, WhiteBalanceConvergesOnTheCamera) {
    for (Light light : {Light::Neutral, Light::Warm, Light::Cool}) {
        platform::devices::SimulatedCamera::resetAll();
        Camera().setSteppedMode(true);
        ASSERT_NE(OpenAt(640, 480), nullptr);
        Camera().setLight(light);
        const int frames = RunLive(true, 200);
        EXPECT_FALSE(AutoLoops().WhiteBalanceOn());
        const unsigned red = Sensor(0x2D);
        const unsigned green = Sensor(0x2B);
        const unsigned blue = Sensor(0x2C);
        const char* name = light == Light::Neutral ? "neutral" : light == Light::Warm ? "warm" : "cool";
        SCOPED_TRACE(name);
        RecordProperty(name, std::to_string(frames) + " frames, gains " + std::to_string(red) + "/" +
                                 std::to_string(green) + "/" + std::to_string(blue));
        if (light == Light::Neutral) {
            EXPECT_LE(frames, 40);
            for (unsigned gain : {red, green, blue}) {
                EXPECT_GE(gain, 42u);
                EXPECT_LE(gain, 48u);
            }
        } else if (light == Light::Warm) {
            EXPECT_LT(red, green);
            EXPECT_LT(green, blue);
        } else {
            EXPECT_GT(red, green);
            EXPECT_GT(green, blue);
        }
        const auto results = TakeResults();
        ASSERT_EQ(results.size(), 2u);
        EXPECT_EQ(results[0].second, red | green << 8 | blue << 16);
        EXPECT_EQ(Sensor(0x2E), green);
        ASSERT_EQ(KZ_UnInitial(&handle_), KZ_OK);
    }
}

// In bright light from a short exposure the live loop settles the mean at the target.
TEST_F(AutoLoopTest, ExposureConvergesOnTheCamera) {
    ASSERT_NE(OpenAt(640, 480), nullptr);
    ASSERT_TRUE(Camera().setLightLevel(20));
    SetSensor(31, 21, 40, 30);
    const int frames = RunLive(false, 120);
    EXPECT_FALSE(AutoLoops().ExposureOn());
    const unsigned exposure = Sensor(0x09);
    RecordProperty("exposure", std::to_string(frames) + " frames, exposure " + std::to_string(exposure));
    EXPECT_GE(exposure, 44u);
    EXPECT_LE(exposure, 53u);
    const auto results = TakeResults();
    ASSERT_EQ(results.size(), 1u);
    EXPECT_EQ(results[0], std::make_pair(korvib::WM_AE_RESULT, static_cast<WPARAM>(exposure)));
}

} // namespace
