// The rubber band: followed to the release, cancelled by Esc, normalised, and the window left as it was.
#include "mfc_fixture.h"

namespace mfc_test {
namespace {

using MfcRectTrackerTest = MfcTest;

// The window's pixels as 32-bit top-down rows.
std::vector<DWORD> windowPixels(HWND hwnd, int width, int height)
{
    const BITMAPINFO info{{sizeof(BITMAPINFOHEADER), width, -height, 1, 32, 0, 0, 0, 0, 0, 0}, {}};
    void* bits = nullptr;
    HDC memory = CreateCompatibleDC(nullptr);
    HBITMAP section = CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, section);
    HDC dc = GetDC(hwnd);
    BitBlt(memory, 0, 0, width, height, dc, 0, 0, SRCCOPY);
    ReleaseDC(hwnd, dc);
    const auto* p = static_cast<const DWORD*>(bits);
    std::vector<DWORD> pixels(p, p + width * height);
    SelectObject(memory, old);
    DeleteObject(section);
    DeleteDC(memory);
    return pixels;
}

TEST_F(MfcRectTrackerTest, FollowsTheMouseToTheReleaseAndRestoresThePicture)
{
    CWnd wnd;
    ASSERT_TRUE(wnd.SubclassWindow(plainWindow(WS_OVERLAPPED | WS_VISIBLE)));
    const HWND hwnd = wnd.GetSafeHwnd();
    HDC dc = GetDC(hwnd);
    const RECT all{0, 0, 200, 100};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    ReleaseDC(hwnd, dc);
    const std::vector<DWORD> before = windowPixels(hwnd, 200, 100);

    const CRect start(0, 0, 100, 100);
    CRectTracker tracker(&start, CRectTracker::dottedLine | CRectTracker::resizeInside);
    PostMessage(hwnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(30, 20));
    PostMessage(hwnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(5, 40));
    PostMessage(hwnd, WM_TIMER, 9, 0); // served meanwhile
    PostMessage(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(5, 40));
    EXPECT_TRUE(tracker.TrackRubberBand(&wnd, CPoint(50, 10)));
    EXPECT_EQ(tracker.m_rect, CRect(5, 10, 50, 40));
    EXPECT_EQ(seenOf(WM_TIMER).size(), 1u);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(windowPixels(hwnd, 200, 100), before);

    PostMessage(hwnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessage(hwnd, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(30, 20));
    PostMessage(hwnd, WM_KEYDOWN, VK_ESCAPE, 1);
    EXPECT_FALSE(tracker.TrackRubberBand(&wnd, CPoint(10, 10), FALSE));
    EXPECT_EQ(tracker.m_rect, CRect(10, 10, 30, 20));
}

} // namespace
} // namespace mfc_test
