// Tests of events, waits with time-outs, threads and the checked handle table.
#include <win32/clock.h>
#include <win32/sync.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

TEST(Events, ManualResetStaysSignalledUntilReset) {
    HANDLE event = CreateEvent(nullptr, TRUE, TRUE, nullptr);
    ASSERT_NE(event, nullptr);
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
    EXPECT_TRUE(ResetEvent(event));
    EXPECT_EQ(WaitForSingleObject(event, 5), WAIT_TIMEOUT);
    EXPECT_TRUE(CloseHandle(event));
}

TEST(Events, AutoResetWakesOnceThenClears) {
    HANDLE event = CreateEvent(nullptr, FALSE, FALSE, nullptr);
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_TIMEOUT);
    EXPECT_TRUE(SetEvent(event));
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_TIMEOUT);
    CloseHandle(event);
}

TEST(Events, SetOnAnotherThreadEndsAnInfiniteWait) {
    HANDLE event = CreateEvent(nullptr, FALSE, FALSE, nullptr);
    std::thread setter([event] {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        SetEvent(event);
    });
    EXPECT_EQ(WaitForSingleObject(event, INFINITE), WAIT_OBJECT_0);
    setter.join();
    CloseHandle(event);
}

TEST(Events, NamedEventsAreRefused) {
    EXPECT_EQ(CreateEvent(nullptr, TRUE, FALSE, "name"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_SUPPORTED));
}

// A wait's time-out is counted on the installed clock: on a stepped clock only advances end it.
TEST(Events, TimeoutOnSteppedClockFollowsAdvances) {
    platform::SteppedClock clock;
    platform::installClock(&clock);
    HANDLE event = CreateEvent(nullptr, TRUE, FALSE, nullptr);
    std::atomic<DWORD> result{0xdead};
    std::thread waiter([&] { result = WaitForSingleObject(event, 100000); });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(result, 0xdeadu); // real time is no time on the stepped clock
    clock.advance(99000);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(result, 0xdeadu); // the deadline lies at 100000 or later
    // Only advances end the wait (the waiter may have started late and set its deadline later).
    while (result == 0xdeadu) {
        clock.advance(1000);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    waiter.join();
    EXPECT_EQ(result, WAIT_TIMEOUT);
    platform::installClock(nullptr);
    CloseHandle(event);
}

TEST(Handles, StaleAndForeignHandlesFail) {
    HANDLE event = CreateEvent(nullptr, TRUE, FALSE, nullptr);
    ASSERT_TRUE(CloseHandle(event));
    EXPECT_FALSE(CloseHandle(event));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_FALSE(SetEvent(event));
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_FAILED);
    int local = 0;
    EXPECT_FALSE(CloseHandle(&local));
    EXPECT_EQ(WaitForSingleObject(INVALID_HANDLE_VALUE, 0), WAIT_FAILED);
}

struct ThreadArgs {
    HANDLE stop;
    std::atomic<int> rounds{0};
    std::atomic<DWORD> id{0};
};

// The listener pattern of the callers: loop while a 1 ms wait on a stop event times out.
DWORD WINAPI pollUntilStopped(LPVOID parameter) {
    auto* args = static_cast<ThreadArgs*>(parameter);
    args->id = GetCurrentThreadId();
    while (WaitForSingleObject(args->stop, 1) == WAIT_TIMEOUT)
        ++args->rounds;
    return 0;
}

TEST(Threads, ThreadHandleSignalsWhenThreadReturns) {
    ThreadArgs args;
    args.stop = CreateEvent(nullptr, FALSE, FALSE, nullptr);
    DWORD id = 0;
    HANDLE thread = CreateThread(nullptr, 0, pollUntilStopped, &args, 0, &id);
    ASSERT_NE(thread, nullptr);
    EXPECT_EQ(WaitForSingleObject(thread, 5), WAIT_TIMEOUT);
    EXPECT_FALSE(SetEvent(thread)); // a thread is not an event
    SetEvent(args.stop);
    EXPECT_EQ(WaitForSingleObject(thread, 2000), WAIT_OBJECT_0);
    EXPECT_EQ(args.id, id);
    EXPECT_NE(id, GetCurrentThreadId());
    EXPECT_TRUE(CloseHandle(thread));
    CloseHandle(args.stop);
}

} // namespace
