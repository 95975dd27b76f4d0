// Window-layer costs: a posted message to its window procedure, and a window DC around a frame drawn from
// a streaming thread, each against a plain reference (a locked queue; the same drawing on a bare surface).
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <cstdlib>
#include <deque>
#include <mutex>
#include <vector>

#include <win32/gdi.h>
#include <win32/user.h>
#include <win32/window_surface.h>

namespace {

const bool offscreen = setenv("QT_QPA_PLATFORM", "offscreen", 0) == 0;

LRESULT CALLBACK countingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    static WPARAM sum = 0;
    if (message == WM_USER) {
        sum += wParam;
        return static_cast<LRESULT>(sum);
    }
    return DefWindowProc(hwnd, message, wParam, lParam);
}

HWND makeWindow(int width, int height) {
    static bool registered = false;
    if (!registered) {
        WNDCLASS wc{};
        wc.lpfnWndProc = countingProc;
        wc.lpszClassName = "OrvBench";
        RegisterClass(&wc);
        registered = true;
    }
    return CreateWindowEx(0, "OrvBench", "", WS_POPUP | WS_VISIBLE, 0, 0, width, height, nullptr, nullptr,
                          nullptr, nullptr);
}

// PostMessage, then PeekMessage and DispatchMessage into the window procedure.
void BM_PostAndDispatch(benchmark::State& state) {
    HWND window = makeWindow(100, 100);
    MSG msg;
    while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessage(&msg);
    for (auto _ : state) {
        PostMessage(window, WM_USER, 1, 0);
        PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE);
        benchmark::DoNotOptimize(DispatchMessage(&msg));
    }
    DestroyWindow(window);
}
BENCHMARK(BM_PostAndDispatch);

// Reference: a mutex-guarded deque push and pop of the same record.
void BM_LockedQueueReference(benchmark::State& state) {
    std::mutex lock;
    std::deque<MSG> queue;
    for (auto _ : state) {
        {
            std::lock_guard guard(lock);
            queue.push_back(MSG{nullptr, WM_USER, 1, 0, 0, {}, 0});
        }
        std::lock_guard guard(lock);
        benchmark::DoNotOptimize(queue.front());
        queue.pop_front();
    }
}
BENCHMARK(BM_LockedQueueReference);

struct Frame {
    BITMAPINFO info{};
    std::vector<BYTE> bits;
    Frame(LONG width, LONG height) : bits(static_cast<size_t>(DibStride(width, 24)) * height, 0x5A) {
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    }
};

void drawFrame(HDC dc, const Frame& frame) {
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchDIBits(dc, 0, 0, 750, 600, 0, 0, frame.info.bmiHeader.biWidth, frame.info.bmiHeader.biHeight,
                  frame.bits.data(), &frame.info, DIB_RGB_COLORS, SRCCOPY);
}

// A 640 x 480 frame stretched into a 750 x 600 window through GetDC/ReleaseDC, as the GDI render mode draws
// each frame; the repaints it schedules are served every 64 frames.
void BM_WindowDcFrame(benchmark::State& state) {
    HWND window = makeWindow(750, 600);
    const Frame frame(640, 480);
    int64_t frames = 0;
    for (auto _ : state) {
        HDC dc = GetDC(window);
        drawFrame(dc, frame);
        ReleaseDC(window, dc);
        if (++frames % 64 == 0)
            QCoreApplication::processEvents();
    }
    DestroyWindow(window);
}
BENCHMARK(BM_WindowDcFrame);

// Reference: the same drawing through a DC on a bare surface, without the window layer.
void BM_BareSurfaceFrame(benchmark::State& state) {
    const Frame frame(640, 480);
    platform::gdi::WindowSurface surface;
    surface.image = QImage(750, 600, QImage::Format_RGB32);
    surface.onDrawn = [](const RECT&) {};
    for (auto _ : state) {
        HDC dc = platform::gdi::CreateWindowSurfaceDC(&surface, RECT{0, 0, 750, 600});
        drawFrame(dc, frame);
        platform::gdi::ReleaseWindowSurfaceDC(dc);
    }
}
BENCHMARK(BM_BareSurfaceFrame);

} // namespace
