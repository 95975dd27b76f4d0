// Fixture for tests of the simulated camera: a fresh device on a stepped clock, and bus helpers.
#pragma once

#include "simulated_device.h"

#include <devices/simulated_camera.h>
#include <win32/clock.h>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace platform::devices::testing {

class SimFixture : public ::testing::Test {
protected:
    explicit SimFixture(SimulatedCamera camera = SimulatedCamera(std::make_shared<SimulatedDevice>()))
        : cam(std::move(camera))
    {
    }
    void SetUp() override
    {
        installClock(&clock);
        cam.setSteppedMode(true);
    }
    void TearDown() override
    {
        cam.setSteppedMode(false);
        installClock(nullptr);
    }

    HRESULT set(ULONG id, uint32_t value) { return cam.propertySet(id, &value); }
    HRESULT getInt(ULONG id, int32_t& value) { return cam.propertyGet(id, &value); }

    static uint32_t i2cSelector(BYTE address, BYTE reg, BYTE count)
    {
        return 1u << 24 | uint32_t(address) << 16 | uint32_t(reg) << 8 | count;
    }
    // Select and data call of one I2C transfer; the first failing HRESULT.
    HRESULT i2cWrite(BYTE address, BYTE reg, std::vector<BYTE> bytes)
    {
        const HRESULT hr = set(kPropI2cSelect, i2cSelector(address, reg, BYTE(bytes.size())));
        return hr != S_OK ? hr : cam.propertySet(kPropI2cData, bytes.data());
    }
    HRESULT i2cRead(BYTE address, BYTE reg, std::vector<BYTE>& bytes)
    {
        const HRESULT hr = set(kPropI2cSelect, i2cSelector(address, reg, BYTE(bytes.size())));
        return hr != S_OK ? hr : cam.propertyGet(kPropI2cData, bytes.data());
    }
    HRESULT sensorWrite(BYTE reg, unsigned value)
    {
        return i2cWrite(kSensorAddress, reg, {BYTE(value >> 8), BYTE(value)});
    }
    HRESULT motorWrite(BYTE reg, BYTE value) { return i2cWrite(kMotorAddress, reg, {value}); }
    int motorRead(BYTE reg)
    {
        std::vector<BYTE> b(1);
        return i2cRead(kMotorAddress, reg, b) == S_OK ? b[0] : -1;
    }
    HRESULT chipWrite(BYTE reg, std::vector<BYTE> bytes)
    {
        const HRESULT hr = set(kPropChipSelect, uint32_t(reg) << 8 | uint32_t(bytes.size()));
        return hr != S_OK ? hr : cam.propertySet(kPropChipData, bytes.data());
    }
    int chipRead(BYTE reg)
    {
        BYTE b = 0;
        if (set(kPropChipSelect, uint32_t(reg) << 8 | 1) != S_OK || cam.propertyGet(kPropChipData, &b) != S_OK)
            return -1;
        return b;
    }
    // The last delivered frame, rendered after `frames` more frames in `format`.
    CapturedFrame frameAfter(unsigned frames, VideoFormat format = {PixelFormat::Rgb24, 640, 480})
    {
        EXPECT_TRUE(cam.device().setFormat(format));
        EXPECT_TRUE(cam.deliverFrames(frames));
        return cam.lastFrames().back();
    }

    SteppedClock clock;
    SimulatedCamera cam;
};

// Byte of channel c (0 blue, 1 green, 2 red) at pixel (x, y), y from the top, of a bottom-up RGB24 frame.
inline BYTE bgrAt(const CapturedFrame& f, LONG x, LONG y, int c)
{
    const LONG stride = (f.format.width * 3 + 3) & ~3;
    return f.bytes[std::size_t(f.format.height - 1 - y) * stride + x * 3 + c];
}

// Mean of channel c over the whole frame.
inline double channelMean(const CapturedFrame& f, int c)
{
    double sum = 0;
    for (LONG y = 0; y < f.format.height; ++y)
        for (LONG x = 0; x < f.format.width; ++x)
            sum += bgrAt(f, x, y, c);
    return sum / (double(f.format.width) * f.format.height);
}

} // namespace platform::devices::testing
