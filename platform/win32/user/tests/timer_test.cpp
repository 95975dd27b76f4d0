// Window timers on a stepped clock: periods, coalescing, killing, timer procedures.
#include "user_fixture.h"

namespace platform::user::test {
namespace {

size_t timersSeen(const std::vector<Seen>& seen, UINT_PTR id) {
    size_t n = 0;
    for (const Seen& s : seen)
        n += s.message == WM_TIMER && s.wParam == id;
    return n;
}

class TimerTest : public UserTest {
protected:
    // Moves the clock on, serves the queue, and counts the WM_TIMER messages of `id` so far.
    size_t after(uint32_t ms, UINT_PTR id) {
        clock.advance(ms);
        drain();
        return timersSeen(seen, id);
    }
};

TEST_F(TimerTest, FiresEachPeriodOfThePlatformClock) {
    HWND w = makeWindow(WS_POPUP, 0, 0, 10, 10);
    EXPECT_EQ(SetTimer(w, 1, 50, nullptr), 1u);
    EXPECT_EQ(after(49, 1), 0u);
    EXPECT_EQ(after(1, 1), 1u);
    for (int i = 0; i < 9; ++i)
        after(50, 1);
    EXPECT_EQ(timersSeen(seen, 1), 10u);
    EXPECT_TRUE(KillTimer(w, 1));
    EXPECT_EQ(after(500, 1), 10u);
    EXPECT_FALSE(KillTimer(w, 1));
}

// As on Windows, a timer that fell behind has one WM_TIMER waiting, not one per missed period.
TEST_F(TimerTest, MissedPeriodsGiveOneMessage) {
    HWND w = makeWindow(WS_POPUP, 0, 0, 10, 10);
    SetTimer(w, 3, 50, nullptr);
    EXPECT_EQ(after(500, 3), 1u);
    EXPECT_EQ(after(49, 3), 1u);
    EXPECT_EQ(after(1, 3), 2u);
}

TEST_F(TimerTest, RestartingReplacesAndShortPeriodsAreRaised) {
    HWND w = makeWindow(WS_POPUP, 0, 0, 10, 10);
    SetTimer(w, 1, 100, nullptr);
    SetTimer(w, 1, 1, nullptr); // raised to USER_TIMER_MINIMUM
    EXPECT_EQ(after(9, 1), 0u);
    EXPECT_EQ(after(1, 1), 1u);
}

TEST_F(TimerTest, TimersDieWithTheirWindowAndStaleWindowsGetNone) {
    HWND w = makeWindow(WS_POPUP, 0, 0, 10, 10);
    SetTimer(w, 1, 10, nullptr);
    DestroyWindow(w);
    clock.advance(100);
    MSG msg;
    EXPECT_FALSE(PeekMessage(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE));
    EXPECT_EQ(SetTimer(w, 1, 10, nullptr), 0u);
}

std::vector<UINT_PTR> procCalls;
void CALLBACK timerProc(HWND, UINT message, UINT_PTR id, DWORD) {
    procCalls.push_back(message == WM_TIMER ? id : 0);
}

TEST_F(TimerTest, DispatchCallsTheTimerProcedure) {
    procCalls.clear();
    const UINT_PTR id = SetTimer(nullptr, 0, 20, timerProc);
    ASSERT_NE(id, 0u);
    after(20, id);
    EXPECT_EQ(procCalls, std::vector<UINT_PTR>{id});
    EXPECT_TRUE(KillTimer(nullptr, id));
}

// Timers keep running inside a modal loop, which is how a held button repeats while a dialog runs.
TEST_F(TimerTest, ModalLoopServesTimers) {
    HWND w = makeWindow(WS_POPUP, 0, 0, 10, 10);
    SetTimer(w, 1, 50, nullptr);
    int rounds = 0;
    EXPECT_TRUE(runModalLoop([&] {
        if (timersSeen(seen, 1) < 3 && rounds++ < 100)
            clock.advance(50);
        return timersSeen(seen, 1) >= 3 || rounds >= 100;
    }));
    EXPECT_EQ(timersSeen(seen, 1), 3u);
}

// On the steady clock a loop that waits for messages wakes by itself when a timer comes due.
TEST_F(TimerTest, SteadyClockWakesAWaitingLoop) {
    installClock(nullptr);
    HWND w = makeWindow(WS_POPUP, 0, 0, 10, 10);
    SetTimer(w, 4, 10, nullptr);
    EXPECT_TRUE(runModalLoop([&] { return timersSeen(seen, 4) >= 3; }));
}

} // namespace
} // namespace platform::user::test
