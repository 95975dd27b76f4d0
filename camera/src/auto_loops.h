// Auto white balance and auto exposure: their process-wide switches, parameters and result messages.
#pragma once

#include <atomic>
#include <mutex>

#include <win32/types.h>
#include <win32/user.h>

#include "registry_settings.h"

namespace korvib {

struct LoopRun;

// Posted to the property dialog when a loop finishes. wParam: red | green << 8 | blue << 16 (the gains'
// low bytes) or the exposure; lParam 0.
constexpr UINT WM_AWB_RESULT = WM_USER + 100;
constexpr UINT WM_AE_RESULT = WM_USER + 101;
// Posted when a loop switched itself off without a result; wParam and lParam 0.
constexpr UINT WM_AUTO_STOPPED = WM_USER + 102;

// The switches and counters are written by the caller's thread and read by the streaming thread; the loop
// clears its switch when it finishes. Every member: any thread.
class AutoLoopState {
public:
    // On: counter 0, then the switch; the loop runs on the 4th, 8th ... frame from then on.
    void SwitchWhiteBalance(bool on);
    void SwitchExposure(bool on);
    // Both switches off, as when the dialog closes for good or the camera is closed.
    void SwitchOff();
    [[nodiscard]] bool WhiteBalanceOn() const { return awbOn_.load(std::memory_order_acquire); }
    [[nodiscard]] bool ExposureOn() const { return aeOn_.load(std::memory_order_acquire); }

    // Targets, divisors and region split; defaults until the dialog replaces them.
    [[nodiscard]] AutoParameters Parameters() const;
    void SetParameters(const AutoParameters& parameters);

    // Where the results go; null (results dropped) while no dialog is open.
    void SetResultWindow(HWND window) { resultWindow_.store(window, std::memory_order_release); }

    // Streaming thread: counts one call of a loop and gives the new count.
    int CountWhiteBalanceCall() { return awbCounter_.fetch_add(1, std::memory_order_relaxed) + 1; }
    int CountExposureCall() { return aeCounter_.fetch_add(1, std::memory_order_relaxed) + 1; }
    // Streaming thread: switches the loop off and posts the values it left on the sensor (never sent: the
    // GUI thread may be waiting for this frame). White balance posts its exposure only while exposure is
    // off, since a running exposure loop reports its own.
    void FinishWhiteBalance(const int (&gains)[3], int exposure);
    void FinishExposure(int exposure);
    // Streaming thread: switches the loop off and posts WM_AUTO_STOPPED.
    void AbandonWhiteBalance();
    void AbandonExposure();

private:
    std::atomic<bool> awbOn_{false};
    std::atomic<bool> aeOn_{false};
    std::atomic<int> awbCounter_{0};
    std::atomic<int> aeCounter_{0};
    std::atomic<HWND> resultWindow_{nullptr};
    mutable std::mutex parametersLock_; // guards parameters_
    AutoParameters parameters_;
};

// The one state of the process.
AutoLoopState& AutoLoops();

// The loops switched on take their step on a 24-bit bottom-up DIB frame of the running width and height,
// white balance first. Each measures the frame as it arrived; the regions of the loops that worked are
// marked afterwards. Streaming thread.
void RunAutoLoops(BYTE* frame, int width, int height);

// One working run of each loop on its measured region, through the current device's registers.
void AutoWhiteBalance(const LoopRun& run);
void AutoExposure(const LoopRun& run);

} // namespace korvib
