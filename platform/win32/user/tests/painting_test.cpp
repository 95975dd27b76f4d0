// Update regions, WM_PAINT order, BeginPaint/EndPaint, and window DCs from the GUI and other threads.
#include "user_fixture.h"

#include <thread>

#include <win32/gdi.h>
#include <win32/window_surface.h>

#include "window.h"

namespace platform::user::test {
namespace {

using ::testing::ElementsAre;

using PaintingTest = UserTest;

QRgb pixelOf(HWND hwnd, int x, int y) {
    WindowPtr window = findWindow(hwnd);
    std::lock_guard guard(window->surface->lock);
    return window->surface->image.pixel(x, y) & 0xFFFFFF;
}

void fill(HDC dc, const RECT& r, COLORREF color) {
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
}

TEST_F(PaintingTest, InvalidatedWindowGetsPaintAfterPostedMessagesWithEraseFirst) {
    HWND w = makeWindow(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    drain();
    seen.clear();
    PAINTSTRUCT ps{};
    handler = [&](HWND hwnd, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (m != WM_PAINT)
            return std::nullopt;
        BeginPaint(hwnd, &ps);
        EndPaint(hwnd, &ps);
        return 0;
    };
    RECT a{10, 10, 20, 20}, b{30, 5, 40, 15};
    InvalidateRect(w, &a, FALSE);
    InvalidateRect(w, &b, TRUE);
    PostMessage(w, WM_USER, 0, 0);
    drain();
    std::vector<UINT> order;
    for (const Seen& s : seen)
        order.push_back(s.message);
    EXPECT_THAT(order, ElementsAre(WM_USER, WM_PAINT, WM_ERASEBKGND));
    EXPECT_EQ(ps.rcPaint.left, 10);
    EXPECT_EQ(ps.rcPaint.top, 5);
    EXPECT_EQ(ps.rcPaint.right, 40);
    EXPECT_EQ(ps.rcPaint.bottom, 20);
    EXPECT_TRUE(ps.fErase) << "the class has no background brush, so WM_ERASEBKGND returned 0";
    seen.clear();
    drain();
    EXPECT_TRUE(seenOf(WM_PAINT).empty()) << "BeginPaint validated the region";
}

TEST_F(PaintingTest, UpdateWindowPaintsAtOnceAndValidateRectCancels) {
    HWND w = makeWindow(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    drain();
    seen.clear();
    InvalidateRect(w, nullptr, FALSE);
    UpdateWindow(w);
    EXPECT_EQ(seenOf(WM_PAINT).size(), 1u);
    UpdateWindow(w);
    EXPECT_EQ(seenOf(WM_PAINT).size(), 1u) << "nothing left to paint";
    InvalidateRect(w, nullptr, FALSE);
    ValidateRect(w, nullptr);
    drain();
    EXPECT_EQ(seenOf(WM_PAINT).size(), 1u);
}

// Parents paint before children; without WS_CLIPCHILDREN invalidating the parent reaches the children.
TEST_F(PaintingTest, ChildrenFollowTheirParentUnlessItClipsChildren) {
    for (DWORD clip : {DWORD{0}, DWORD{WS_CLIPCHILDREN}}) {
        HWND top = makeWindow(WS_POPUP | WS_VISIBLE | clip, 0, 0, 100, 100);
        HWND child = makeWindow(WS_CHILD | WS_VISIBLE, 10, 10, 20, 20, top, 1);
        drain();
        seen.clear();
        InvalidateRect(top, nullptr, TRUE);
        drain();
        std::vector<HWND> painted;
        for (const Seen& s : seenOf(WM_PAINT))
            painted.push_back(s.hwnd);
        if (clip)
            EXPECT_THAT(painted, ElementsAre(top));
        else
            EXPECT_THAT(painted, ElementsAre(top, child));
        DestroyWindow(top);
    }
}

TEST_F(PaintingTest, HiddenWindowsCollectNoPaintAndShowingPaintsEverything) {
    HWND top = makeWindow(WS_POPUP, 0, 0, 100, 100);
    HWND child = makeWindow(WS_CHILD | WS_VISIBLE, 10, 10, 20, 20, top, 1);
    InvalidateRect(top, nullptr, TRUE);
    drain();
    EXPECT_TRUE(seenOf(WM_PAINT).empty());
    EXPECT_FALSE(ShowWindow(top, SW_SHOW));
    drain();
    EXPECT_EQ(seenOf(WM_PAINT).size(), 2u);
    EXPECT_TRUE(IsWindowVisible(child));
}

// What a child leaves unpainted shows its parent's pixels (the parent has no WS_CLIPCHILDREN), except
// what was drawn in it outside its paint.
TEST_F(PaintingTest, ChildStartsFromTheParentsPixels) {
    HWND top = makeWindow(WS_POPUP | WS_VISIBLE, 0, 0, 100, 100);
    HWND child = makeWindow(WS_CHILD | WS_VISIBLE, 20, 20, 40, 40, top, 1);
    handler = [&](HWND hwnd, UINT m, WPARAM, LPARAM) -> std::optional<LRESULT> {
        if (m == WM_ERASEBKGND)
            return TRUE;
        if (m != WM_PAINT)
            return std::nullopt;
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        if (hwnd == top)
            fill(dc, RECT{0, 0, 100, 100}, RGB(0, 0, 255));
        else
            fill(dc, RECT{0, 0, 10, 10}, RGB(255, 0, 0));
        EndPaint(hwnd, &ps);
        return 0;
    };
    drain();
    EXPECT_EQ(pixelOf(child, 5, 5), 0xFF0000u);
    EXPECT_EQ(pixelOf(child, 30, 30), 0x0000FFu);

    // A live picture drawn through GetDC stays when the whole window repaints (no flash of the parent
    // before the next picture); after that paint the child starts from the parent's pixels again.
    HDC live = GetDC(child);
    fill(live, RECT{0, 0, 40, 40}, RGB(0, 255, 0));
    ReleaseDC(child, live);
    InvalidateRect(top, nullptr, TRUE);
    drain();
    EXPECT_EQ(pixelOf(child, 30, 30), 0x00FF00u) << "the parent's repaint wiped the live picture";
    InvalidateRect(top, nullptr, TRUE);
    drain();
    EXPECT_EQ(pixelOf(child, 30, 30), 0x0000FFu);
}

// A transparent static whose text gets shorter shows its parent's background where the old text was, once
// the parent repaints that area (the status line of the main window).
TEST_F(PaintingTest, ShorterTextOfATransparentStaticLeavesNoTrace) {
    HWND top = makeWindow(WS_POPUP | WS_VISIBLE, 0, 0, 200, 40);
    HWND label = makeWindow(WS_CHILD | WS_VISIBLE, 0, 10, 200, 20, top, 1072, "STATIC");
    handler = [&](HWND hwnd, UINT m, WPARAM wParam, LPARAM) -> std::optional<LRESULT> {
        if (hwnd != top)
            return std::nullopt;
        if (m == WM_ERASEBKGND)
            return TRUE;
        if (m == WM_CTLCOLORSTATIC) {
            SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
            return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
        }
        if (m != WM_PAINT)
            return std::nullopt;
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd, &ps);
        fill(dc, RECT{0, 0, 200, 40}, RGB(0, 0, 255));
        EndPaint(hwnd, &ps);
        return 0;
    };
    SetWindowText(label, "WWWWWWWWWWWWWWWW");
    drain();
    const RECT area{0, 10, 200, 30};
    SetWindowText(label, "W");
    InvalidateRect(top, &area, TRUE);
    drain();
    for (int x = 40; x < 200; ++x)
        for (int y = 0; y < 20; ++y)
            ASSERT_EQ(pixelOf(label, x, y), 0x0000FFu) << x << "," << y;
}

// A sunken static has a shadow on its top and left edges and light on the bottom and right ones; a plain
// static has no border at all.
TEST_F(PaintingTest, SunkenStaticDrawsItsBorderAndAPlainOneNone) {
    HWND top = makeWindow(WS_POPUP | WS_VISIBLE, 0, 0, 200, 60);
    HWND sunken = makeWindow(WS_CHILD | WS_VISIBLE | SS_SUNKEN, 0, 0, 40, 16, top, 1007, "STATIC");
    HWND plain = makeWindow(WS_CHILD | WS_VISIBLE, 0, 30, 40, 16, top, 1008, "STATIC");
    drain();
    const QRgb shadow = 0xA0A0A0u, light = 0xFFFFFFu;
    EXPECT_EQ(pixelOf(sunken, 20, 0), shadow);
    EXPECT_EQ(pixelOf(sunken, 0, 8), shadow);
    EXPECT_EQ(pixelOf(sunken, 20, 15), light);
    EXPECT_EQ(pixelOf(sunken, 39, 8), light);
    const QRgb inside = pixelOf(sunken, 20, 8);
    EXPECT_NE(inside, shadow);
    for (auto [x, y] : {std::pair(20, 0), std::pair(0, 8), std::pair(20, 15), std::pair(39, 8)})
        EXPECT_EQ(pixelOf(plain, x, y), inside) << x << "," << y;
}

// Etched statics are a shadow line over a light one: along the top, down the left side, or round the
// control; what lies inside an etched frame is left as the parent painted it.
TEST_F(PaintingTest, EtchedStaticsDrawADarkLineOverALightOne) {
    HWND top = makeWindow(WS_POPUP | WS_VISIBLE, 0, 0, 200, 100);
    HWND horizontal = makeWindow(WS_CHILD | WS_VISIBLE | SS_ETCHEDHORZ, 0, 0, 100, 2, top, 1, "STATIC");
    HWND vertical = makeWindow(WS_CHILD | WS_VISIBLE | SS_ETCHEDVERT, 120, 0, 2, 40, top, 2, "STATIC");
    HWND frame = makeWindow(WS_CHILD | WS_VISIBLE | SS_ETCHEDFRAME, 0, 50, 60, 40, top, 3, "STATIC");
    drain();
    const QRgb shadow = 0xA0A0A0u, light = 0xFFFFFFu;
    struct Edge {
        HWND control;
        QPoint dark, lit;
    };
    for (const Edge& edge : {Edge{horizontal, {50, 0}, {50, 1}}, Edge{vertical, {0, 20}, {1, 20}},
                             Edge{frame, {30, 0}, {30, 1}}, Edge{frame, {0, 20}, {1, 20}},
                             Edge{frame, {30, 38}, {30, 39}}, Edge{frame, {58, 20}, {59, 20}}}) {
        EXPECT_EQ(pixelOf(edge.control, edge.dark.x(), edge.dark.y()), shadow) << edge.dark.x() << "," << edge.dark.y();
        EXPECT_EQ(pixelOf(edge.control, edge.lit.x(), edge.lit.y()), light) << edge.lit.x() << "," << edge.lit.y();
    }
    EXPECT_EQ(pixelOf(frame, 30, 20), pixelOf(top, 150, 80)) << "the frame paints over its inside";
}

// A streaming thread draws frames through GetDC while the GUI thread is blocked (here: in join).
TEST_F(PaintingTest, GetDcFromAnotherThreadDrawsWithoutTheGuiThread) {
    HWND w = makeWindow(WS_POPUP | WS_VISIBLE, 0, 0, 64, 48);
    drain();
    std::thread streaming([w] {
        for (int frame = 0; frame < 20; ++frame) {
            HDC dc = GetDC(w);
            ASSERT_NE(dc, nullptr);
            SetStretchBltMode(dc, COLORONCOLOR);
            fill(dc, RECT{0, 0, 64, 48}, RGB(frame, 200, 10));
            EXPECT_EQ(ReleaseDC(w, dc), 1);
        }
    });
    streaming.join();
    EXPECT_EQ(pixelOf(w, 63, 47), static_cast<QRgb>(qRgb(19, 200, 10) & 0xFFFFFF));
    drain(); // the scheduled repaint: Qt now shows the backing image
    EXPECT_EQ(widgetOf(w)->grab().toImage().pixel(63, 47) & 0xFFFFFF,
              static_cast<QRgb>(qRgb(19, 200, 10) & 0xFFFFFF));
    HDC dc = GetDC(w);
    HWND other = makeWindow(WS_POPUP, 0, 0, 10, 10);
    EXPECT_EQ(ReleaseDC(other, dc), 0) << "a DC is released only by its own window";
    EXPECT_EQ(ReleaseDC(w, dc), 1);
}

// The backing image follows the client size, and a DC of a window destroyed meanwhile stays usable.
TEST_F(PaintingTest, BackingImageFollowsTheSizeAndOutlivesTheWindowForOpenDcs) {
    HWND w = makeWindow(WS_POPUP | WS_VISIBLE, 0, 0, 50, 50);
    MoveWindow(w, 0, 0, 80, 30, TRUE);
    {
        WindowPtr window = findWindow(w);
        std::lock_guard guard(window->surface->lock);
        EXPECT_EQ(window->surface->image.size(), QSize(80, 30));
    }
    HDC dc = GetDC(w);
    DestroyWindow(w);
    fill(dc, RECT{0, 0, 80, 30}, RGB(1, 2, 3));
    EXPECT_EQ(ReleaseDC(w, dc), 1);
    EXPECT_EQ(GetDC(w), nullptr);
}

} // namespace
} // namespace platform::user::test
