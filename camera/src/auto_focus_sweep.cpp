// The end-stop sweep: run to an end stop, sweep to the other in 18-step moves, step back to the sharpest.
#include "auto_focus.h"
#include "debug_output.h"
#include "register_access.h"

namespace korvib {
namespace {

constexpr int kSweepStep = 18;

} // namespace

// One step of the sweep. Before it has started the motor runs with the present direction and step size
// (towards the front end after SetDoAF). Streaming thread.
void AutoFocus::FullAutoFocus(BYTE* frame, std::size_t length) {
    if (!BeginStep(frame, length, &sweepStalled_, &AutoFocus::EndSweep)) {
        return;
    }
    if (returnPhase_) {
        sweepStalled_ = 0;
        ReturnToBestFocus();
        return;
    }
    const int position = MotorPosition();
    if (position == kMotorUnknown) {
        if (Stalled(&sweepStalled_)) {
            EndSweep(true);
        }
        return;
    }
    sweepStalled_ = 0;
    if (position == kMotorMiddle) {
        if (sweepStarted_) {
            RecordSweepValue();
            ++sweepCount_;
        }
        if (!SweepStep()) {
            EndSweep(true);
        }
        return;
    }
    // At an end stop: leaving it is towards the other one.
    const int away = position == kMotorFrontEnd ? 0 : 1;
    if (!sweepStarted_) {
        sweepStarted_ = true;
        new_ = maximum_ = RegionValue();
        countAtMaximum_ = 0;
        direction_ = away;
        stepSize_ = kSweepStep;
        if (!SweepStep()) {
            EndSweep(true);
            return;
        }
        ++sweepCount_;
    } else if (direction_ == away) {
        // Not off the stop yet.
        if (!SweepStep()) {
            EndSweep(true);
        }
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

// One move of the sweep; false when the motor refused it or the sweep has made more moves than a travel
// between the stops can need.
bool AutoFocus::SweepStep() {
    return ++sweepMoves_ <= kSweepMoveLimit && MotorStep();
}

// Steps back towards the maximum, one 18-step move per frame, until the counted steps are made or a frame
// is sharper than the maximum.
void AutoFocus::ReturnToBestFocus() {
    if (sweepCount_ - countAtMaximum_ > 0) {
        new_ = RegionValue();
        if (new_ <= maximum_) {
            if (!MotorStep()) {
                EndSweep(true);
                return;
            }
            ++countAtMaximum_;
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
    sweepMoves_ = sweepStalled_ = 0;
    sweep_.Finish();
}

} // namespace korvib
