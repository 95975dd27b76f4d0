// RegisterAccess: register table, sensor and motor transfers, ranges, focus pulses, end stops and GPIO.
#include "register_access.h"

#include <cstdio>
#include <new>

#include <camera/korvib.h>
#include <win32/timing.h>
#include <win32/user.h>

#include "bridge_chip.h"
#include "debug_output.h"

namespace korvib {
namespace {

constexpr BYTE kSensorAddress = 0xBA;
constexpr BYTE kMotorAddress = 0x46;

// Register numbers of KZ_REG_EXPOSURE .. KZ_REG_MOTOR_BUSY.
constexpr BYTE kRegisters[] = {0x09, 0x2D, 0x2B, 0x2E, 0x2C, 0x05, 0x10, 0x11, 0x12, 0x13};
constexpr int kRegisterCount = static_cast<int>(sizeof(kRegisters));

struct Range {
    int min;
    int max;
};
// Ranges of indexes 0 to 8; the busy flag has none.
constexpr Range kRanges[] = {{1, 16383}, {1, 63}, {1, 63}, {1, 63}, {1, 63}, {1, 255}, {1, 255}, {1, 255}, {0, 255}};
constexpr int kRangeCount = static_cast<int>(sizeof(kRanges) / sizeof(kRanges[0]));

// GPIO lines of the focus motor, active low: line 1 low alone drives towards the front end, line 2 low
// alone towards the back end. Read back, line 1 is low at the front stop and line 2 at the back stop.
constexpr unsigned kLine1 = 0x02;
constexpr unsigned kLine2 = 0x04;
constexpr unsigned kMaxPulseMs = 200;

int Code(HRESULT hr) {
    return hr == S_OK ? KZ_OK : KZ_ERR_FAILED;
}

} // namespace

RegisterAccess::RegisterAccess(int* ok) {
    *ok = 0;
    auto chip = std::unique_ptr<BridgeChip>(new (std::nothrow) BridgeChip);
    if (chip != nullptr && chip->Open() != nullptr) {
        static_cast<void>(chip->SetGpioMask(0));
        chip_ = std::move(chip);
        *ok = 1;
        DebugLine("Enter InitialPort!\n");
        return;
    }
    MessageBox(nullptr, "OpenInterface Fail!", "Error", MB_OK);
}

RegisterAccess::~RegisterAccess() = default;

// Sensor registers travel as two bytes, high byte first; motor registers as one byte. The sensor is probed
// before every access and a silent one gets nothing transferred.
int RegisterAccess::RegOperation(int index, int* value, int write, int sensor) {
    if (chip_ == nullptr) {
        return KZ_ERR_MISSING;
    }
    if (index < 0 || index >= kRegisterCount || value == nullptr) {
        return KZ_ERR_FAILED;
    }
    const BYTE reg = kRegisters[index];
    if (sensor != 0) {
        int probeValue = 0;
        if (chip_->ProbeI2C(kSensorAddress, &probeValue) != S_OK) {
            return KZ_ERR_NO_SENSOR;
        }
        BYTE bytes[2] = {static_cast<BYTE>(*value >> 8), static_cast<BYTE>(*value)};
        if (write != 0) {
            return Code(chip_->WriteI2C(kSensorAddress, reg, 2, bytes));
        }
        const HRESULT hr = chip_->ReadI2C(kSensorAddress, reg, 2, bytes);
        if (hr == S_OK) {
            *value = bytes[0] * 256 + bytes[1];
        }
        return Code(hr);
    }
    BYTE byte = static_cast<BYTE>(*value);
    if (write != 0) {
        return Code(chip_->WriteI2C(kMotorAddress, reg, 1, &byte));
    }
    const HRESULT hr = chip_->ReadI2C(kMotorAddress, reg, 1, &byte);
    if (hr == S_OK) {
        *value = byte;
    }
    return Code(hr);
}

int RegisterAccess::GetRegRange(int index, int* min, int* max) {
    if (chip_ == nullptr) {
        return KZ_ERR_MISSING;
    }
    if (index < 0 || index >= kRangeCount || min == nullptr || max == nullptr) {
        return KZ_ERR_FAILED;
    }
    *min = kRanges[index].min;
    *max = kRanges[index].max;
    return KZ_OK;
}

// 0 ms becomes 1; 200 ms or more (a negative value taken as unsigned too) becomes 200. When the GPIO byte
// cannot be read nothing is driven; when the drive fails the stop is still written, and a failed stop is
// written once more. KZ_ERR_FAILED when any GPIO transfer failed.
int RegisterAccess::FocusPulse(int direction, int milliseconds) {
    if (chip_ == nullptr) {
        return KZ_ERR_MISSING;
    }
    unsigned length = static_cast<unsigned>(milliseconds);
    if (length == 0) {
        length = 1;
    } else if (length >= kMaxPulseMs) {
        length = kMaxPulseMs;
    }
    unsigned lines = 0;
    if (chip_->ReadGpio(&lines) != S_OK) {
        return KZ_ERR_FAILED;
    }
    lines = direction != 0 ? (lines & ~kLine1) | kLine2 : (lines & ~kLine2) | kLine1;
    const HRESULT drive = chip_->WriteGpio(&lines);
    if (drive == S_OK) {
        Sleep(length);
    }
    lines |= kLine1 | kLine2;
    const bool released = chip_->WriteGpio(&lines) == S_OK;
    if (!released) {
        // A lost release leaves the motor driving into its end stop: one more try, still reported.
        static_cast<void>(chip_->WriteGpio(&lines));
    }
    return drive == S_OK && released ? KZ_OK : KZ_ERR_FAILED;
}

int RegisterAccess::MotorPosition() {
    unsigned lines = 0;
    if (chip_ == nullptr || chip_->ReadGpio(&lines) != S_OK) {
        return kMotorUnknown;
    }
    switch (lines & (kLine1 | kLine2)) {
    case kLine1: return kMotorBackEnd;
    case kLine1 | kLine2: return kMotorMiddle;
    case kLine2: return kMotorFrontEnd;
    default: return kMotorUnknown;
    }
}

bool RegisterAccess::MotorAnswers() {
    int id = 0;
    return chip_ != nullptr && chip_->ProbeI2C(kMotorAddress, &id) == S_OK;
}

int RegisterAccess::GPIOOperation(unsigned* value, int write) {
    if (chip_ == nullptr) {
        return KZ_ERR_MISSING;
    }
    if (value == nullptr) {
        return KZ_ERR_FAILED;
    }
    const HRESULT hr = write != 0 ? chip_->WriteGpio(value) : chip_->ReadGpio(value);
    char text[32];
    std::snprintf(text, sizeof(text), "Data: 0x%x", *value);
    DebugLine(text);
    return Code(hr);
}

} // namespace korvib
