// The end-stop sweep: run to an end stop, sweep to the other in 18-step moves, step back to the sharpest.
#include "auto_focus.h"
#include "debug_output.h"
#include "register_access.h"

namespace korvib {
namespace {

constexpr int kSweepStep = 18;

} // namespace

// One step of the sweep. Before it has started the motor runs with the present direction and step size
// (towards the front end after SetDoAF). A refused move leaves the counts as they were. Streaming thread.
void AutoFocus::FullAutoFocus(BYTE* frame) {
    if (!BeginStep(frame, kSweep)) {
        return;
    }
    if (returnPhase_) {
        ReturnToBestFocus();
        return;
    }
    const int position = MotorPosition();
    if (position == kMotorUnknown) {
        Stalled(kSweep);
        return;
    }
    if (position == kMotorMiddle) {
        if (SweepStep() && sweepStarted_) {
            RecordSweepValue();
            ++sweepCount_;
        }
        return;
    }
    // At an end stop: leaving it is towards the other one.
    const int away = position == kMotorFrontEnd ? 0 : 1;
    if (!sweepStarted_) {
        direction_ = away;
        stepSize_ = kSweepStep;
        legMoves_ = 0;
        if (SweepStep()) {
            sweepStarted_ = true;
            new_ = maximum_ = RegionValue();
            countAtMaximum_ = 0;
            ++sweepCount_;
        }
    } else if (direction_ == away) {
        // Not off the stop yet.
        static_cast<void>(SweepStep());
    } else {
        ArriveAtEndStop(away);
    }
}

// The far end stop: its value counts, and the return heads back the way the sweep came.
void AutoFocus::ArriveAtEndStop(int direction) {
    RecordSweepValue();
    direction_ = direction;
    returnPhase_ = true;
}

void AutoFocus::RecordSweepValue() {
    new_ = RegionValue();
    if (new_ > maximum_) {
        maximum_ = new_;
        countAtMaximum_ = sweepCount_;
    }
}

// One move of the run to the first end stop or of the sweep between the stops; false when the motor
// refused it or when the leg has needed more moves than a travel between the stops can (the sweep ends).
bool AutoFocus::SweepStep() {
    if (++legMoves_ > kLegMoveLimit) {
        EndSweep(true);
        return false;
    }
    if (!MotorStep(kSweep)) {
        --legMoves_;
        return false;
    }
    return true;
}

// Steps back towards the maximum, one 18-step move per frame, until the counted steps are made or a frame
// is sharper than the maximum.
void AutoFocus::ReturnToBestFocus() {
    if (sweepCount_ - countAtMaximum_ > 0) {
        new_ = RegionValue();
        if (new_ <= maximum_) {
            if (MotorStep(kSweep)) {
                ++countAtMaximum_;
            }
            return;
        }
    }
    EndSweep(false);
}

void AutoFocus::EndSweep(bool motorFailed) {
    if (motorFailed) {
        DebugLine("Auto focus: the focus motor failed, the sweep stops");
    }
    sweepCount_ = countAtMaximum_ = 0;
    current_ = new_ = maximum_ = 0;
    sweepStarted_ = returnPhase_ = false;
    legMoves_ = 0;
    stalledFrames_[kSweep] = 0;
    sweep_.Finish();
}

} // namespace korvib
