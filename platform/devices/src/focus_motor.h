// The focus-motor controller on the I2C bus: 8-bit registers, step counts towards either end, busy flag.
#pragma once

#include <win32/types.h>

#include <array>

namespace platform::devices {

// Not thread-safe: the owning device serialises access.
class FocusMotor {
public:
    static constexpr BYTE kStepsFront = 0x10;
    static constexpr BYTE kStepsBack = 0x11;
    static constexpr BYTE kStorage = 0x12;
    static constexpr BYTE kBusy = 0x13;
    static constexpr WORD kIdWord = 0x0D46;

    // Transfers of exactly one byte; any other count gives E_INVALIDARG. A step count written to
    // 0x10 or 0x11 replaces the move in progress (0 stops).
    [[nodiscard]] HRESULT write(BYTE reg, const BYTE* data, BYTE count);
    [[nodiscard]] HRESULT read(BYTE reg, BYTE* data, BYTE count) const;
    BYTE value(BYTE reg) const;

    // Runs the controller for `ms` milliseconds and returns the signed steps it moved the lens
    // (+ towards the front end).
    double run(double ms);
    bool busy() const { return stuckBusy_ || remaining_ > 0; }

    void setSpeed(double stepsPerMs) { speed_ = stepsPerMs; }
    void setStuckBusy(bool stuck) { stuckBusy_ = stuck; }
    void setIgnoresMoves(bool ignore) { ignoresMoves_ = ignore; }

private:
    std::array<BYTE, 256> regs_{};
    double remaining_ = 0;
    int direction_ = 0;
    double speed_ = 1;
    bool stuckBusy_ = false;
    bool ignoresMoves_ = false;
};

} // namespace platform::devices
