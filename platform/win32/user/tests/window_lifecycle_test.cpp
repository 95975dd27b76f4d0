// Window creation and destruction order, the handle table, classes and subclassing.
#include "user_fixture.h"

namespace platform::user::test {
namespace {

using ::testing::ElementsAre;

using LifecycleTest = UserTest;

TEST_F(LifecycleTest, CreationSendsNcCreateCreateSizeMoveAndShowsWithWsVisible) {
    HWND w = makeWindow(WS_POPUP | WS_VISIBLE, 10, 20, 200, 100);
    const std::vector<UINT> messages = messagesOf(w);
    ASSERT_GE(messages.size(), 4u);
    EXPECT_THAT(std::vector<UINT>(messages.begin(), messages.begin() + 4),
                ElementsAre(WM_NCCREATE, WM_CREATE, WM_SIZE, WM_MOVE));
    EXPECT_EQ(seenOf(WM_SIZE)[0].lParam, MAKELPARAM(200, 100));
    EXPECT_TRUE(IsWindowVisible(w));
    EXPECT_NE(GetWindowLong(w, GWL_STYLE) & WS_VISIBLE, 0);
}

// Windows order: WM_DESTROY parent first, WM_NCDESTROY children first; all handles stale afterwards.
TEST_F(LifecycleTest, DestroySendsDestroyParentFirstAndNcDestroyChildrenFirst) {
    HWND parent = makeWindow(WS_POPUP, 0, 0, 100, 100);
    HWND child = makeWindow(WS_CHILD, 0, 0, 50, 50, parent, 1);
    HWND grandchild = makeWindow(WS_CHILD, 0, 0, 10, 10, child, 2);
    seen.clear();
    EXPECT_TRUE(DestroyWindow(parent));
    std::vector<std::pair<HWND, UINT>> order;
    for (const Seen& s : seen) {
        if (s.message == WM_DESTROY || s.message == WM_NCDESTROY)
            order.emplace_back(s.hwnd, s.message);
    }
    EXPECT_THAT(order, ElementsAre(std::pair(parent, WM_DESTROY), std::pair(child, WM_DESTROY),
                                   std::pair(grandchild, WM_DESTROY), std::pair(grandchild, WM_NCDESTROY),
                                   std::pair(child, WM_NCDESTROY), std::pair(parent, WM_NCDESTROY)));
    EXPECT_FALSE(IsWindow(parent));
    EXPECT_FALSE(IsWindow(child));
    EXPECT_FALSE(IsWindow(grandchild));
}

TEST_F(LifecycleTest, OwnedWindowsAreDestroyedWithTheirOwner) {
    HWND owner = makeWindow(WS_POPUP, 0, 0, 100, 100);
    HWND owned = makeWindow(WS_POPUP, 0, 0, 50, 50, owner);
    HWND overlapped = makeWindow(WS_OVERLAPPED, 0, 0, 50, 50, owner);
    EXPECT_EQ(GetParent(owned), owner);
    EXPECT_EQ(GetParent(overlapped), nullptr) << "only popups report their owner";
    DestroyWindow(owner);
    EXPECT_FALSE(IsWindow(owned));
    EXPECT_FALSE(IsWindow(overlapped));
}

// A stale handle, a pointer that never was a window and null are all refused without harm.
TEST_F(LifecycleTest, StaleAndForeignHandlesAreRefused) {
    HWND w = makeWindow(WS_POPUP, 0, 0, 10, 10);
    DestroyWindow(w);
    int local = 0;
    for (HWND bad : {w, reinterpret_cast<HWND>(&local), HWND{}}) {
        EXPECT_FALSE(IsWindow(bad));
        SetLastError(0);
        EXPECT_FALSE(PostMessage(bad ? bad : w, WM_USER, 0, 0));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
        EXPECT_EQ(SendMessage(bad, WM_USER, 0, 0), 0);
        EXPECT_FALSE(DestroyWindow(bad));
        RECT r;
        EXPECT_FALSE(GetClientRect(bad, &r));
    }
    MSG msg;
    EXPECT_FALSE(PeekMessage(&msg, nullptr, WM_USER, WM_USER, PM_REMOVE));
}

TEST_F(LifecycleTest, CreateFailsCleanly) {
    struct Case {
        const char* name;
        const char* className;
        DWORD style;
        DWORD error;
    };
    for (const Case& c : {Case{"unknown class", "NoSuchClass", WS_POPUP, ERROR_CANNOT_FIND_WND_CLASS},
                          Case{"child without parent", "OrvRecord", WS_CHILD, ERROR_TLW_WITH_WSCHILD}}) {
        SetLastError(0);
        EXPECT_EQ(
            CreateWindowEx(0, c.className, "", c.style, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr),
            nullptr)
            << c.name;
        EXPECT_EQ(GetLastError(), c.error) << c.name;
    }
    handler = [](HWND, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        return m == WM_CREATE ? std::optional<LRESULT>(-1) : std::nullopt;
    };
    EXPECT_EQ(CreateWindowEx(0, "OrvRecord", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr),
              nullptr);
    ASSERT_FALSE(seenOf(WM_NCDESTROY).empty());
    EXPECT_FALSE(IsWindow(seenOf(WM_NCDESTROY)[0].hwnd));
}

TEST_F(LifecycleTest, RegisteringANameTwiceFailsWithoutCase) {
    WNDCLASS wc{};
    wc.lpfnWndProc = DefWindowProc;
    wc.lpszClassName = "orvrecord";
    SetLastError(0);
    EXPECT_EQ(RegisterClass(&wc), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_ALREADY_EXISTS));
}

LRESULT CALLBACK doublingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
WNDPROC previousProc;

LRESULT CALLBACK doublingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_USER)
        return 2 * CallWindowProc(previousProc, hwnd, message, wParam, lParam);
    return CallWindowProc(previousProc, hwnd, message, wParam, lParam);
}

TEST_F(LifecycleTest, SubclassingThroughWindowLongs) {
    HWND w = makeWindow(WS_POPUP, 0, 0, 10, 10, nullptr);
    HWND c = makeWindow(WS_CHILD, 0, 0, 5, 5, w, 77);
    handler = [](HWND, UINT m, WPARAM wp, LPARAM) -> std::optional<LRESULT> {
        return m == WM_USER ? std::optional<LRESULT>(static_cast<LRESULT>(wp) + 1) : std::nullopt;
    };
    previousProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtr(c, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(doublingProc)));
    EXPECT_EQ(SendMessage(c, WM_USER, 20, 0), 42);
    EXPECT_EQ(GetWindowLongPtr(c, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(doublingProc));

    EXPECT_EQ(SetWindowLongPtr(c, GWLP_USERDATA, 1234), 0);
    EXPECT_EQ(GetWindowLongPtr(c, GWLP_USERDATA), 1234);
    EXPECT_EQ(GetWindowLong(c, GWL_ID), 77);
    EXPECT_EQ(GetDlgCtrlID(c), 77);
    EXPECT_EQ(GetDlgItem(w, 77), c);
    EXPECT_EQ(GetDlgItem(w, 78), nullptr);
    EXPECT_EQ(SetWindowLong(c, GWL_ID, 78), 77);
    EXPECT_EQ(GetDlgItem(w, 78), c);
    SetLastError(0);
    EXPECT_EQ(GetWindowLongPtr(c, 12345), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_INDEX));
}

} // namespace
} // namespace platform::user::test
