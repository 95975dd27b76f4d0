// Pixano kernels on a 1280x1024 24-bit picture, against a memcpy of the same buffer.
#include <kernels/pixano.h>

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

constexpr LONG kWidth = 1280;
constexpr LONG kHeight = 1024;
constexpr std::size_t kBytes = static_cast<std::size_t>(kWidth) * 3 * kHeight; // 24-bit rows need no padding

// A camera-like picture: smooth gradients in each colour with a little noise.
std::vector<BYTE> scene() {
    std::vector<BYTE> pixels(kBytes);
    uint32_t noise = 12345;
    for (LONG r = 0; r < kHeight; ++r) {
        for (LONG c = 0; c < kWidth; ++c) {
            noise = noise * 1664525u + 1013904223u;
            const int jitter = static_cast<int>(noise >> 28) - 8;
            BYTE* p = &pixels[(static_cast<std::size_t>(r) * kWidth + c) * 3];
            p[0] = static_cast<BYTE>((c * 255 / kWidth + jitter) & 0xFF);
            p[1] = static_cast<BYTE>((r * 255 / kHeight + jitter) & 0xFF);
            p[2] = static_cast<BYTE>(((r + c) * 255 / (kWidth + kHeight) + jitter) & 0xFF);
        }
    }
    return pixels;
}

// Times `kernel` on a fresh copy of the scene each iteration (the copy is not timed).
template <typename Kernel>
void runKernel(benchmark::State& state, Kernel kernel) {
    const std::vector<BYTE> original = scene();
    std::vector<BYTE> work(kBytes);
    CPixano pixano;
    for (auto _ : state) {
        state.PauseTiming();
        std::memcpy(work.data(), original.data(), kBytes);
        state.ResumeTiming();
        benchmark::DoNotOptimize(kernel(pixano, work.data()));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(kBytes));
}

void BM_Memcpy(benchmark::State& state) {
    const std::vector<BYTE> original = scene();
    std::vector<BYTE> work(kBytes);
    for (auto _ : state) {
        std::memcpy(work.data(), original.data(), kBytes);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(kBytes));
}
BENCHMARK(BM_Memcpy);

void BM_ConvolutionFilter(benchmark::State& state) {
    const FILTER filter = static_cast<FILTER>(state.range(0));
    runKernel(state, [filter](CPixano& k, BYTE* p) { return k.ConvolutionFilter(p, kWidth, kHeight, 24, filter); });
}
BENCHMARK(BM_ConvolutionFilter)->DenseRange(FILTER_SHARPEN, FILTER_SMOOTH);

void BM_HistogramEqualize(benchmark::State& state) {
    runKernel(state, [](CPixano& k, BYTE* p) { return k.HistogramEqualize(p, kWidth, kHeight, 24); });
}
BENCHMARK(BM_HistogramEqualize);

void BM_Threshold(benchmark::State& state) {
    runKernel(state, [](CPixano& k, BYTE* p) { return k.Threshold(p, kWidth, kHeight, 24, 128); });
}
BENCHMARK(BM_Threshold);

void BM_Color24To8(benchmark::State& state) {
    runKernel(state, [](CPixano& k, BYTE* p) { return k.Color24To8(p, kWidth, kHeight); });
}
BENCHMARK(BM_Color24To8);

void BM_RGBtoYUV(benchmark::State& state) {
    runKernel(state, [](CPixano& k, BYTE* p) { return k.RGBtoYUV(p, kWidth, kHeight, 24); });
}
BENCHMARK(BM_RGBtoYUV);

void BM_YUVtoRGB(benchmark::State& state) {
    runKernel(state, [](CPixano& k, BYTE* p) { return k.YUVtoRGB(p, kWidth, kHeight, 24); });
}
BENCHMARK(BM_YUVtoRGB);

void BM_RGBtoHSL(benchmark::State& state) {
    runKernel(state, [](CPixano& k, BYTE* p) { return k.RGBtoHSL(p, kWidth, kHeight, 24); });
}
BENCHMARK(BM_RGBtoHSL);

void BM_HSLtoRGB(benchmark::State& state) {
    runKernel(state, [](CPixano& k, BYTE* p) { return k.HSLtoRGB(p, kWidth, kHeight, 24); });
}
BENCHMARK(BM_HSLtoRGB);

} // namespace
