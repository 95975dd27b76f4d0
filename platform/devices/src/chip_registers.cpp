// The bridge chip's register file with its GPIO and key-block rules.
#include "chip_registers.h"

namespace platform::devices {

ChipRegisters::ChipRegisters() { bytes_[kGpioLatch] = 0xFF; }

void ChipRegisters::setStopOverride(StopOverride mode, BYTE byte)
{
    override_ = mode;
    overrideByte_ = byte;
}

// Register 9: the end-stop lines in bits 1 and 2, the latch in every other bit.
BYTE ChipRegisters::gpioInput(BYTE stopLines) const
{
    switch (override_) {
    case StopOverride::Byte:
        return overrideByte_;
    case StopOverride::Unknown:
        return static_cast<BYTE>(bytes_[kGpioLatch] & ~kMotorLines);
    case StopOverride::None:
        break;
    }
    return static_cast<BYTE>((bytes_[kGpioLatch] & ~kMotorLines) | (stopLines & kMotorLines));
}

BYTE ChipRegisters::peek(BYTE reg, BYTE stopLines) const
{
    if (reg == kGpioInput)
        return gpioInput(stopLines);
    if (reg >= kKeyHead && reg < kKeyHead + 4) {
        const KeyEntry& head = keys_.empty() ? shown_ : keys_.front();
        const BYTE block[4] = {head.toggleRepeat, head.address, head.code, 0};
        return block[reg - kKeyHead];
    }
    if (reg == kKeyPop)
        return 0;
    return bytes_[reg];
}

BYTE ChipRegisters::read(BYTE reg, BYTE stopLines)
{
    const BYTE value = peek(reg, stopLines);
    if (reg == kKeyPop && !keys_.empty()) {
        shown_ = keys_.front();
        shown_.toggleRepeat &= 0x80;
        keys_.pop_front();
    }
    return value;
}

void ChipRegisters::write(BYTE reg, BYTE value)
{
    if (reg == kGpioInput || (reg >= kKeyPop && reg < kKeyHead + 4))
        return;
    bytes_[reg] = value;
}

} // namespace platform::devices
