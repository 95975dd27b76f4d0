// The lens between its two end stops: position, travel, stop zone and the GPIO drive lines.
#pragma once

#include <win32/types.h>

namespace platform::devices {

// Not thread-safe: the owning device serialises access.
class LensMechanics {
public:
    double position() const { return position_; }
    // Moves by `steps` (+ towards the front end), stopping at either end.
    void move(double steps);
    void setPosition(double position);
    void setTravel(unsigned steps);
    void setStopZone(unsigned steps) { zone_ = steps; }
    void setGpioSpeed(double stepsPerMs) { gpioSpeed_ = stepsPerMs; }
    double gpioSpeed() const { return gpioSpeed_; }
    // End-stop lines for register 9 (bit 1 low at the front stop, bit 2 low at the back stop).
    BYTE stopLines() const;

private:
    double position_ = 180;
    unsigned travel_ = 360;
    unsigned zone_ = 0;
    double gpioSpeed_ = 1;
};

// Direction the GPIO latch drives the motor: bit 1 low alone towards the front (+1), bit 2 low alone
// towards the back (-1), otherwise stopped.
int gpioDriveDirection(BYTE latch);

} // namespace platform::devices
