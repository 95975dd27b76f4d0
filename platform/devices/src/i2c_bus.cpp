// Address routing, presence and NACK of the I2C bus.
#include "i2c_bus.h"

#include <devices/simulated_camera.h>

namespace platform::devices {

bool I2cBus::answers(BYTE address) const
{
    if (nacking.count(address))
        return false;
    return (address == kSensorAddress && sensorPresent) || (address == kMotorAddress && motorPresent);
}

WORD I2cBus::idWord(BYTE address) const
{
    if (!answers(address))
        return 0;
    return address == kSensorAddress ? ImageSensor::kIdWord : FocusMotor::kIdWord;
}

HRESULT I2cBus::write(BYTE address, BYTE reg, const BYTE* data, BYTE count, uint64_t effectiveFrame)
{
    if (!answers(address))
        return kI2cNack;
    if (address == kSensorAddress)
        return sensor.write(reg, data, count, effectiveFrame);
    return motor.write(reg, data, count);
}

HRESULT I2cBus::read(BYTE address, BYTE reg, BYTE* data, BYTE count) const
{
    if (!answers(address))
        return kI2cNack;
    if (address == kSensorAddress)
        return sensor.read(reg, data, count);
    return motor.read(reg, data, count);
}

} // namespace platform::devices
