// The device's forwarding of register, range, focus-pulse and GPIO calls to its register object.
#include "camera_device.h"

namespace korvib {

// Indexes above 5 (signed) address the motor controller, the others the sensor.
int CameraDevice::RegOperation(int index, int* value, int write) {
    if (registers_ == nullptr) {
        return KZ_ERR_MISSING;
    }
    return registers_->RegOperation(index, value, write, index > KZ_REG_SENSOR_05 ? 0 : 1);
}

int CameraDevice::GetRegRange(int index, int* min, int* max) {
    return registers_ == nullptr ? KZ_ERR_MISSING : registers_->GetRegRange(index, min, max);
}

int CameraDevice::FocusOperation(int direction, int milliseconds) {
    return registers_ == nullptr ? KZ_ERR_MISSING : registers_->FocusPulse(direction, milliseconds);
}

int CameraDevice::MotorPosition() {
    return registers_ == nullptr ? kMotorUnknown : registers_->MotorPosition();
}

bool CameraDevice::MotorAnswers() {
    return registers_ != nullptr && registers_->MotorAnswers();
}

int CameraDevice::GPIOOperation(unsigned* value, int write) {
    return registers_ == nullptr ? KZ_ERR_MISSING : registers_->GPIOOperation(value, write);
}

} // namespace korvib
