// The platform's one source of time: Sleep, tick counts, timers and the simulated camera all read it.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

namespace platform {

// Milliseconds on a monotonic time line, and waiting on it.
class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds since an arbitrary start; never decreases. Any thread.
    virtual uint64_t nowMs() = 0;
    // Waits `ms` milliseconds: a real sleep on the steady clock, an advance on a stepped one. Any thread.
    virtual void sleepMs(uint32_t ms) = 0;
};

// The clock in force: the steady clock unless a test installed another. Any thread.
Clock& activeClock();

// Installs `clock` (nullptr restores the steady clock); the caller keeps it alive while installed.
// Test set-up only, while no timer or stream runs.
void installClock(Clock* clock);

// Virtual clock for tests: time moves only through advance() or a sleep on any thread.
class SteppedClock : public Clock {
public:
    using Listener = std::function<void(uint64_t nowMs)>;

    // Starts at 0 ms with no listeners.
    SteppedClock();
    ~SteppedClock() override;
    SteppedClock(const SteppedClock&) = delete;
    SteppedClock& operator=(const SteppedClock&) = delete;

    uint64_t nowMs() override;
    // Same as advance(ms).
    void sleepMs(uint32_t ms) override;
    // Moves time forward by `ms`, in steps of at most one millisecond, and after each step calls every
    // listener with the new time (timer services fire what has come due). Any thread; listeners run on it.
    void advance(uint32_t ms);
    // Adds a listener; returns a token for removeListener. Any thread.
    int addListener(Listener listener);
    // Removes a listener; once it returns, the listener is not running on any other thread and is not
    // called again. Any thread, also from inside that listener.
    void removeListener(int token);

private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace platform
