// AutoFocus: the coarse hill climb and the end-stop sweep of the focus motor, one step per frame.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include <win32/dib.h>
#include <win32/types.h>

#include "auto_focus_switch.h"
#include "auto_loop_steps.h"

namespace korvib {

class CameraDevice;

// The switches may be used from any thread; everything else runs on the streaming thread. Both
// procedures share the direction, the step size and the evaluations. A procedure ends by itself when it
// has found its position. A frame on which it cannot get on (the motor busy with no move of this frame to
// explain it, a failed busy read, a refused move, an unknown end-stop position) is a stalled frame;
// kStalledFrameLimit of them in a row end it with a debug line, and so does a motor that does not answer
// its address or a leg of the sweep that needs more than kLegMoveLimit moves.
class AutoFocus {
public:
    static constexpr int kStalledFrameLimit = 30;
    // Covers a travel of 3600 steps at 18 a move.
    static constexpr int kLegMoveLimit = 200;

    explicit AutoFocus(CameraDevice& device) : device_(device) {}
    AutoFocus(const AutoFocus&) = delete;
    AutoFocus& operator=(const AutoFocus&) = delete;

    // Caller's thread: switch the hill climb or the sweep on or off; either call starts its procedure
    // afresh at the next frame.
    void SetDoSubAF(bool on) { climb_.Set(on); }
    void SetDoAF(bool on) { sweep_.Set(on); }
    // Any thread: switches the hill climb off and keeps its state (the preview stop).
    void StopSubAF() { climb_.Clear(); }
    [[nodiscard]] bool SubAFOn() const { return climb_.On(); }
    [[nodiscard]] bool AFOn() const { return sweep_.On(); }

    // Streaming thread: the sweep's step, then the climb's, on a 24-bit DIB frame of `length` bytes in
    // `format`. A frame that is not exactly the device's capture width and height is left alone.
    void OnFrame(BYTE* frame, std::size_t length, const BITMAPINFOHEADER& format);

private:
    enum Procedure { kClimb, kSweep };

    void TakeSwitches(bool* climbOn, bool* sweepOn);
    [[nodiscard]] bool TakeRegion(std::size_t length, const BITMAPINFOHEADER& format);
    [[nodiscard]] bool BeginStep(BYTE* frame, Procedure procedure);
    void Stalled(Procedure procedure);
    void End(Procedure procedure, bool motorFailed);
    [[nodiscard]] uint32_t RegionValue() const;
    [[nodiscard]] bool MotorStep(Procedure procedure);
    [[nodiscard]] int MotorPosition();
    void Reverse() { direction_ = direction_ == 1 ? 0 : 1; }

    // auto_focus_climb.cpp
    void SubAutoFocus(BYTE* frame);
    void FineAutoFocus();
    void EndClimb(bool motorFailed);
    void SaveStepBmp(const char* stage, int count, uint32_t value);
    void SaveFocusDebugBmp(const char* path);

    // auto_focus_sweep.cpp
    void FullAutoFocus(BYTE* frame);
    void ReturnToBestFocus();
    void ArriveAtEndStop(int direction);
    void RecordSweepValue();
    [[nodiscard]] bool SweepStep();
    void EndSweep(bool motorFailed);

    CameraDevice& device_;
    FocusSwitch climb_;
    FocusSwitch sweep_;

    // Shared by both procedures.
    int direction_ = 1; // 1 towards the front end (KZ_REG_MOTOR_FORWARD), 0 towards the back end
    int stepSize_ = 20;
    uint32_t current_ = 0;
    uint32_t new_ = 0;
    uint32_t maximum_ = 0;
    Region region_{};
    int frameWidth_ = 0;
    std::vector<BYTE> grey_;
    bool movedThisFrame_ = false;
    int stalledFrames_[2] = {0, 0}; // by Procedure, frames in a row without getting on

    // Hill climb.
    int coarseCount_ = 0;
    int reversalCount_ = 0;
    bool finePhase_ = false;
    int fineCount_ = 0;

    // Sweep.
    int sweepCount_ = 0;
    int countAtMaximum_ = 0;
    bool sweepStarted_ = false;
    bool returnPhase_ = false;
    int legMoves_ = 0;
};

} // namespace korvib
