// Lens position, end stops and the GPIO drive rule.
#include "lens_mechanics.h"

#include "chip_registers.h"

#include <algorithm>

namespace platform::devices {

void LensMechanics::move(double steps) { setPosition(position_ + steps); }

void LensMechanics::setPosition(double position) { position_ = std::clamp(position, 0.0, double(travel_)); }

void LensMechanics::setTravel(unsigned steps)
{
    travel_ = steps;
    setPosition(position_);
}

BYTE LensMechanics::stopLines() const
{
    if (position_ >= double(travel_) - zone_)
        return kStopLinesFront;
    if (position_ <= double(zone_))
        return kStopLinesBack;
    return kStopLinesBetween;
}

int gpioDriveDirection(BYTE latch)
{
    const bool front = (latch & 0x02) == 0;
    const bool back = (latch & 0x04) == 0;
    if (front == back)
        return 0;
    return front ? 1 : -1;
}

} // namespace platform::devices
