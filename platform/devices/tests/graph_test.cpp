// The capture filter in a media graph built the way the camera library builds its preview: format
// set through IAMStreamConfig, AVI Decompressor for YUV, sample grabber callback, null renderer.
#include "com_fixture.h"

#include <dshow/graph.h>
#include <dshow/renderers.h>
#include <dshow/sample_grabber.h>

#include <cstdlib>

namespace platform::devices::testing {
namespace {

// Keeps the last buffer the grabber hands over. Streaming thread (here the stepped caller).
class LastBuffer final : public dshow::ComObject<ISampleGrabberCB> {
public:
    HRESULT STDMETHODCALLTYPE SampleCB(double, IMediaSample*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE BufferCB(double, BYTE* buffer, LONG length) override
    {
        bytes.assign(buffer, buffer + length);
        ++calls;
        return S_OK;
    }
    std::vector<BYTE> bytes;
    int calls = 0;
};

class GraphTest : public ComFixture {};

TEST_F(GraphTest, PreviewGraphDeliversRgbFramesThatMatchTheRenderedPictureInEveryCaptureFormat)
{
    const struct {
        const GUID* subtype;
        WORD bits;
        bool decoder;
    } rows[] = {
        {&MEDIASUBTYPE_RGB24, 24, false},
        {&MEDIASUBTYPE_YUY2, 16, true},
        {&MEDIASUBTYPE_I420, 12, true},
        {&MEDIASUBTYPE_UYVY, 16, true},
    };
    cam.setLight(Light::Warm);
    for (const auto& row : rows) {
        ComPtr<IGraphBuilder> graph;
        ComPtr<ICaptureGraphBuilder2> builder;
        ASSERT_EQ(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder, graph.putVoid()), S_OK);
        ASSERT_EQ(CoCreateInstance(CLSID_CaptureGraphBuilder2, nullptr, CLSCTX_INPROC_SERVER, IID_ICaptureGraphBuilder2,
                                   builder.putVoid()),
                  S_OK);
        builder->SetFiltergraph(graph.get());
        auto source = bind(0);
        ASSERT_EQ(graph->AddFilter(source.get(), nullptr), S_OK);

        ComPtr<IAMStreamConfig> config;
        ASSERT_EQ(builder->FindInterface(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, source.get(), IID_IAMStreamConfig,
                                         config.putVoid()),
                  S_OK);
        AM_MEDIA_TYPE* type = patchedType(config.get(), *row.subtype, row.bits, 640, 480);
        ASSERT_EQ(config->SetFormat(type), S_OK);
        DeleteMediaType(type);

        ComPtr<IBaseFilter> decoder;
        if (row.decoder) {
            ASSERT_EQ(CoCreateInstance(CLSID_AVIDec, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, decoder.putVoid()), S_OK);
            ASSERT_EQ(graph->AddFilter(decoder.get(), nullptr), S_OK);
        }
        ComPtr<ISampleGrabber> grabber;
        ASSERT_EQ(CoCreateInstance(CLSID_SampleGrabber, nullptr, CLSCTX_INPROC_SERVER, IID_ISampleGrabber, grabber.putVoid()),
                  S_OK);
        auto grabberFilter = query<IBaseFilter>(grabber.get());
        ASSERT_EQ(graph->AddFilter(grabberFilter.get(), L"SampleGrabber"), S_OK);
        AM_MEDIA_TYPE rgb{};
        rgb.majortype = MEDIATYPE_Video;
        rgb.subtype = MEDIASUBTYPE_RGB24;
        ASSERT_EQ(grabber->SetMediaType(&rgb), S_OK);
        ComPtr<IBaseFilter> renderer;
        ASSERT_EQ(CoCreateInstance(CLSID_NullRenderer, nullptr, CLSCTX_INPROC_SERVER, IID_IBaseFilter, renderer.putVoid()),
                  S_OK);
        ASSERT_EQ(graph->AddFilter(renderer.get(), L"NullRender"), S_OK);
        ASSERT_EQ(builder->RenderStream(&PIN_CATEGORY_CAPTURE, &MEDIATYPE_Video, source.get(), grabberFilter.get(),
                                        renderer.get()),
                  S_OK);
        auto callback = ComPtr<LastBuffer>::adopt(new LastBuffer);
        ASSERT_EQ(grabber->SetCallback(callback.get(), 1), S_OK);

        auto control = query<IMediaControl>(graph.get());
        ASSERT_EQ(control->Run(), S_OK);
        ASSERT_TRUE(cam.deliverFrames(2));
        ASSERT_EQ(control->Stop(), S_OK);
        grabber->SetCallback(nullptr, 1);

        EXPECT_EQ(callback->calls, 2);
        const CapturedFrame expected = cam.renderNow({PixelFormat::Rgb24, 640, 480});
        ASSERT_EQ(callback->bytes.size(), expected.bytes.size());
        int worst = 0;
        for (std::size_t i = 0; i < expected.bytes.size(); ++i)
            worst = std::max(worst, std::abs(int(callback->bytes[i]) - int(expected.bytes[i])));
        EXPECT_LE(worst, 2) << "full-range YUV both ways, chroma blocks inside the chart cells";
        for (ComPtr<IBaseFilter> f : {source, decoder, grabberFilter, renderer})
            if (f)
                graph->RemoveFilter(f.get());
    }
}

} // namespace
} // namespace platform::devices::testing
