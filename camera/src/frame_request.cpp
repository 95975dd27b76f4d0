// FrameRequest: idle -> pending (caller) -> copying (streaming thread) -> idle, or pending -> idle (withdrawn).
#include "frame_request.h"

#include <cstring>
#include <thread>

namespace korvib {

void FrameRequest::Place(BYTE* target, std::size_t capacity) {
    target_ = target;
    capacity_ = capacity;
    copied_.store(false, std::memory_order_relaxed);
    state_.store(kPending, std::memory_order_release);
}

void FrameRequest::Serve(const BYTE* frame, std::size_t length) {
    int expected = kPending;
    if (!state_.compare_exchange_strong(expected, kCopying, std::memory_order_acquire)) {
        return;
    }
    const bool fits = length <= capacity_;
    if (fits) {
        std::memcpy(target_, frame, length);
    }
    copied_.store(fits, std::memory_order_relaxed);
    state_.store(kIdle, std::memory_order_release);
}

bool FrameRequest::Pending() const {
    return state_.load(std::memory_order_acquire) != kIdle;
}

void FrameRequest::Withdraw() {
    int expected = kPending;
    if (state_.compare_exchange_strong(expected, kIdle, std::memory_order_acquire)) {
        return;
    }
    while (state_.load(std::memory_order_acquire) == kCopying) {
        std::this_thread::yield();
    }
}

bool FrameRequest::Copied() const {
    return state_.load(std::memory_order_acquire) == kIdle && copied_.load(std::memory_order_relaxed);
}

} // namespace korvib
