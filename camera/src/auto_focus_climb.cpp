// The coarse hill climb and its fine phase, with a grey debug picture of the region at each step.
#include <algorithm>
#include <cstdio>

#include "auto_focus.h"
#include "auto_focus_bmp.h"
#include "debug_output.h"
#include "register_access.h"

namespace korvib {
namespace {

constexpr int kCoarseStep = 20;
constexpr int kFineStep = 15;
constexpr int kCoarseFrames = 20;
constexpr int kFineFrames = 20;
constexpr int kReversals = 3;

const char* DirectionWord(int direction) {
    return direction == 1 ? "前" : "后";
}

} // namespace

// One step of the climb: 20-step moves towards rising sharpness, reversing when it falls; the third
// reversal hands over to the fine phase. A refused move leaves the counts as they were. Streaming thread.
void AutoFocus::SubAutoFocus(BYTE* frame) {
    if (!BeginStep(frame, kClimb)) {
        return;
    }
    if (coarseCount_ >= kCoarseFrames) {
        EndClimb(false);
        return;
    }
    if (finePhase_) {
        FineAutoFocus();
        return;
    }
    if (coarseCount_ == 0) {
        stepSize_ = kCoarseStep;
        direction_ = 1;
        current_ = maximum_ = RegionValue();
        if (MotorPosition() == kMotorFrontEnd) {
            direction_ = 0;
        } else if (MotorPosition() == kMotorBackEnd) {
            direction_ = 1;
        }
        if (!MotorStep(kClimb)) {
            return;
        }
        SaveStepBmp("粗调焦点", coarseCount_, current_);
    } else {
        new_ = RegionValue();
        const bool rising = new_ > current_;
        if (!rising) {
            Reverse();
        }
        if (!MotorStep(kClimb)) {
            if (!rising) {
                Reverse();
            }
            return;
        }
        if (rising) {
            maximum_ = std::max(maximum_, new_);
        } else if (++reversalCount_ >= kReversals) {
            finePhase_ = true;
            return;
        }
        current_ = new_;
        SaveStepBmp("粗调焦点", coarseCount_, new_);
    }
    ++coarseCount_;
}

// 15-step moves until a frame is sharper than the climb's maximum or 20 fine frames have passed.
void AutoFocus::FineAutoFocus() {
    if (fineCount_ == 0) {
        current_ = RegionValue();
        stepSize_ = kFineStep;
        if (!MotorStep(kClimb)) {
            return;
        }
        SaveStepBmp("靠近焦点", fineCount_, new_);
        ++fineCount_;
        return;
    }
    new_ = RegionValue();
    if (new_ > maximum_ || fineCount_ >= kFineFrames) {
        char path[160];
        std::snprintf(path, sizeof path, "c:\\AF\\最佳焦点_第%3d帧评价值%9u_最大评价值%9u.bmp", fineCount_,
                      new_, maximum_);
        SaveFocusDebugBmp(path);
        EndClimb(false);
        return;
    }
    const bool reversed = new_ <= current_;
    if (reversed) {
        Reverse();
    }
    if (!MotorStep(kClimb)) {
        if (reversed) {
            Reverse();
        }
        return;
    }
    SaveStepBmp("靠近焦点", fineCount_, new_);
    current_ = new_;
    ++fineCount_;
}

// Switches the climb off; direction, step size and evaluations stay for the sweep.
void AutoFocus::EndClimb(bool motorFailed) {
    if (motorFailed) {
        DebugLine("Auto focus: the focus motor failed, the climb stops");
    }
    coarseCount_ = fineCount_ = reversalCount_ = 0;
    finePhase_ = false;
    stalledFrames_[kClimb] = 0;
    climb_.Finish();
}

// The picture of a climbing or fine step: `stage` names it, with its count, value, the maximum and the
// direction of the move just made.
void AutoFocus::SaveStepBmp(const char* stage, int count, uint32_t value) {
    char path[192];
    std::snprintf(path, sizeof path, "c:\\AF\\%s_第%3d帧评价值%9u_最大评价值%9u_向%s驱动电机.bmp", stage,
                  count, value, maximum_, DirectionWord(direction_));
    SaveFocusDebugBmp(path);
}

// Skipped, without a message, when the folder is missing or the file cannot be written.
void AutoFocus::SaveFocusDebugBmp(const char* path) {
    static_cast<void>(WriteGrayBmp(path, grey_.data(), region_.width, region_.height));
}

} // namespace korvib
