// Tests of tick counts, Sleep and multimedia timers on the stepped and on the steady clock.
#include <win32/clock.h>
#include <win32/timing.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

class SteppedTimers : public ::testing::Test {
protected:
    void SetUp() override { platform::installClock(&clock); }
    void TearDown() override { platform::installClock(nullptr); }
    platform::SteppedClock clock;
};

constexpr UINT notKilled = 0xffff;

// Written by the callback, which runs on the timer thread on the steady clock.
struct Counter {
    std::atomic<int> calls{0};
    std::atomic<UINT> lastId{0};
    int killAfter = 0; // kill the timer from inside the callback after this many calls
    std::atomic<UINT> killResult{notKilled};
};

void CALLBACK countCall(UINT id, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR) {
    auto* counter = reinterpret_cast<Counter*>(user);
    counter->lastId = id;
    if (++counter->calls == counter->killAfter)
        counter->killResult = timeKillEvent(id);
}

TEST_F(SteppedTimers, TickCountsAndSleepFollowTheClock) {
    clock.advance(1234);
    EXPECT_EQ(GetTickCount(), 1234u);
    EXPECT_EQ(timeGetTime(), 1234u);
    Sleep(66);
    EXPECT_EQ(timeGetTime(), 1300u);
}

TEST_F(SteppedTimers, PeriodicTimerFiresOncePerPeriod) {
    Counter counter;
    UINT id = timeSetEvent(10, 0, countCall, reinterpret_cast<DWORD_PTR>(&counter), TIME_PERIODIC);
    ASSERT_NE(id, 0u);
    clock.advance(9);
    EXPECT_EQ(counter.calls, 0);
    clock.advance(96);
    EXPECT_EQ(counter.calls, 10);
    EXPECT_EQ(counter.lastId, id);
    EXPECT_EQ(timeKillEvent(id), TIMERR_NOERROR);
    clock.advance(50);
    EXPECT_EQ(counter.calls, 10);
    EXPECT_EQ(timeKillEvent(id), MMSYSERR_INVALPARAM);
}

TEST_F(SteppedTimers, OneShotFiresOnceAndThenIsGone) {
    Counter counter;
    UINT id = timeSetEvent(5, 0, countCall, reinterpret_cast<DWORD_PTR>(&counter), TIME_ONESHOT);
    clock.advance(30);
    EXPECT_EQ(counter.calls, 1);
    EXPECT_EQ(timeKillEvent(id), MMSYSERR_INVALPARAM);
}

// Killing from inside the callback must not deadlock and must stop further calls.
TEST_F(SteppedTimers, KillFromInsideCallbackStopsTheTimer) {
    Counter counter;
    counter.killAfter = 3;
    timeSetEvent(4, 0, countCall, reinterpret_cast<DWORD_PTR>(&counter), TIME_PERIODIC);
    clock.advance(40);
    EXPECT_EQ(counter.calls, 3);
    EXPECT_EQ(counter.killResult, TIMERR_NOERROR);
}

TEST_F(SteppedTimers, BadArgumentsAreRefused) {
    Counter counter;
    auto user = reinterpret_cast<DWORD_PTR>(&counter);
    EXPECT_EQ(timeSetEvent(0, 0, countCall, user, TIME_PERIODIC), 0u);
    EXPECT_EQ(timeSetEvent(1000001, 0, countCall, user, TIME_PERIODIC), 0u);
    EXPECT_EQ(timeSetEvent(10, 0, nullptr, user, TIME_PERIODIC), 0u);
    EXPECT_EQ(timeSetEvent(10, 0, countCall, user, 0x10), 0u);
    EXPECT_EQ(timeKillEvent(0), MMSYSERR_INVALPARAM);
    EXPECT_EQ(timeBeginPeriod(1), TIMERR_NOERROR);
    EXPECT_EQ(timeEndPeriod(1), TIMERR_NOERROR);
    EXPECT_EQ(timeBeginPeriod(0), TIMERR_NOCANDO);
}

struct SlowCallback {
    std::atomic<int> calls{0};
    std::atomic<bool> inside{false};
};

void CALLBACK slowCall(UINT, UINT, DWORD_PTR user, DWORD_PTR, DWORD_PTR) {
    auto* state = reinterpret_cast<SlowCallback*>(user);
    state->inside = true;
    std::this_thread::sleep_for(std::chrono::milliseconds(3));
    ++state->calls;
    state->inside = false;
}

// On the steady clock the callback runs on a timer thread, and timeKillEvent waits for it to leave.
TEST(SteadyTimers, KillWaitsUntilCallbackHasLeft) {
    SlowCallback state;
    UINT id = timeSetEvent(1, 0, slowCall, reinterpret_cast<DWORD_PTR>(&state), TIME_PERIODIC);
    ASSERT_NE(id, 0u);
    while (state.calls < 3)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_EQ(timeKillEvent(id), TIMERR_NOERROR);
    EXPECT_FALSE(state.inside);
    const int calls = state.calls;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(state.calls, calls);
}

TEST(SteadyTimers, KillFromInsideCallbackOnTimerThread) {
    Counter counter;
    counter.killAfter = 2;
    timeSetEvent(1, 0, countCall, reinterpret_cast<DWORD_PTR>(&counter), TIME_PERIODIC);
    while (counter.killResult == notKilled)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(counter.calls, 2);
    EXPECT_EQ(counter.killResult, TIMERR_NOERROR);
}

} // namespace
