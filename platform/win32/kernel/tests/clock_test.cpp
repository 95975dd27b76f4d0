// Tests of the installed-clock slot and the stepped test clock.
#include <win32/clock.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

using platform::SteppedClock;

TEST(Clock, ActiveClockIsSteadyUntilInstalledAndAfterReset) {
    SteppedClock stepped;
    platform::Clock& steady = platform::activeClock();
    platform::installClock(&stepped);
    EXPECT_EQ(&platform::activeClock(), &stepped);
    platform::activeClock().sleepMs(7);
    EXPECT_EQ(stepped.nowMs(), 7u);
    platform::installClock(nullptr);
    EXPECT_EQ(&platform::activeClock(), &steady);
}

TEST(Clock, SteadyClockNeverRunsBackwards) {
    platform::Clock& steady = platform::activeClock();
    uint64_t before = steady.nowMs();
    steady.sleepMs(2);
    EXPECT_GE(steady.nowMs(), before + 2);
}

// A listener must see every millisecond, not only the end of a long advance.
TEST(SteppedClock, ListenersSeeEachMillisecondStep) {
    SteppedClock clock;
    std::vector<uint64_t> seen;
    clock.addListener([&](uint64_t now) { seen.push_back(now); });
    clock.advance(3);
    clock.sleepMs(2);
    EXPECT_EQ(seen, (std::vector<uint64_t>{1, 2, 3, 4, 5}));
    EXPECT_EQ(clock.nowMs(), 5u);
}

TEST(SteppedClock, RemovedListenerIsNotCalledAgainAndOthersStay) {
    SteppedClock clock;
    int first = 0, second = 0;
    int token = clock.addListener([&](uint64_t) { ++first; });
    clock.addListener([&](uint64_t) { ++second; });
    clock.advance(2);
    clock.removeListener(token);
    clock.removeListener(token); // unknown token: nothing happens
    clock.advance(3);
    EXPECT_EQ(first, 2);
    EXPECT_EQ(second, 5);
}

// Removing itself from inside the callback must neither deadlock nor call it again.
TEST(SteppedClock, ListenerCanRemoveItself) {
    SteppedClock clock;
    int calls = 0;
    int token = 0;
    token = clock.addListener([&](uint64_t) {
        ++calls;
        clock.removeListener(token);
    });
    clock.advance(4);
    EXPECT_EQ(calls, 1);
}

// A sleep inside a listener advances the same clock (nested steps) without deadlock.
TEST(SteppedClock, SleepInsideListenerNests) {
    SteppedClock clock;
    int calls = 0;
    clock.addListener([&](uint64_t now) {
        ++calls;
        if (now == 1)
            clock.sleepMs(2);
    });
    clock.advance(2);
    EXPECT_EQ(clock.nowMs(), 4u);
    EXPECT_EQ(calls, 4);
}

// removeListener on one thread waits until another thread has left the listener.
TEST(SteppedClock, RemoveWaitsForListenerRunningElsewhere) {
    SteppedClock clock;
    std::atomic<bool> entered{false}, release{false}, finished{false};
    int token = clock.addListener([&](uint64_t) {
        entered = true;
        while (!release)
            std::this_thread::yield();
        finished = true;
    });
    std::thread advancer([&] { clock.advance(1); });
    while (!entered)
        std::this_thread::yield();
    std::thread remover([&] {
        clock.removeListener(token);
        EXPECT_TRUE(finished.load());
    });
    release = true;
    remover.join();
    advancer.join();
}

TEST(SteppedClock, ConcurrentAdvancesAddUp) {
    SteppedClock clock;
    std::atomic<int> calls{0};
    clock.addListener([&](uint64_t) { ++calls; });
    std::thread a([&] { clock.advance(500); });
    std::thread b([&] { clock.advance(300); });
    a.join();
    b.join();
    EXPECT_EQ(clock.nowMs(), 800u);
    EXPECT_EQ(calls.load(), 800);
}

} // namespace
