// Per-frame cost of the camera library's frame pipeline at 1280x1024 RGB24, against a memcpy of one frame.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include <win32/user.h>

#include "frame_pipeline.h"

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 1024;

class FullFrameFormat : public korvib::FormatSource {
public:
    bool GetCurrentFormat(BITMAPINFOHEADER* format) override {
        *format = BITMAPINFOHEADER{};
        format->biSize = sizeof(BITMAPINFOHEADER);
        format->biWidth = kWidth;
        format->biHeight = kHeight;
        format->biPlanes = 1;
        format->biBitCount = 24;
        format->biSizeImage = static_cast<DWORD>(kHeight * DibStride(kWidth, 24));
        return true;
    }
};

void __stdcall TouchFrame(void* user, BYTE* frame) {
    *static_cast<BYTE*>(user) ^= frame[0];
}

std::vector<BYTE> TestFrame() {
    std::vector<BYTE> frame(static_cast<std::size_t>(kHeight * DibStride(kWidth, 24)));
    for (std::size_t i = 0; i < frame.size(); ++i) {
        frame[i] = static_cast<BYTE>(i * 7);
    }
    return frame;
}

void BM_MemcpyFrame(benchmark::State& state) {
    const std::vector<BYTE> frame = TestFrame();
    std::vector<BYTE> copy(frame.size());
    for (auto _ : state) {
        std::memcpy(copy.data(), frame.data(), frame.size());
        benchmark::DoNotOptimize(copy.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_MemcpyFrame)->Unit(benchmark::kMillisecond);

enum Work { kNoHooks, kFrameCallback, kGammaAndCallback, kGdiDrawing };

// One frame through the pipeline: arg 0 nothing hooked, 1 a frame callback (one copy), 2 green gamma and
// a frame callback, 3 as 2 and drawn into a 1280x1024 window (KZ_RENDER_GDI).
void BM_Pipeline(benchmark::State& state) {
    korvib::FramePipeline pipeline;
    FullFrameFormat format;
    BYTE sink = 0;
    const auto work = static_cast<Work>(state.range(0));
    if (work != kNoHooks && !pipeline.SetFrameCallBack(TouchFrame, &sink)) {
        state.SkipWithError("no frame-copy buffers");
        return;
    }
    pipeline.SetGreenGamma(2.2f, work == kGammaAndCallback || work == kGdiDrawing);
    HWND window = nullptr;
    if (work == kGdiDrawing) {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        window = CreateWindowEx(0, "STATIC", "bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, kWidth, kHeight, nullptr,
                                nullptr, nullptr, nullptr);
        if (window == nullptr) {
            state.SkipWithError("no window");
            return;
        }
        korvib::DisplayTarget& display = pipeline.Display();
        display.owner.store(window);
        display.width.store(kWidth);
        display.height.store(kHeight);
        display.renderMode.store(KZ_RENDER_GDI);
    }
    std::vector<BYTE> frame = TestFrame();
    for (auto _ : state) {
        pipeline.OnFrame(frame.data(), frame.size(), format);
        benchmark::ClobberMemory();
    }
    benchmark::DoNotOptimize(sink);
    if (window != nullptr) {
        DestroyWindow(window);
    }
}
BENCHMARK(BM_Pipeline)->Arg(kNoHooks)->Arg(kFrameCallback)->Arg(kGammaAndCallback)->Arg(kGdiDrawing)
    ->Unit(benchmark::kMillisecond);

} // namespace
