// Auto white balance and auto exposure: their process-wide switches, parameters and result messages.
#pragma once

#include <atomic>
#include <mutex>

#include <win32/types.h>
#include <win32/user.h>

#include "registry_settings.h"

namespace korvib {

// Posted to the property dialog when a loop finishes. wParam: red | green << 8 | blue << 16 (the gains'
// low bytes) or the exposure; lParam 0.
constexpr UINT WM_AWB_RESULT = WM_USER + 100;
constexpr UINT WM_AE_RESULT = WM_USER + 101;

// The switches and counters are written by the caller's thread and read by the streaming thread; the loop
// clears its switch when it finishes. Every member: any thread.
class AutoLoopState {
public:
    // On: counter 0, then the switch; the loop runs on the 4th, 8th ... frame from then on.
    void SwitchWhiteBalance(bool on);
    void SwitchExposure(bool on);
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
    // Streaming thread: switches the loop off and posts its results (never sent: the GUI thread may be
    // waiting for this frame). Empty results switch it off without a message.
    void FinishWhiteBalance(const int* gains, const int* exposure);
    void FinishExposure(const int* exposure);

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

// One step of each loop on a 24-bit bottom-up DIB frame of the running width and height, through the
// current device's registers. Streaming thread, while the loop's switch is on.
void AutoWhiteBalance(BYTE* frame, int width, int height);
void AutoExposure(BYTE* frame, int width, int height);

} // namespace korvib
