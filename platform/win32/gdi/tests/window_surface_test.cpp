// Window-surface DCs: clipping, the drawn rectangle, refusals and drawing from another thread under the lock.
#include <atomic>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

#include <win32/gdi.h>
#include <win32/window_surface.h>

#include "gdi_fixture.h"

using platform::gdi::CreateWindowSurfaceDC;
using platform::gdi::ReleaseWindowSurfaceDC;
using platform::gdi::WindowSurface;

namespace {

struct Surface {
    WindowSurface surface;
    std::vector<RECT> drawn;
    Surface(int width, int height) {
        surface.image = QImage(width, height, QImage::Format_RGB32);
        surface.image.fill(Qt::white);
        surface.onDrawn = [this](const RECT& r) { drawn.push_back(r); };
    }
};

bool sameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(WindowSurface, DrawsWithinTheClipAndReportsWhatItDrew) {
    Surface s(20, 10);
    HDC dc = CreateWindowSurfaceDC(&s.surface, RECT{2, 3, 12, 8});
    ASSERT_NE(dc, nullptr);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    RECT everything{0, 0, 20, 10};
    FillRect(dc, &everything, red);
    EXPECT_TRUE(ReleaseWindowSurfaceDC(dc));
    ASSERT_EQ(s.drawn.size(), 1u);
    EXPECT_TRUE(sameRect(s.drawn[0], RECT{2, 3, 12, 8}));
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 20; ++x) {
            const bool inside = x >= 2 && x < 12 && y >= 3 && y < 8;
            EXPECT_EQ(s.surface.image.pixel(x, y), inside ? qRgb(255, 0, 0) : qRgb(255, 255, 255)) << x << "," << y;
        }
    // A DC that draws nothing reports nothing; a released DC is stale.
    HDC idle = CreateWindowSurfaceDC(&s.surface, everything);
    ReleaseWindowSurfaceDC(idle);
    EXPECT_EQ(s.drawn.size(), 1u);
    EXPECT_FALSE(LineTo(idle, 5, 5));
    DeleteObject(red);
}

// A window DC with a memory DC and a bitmap compatible with it beside.
class WindowAndMemoryDc : public ::testing::Test {
protected:
    ~WindowAndMemoryDc() override {
        DeleteObject(bitmap);
        DeleteDC(memory);
        ReleaseWindowSurfaceDC(window);
    }
    Surface s{8, 4};
    HDC window = CreateWindowSurfaceDC(&s.surface, RECT{0, 0, 8, 4});
    HDC memory = CreateCompatibleDC(window);
    HBITMAP bitmap = CreateCompatibleBitmap(window, 8, 4);
};

TEST_F(WindowAndMemoryDc, OffScreenPaintingIsCopiedOnInOneBlock) {
    // The level bar's way: draw into a compatible bitmap, then copy it onto the window.
    HGDIOBJ old = SelectObject(memory, bitmap);
    HBRUSH back = CreateSolidBrush(RGB(0xC1, 0xC1, 0xC1));
    RECT all{0, 0, 8, 4};
    FillRect(memory, &all, back);
    EXPECT_TRUE(BitBlt(window, 0, 0, 8, 4, memory, 0, 0, SRCCOPY));
    EXPECT_EQ(s.surface.image.pixel(7, 3), qRgb(0xC1, 0xC1, 0xC1));
    SelectObject(memory, old);
    DeleteObject(back);
}

TEST_F(WindowAndMemoryDc, RefusesBitmapsAndMemoryDcCalls) {
    EXPECT_EQ(SelectObject(window, bitmap), nullptr);
    EXPECT_FALSE(DeleteDC(window));
    EXPECT_FALSE(ReleaseWindowSurfaceDC(memory));
    EXPECT_EQ(CreateWindowSurfaceDC(nullptr, RECT{0, 0, 1, 1}), nullptr);
}

TEST(WindowSurface, AnotherThreadDrawsOnlyWhileTheSurfaceLockIsFree) {
    // A camera frame drawn from a streaming thread while the GUI thread holds the surface.
    Surface s(4, 2);
    const gdi_test::Dib frame = gdi_test::makeDib({"RG", "BC"}, 24, true);
    std::atomic<bool> started{false}, finished{false};
    std::unique_lock hold(s.surface.lock);
    std::thread streaming([&] {
        HDC dc = CreateWindowSurfaceDC(&s.surface, RECT{0, 0, 4, 2});
        SetStretchBltMode(dc, COLORONCOLOR);
        started = true;
        StretchDIBits(dc, 0, 0, 4, 2, 0, 0, 2, 2, frame.pixels.data(), frame.header(), DIB_RGB_COLORS, SRCCOPY);
        finished = true;
        ReleaseWindowSurfaceDC(dc);
    });
    while (!started)
        std::this_thread::yield();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(finished);
    EXPECT_EQ(s.surface.image.pixel(0, 0), qRgb(255, 255, 255));
    hold.unlock();
    streaming.join();
    EXPECT_TRUE(finished);
    EXPECT_EQ(s.surface.image.pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(s.surface.image.pixel(3, 1), qRgb(0, 255, 255));
    ASSERT_EQ(s.drawn.size(), 1u);
    EXPECT_TRUE(sameRect(s.drawn[0], RECT{0, 0, 4, 2}));
}

} // namespace
