// Test helper: a frame source driven by a stepped clock, so that code sleeping on it receives frames.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <utility>

#include <win32/clock.h>

namespace platform::testing {

// While it lives, `deliver` is called on the thread that advances `clock` each time `everyMs` more
// milliseconds have passed since construction or since the last delivery returned; time that `deliver`
// itself advances (a camera stepping its own frame period) does not count towards the next one.
// Header-only: the includer links the kernel layer.
class SteppedFrames {
public:
    SteppedFrames(SteppedClock& clock, uint32_t everyMs, std::function<void()> deliver)
        : clock_(clock), everyMs_(everyMs), deliver_(std::move(deliver)) {
        due_.store(clock_.nowMs() + everyMs_);
        token_ = clock_.addListener([this](uint64_t now) {
            if (now < due_.load() || busy_.exchange(true)) {
                return;
            }
            deliver_();
            delivered_.fetch_add(1);
            due_.store(clock_.nowMs() + everyMs_);
            busy_.store(false);
        });
    }
    ~SteppedFrames() { clock_.removeListener(token_); }
    SteppedFrames(const SteppedFrames&) = delete;
    SteppedFrames& operator=(const SteppedFrames&) = delete;

    // Deliveries made so far. Any thread.
    int delivered() const { return delivered_.load(); }

private:
    SteppedClock& clock_;
    uint32_t everyMs_;
    std::function<void()> deliver_;
    std::atomic<uint64_t> due_{0};
    std::atomic<bool> busy_{false};
    std::atomic<int> delivered_{0};
    int token_ = 0;
};

} // namespace platform::testing
