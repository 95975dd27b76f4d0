// GDI drawing of camera frames onto a window surface and into DIB sections, against a memcpy of the picture.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include <win32/gdi.h>
#include <win32/window_surface.h>

namespace {

// A 24-bit bottom-up frame of the capture size with a little of everything in it.
struct Frame {
    BITMAPINFO info{};
    std::vector<BYTE> bits;
    Frame(LONG width, LONG height) {
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
        bits.resize(static_cast<size_t>(DibStride(width, 24)) * height);
        for (size_t i = 0; i < bits.size(); ++i)
            bits[i] = static_cast<BYTE>(i * 7 + i / 4096);
    }
};

// StretchDIBits of a frame onto a window's backing image through a window DC, as the GDI render mode does
// on every frame.
void drawFrame(benchmark::State& state, LONG frameWidth, LONG frameHeight) {
    const Frame frame(frameWidth, frameHeight);
    platform::gdi::WindowSurface surface;
    surface.image = QImage(750, 600, QImage::Format_RGB32);
    surface.onDrawn = [](const RECT&) {};
    for (auto _ : state) {
        HDC dc = platform::gdi::CreateWindowSurfaceDC(&surface, RECT{0, 0, 750, 600});
        SetStretchBltMode(dc, COLORONCOLOR);
        StretchDIBits(dc, 0, 0, 750, 600, 0, 0, frameWidth, frameHeight, frame.bits.data(), &frame.info,
                      DIB_RGB_COLORS, SRCCOPY);
        platform::gdi::ReleaseWindowSurfaceDC(dc);
        benchmark::DoNotOptimize(surface.image.constBits());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * 750 * 600 * 4);
}

void BM_StretchFrame1280x1024(benchmark::State& state) { drawFrame(state, 1280, 1024); }
void BM_StretchFrame640x480(benchmark::State& state) { drawFrame(state, 640, 480); }

// The bitmap object's overlay pass: a DIB section filled from the picture, a line drawn, copied back.
void BM_OverlayPass640x480(benchmark::State& state) {
    const Frame frame(640, 480);
    std::vector<BYTE> display = frame.bits;
    HPEN pen = CreatePen(PS_SOLID, 2, RGB(255, 0, 0));
    for (auto _ : state) {
        HDC dc = CreateCompatibleDC(nullptr);
        void* bits = nullptr;
        HBITMAP section = CreateDIBSection(dc, &frame.info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ oldBitmap = SelectObject(dc, section);
        HGDIOBJ oldPen = SelectObject(dc, pen);
        std::memcpy(bits, display.data(), display.size());
        MoveToEx(dc, 10, 10, nullptr);
        LineTo(dc, 630, 470);
        std::memcpy(display.data(), bits, display.size());
        SelectObject(dc, oldPen);
        SelectObject(dc, oldBitmap);
        DeleteObject(section);
        DeleteDC(dc);
    }
    DeleteObject(pen);
    state.SetBytesProcessed(int64_t(state.iterations()) * static_cast<int64_t>(display.size()));
}

// A measurement circle over the whole picture area with the overlay's 2-pixel pen.
void BM_CircleOverlay750x600(benchmark::State& state) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 750, 600, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    HDC dc = CreateCompatibleDC(nullptr);
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ oldBitmap = SelectObject(dc, section);
    HPEN pen = CreatePen(PS_SOLID, 2, RGB(255, 0, 0));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    for (auto _ : state)
        Arc(dc, 75, 0, 675, 600, 0, 0, 0, 0);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBitmap);
    DeleteObject(pen);
    DeleteObject(section);
    DeleteDC(dc);
    state.SetBytesProcessed(int64_t(state.iterations()) * 750 * 600 * 3);
}

// Reference: copying the window's backing image once.
void BM_CopySurface750x600(benchmark::State& state) {
    std::vector<BYTE> from(750 * 600 * 4, 1), to(from.size());
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), from.size());
        benchmark::DoNotOptimize(to.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * static_cast<int64_t>(from.size()));
}

} // namespace

BENCHMARK(BM_StretchFrame1280x1024);
BENCHMARK(BM_StretchFrame640x480);
BENCHMARK(BM_OverlayPass640x480);
BENCHMARK(BM_CircleOverlay750x600);
BENCHMARK(BM_CopySurface750x600);
