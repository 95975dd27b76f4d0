// Frame rendering of the simulated camera at the large capture size, as the live stream renders it, against
// GStreamer's videotestsrc producing the same format and size, and a memcpy of one frame.
#include "simulated_device.h"

#include <devices/simulated_camera.h>

#include <benchmark/benchmark.h>
#include <gst/gst.h>

#include <chrono>
#include <cstring>
#include <string>
#include <vector>

namespace {

using platform::devices::PixelFormat;
using platform::devices::Scene;
using platform::devices::SimulatedCamera;
using platform::devices::VideoFormat;

// One delivered frame of the primary device with its live look (noise, counter, amplifier applied; the
// natural scene set explicitly because stepped frames default to the chart). The time budget is one period,
// 66 ms at 15 fps.
void renderFrame(benchmark::State& state, PixelFormat pixels)
{
    SimulatedCamera cam = SimulatedCamera::primary();
    cam.setSteppedMode(true);
    cam.setScene(Scene::Natural);
    const VideoFormat format{pixels, 1280, 1024};
    if (!cam.device().setFormat(format)) {
        state.SkipWithError("format refused");
        return;
    }
    for (auto _ : state)
        cam.deliverFrames(1);
    cam.setSteppedMode(false);
    state.SetBytesProcessed(int64_t(state.iterations()) * platform::devices::frameBytes(format));
}

void BM_RenderLiveRgb24(benchmark::State& state) { renderFrame(state, PixelFormat::Rgb24); }
void BM_RenderLiveYuy2(benchmark::State& state) { renderFrame(state, PixelFormat::Yuy2); }
void BM_RenderLiveI420(benchmark::State& state) { renderFrame(state, PixelFormat::I420); }

// Reference: videotestsrc producing `format` at 1280x1024 into a fakesink. Each iteration is one frame, timed
// from the first buffer's hand-off to the last one's, so pipeline set-up is left out.
struct Handoffs {
    int count = 0;
    std::chrono::steady_clock::time_point first, last;
};

void onHandoff(GstElement*, GstBuffer*, GstPad*, gpointer user)
{
    auto* seen = static_cast<Handoffs*>(user);
    seen->last = std::chrono::steady_clock::now();
    if (seen->count++ == 0)
        seen->first = seen->last;
}

void videotestsrc(benchmark::State& state, const char* format)
{
    gst_init(nullptr, nullptr);
    constexpr int kFrames = 61;
    const std::string description = "videotestsrc num-buffers=" + std::to_string(kFrames) +
                                    " ! video/x-raw,format=" + format +
                                    ",width=1280,height=1024 ! fakesink name=sink signal-handoffs=true";
    for (auto _ : state) {
        GstElement* pipeline = gst_parse_launch(description.c_str(), nullptr);
        GstElement* sink = gst_bin_get_by_name(GST_BIN(pipeline), "sink");
        Handoffs seen;
        g_signal_connect(sink, "handoff", G_CALLBACK(onHandoff), &seen);
        gst_element_set_state(pipeline, GST_STATE_PLAYING);
        GstBus* bus = gst_element_get_bus(pipeline);
        GstMessage* end = gst_bus_timed_pop_filtered(bus, GST_CLOCK_TIME_NONE,
                                                     GstMessageType(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
        gst_message_unref(end);
        gst_object_unref(bus);
        gst_element_set_state(pipeline, GST_STATE_NULL);
        gst_object_unref(sink);
        gst_object_unref(pipeline);
        state.SetIterationTime(std::chrono::duration<double>(seen.last - seen.first).count() / (kFrames - 1));
    }
}

void BM_VideotestsrcRgb24(benchmark::State& state) { videotestsrc(state, "RGB"); }
void BM_VideotestsrcYuy2(benchmark::State& state) { videotestsrc(state, "YUY2"); }
void BM_VideotestsrcI420(benchmark::State& state) { videotestsrc(state, "I420"); }

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

BENCHMARK(BM_RenderLiveRgb24)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VideotestsrcRgb24)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(10);
BENCHMARK(BM_RenderLiveYuy2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VideotestsrcYuy2)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(10);
BENCHMARK(BM_RenderLiveI420)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VideotestsrcI420)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(10);
BENCHMARK(BM_CopyFrameRgb24)->Unit(benchmark::kMillisecond);

} // namespace
