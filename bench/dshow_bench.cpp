// One camera frame through the preview graph (YUY2 source, AVI Decompressor, Sample Grabber, Null
// Renderer) at the large capture size, against a memcpy of the decoded frame.
#include <cstring>
#include <vector>

#include <benchmark/benchmark.h>

#include <dshow/com_object.h>
#include <dshow/dshow.h>

#include "test_source.h"

namespace {

using namespace platform::dshow;
using testing_dshow::TestSource;

constexpr LONG kWidth = 1280;
constexpr LONG kHeight = 1024;

class NoOpCallback final : public ComObject<ISampleGrabberCB> {
public:
    HRESULT STDMETHODCALLTYPE SampleCB(double, IMediaSample*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE BufferCB(double, BYTE* buffer, LONG) override {
        benchmark::DoNotOptimize(buffer[0]);
        return S_OK;
    }
};

template <class Interface>
ComPtr<Interface> make(const CLSID& clsid) {
    ComPtr<Interface> object;
    CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, InterfaceTraits<Interface>::iid(), object.putVoid());
    return object;
}

// Each iteration pushes one frame from the source's pin through the running graph.
void BM_PreviewGraphYuy2Frame(benchmark::State& state) {
    CoInitialize(nullptr);
    {
        auto graph = make<IGraphBuilder>(CLSID_FilterGraph);
        auto builder = make<ICaptureGraphBuilder2>(CLSID_CaptureGraphBuilder2);
        builder->SetFiltergraph(graph.get());
        AM_MEDIA_TYPE type = testing_dshow::videoType(MEDIASUBTYPE_YUY2, kWidth, kHeight, 16);
        auto* source = new TestSource(type, false);
        FreeMediaType(type);
        auto sourceFilter = ComPtr<IBaseFilter>::adopt(source);
        graph->AddFilter(sourceFilter.get(), L"Source");
        auto grabber = make<ISampleGrabber>(CLSID_SampleGrabber);
        AM_MEDIA_TYPE rgb{};
        rgb.majortype = MEDIATYPE_Video;
        rgb.subtype = MEDIASUBTYPE_RGB24;
        grabber->SetMediaType(&rgb);
        auto callback = ComPtr<NoOpCallback>::adopt(new NoOpCallback);
        grabber->SetCallback(callback.get(), 1);
        ComPtr<IBaseFilter> grabberFilter;
        grabber.as(grabberFilter);
        graph->AddFilter(grabberFilter.get(), L"SampleGrabber");
        auto renderer = make<IBaseFilter>(CLSID_NullRenderer);
        graph->AddFilter(renderer.get(), L"NullRender");
        if (FAILED(builder->RenderStream(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, sourceFilter.get(),
                                         grabberFilter.get(), renderer.get()))) {
            state.SkipWithError("graph did not build");
        } else {
            ComPtr<IMediaControl> control;
            graph.as(control);
            control->Run();
            BYTE value = 0;
            for (auto _ : state)
                source->capturePin().push(value++);
            control->Stop();
        }
        grabber->SetCallback(nullptr, 1);
    }
    CoUninitialize();
    state.SetBytesProcessed(int64_t(state.iterations()) * kWidth * kHeight * 3);
}
BENCHMARK(BM_PreviewGraphYuy2Frame)->Unit(benchmark::kMillisecond);

// Reference: copying one decoded RGB24 frame.
void BM_MemcpyRgb24Frame(benchmark::State& state) {
    std::vector<BYTE> from(std::size_t(kWidth) * kHeight * 3, 1), to(from.size());
    for (auto _ : state) {
        std::memcpy(to.data(), from.data(), from.size());
        benchmark::DoNotOptimize(to.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * from.size());
}
BENCHMARK(BM_MemcpyRgb24Frame)->Unit(benchmark::kMillisecond);

} // namespace
