// RegisterAccess: the sensor and focus-motor registers KZ_REG_*, their ranges, focus pulses and raw GPIO.
#pragma once

#include <memory>

#include <win32/types.h>

namespace korvib {

class BridgeChip;

// End-stop positions of the focus motor as the GPIO input reports them.
enum MotorStop { kMotorBackEnd = 0, kMotorMiddle = 1, kMotorFrontEnd = 2, kMotorUnknown = 3 };

// Every member may be called from any thread: the bridge chip keeps each transfer's calls together.
// Results are the library's codes: KZ_OK, KZ_ERR_FAILED (a failed transfer, an index outside the table or a
// null pointer), KZ_ERR_MISSING (no bridge chip), KZ_ERR_NO_SENSOR (the sensor does not answer).
class RegisterAccess {
public:
    // Opens the bridge chip; *ok is 1 when its interface was opened. Otherwise a box "OpenInterface Fail!"
    // captioned "Error" was shown and *ok is 0; the owner then deletes the object. Caller's thread.
    explicit RegisterAccess(int* ok);
    ~RegisterAccess();
    RegisterAccess(const RegisterAccess&) = delete;
    RegisterAccess& operator=(const RegisterAccess&) = delete;

    // Reads (write 0) or writes register `index` 0 to 9 of the sensor (16-bit, sensor 1, probed first)
    // or of the motor controller (8-bit, sensor 0). A write leaves *value as it was; a failed read too.
    [[nodiscard]] int RegOperation(int index, int* value, int write, int sensor);
    // The value range of index 0 to 8; index 9 and indexes outside the table have none (KZ_ERR_FAILED).
    [[nodiscard]] int GetRegRange(int index, int* min, int* max);
    // Drives the focus motor towards the front end (direction nonzero) or the back end for 1 to 200 ms,
    // then stops it. Blocks for the pulse. KZ_ERR_FAILED when a GPIO transfer failed.
    [[nodiscard]] int FocusPulse(int direction, int milliseconds);
    // The end-stop position; kMotorUnknown when the GPIO cannot be read.
    [[nodiscard]] int MotorPosition();
    // True when the focus-motor controller answers a probe of its address.
    [[nodiscard]] bool MotorAnswers();
    // Writes the low byte of *value to the GPIO latch, or reads the GPIO input byte into *value.
    [[nodiscard]] int GPIOOperation(unsigned* value, int write);

private:
    std::unique_ptr<BridgeChip> chip_;
};

} // namespace korvib
