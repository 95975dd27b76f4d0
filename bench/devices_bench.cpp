// Frame rendering of the simulated camera at the large capture size, against a memcpy of one frame.
#include <devices/simulated_camera.h>

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

namespace {

using platform::devices::PixelFormat;
using platform::devices::Scene;
using platform::devices::SimulatedCamera;
using platform::devices::VideoFormat;

// One frame as the live stream renders it (the time budget is one period, 66 ms at 15 fps).
void renderFrame(benchmark::State& state, PixelFormat pixels, Scene scene)
{
    SimulatedCamera cam = SimulatedCamera::primary();
    cam.setScene(scene);
    const VideoFormat format{pixels, 1280, 1024};
    for (auto _ : state)
        benchmark::DoNotOptimize(cam.renderNow(format).bytes.data());
    state.SetBytesProcessed(int64_t(state.iterations()) * platform::devices::frameBytes(format));
}

void BM_RenderChartRgb24(benchmark::State& state) { renderFrame(state, PixelFormat::Rgb24, Scene::Chart); }
void BM_RenderNaturalRgb24(benchmark::State& state) { renderFrame(state, PixelFormat::Rgb24, Scene::Natural); }
void BM_RenderNaturalYuy2(benchmark::State& state) { renderFrame(state, PixelFormat::Yuy2, Scene::Natural); }
void BM_RenderNaturalI420(benchmark::State& state) { renderFrame(state, PixelFormat::I420, Scene::Natural); }

// Reference: copying one RGB24 frame.
void BM_CopyFrameRgb24(benchmark::State& state)
{
    const std::size_t bytes = platform::devices::frameBytes({PixelFormat::Rgb24, 1280, 1024});
    std::vector<unsigned char> from(bytes, 1), to(bytes);
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * bytes);
}

BENCHMARK(BM_RenderChartRgb24)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenderNaturalRgb24)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenderNaturalYuy2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RenderNaturalI420)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CopyFrameRgb24)->Unit(benchmark::kMillisecond);

} // namespace
