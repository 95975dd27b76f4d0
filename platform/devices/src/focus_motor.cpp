// Focus-motor controller registers and its step counter.
#include "focus_motor.h"

#include <algorithm>

namespace platform::devices {

HRESULT FocusMotor::write(BYTE reg, const BYTE* data, BYTE count)
{
    if (count != 1)
        return E_INVALIDARG;
    regs_[reg] = data[0];
    if ((reg == kStepsFront || reg == kStepsBack) && !ignoresMoves_) {
        remaining_ = data[0];
        direction_ = reg == kStepsFront ? 1 : -1;
    }
    return S_OK;
}

BYTE FocusMotor::value(BYTE reg) const { return reg == kBusy ? static_cast<BYTE>(busy() ? 1 : 0) : regs_[reg]; }

HRESULT FocusMotor::read(BYTE reg, BYTE* data, BYTE count) const
{
    if (count != 1)
        return E_INVALIDARG;
    data[0] = value(reg);
    return S_OK;
}

double FocusMotor::run(double ms)
{
    if (remaining_ <= 0 || ms <= 0)
        return 0;
    const double steps = std::min(remaining_, speed_ * ms);
    remaining_ -= steps;
    return direction_ * steps;
}

} // namespace platform::devices
