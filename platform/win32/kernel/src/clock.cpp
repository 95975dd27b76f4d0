// The steady clock, the installed-clock slot and the stepped test clock with its listeners.
#include <win32/clock.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace platform {
namespace {

class SteadyClock : public Clock {
public:
    uint64_t nowMs() override {
        auto elapsed = std::chrono::steady_clock::now() - start_;
        return static_cast<uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
    }
    void sleepMs(uint32_t ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }

private:
    const std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

SteadyClock& steadyClock() {
    static SteadyClock clock;
    return clock;
}

std::atomic<Clock*> installed{nullptr};

} // namespace

Clock& activeClock() {
    Clock* clock = installed.load(std::memory_order_acquire);
    return clock ? *clock : steadyClock();
}

void installClock(Clock* clock) {
    installed.store(clock, std::memory_order_release);
}

// One registered listener and the threads that are inside it right now.
struct ListenerEntry {
    int token = 0;
    SteppedClock::Listener call;
    bool removed = false;
    std::vector<std::thread::id> runningOn;
};

struct SteppedClock::State {
    std::atomic<uint64_t> now{0};
    std::mutex lock;              // guards listeners, nextToken and each entry's removed/runningOn
    std::condition_variable left; // signalled whenever a thread leaves a listener
    std::vector<std::shared_ptr<ListenerEntry>> listeners;
    int nextToken = 1;
};

SteppedClock::SteppedClock() : state_(std::make_unique<State>()) {}

SteppedClock::~SteppedClock() = default;

uint64_t SteppedClock::nowMs() {
    return state_->now.load(std::memory_order_acquire);
}

void SteppedClock::sleepMs(uint32_t ms) {
    advance(ms);
}

// Steps are taken one millisecond at a time; each listener sees every step of this call. Concurrent
// advances interleave their steps, so a listener may run on several threads at once.
void SteppedClock::advance(uint32_t ms) {
    State& s = *state_;
    const auto self = std::this_thread::get_id();
    for (uint32_t step = 0; step < ms; ++step) {
        const uint64_t now = s.now.fetch_add(1, std::memory_order_acq_rel) + 1;
        std::vector<std::shared_ptr<ListenerEntry>> snapshot;
        {
            std::lock_guard guard(s.lock);
            snapshot = s.listeners;
        }
        for (const auto& entry : snapshot) {
            {
                std::lock_guard guard(s.lock);
                if (entry->removed)
                    continue;
                entry->runningOn.push_back(self);
            }
            entry->call(now);
            {
                std::lock_guard guard(s.lock);
                auto& running = entry->runningOn;
                running.erase(std::find(running.begin(), running.end(), self));
            }
            s.left.notify_all();
        }
    }
}

int SteppedClock::addListener(Listener listener) {
    State& s = *state_;
    std::lock_guard guard(s.lock);
    const int token = s.nextToken++;
    auto entry = std::make_shared<ListenerEntry>();
    entry->token = token;
    entry->call = std::move(listener);
    s.listeners.push_back(std::move(entry));
    return token;
}

// Waits for other threads to leave the listener; the calling thread itself may be inside it.
void SteppedClock::removeListener(int token) {
    State& s = *state_;
    const auto self = std::this_thread::get_id();
    std::unique_lock guard(s.lock);
    auto it = std::find_if(s.listeners.begin(), s.listeners.end(),
                           [token](const auto& entry) { return entry->token == token; });
    if (it == s.listeners.end())
        return;
    std::shared_ptr<ListenerEntry> entry = *it;
    entry->removed = true;
    s.listeners.erase(it);
    s.left.wait(guard, [&] {
        return std::all_of(entry->runningOn.begin(), entry->runningOn.end(),
                           [self](std::thread::id id) { return id == self; });
    });
}

} // namespace platform
