// The chip's I2C bus: the image sensor at 0xBA and the focus-motor controller at 0x46, with presence and NACK.
#pragma once

#include "focus_motor.h"
#include "image_sensor.h"

#include <set>

namespace platform::devices {

// Not thread-safe: the owning device serialises access.
class I2cBus {
public:
    ImageSensor sensor;
    FocusMotor motor;
    bool sensorPresent = true;
    bool motorPresent = true;
    std::set<BYTE> nacking;

    // True when a present device sits at `address` and acknowledges.
    bool answers(BYTE address) const;
    // The id word of the device at `address`, 0 when none answers.
    WORD idWord(BYTE address) const;
    // Transfers `count` bytes with register `reg` of the device at `address`: kI2cNack when none
    // answers, E_INVALIDARG for a count the device refuses. Sensor writes shape frames from `effectiveFrame`.
    [[nodiscard]] HRESULT write(BYTE address, BYTE reg, const BYTE* data, BYTE count, uint64_t effectiveFrame);
    [[nodiscard]] HRESULT read(BYTE address, BYTE reg, BYTE* data, BYTE count) const;
};

} // namespace platform::devices
