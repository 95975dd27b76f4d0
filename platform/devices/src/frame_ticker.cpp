// Frame timing of the live stream on the platform clock.
#include "frame_ticker.h"

#include <win32/clock.h>

#include <algorithm>
#include <chrono>
#include <cmath>

namespace platform::devices {

void FrameTicker::start(double fps, std::function<void()> tick)
{
    tick_ = std::move(tick);
    stop_ = false;
    thread_ = std::thread([this, fps] { loop(fps); });
}

void FrameTicker::stop()
{
    if (!thread_.joinable())
        return;
    {
        std::lock_guard guard(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

// Frame k is due at start + k * period. The wait is sliced so that a stepped clock, which moves
// only when someone advances it, is followed as well as the steady one.
void FrameTicker::loop(double fps)
{
    Clock& clock = activeClock();
    const uint64_t start = clock.nowMs();
    for (uint64_t frame = 1;; ++frame) {
        const uint64_t due = start + static_cast<uint64_t>(std::llround(frame * 1000.0 / fps));
        std::unique_lock guard(mutex_);
        for (;;) {
            if (stop_)
                return;
            const uint64_t now = clock.nowMs();
            if (now >= due)
                break;
            const auto slice = std::chrono::milliseconds(std::min<uint64_t>(due - now, 5));
            wake_.wait_for(guard, slice);
        }
        guard.unlock();
        tick_();
        // A frame that took longer than a period drops the frames it overran instead of bursting.
        const uint64_t elapsed = clock.nowMs() - start;
        frame = std::max<uint64_t>(frame, static_cast<uint64_t>(elapsed * fps / 1000.0));
    }
}

} // namespace platform::devices
