// Speed of one image-view repaint: ShowBitmap of a 1280x1024 picture into a 750x600 DC, with and without
// the overlay pass, against copying the picture once.
#include <bitmap/rastel.h>
#include <win32/gdi.h>

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 1024;
constexpr int kViewWidth = 750;
constexpr int kViewHeight = 600;

std::vector<BYTE> picture() {
    std::vector<BYTE> pixels(static_cast<size_t>(DibStride(kWidth, 24)) * kHeight);
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = static_cast<BYTE>(i * 31 / 7);
    return pixels;
}

void __stdcall drawNothing(void*, HDC) {}

// A 32-bit DIB section of the view's size, as a window's backing image is.
struct View {
    View() {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = kViewWidth;
        info.bmiHeader.biHeight = -kViewHeight;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        dc = CreateCompatibleDC(nullptr);
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        old = SelectObject(dc, bitmap);
    }
    ~View() {
        SelectObject(dc, old);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    HDC dc;
    HBITMAP bitmap;
    HGDIOBJ old;
};

void showBitmap(benchmark::State& state, bool overlay) {
    std::vector<BYTE> pixels = picture();
    CRastel rastel;
    rastel.ReadBitmap(pixels.data(), kWidth, kHeight, 24);
    if (overlay)
        rastel.SetDrawCallBack(nullptr, drawNothing);
    View view;
    for (auto _ : state) {
        _tagSHOWRECT dst{0, 0, kViewWidth, kViewHeight}, src{100, 100, kViewWidth, kViewHeight};
        benchmark::DoNotOptimize(rastel.ShowBitmap(view.dc, &dst, &src));
    }
}

void ShowBitmapCropped(benchmark::State& state) {
    showBitmap(state, false);
}
void ShowBitmapWithOverlayPass(benchmark::State& state) {
    showBitmap(state, true);
}

// Reference: one copy of the whole picture, what the overlay pass does twice.
void CopyPictureOnce(benchmark::State& state) {
    const std::vector<BYTE> pixels = picture();
    std::vector<BYTE> copy(pixels.size());
    for (auto _ : state) {
        std::memcpy(copy.data(), pixels.data(), pixels.size());
        benchmark::ClobberMemory();
    }
}

BENCHMARK(ShowBitmapCropped)->Unit(benchmark::kMillisecond);
BENCHMARK(ShowBitmapWithOverlayPass)->Unit(benchmark::kMillisecond);
BENCHMARK(CopyPictureOnce)->Unit(benchmark::kMillisecond);

} // namespace
