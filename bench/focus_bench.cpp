// Auto focus's per-frame image work at 1280x1024 (brackets, grey region, focus measure), against a memcpy.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include <win32/dib.h>

#include "auto_focus_image.h"

namespace {

constexpr int kWidth = 1280;
constexpr int kHeight = 1024;

std::vector<BYTE> ChartFrame() {
    std::vector<BYTE> frame(static_cast<std::size_t>(kHeight) * DibStride(kWidth, 24));
    for (std::size_t i = 0; i < frame.size(); ++i) {
        frame[i] = static_cast<BYTE>((i / 24) % 2 == 0 ? 90 : 160);
    }
    return frame;
}

void BM_MemcpyFrame(benchmark::State& state) {
    const std::vector<BYTE> frame = ChartFrame();
    std::vector<BYTE> copy(frame.size());
    for (auto _ : state) {
        std::memcpy(copy.data(), frame.data(), frame.size());
        benchmark::DoNotOptimize(copy.data());
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_MemcpyFrame)->Unit(benchmark::kMicrosecond);

void BM_FocusStep(benchmark::State& state) {
    std::vector<BYTE> frame = ChartFrame();
    korvib::Region region{};
    if (!korvib::FocusRegionOf(kWidth, kHeight, &region)) {
        state.SkipWithError("no region");
        return;
    }
    std::vector<BYTE> grey(static_cast<std::size_t>(region.width) * region.height);
    for (auto _ : state) {
        korvib::DrawFocusBrackets(frame.data(), kWidth, region);
        korvib::ConvertRoiToGray(frame.data(), kWidth, region, grey.data());
        benchmark::DoNotOptimize(korvib::FocusValue(grey.data(), region.width, region.height));
    }
}
BENCHMARK(BM_FocusStep)->Unit(benchmark::kMicrosecond);

} // namespace
