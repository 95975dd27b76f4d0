// Posting, sending, retrieving and the framework loops: order, the pre-translation hook, threads, quit.
#include "user_fixture.h"

#include <atomic>
#include <thread>

namespace platform::user::test {
namespace {

using ::testing::ElementsAre;

using MessageQueueTest = UserTest;

// Posted messages keep their order and each passes the hook before the window procedure; a swallowed one
// never reaches the window.
TEST_F(MessageQueueTest, PostedMessagesPassTheHookInOrder) {
    HWND w = makeWindow(WS_POPUP, 0, 0, 10, 10);
    std::vector<WPARAM> hooked;
    setPreTranslateHook([&](MSG& msg) {
        if (msg.message != WM_USER)
            return false;
        hooked.push_back(msg.wParam);
        return msg.wParam == 2;
    });
    for (WPARAM i = 1; i <= 4; ++i)
        ASSERT_TRUE(PostMessage(w, WM_USER, i, 0));
    EXPECT_TRUE(runModalLoop([&] { return hooked.size() == 4; }));
    EXPECT_THAT(hooked, ElementsAre(1, 2, 3, 4));
    EXPECT_THAT(paramsOf(WM_USER), ElementsAre(1, 3, 4));
}

TEST_F(MessageQueueTest, SendMessageCallsTheProcedureAtOnceAheadOfPostedMessages) {
    HWND w = makeWindow(WS_POPUP, 0, 0, 10, 10);
    handler = [](HWND, UINT m, WPARAM wp, LPARAM lp) -> std::optional<LRESULT> {
        return m == WM_USER ? std::optional<LRESULT>(static_cast<LRESULT>(wp) * lp) : std::nullopt;
    };
    PostMessage(w, WM_USER, 1, 1);
    EXPECT_EQ(SendMessage(w, WM_USER, 6, 7), 42);
    EXPECT_THAT(paramsOf(WM_USER), ElementsAre(6));
    drain();
    EXPECT_THAT(paramsOf(WM_USER), ElementsAre(6, 1));
}

// A streaming or serial thread posts while the GUI thread is busy; nothing is lost or reordered.
TEST_F(MessageQueueTest, PostFromAnotherThreadArrivesInOrder) {
    HWND w = makeWindow(WS_POPUP, 0, 0, 10, 10);
    constexpr int kCount = 200;
    std::thread poster([w] {
        for (int i = 0; i < kCount; ++i)
            PostMessage(w, WM_USER, static_cast<WPARAM>(i), 0);
    });
    poster.join(); // the poster never waited for the GUI thread
    EXPECT_TRUE(runModalLoop([&] { return paramsOf(WM_USER).size() == kCount; }));
    const std::vector<WPARAM> got = paramsOf(WM_USER);
    for (int i = 0; i < kCount; ++i)
        ASSERT_EQ(got[static_cast<size_t>(i)], static_cast<WPARAM>(i));
}

// A send from another thread runs on the GUI thread while it pumps, and the sender gets the result.
TEST_F(MessageQueueTest, SendFromAnotherThreadRunsOnTheGuiThread) {
    HWND w = makeWindow(WS_POPUP, 0, 0, 10, 10);
    const std::thread::id gui = std::this_thread::get_id();
    std::atomic<bool> onGui{false};
    handler = [&](HWND, UINT m, WPARAM wp, LPARAM) -> std::optional<LRESULT> {
        if (m != WM_USER)
            return std::nullopt;
        onGui = std::this_thread::get_id() == gui;
        return static_cast<LRESULT>(wp) + 100;
    };
    std::atomic<LRESULT> result{0};
    std::thread sender([&] { result = SendMessage(w, WM_USER, 5, 0); });
    EXPECT_TRUE(runModalLoop([&] { return !paramsOf(WM_USER).empty(); }));
    sender.join();
    EXPECT_EQ(result.load(), 105);
    EXPECT_TRUE(onGui.load());
}

// WM_QUIT ends a modal loop early and stays for the outer loop, with its exit code.
TEST_F(MessageQueueTest, QuitEndsTheModalLoopAndReachesTheOuterLoop) {
    HWND w = makeWindow(WS_POPUP, 0, 0, 10, 10);
    PostMessage(w, WM_USER, 1, 0);
    PostQuitMessage(7);
    PostMessage(w, WM_USER, 2, 0);
    EXPECT_FALSE(runModalLoop([] { return false; }));
    // Posted messages come before the quit.
    EXPECT_THAT(paramsOf(WM_USER), ElementsAre(1, 2));
    MSG msg;
    EXPECT_EQ(GetMessage(&msg, nullptr, 0, 0), FALSE);
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 7u);
    PostQuitMessage(3);
    EXPECT_EQ(runMessageLoop(), 3);
}

TEST_F(MessageQueueTest, PeekFiltersByWindowAndRangeAndKeepsWithoutRemove) {
    HWND a = makeWindow(WS_POPUP, 0, 0, 10, 10);
    HWND child = makeWindow(WS_CHILD, 0, 0, 5, 5, a, 1);
    HWND b = makeWindow(WS_POPUP, 0, 0, 10, 10);
    PostMessage(b, WM_USER, 1, 0);
    PostMessage(child, WM_USER + 1, 2, 0);
    PostMessage(a, WM_USER + 2, 3, 0);
    MSG msg;
    ASSERT_TRUE(PeekMessage(&msg, a, 0, 0, PM_NOREMOVE)); // the child's message belongs to a as well
    EXPECT_EQ(msg.wParam, 2u);
    ASSERT_TRUE(PeekMessage(&msg, nullptr, WM_USER + 2, WM_USER + 5, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 3u);
    ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 1u);
    ASSERT_TRUE(PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 2u);
    EXPECT_FALSE(PeekMessage(&msg, nullptr, WM_USER, WM_USER + 5, PM_REMOVE));
}

TEST_F(MessageQueueTest, DestroyingAWindowDropsItsQueuedMessages) {
    HWND a = makeWindow(WS_POPUP, 0, 0, 10, 10);
    HWND b = makeWindow(WS_POPUP, 0, 0, 10, 10);
    PostMessage(a, WM_USER, 1, 0);
    PostMessage(b, WM_USER, 2, 0);
    DestroyWindow(a);
    MSG msg;
    ASSERT_TRUE(PeekMessage(&msg, nullptr, WM_USER, WM_USER, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, b);
    EXPECT_FALSE(PeekMessage(&msg, nullptr, WM_USER, WM_USER, PM_REMOVE));
}

TEST_F(MessageQueueTest, PostWithoutWindowIsAThreadMessage) {
    ASSERT_TRUE(PostMessage(nullptr, WM_APP, 9, 0));
    MSG msg;
    ASSERT_TRUE(PeekMessage(&msg, reinterpret_cast<HWND>(static_cast<intptr_t>(-1)), 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, nullptr);
    EXPECT_EQ(msg.wParam, 9u);
    EXPECT_EQ(DispatchMessage(&msg), 0);
    std::thread other([] { EXPECT_FALSE(PostMessage(nullptr, WM_APP, 0, 0)); });
    other.join();
}

} // namespace
} // namespace platform::user::test
