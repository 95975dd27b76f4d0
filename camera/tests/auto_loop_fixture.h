// Fixture for the auto loops on the simulated camera: loop state reset around each test, the sensor's
// registers, a live run of one loop, and the results posted to the test window.
#pragma once

#include <utility>
#include <vector>

#include <win32/user.h>

#include "auto_loops.h"
#include "camera_fixture.h"

// 24-bit DIB rows of one colour.
inline std::vector<BYTE> UniformFrame(int width, int height, BYTE blue, BYTE green, BYTE red) {
    const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
    std::vector<BYTE> frame(stride * height, 0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            BYTE* pixel = &frame[y * stride + x * 3];
            pixel[0] = blue;
            pixel[1] = green;
            pixel[2] = red;
        }
    }
    return frame;
}

class AutoLoopTest : public CameraTest {
protected:
    void SetUp() override {
        CameraTest::SetUp();
        ResetLoops();
    }
    void TearDown() override {
        ResetLoops();
        CameraTest::TearDown();
    }
    static void ResetLoops() {
        korvib::AutoLoops().SwitchWhiteBalance(false);
        korvib::AutoLoops().SwitchExposure(false);
        korvib::AutoLoops().SetParameters(korvib::AutoParameters{});
        korvib::AutoLoops().SetResultWindow(nullptr);
    }
    void SetSensor(int red, int green, int blue, int exposure) {
        int values[5] = {exposure, red, green, green, blue};
        for (int index = 0; index < 5; ++index) {
            ASSERT_EQ(KZ_RegOperation(handle_, index, &values[index], 1), KZ_OK);
        }
        Camera().clearLogs();
    }
    // Starts the preview on the open camera, switches one loop on and delivers frames until the loop is off
    // or `limit` frames have passed; the frames delivered.
    int RunLive(bool whiteBalance, int limit) {
        EXPECT_EQ(KZ_Start(handle_, 0, 0, 0, 0, 0, nullptr, KZ_RENDER_NONE), KZ_OK);
        korvib::AutoLoops().SetResultWindow(Window());
        whiteBalance ? korvib::AutoLoops().SwitchWhiteBalance(true)
                     : korvib::AutoLoops().SwitchExposure(true);
        int frames = 0;
        while ((whiteBalance ? korvib::AutoLoops().WhiteBalanceOn() : korvib::AutoLoops().ExposureOn()) &&
               frames < limit) {
            Camera().deliverFrames(1);
            ++frames;
        }
        return frames;
    }
    unsigned Sensor(BYTE reg) { return Camera().i2cRegister(0xBA, reg); }
    // The results and stops posted to the test window since the last call: {message, wParam}.
    std::vector<std::pair<UINT, WPARAM>> TakeResults() {
        std::vector<std::pair<UINT, WPARAM>> results;
        MSG message{};
        while (PeekMessage(&message, Window(), korvib::WM_AWB_RESULT, korvib::WM_AUTO_STOPPED, PM_REMOVE)) {
            results.emplace_back(message.message, message.wParam);
        }
        return results;
    }
};
