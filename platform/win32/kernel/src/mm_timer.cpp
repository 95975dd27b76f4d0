// Multimedia timers: a thread per timer on the steady clock, or the advancing thread on a stepped clock.
#include <win32/clock.h>
#include <win32/timing.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

namespace {

constexpr UINT maxDelayMs = 1000000;
constexpr uint64_t never = UINT64_MAX;

struct Timer {
    UINT id = 0;
    UINT delay = 0;
    bool periodic = false;
    LPTIMECALLBACK callback = nullptr;
    DWORD_PTR user = 0;
    platform::SteppedClock* stepped = nullptr; // null: the timer has its own thread
    int token = 0;                             // listener on `stepped`

    std::recursive_mutex firing; // held while the callback runs, so one thread at a time enters it
    std::mutex lock;             // guards due, killed, token, depth and runner
    std::condition_variable changed;
    uint64_t due = 0;
    bool killed = false;
    int depth = 0; // callbacks in progress on `runner` (nested through a sleep inside the callback)
    std::thread::id runner;
};

struct TimerTable {
    std::mutex lock; // guards timers and nextId
    std::map<UINT, std::shared_ptr<Timer>> timers;
    UINT nextId = 1;
};

// Never destroyed: timer threads may still run while the process exits.
TimerTable& table() {
    static auto* timers = new TimerTable;
    return *timers;
}

// Takes the timer out of the table; null when it is not (or no longer) there.
std::shared_ptr<Timer> retire(UINT id) {
    TimerTable& t = table();
    std::lock_guard guard(t.lock);
    auto it = t.timers.find(id);
    if (it == t.timers.end())
        return nullptr;
    std::shared_ptr<Timer> timer = it->second;
    t.timers.erase(it);
    return timer;
}

void runCallback(Timer& timer) {
    std::lock_guard firing(timer.firing);
    {
        std::lock_guard guard(timer.lock);
        if (timer.killed)
            return;
        ++timer.depth;
        timer.runner = std::this_thread::get_id();
    }
    timer.callback(timer.id, 0, timer.user, 0, 0);
    {
        std::lock_guard guard(timer.lock);
        if (--timer.depth == 0)
            timer.runner = {};
    }
    timer.changed.notify_all();
}

// Marks the timer due time as taken; false when it is not due at `now` or is killed.
bool takeDue(Timer& timer, uint64_t now) {
    std::lock_guard guard(timer.lock);
    if (timer.killed || now < timer.due)
        return false;
    timer.due = timer.periodic ? timer.due + timer.delay : never;
    return true;
}

// Ends a one-shot timer after its call; a kill may have come first.
void finishOneShot(Timer& timer) {
    retire(timer.id);
    std::lock_guard guard(timer.lock);
    timer.killed = true;
}

// The listener token of a killed timer, or 0 while it lives.
int killedToken(Timer& timer) {
    std::lock_guard guard(timer.lock);
    return timer.killed ? timer.token : 0;
}

// Listener of a stepped clock: fires what is due at `now` on the advancing thread.
void onStep(const std::shared_ptr<Timer>& timer, uint64_t now) {
    if (!takeDue(*timer, now))
        return;
    runCallback(*timer);
    if (!timer->periodic)
        finishOneShot(*timer);
    // A kill from inside the callback leaves the listener's removal to this thread.
    if (int token = killedToken(*timer))
        timer->stepped->removeListener(token);
}

// Thread of a timer on the steady clock.
void runTimerThread(std::shared_ptr<Timer> timer, platform::Clock& clock) {
    std::unique_lock guard(timer->lock);
    while (!timer->killed) {
        const uint64_t now = clock.nowMs();
        if (now < timer->due) {
            timer->changed.wait_for(guard, std::chrono::milliseconds(timer->due - now));
            continue;
        }
        guard.unlock();
        if (takeDue(*timer, now)) {
            runCallback(*timer);
            if (!timer->periodic)
                finishOneShot(*timer);
        }
        guard.lock();
    }
}

} // namespace

MMRESULT timeSetEvent(UINT delay, UINT /*resolution*/, LPTIMECALLBACK callback, DWORD_PTR user, UINT flags) {
    if (delay == 0 || delay > maxDelayMs || !callback || (flags & ~TIME_PERIODIC) != 0)
        return 0;
    auto timer = std::make_shared<Timer>();
    timer->delay = delay;
    timer->periodic = (flags & TIME_PERIODIC) != 0;
    timer->callback = callback;
    timer->user = user;
    platform::Clock& clock = platform::activeClock();
    timer->stepped = dynamic_cast<platform::SteppedClock*>(&clock);
    timer->due = clock.nowMs() + delay;
    {
        TimerTable& t = table();
        std::lock_guard guard(t.lock);
        while (t.nextId == 0 || t.timers.count(t.nextId))
            ++t.nextId;
        timer->id = t.nextId++;
        t.timers[timer->id] = timer;
    }
    if (timer->stepped) {
        std::lock_guard guard(timer->lock);
        timer->token = timer->stepped->addListener([timer](uint64_t now) { onStep(timer, now); });
    } else {
        std::thread(runTimerThread, timer, std::ref(clock)).detach();
    }
    return timer->id;
}

MMRESULT timeKillEvent(UINT timerId) {
    std::shared_ptr<Timer> timer = retire(timerId);
    if (!timer)
        return MMSYSERR_INVALPARAM;
    bool fromCallback = false;
    int token = 0;
    {
        std::unique_lock guard(timer->lock);
        timer->killed = true;
        timer->changed.notify_all();
        token = timer->token;
        fromCallback = timer->runner == std::this_thread::get_id();
        if (!fromCallback)
            timer->changed.wait(guard, [&] { return timer->depth == 0; });
    }
    if (timer->stepped && !fromCallback)
        timer->stepped->removeListener(token);
    return TIMERR_NOERROR;
}
