// The bridge chip's 256 registers: plain storage, the GPIO output latch and input, and the key block.
#pragma once

#include <devices/simulated_camera.h>

#include <array>
#include <deque>

namespace platform::devices {

// End-stop lines as register 9 shows them in bits 1 and 2 (active low).
constexpr BYTE kStopLinesBetween = 0x06;
constexpr BYTE kStopLinesFront = 0x04; // bit 1 low
constexpr BYTE kStopLinesBack = 0x02;  // bit 2 low
constexpr BYTE kMotorLines = 0x06;

// Not thread-safe: the owning device serialises access.
class ChipRegisters {
public:
    static constexpr BYTE kGpioLatch = 0x08;
    static constexpr BYTE kGpioInput = 0x09;
    static constexpr BYTE kKeyPop = 0x44;
    static constexpr BYTE kKeyHead = 0x45; // 0x45 to 0x48

    ChipRegisters();

    // Reads `reg`; `stopLines` are the end-stop lines of the lens now. A read of 0x44 pops the key queue.
    BYTE read(BYTE reg, BYTE stopLines);
    // The value `reg` shows, without popping anything.
    BYTE peek(BYTE reg, BYTE stopLines) const;
    // Stores `value`; writes to the GPIO input and the key block are ignored.
    void write(BYTE reg, BYTE value);
    BYTE latch() const { return bytes_[kGpioLatch]; }

    void queueKey(const KeyEntry& key) { keys_.push_back(key); }
    void setStopOverride(StopOverride mode, BYTE byte);

private:
    BYTE gpioInput(BYTE stopLines) const;

    std::array<BYTE, 256> bytes_{};
    std::deque<KeyEntry> keys_;
    KeyEntry shown_; // shown while the queue is empty: the last popped entry, repeat count cleared
    StopOverride override_ = StopOverride::None;
    BYTE overrideByte_ = 0;
};

} // namespace platform::devices
