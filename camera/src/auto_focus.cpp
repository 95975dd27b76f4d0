// AutoFocus: switching, the common start of every step and the motor moves through the registers.
//
// Hill climb: off --SetDoSubAF(1)--> first step --> climbing --third reversal--> fine phase --sharper than
//   the climb's maximum, or 20 fine frames--> off; also off after 20 counted climbing frames.
// Sweep: off --SetDoAF(1)--> to an end stop --> sweeping --other end stop--> return phase --counted steps
//   back, or sharper than the maximum--> off.
// Either goes off when the motor does not answer or stalls too long; frames on which it cannot get on do
// not count.
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
        legMoves_ = 0;
        stalledFrames_[kSweep] = 0;
    }
    if (climbSwitched) {
        coarseCount_ = reversalCount_ = fineCount_ = 0;
        finePhase_ = false;
        stalledFrames_[kClimb] = 0;
    }
}

void AutoFocus::OnFrame(BYTE* frame, std::size_t length, const BITMAPINFOHEADER& format) {
    bool climbOn = false;
    bool sweepOn = false;
    TakeSwitches(&climbOn, &sweepOn);
    movedThisFrame_ = false;
    if ((!climbOn && !sweepOn) || frame == nullptr || !TakeRegion(length, format)) {
        return;
    }
    if (sweepOn) {
        FullAutoFocus(frame);
    }
    if (climbOn) {
        SubAutoFocus(frame);
    }
}

// The region from the capture size, and a grey buffer for it; false unless the frame is a 24-bit frame of
// exactly that size (a larger one would put the region off centre).
bool AutoFocus::TakeRegion(std::size_t length, const BITMAPINFOHEADER& format) {
    const int width = device_.GetParam(KZ_PARAM_WIDTH);
    const int height = device_.GetParam(KZ_PARAM_HEIGHT);
    if (format.biBitCount != 24 || format.biWidth != width || format.biHeight != height ||
        !FocusRegionOf(width, height, &region_) ||
        length != static_cast<std::size_t>(DibStride(width, 24)) * static_cast<std::size_t>(height)) {
        return false;
    }
    try {
        grey_.resize(static_cast<std::size_t>(region_.width) * static_cast<std::size_t>(region_.height));
    } catch (const std::bad_alloc&) {
        return false;
    }
    frameWidth_ = width;
    return true;
}

// Brackets and grey picture, then the motor's busy flag: true when the step goes on. Without a register
// object the step waits; a motor that does not answer its address ends the procedure; a busy motor and a
// failed busy read make a stalled frame.
bool AutoFocus::BeginStep(BYTE* frame, Procedure procedure) {
    DrawFocusBrackets(frame, frameWidth_, region_);
    ConvertRoiToGray(frame, frameWidth_, region_, grey_.data());

    int busy = 0;
    const int read = device_.RegOperation(KZ_REG_MOTOR_BUSY, &busy, 0);
    if (read == KZ_OK && busy == 0) {
        return true;
    }
    if (read == KZ_ERR_MISSING) {
        return false;
    }
    if (read != KZ_OK && !device_.MotorAnswers()) {
        End(procedure, true);
    } else if (read != KZ_OK || !movedThisFrame_) {
        // A move made earlier in this frame explains a busy motor.
        Stalled(procedure);
    }
    return false;
}

// Counts a frame on which the procedure did not get on; the last one allowed ends it.
void AutoFocus::Stalled(Procedure procedure) {
    if (++stalledFrames_[procedure] >= kStalledFrameLimit) {
        End(procedure, true);
    }
}

void AutoFocus::End(Procedure procedure, bool motorFailed) {
    if (procedure == kClimb) {
        EndClimb(motorFailed);
    } else {
        EndSweep(motorFailed);
    }
}

uint32_t AutoFocus::RegionValue() const {
    return FocusValue(grey_.data(), region_.width, region_.height);
}

// One move of the step size in the present direction. A refused move is a stalled frame: false, and the
// caller leaves its state as it was before the move so the next frame tries again.
bool AutoFocus::MotorStep(Procedure procedure) {
    int steps = stepSize_;
    const int index = direction_ == 1 ? KZ_REG_MOTOR_FORWARD : KZ_REG_MOTOR_BACKWARD;
    if (device_.RegOperation(index, &steps, 1) != KZ_OK) {
        Stalled(procedure);
        return false;
    }
    movedThisFrame_ = true;
    stalledFrames_[procedure] = 0;
    return true;
}

int AutoFocus::MotorPosition() {
    return device_.MotorPosition();
}

} // namespace korvib
