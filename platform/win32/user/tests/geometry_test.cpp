// Placement, visibility, enabling, text, focus, metrics: child and parent geometry as on Windows.
#include "user_fixture.h"

#include <seams/screen_size.h>

namespace platform::user::test {
namespace {

using ::testing::ElementsAre;

using GeometryTest = UserTest;

TEST_F(GeometryTest, ChildGeometryIsInParentClientCoordinates) {
    HWND top = makeWindow(WS_POPUP | WS_VISIBLE, 100, 50, 400, 300);
    HWND child = makeWindow(WS_CHILD | WS_VISIBLE, 10, 20, 100, 80, top, 5);
    EXPECT_TRUE(MoveWindow(child, 30, 40, 120, 60, TRUE));
    RECT client, window;
    GetClientRect(child, &client);
    GetWindowRect(child, &window);
    EXPECT_EQ(client.right, 120);
    EXPECT_EQ(client.bottom, 60);
    EXPECT_EQ(window.left, 130);
    EXPECT_EQ(window.top, 90);
    EXPECT_EQ(window.right, 250);
    EXPECT_EQ(window.bottom, 150);
    POINT p{5, 6};
    ClientToScreen(child, &p);
    EXPECT_EQ(p.x, 135);
    EXPECT_EQ(p.y, 96);
    ScreenToClient(top, &p);
    EXPECT_EQ(p.x, 35);
    EXPECT_EQ(p.y, 46);
    EXPECT_EQ(GetParent(child), top);
    EXPECT_EQ(GetParent(top), nullptr);
    const Seen size = seenOf(WM_SIZE).back();
    EXPECT_EQ(size.hwnd, child);
    EXPECT_EQ(size.lParam, MAKELPARAM(120, 60));
    EXPECT_EQ(seenOf(WM_MOVE).back().lParam, MAKELPARAM(30, 40));
}

TEST_F(GeometryTest, SetWindowPosFlags) {
    HWND top = makeWindow(WS_POPUP | WS_VISIBLE, 0, 0, 400, 300);
    HWND child = makeWindow(WS_CHILD, 10, 20, 100, 80, top, 5);
    SetWindowPos(child, nullptr, 50, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
    RECT r;
    GetWindowRect(child, &r);
    EXPECT_EQ(r.left, 50);
    EXPECT_EQ(r.right - r.left, 100);
    EXPECT_TRUE(IsWindowVisible(child));
    SetWindowPos(child, nullptr, 0, 0, 7, 8, SWP_NOMOVE | SWP_NOZORDER | SWP_HIDEWINDOW);
    GetWindowRect(child, &r);
    EXPECT_EQ(r.left, 50);
    EXPECT_EQ(r.right - r.left, 7);
    EXPECT_FALSE(IsWindowVisible(child));
    SetWindowPos(top, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_NE(GetWindowLong(top, GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
    WINDOWPLACEMENT placement{};
    ASSERT_TRUE(GetWindowPlacement(top, &placement));
    EXPECT_EQ(placement.rcNormalPosition.right, 400);
    EXPECT_EQ(placement.showCmd, static_cast<UINT>(SW_SHOWNORMAL));
}

TEST_F(GeometryTest, ShowAndEnableReportThePreviousState) {
    HWND top = makeWindow(WS_POPUP, 0, 0, 100, 100);
    HWND child = makeWindow(WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, top, 1);
    EXPECT_FALSE(IsWindowVisible(child)) << "its parent is hidden";
    EXPECT_FALSE(ShowWindow(top, SW_SHOW));
    EXPECT_TRUE(IsWindowVisible(child));
    EXPECT_TRUE(ShowWindow(child, SW_HIDE));
    EXPECT_FALSE(ShowWindow(child, SW_HIDE));
    EXPECT_FALSE(EnableWindow(child, FALSE));
    EXPECT_FALSE(IsWindowEnabled(child));
    EXPECT_TRUE(EnableWindow(child, FALSE));
    EXPECT_TRUE(EnableWindow(child, TRUE));
    std::vector<WPARAM> enables;
    for (const Seen& s : seenOf(WM_ENABLE))
        enables.push_back(s.wParam);
    EXPECT_THAT(enables, ElementsAre(FALSE, TRUE)) << "WM_ENABLE only on a change";
}

// A child made without WS_VISIBLE must stay off the screen when its parent is shown, not only report so.
TEST_F(GeometryTest, ChildWithoutVisibleStyleStaysOffScreenWithItsParent) {
    HWND top = makeWindow(WS_POPUP, 0, 0, 100, 100);
    HWND hidden = makeWindow(WS_CHILD, 0, 0, 10, 10, top, 1);
    HWND shown = makeWindow(WS_CHILD | WS_VISIBLE, 20, 0, 10, 10, top, 2);
    ShowWindow(top, SW_SHOW);
    EXPECT_FALSE(IsWindowVisible(hidden));
    EXPECT_FALSE(widgetOf(hidden)->isVisible());
    EXPECT_TRUE(widgetOf(shown)->isVisible());
    ShowWindow(hidden, SW_SHOW);
    EXPECT_TRUE(widgetOf(hidden)->isVisible());
}

TEST_F(GeometryTest, TextKeepsItsBytesAndTruncatesLikeWindows) {
    HWND top = makeWindow(WS_POPUP, 0, 0, 100, 100);
    const char gbk[] = "\xC9\xE8\xD6\xC3"; // "设置" in code page 936
    EXPECT_TRUE(SetWindowText(top, gbk));
    char buffer[8];
    EXPECT_EQ(GetWindowText(top, buffer, sizeof buffer), 4);
    EXPECT_STREQ(buffer, gbk);
    EXPECT_EQ(GetWindowTextLength(top), 4);
    EXPECT_EQ(widgetOf(top)->windowTitle(), QString::fromUtf8("设置"));
    SetWindowText(top, "Korvi Camera Viewer");
    EXPECT_EQ(GetWindowText(top, buffer, 6), 5);
    EXPECT_STREQ(buffer, "Korvi");
    EXPECT_EQ(widgetOf(top)->windowTitle(), QString("Korvi Camera Viewer"));
    HWND made =
        CreateWindowEx(0, "OrvRecord", "made", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(GetWindowTextLength(made), 4);
    DestroyWindow(made);
}

TEST_F(GeometryTest, FocusMovesWithKillAndSetFocus) {
    HWND top = makeWindow(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    EXPECT_EQ(GetFocus(), top) << "a shown top-level window is activated and takes the focus";
    HWND a = makeWindow(WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, top, 1);
    HWND b = makeWindow(WS_CHILD | WS_VISIBLE, 20, 0, 10, 10, top, 2);
    EXPECT_EQ(SetFocus(a), top);
    EXPECT_EQ(SetFocus(b), a);
    EXPECT_EQ(GetFocus(), b);
    const Seen kill = seenOf(WM_KILLFOCUS).back();
    const Seen set = seenOf(WM_SETFOCUS).back();
    EXPECT_EQ(kill.hwnd, a);
    EXPECT_EQ(kill.wParam, reinterpret_cast<WPARAM>(b));
    EXPECT_EQ(set.hwnd, b);
    EXPECT_EQ(set.wParam, reinterpret_cast<WPARAM>(a));
    ShowWindow(b, SW_HIDE);
    EXPECT_EQ(GetFocus(), top) << "hiding the focus window gives the focus to its parent";
    SetFocus(a);
    DestroyWindow(a);
    EXPECT_EQ(GetFocus(), top);
}

// The keyboard stays with the program when an owned window (a dialog) goes: the owner is activated and its
// last focus window gets the focus back, or the owner itself when that window is hidden by then.
TEST_F(GeometryTest, HidingAnOwnedWindowGivesTheOwnerItsFocusBack) {
    HWND owner = makeWindow(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    HWND button = makeWindow(WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, owner, 1);
    SetFocus(button);
    HWND dialog = makeWindow(WS_POPUP, 10, 10, 50, 50, owner);
    HWND edit = makeWindow(WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, dialog, 1);
    SetFocus(edit);
    ShowWindow(dialog, SW_SHOW);
    EXPECT_EQ(GetFocus(), edit);
    ShowWindow(dialog, SW_HIDE);
    EXPECT_EQ(GetFocus(), button);

    ShowWindow(dialog, SW_SHOW);
    EXPECT_EQ(GetFocus(), edit) << "the dialog's own last focus comes back too";
    ShowWindow(button, SW_HIDE);
    DestroyWindow(dialog);
    EXPECT_EQ(GetFocus(), owner);

    HWND disabledOwner = makeWindow(WS_POPUP | WS_VISIBLE | WS_DISABLED, 0, 0, 100, 100);
    HWND popup = makeWindow(WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, disabledOwner);
    ASSERT_EQ(GetFocus(), popup);
    ShowWindow(popup, SW_HIDE);
    EXPECT_EQ(GetFocus(), owner) << "a disabled owner cannot take the focus: the newest window that can does";
}

TEST_F(GeometryTest, ScreenMetricsComeFromTheSeam) {
    platform::seams::setScreenSize(1024, 768);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 768);
    platform::seams::setScreenSize(0, 0);
    EXPECT_GT(GetSystemMetrics(SM_CXSCREEN), 0);
    EXPECT_EQ(GetSystemMetrics(12345), 0);
}

TEST_F(GeometryTest, StandardAndResourceCursors) {
    EXPECT_NE(LoadCursor(nullptr, IDC_HAND), nullptr);
    EXPECT_NE(LoadCursor(nullptr, IDC_HAND), LoadCursor(nullptr, IDC_ARROW));
    EXPECT_EQ(LoadCursor(nullptr, MAKEINTRESOURCE(130)), nullptr);
    int module = 0;
    const auto instance = reinterpret_cast<HINSTANCE>(&module);
    EXPECT_EQ(LoadCursor(instance, MAKEINTRESOURCE(131)), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
    const HCURSOR hand = LoadCursor(nullptr, IDC_HAND);
    SetCursor(hand);
    EXPECT_EQ(SetCursor(LoadCursor(nullptr, IDC_ARROW)), hand);

    const std::string path = ::testing::TempDir() + "cursor130.png";
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(Qt::red);
    ASSERT_TRUE(image.save(QString::fromStdString(path)));
    registerResourceCursor(130, path.c_str(), 8, 8);
    const HCURSOR pan = LoadCursor(instance, MAKEINTRESOURCE(130));
    ASSERT_NE(pan, nullptr);
    EXPECT_EQ(LoadCursor(instance, MAKEINTRESOURCE(130)), pan);
    HWND w = makeWindow(WS_POPUP | WS_VISIBLE, 0, 0, 50, 50);
    mouse(w, QEvent::MouseMove, Qt::NoButton, Qt::NoButton, QPoint(5, 5));
    SetCursor(pan);
    EXPECT_EQ(widgetOf(w)->cursor().hotSpot(), QPoint(8, 8));
    registerResourceCursor(132, (path + ".missing").c_str(), 0, 0);
    EXPECT_EQ(LoadCursor(instance, MAKEINTRESOURCE(132)), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

} // namespace
} // namespace platform::user::test
