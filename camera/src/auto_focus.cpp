// AutoFocus: switching, the common start of every step and the motor moves through the registers.
//
// Hill climb: off --SetDoSubAF(1)--> first step --> climbing --third reversal--> fine phase --sharper than
//   the climb's maximum, or 20 fine frames--> off; also off after 20 counted climbing frames.
// Sweep: off --SetDoAF(1)--> to an end stop --> sweeping --other end stop--> return phase --counted steps
//   back, or sharper than the maximum--> off.
// Either goes off with a motor failure; frames with the motor busy do not count.
#include "auto_focus.h"

#include <new>

#include <camera/korvib.h>
#include <win32/dib.h>

#include "auto_focus_image.h"
#include "camera_device.h"

namespace korvib {

// Applies the switch calls made since the last frame: each starts its procedure afresh, and either resets
// the shared direction, step size and evaluations.
void AutoFocus::TakeSwitches(bool* climbOn, bool* sweepOn) {
    const bool sweepSwitched = sweep_.Take(sweepOn);
    const bool climbSwitched = climb_.Take(climbOn);
    if (sweepSwitched || climbSwitched) {
        direction_ = 1;
        stepSize_ = 20;
        current_ = new_ = maximum_ = 0;
    }
    if (sweepSwitched) {
        sweepCount_ = countAtMaximum_ = 0;
        sweepStarted_ = returnPhase_ = false;
        sweepMoves_ = sweepStalled_ = 0;
    }
    if (climbSwitched) {
        coarseCount_ = reversalCount_ = fineCount_ = 0;
        finePhase_ = false;
        climbStalled_ = 0;
    }
}

void AutoFocus::OnFrame(BYTE* frame, std::size_t length) {
    bool climbOn = false;
    bool sweepOn = false;
    TakeSwitches(&climbOn, &sweepOn);
    movedThisFrame_ = false;
    if (sweepOn) {
        FullAutoFocus(frame, length);
    }
    if (climbOn) {
        SubAutoFocus(frame, length);
    }
}

// Region, brackets and grey picture from the capture size, then the motor's busy flag. True when the step
// goes on; false while the motor is busy or the frame does not hold the capture size, and after `end`
// when the busy flag cannot be read or the motor stayed busy too long. The caller restarts
// `stalledFrames` once its step gets on.
bool AutoFocus::BeginStep(BYTE* frame, std::size_t length, int* stalledFrames, EndProcedure end) {
    const int width = device_.GetParam(KZ_PARAM_WIDTH);
    const int height = device_.GetParam(KZ_PARAM_HEIGHT);
    if (frame == nullptr || !FocusRegionOf(width, height, &region_) ||
        length < static_cast<std::size_t>(DibStride(width, 24)) * static_cast<std::size_t>(height)) {
        return false;
    }
    try {
        grey_.resize(static_cast<std::size_t>(region_.width) * static_cast<std::size_t>(region_.height));
    } catch (const std::bad_alloc&) {
        return false;
    }
    DrawFocusBrackets(frame, width, region_);
    ConvertRoiToGray(frame, width, region_, grey_.data());

    int busy = 0;
    const bool read = device_.RegOperation(KZ_REG_MOTOR_BUSY, &busy, 0) == KZ_OK;
    if (!read || (busy != 0 && Stalled(stalledFrames))) {
        (this->*end)(true);
        return false;
    }
    return busy == 0;
}

// Counts a frame on which the motor did not get on; true when that has gone on too long. A move started
// earlier in this frame explains a busy motor and is not counted.
bool AutoFocus::Stalled(int* stalledFrames) {
    if (movedThisFrame_) {
        return false;
    }
    return ++*stalledFrames >= kStalledFrameLimit;
}

uint32_t AutoFocus::RegionValue() const {
    return FocusValue(grey_.data(), region_.width, region_.height);
}

// One move of the step size in the present direction; false when the motor controller refused it.
bool AutoFocus::MotorStep() {
    int steps = stepSize_;
    const int index = direction_ == 1 ? KZ_REG_MOTOR_FORWARD : KZ_REG_MOTOR_BACKWARD;
    if (device_.RegOperation(index, &steps, 1) != KZ_OK) {
        return false;
    }
    movedThisFrame_ = true;
    return true;
}

int AutoFocus::MotorPosition() {
    return device_.MotorPosition();
}

} // namespace korvib
