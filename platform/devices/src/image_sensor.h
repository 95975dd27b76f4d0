// The image sensor on the I2C bus: 16-bit big-endian registers whose writes shape frames after a latency.
#pragma once

#include <win32/types.h>

#include <array>
#include <cstdint>
#include <vector>

namespace platform::devices {

// Sensor values a frame is rendered with: exposure clamped to 1..16383, gains to 0..63.
struct SensorExposure {
    double exposure = 660;
    double gainBlue = 40;
    double gainGreen = 21; // mean of the two green gains
    double gainRed = 31;
};

// Not thread-safe: the owning device serialises access.
class ImageSensor {
public:
    static constexpr BYTE kExposure = 0x09;
    static constexpr BYTE kGainGreen1 = 0x2B;
    static constexpr BYTE kGainBlue = 0x2C;
    static constexpr BYTE kGainRed = 0x2D;
    static constexpr BYTE kGainGreen2 = 0x2E;
    static constexpr WORD kIdWord = 0x1425;

    ImageSensor();

    // Transfers of exactly two bytes, high byte first; any other count gives E_INVALIDARG.
    // A write reads back at once and shapes frames from `effectiveFrame` on.
    [[nodiscard]] HRESULT write(BYTE reg, const BYTE* data, BYTE count, uint64_t effectiveFrame);
    [[nodiscard]] HRESULT read(BYTE reg, BYTE* data, BYTE count) const;
    WORD value(BYTE reg) const { return stored_[reg]; }

    // Applies the writes due by frame `frame` and returns what that frame is rendered with.
    SensorExposure exposureFor(uint64_t frame);

private:
    struct Pending {
        uint64_t frame;
        BYTE reg;
        WORD value;
    };
    std::array<WORD, 256> stored_{};    // as read back
    std::array<WORD, 256> effective_{}; // as the picture sees them
    std::vector<Pending> pending_;
};

} // namespace platform::devices
