// The auto loops' process-wide switches, counters, parameters and result messages.
#include "auto_loops.h"

namespace korvib {

AutoLoopState& AutoLoops() {
    static AutoLoopState state;
    return state;
}

void AutoLoopState::SwitchWhiteBalance(bool on) {
    if (on) {
        awbCounter_.store(0, std::memory_order_relaxed);
    }
    awbOn_.store(on, std::memory_order_release);
}

void AutoLoopState::SwitchExposure(bool on) {
    if (on) {
        aeCounter_.store(0, std::memory_order_relaxed);
    }
    aeOn_.store(on, std::memory_order_release);
}

AutoParameters AutoLoopState::Parameters() const {
    std::lock_guard<std::mutex> hold(parametersLock_);
    return parameters_;
}

void AutoLoopState::SetParameters(const AutoParameters& parameters) {
    std::lock_guard<std::mutex> hold(parametersLock_);
    parameters_ = parameters;
}

void AutoLoopState::SwitchOff() {
    awbOn_.store(false, std::memory_order_release);
    aeOn_.store(false, std::memory_order_release);
}

namespace {

void PostResult(HWND window, UINT message, WPARAM value) {
    if (window != nullptr) {
        PostMessage(window, message, value, 0);
    }
}

} // namespace

void AutoLoopState::FinishWhiteBalance(const int (&gains)[3], int exposure) {
    awbOn_.store(false, std::memory_order_release);
    const HWND window = resultWindow_.load(std::memory_order_acquire);
    const WPARAM word = static_cast<WPARAM>(gains[0] & 0xFF) | static_cast<WPARAM>(gains[1] & 0xFF) << 8 |
                        static_cast<WPARAM>(gains[2] & 0xFF) << 16;
    PostResult(window, WM_AWB_RESULT, word);
    if (!ExposureOn()) {
        PostResult(window, WM_AE_RESULT, static_cast<WPARAM>(exposure));
    }
}

void AutoLoopState::FinishExposure(int exposure) {
    aeOn_.store(false, std::memory_order_release);
    PostResult(resultWindow_.load(std::memory_order_acquire), WM_AE_RESULT, static_cast<WPARAM>(exposure));
}

void AutoLoopState::AbandonWhiteBalance() {
    awbOn_.store(false, std::memory_order_release);
    PostResult(resultWindow_.load(std::memory_order_acquire), WM_AUTO_STOPPED, 0);
}

void AutoLoopState::AbandonExposure() {
    aeOn_.store(false, std::memory_order_release);
    PostResult(resultWindow_.load(std::memory_order_acquire), WM_AUTO_STOPPED, 0);
}

} // namespace korvib
